// Reading patch set files (.tvr) into a fresh table. Called by the window's load commands
// and by the fuzz target; never touches the tables the program holds, so a failed load
// leaves the side as it was. Accepts CR LF, LF and lone CR line ends; keeps text bytes as
// they stand. Limits on block numbers and value lengths keep any file cheap to reject.
#pragma once

#include "PatchEntry.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// On failure `entries` is empty and `message` holds the text the window shows.
// On success `entries` is the table as the blocks built it, gaps and entries whose
// Omnipresence is 0 included: the side refresh removes those.
struct [[nodiscard]] ReadResult
{
    PatchTable entries;
    QByteArray version;
    QString message; // empty on success
    int line = 0;    // line where reading stopped; lets tests check where a file went wrong
    bool ok() const { return message.isEmpty(); }
};

// Reads a whole patch set from `in`; `path` only goes into the failure messages.
ReadResult readPatchSet(QIODevice &in, const QString &path);

// Opens the file and reads it; a file that cannot be opened gives the "Can't find" message.
ReadResult LoadPatchSet(const QString &path);

// True when the file can be opened for reading (it is closed again at once).
bool PatchSetFileExists(const QString &path);
