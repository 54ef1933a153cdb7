// How a copy into DEST decides, apart from the tables it changes: the overwrite question's
// words, how many questions a run of copies will ask, what each answer means for the rest of
// the run, and whether a copy would take DEST past the entries a set file holds.
// PatchSetEditor's two copies ("copy >>" and SRC lines dropped on DEST) both decide here, so
// they ask, answer and refuse alike.
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
    int asked = 0;   // questions asked so far
    int planned = 0; // questions the run asks in all, as plannedQuestions() foresees them

    // Takes the answer to the question about one namesake: true when that namesake is
    // overwritten. Yes to all and No to all then hold for the rest of the run, and a Cancel
    // cancels it.
    bool overwrites(OverwriteAnswer answer);
};

// The overwrite question's title, and its text for a DEST entry named `ID`.
QString overwriteTitle();
QString overwriteText(const QByteArray &ID);
// The question's informative text: which question of the run it is and the rows the SRC entry
// and its DEST namesake differ in, "Question 3 of 30" and "Differs in Description, Data slot 11"
// on a line each.
QString overwriteDetail(int number, int count, const PatchEntry &src, const PatchEntry &dest);

// How many questions copying the SRC `records` from position `from` on, in their order, into
// `dest` asks, should each be answered Yes: one for every record whose namesake (the first
// DEST entry of its name, or the copy an earlier record left there) differs from it. A
// namesake identical in every field is left as it is, unasked. Linear in the two lists, with
// one comparison of entries per record at most.
int plannedQuestions(const PatchTable &src, const QList<int> &records, const PatchTable &dest,
                     qsizetype from = 0);

// Why copying the SRC records `sources` into `dest`, once the DEST records `deleted`
// (ascending) are gone, is refused: the text says how many more entries DEST can take. Empty
// when the copy cannot take DEST past PatchSetFormat::MaxEntries, whatever the answers.
QString pastLimitRefusal(const PatchTable &src, const QList<int> &sources, const PatchTable &dest,
                         const QList<int> &deleted);
