// Reading patch set files (.tvr) into a fresh table. Called by the window's load commands
// and by the fuzz target; never touches the tables the program holds, so a failed load
// leaves the side as it was. Accepts CR LF, LF and lone CR line ends; keeps text bytes as
// they stand. Limits on block numbers, value and line lengths keep any file cheap to reject.
#pragma once

#include "PatchEntry.h"

#include <QByteArray>
#include <QDateTime>
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
    // When the file's contents last changed, from the same look at the file that opened it,
    // so that a time shown beside the table belongs to the bytes read. Set only by
    // LoadPatchSet, on success, and then always valid; a read from a device leaves it invalid.
    QDateTime modified;
    // Where and why reading stopped, in a few words, for the message's details, e.g.
    // "line 14: the block number 40000 is above 32767"; empty on success.
    QString detail;
    bool ok() const { return message.isEmpty(); }
};

// Reads a whole patch set from `in`; `path` only goes into the failure messages. A QBuffer
// is read in place, without copying its bytes and without moving its position.
ReadResult readPatchSet(QIODevice &in, const QString &path);

// Opens the file once and reads it. Only a regular file is read, and opening never blocks:
// a path that cannot be opened, or names a directory, gives the "Can't find" message; a
// FIFO, a device or a socket gives the "Error loading" message at once.
ReadResult LoadPatchSet(const QString &path);

// True when `path` is a regular file that can be opened for reading (closed again at once).
bool PatchSetFileExists(const QString &path);
