// How a copy into DEST decides, apart from the tables it changes: the overwrite question's
// words, what each answer means for the rest of a run of copies, and whether a copy would take
// DEST past the entries a set file holds. PatchSetEditor's two copies ("copy >>" and SRC lines
// dropped on DEST) both decide here, so they ask, answer and refuse alike.
#pragma once

#include "OverwriteAnswer.h"
#include "PatchSets.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What the user has answered so far in one run of copies into DEST: a Yes to all or a No to
// all holds for the rest of the run, and a Cancel ends it. A run starts fresh.
struct CopyRun
{
    std::optional<bool> overwriteAll; // true after Yes to all, false after No to all
    bool cancelled = false;

    // Takes the answer to the question about one namesake: true when that namesake is
    // overwritten. Yes to all and No to all then hold for the rest of the run, and a Cancel
    // cancels it.
    bool overwrites(OverwriteAnswer answer);
};

// The overwrite question's title, and its text for a DEST entry named `ID`.
QString overwriteTitle();
QString overwriteText(const QByteArray &ID);

// Why copying the SRC records `sources` into `dest`, once the DEST records `deleted`
// (ascending) are gone, is refused: the text says how many more entries DEST can take. Empty
// when the copy cannot take DEST past PatchSetFormat::maxEntries, whatever the answers.
QString pastLimitRefusal(const PatchTable &src, const QList<int> &sources, const PatchTable &dest,
                         const QList<int> &deleted);
