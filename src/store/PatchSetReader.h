// Reading patch set files (.tvr) into a fresh table. Called by the window's load commands
// and by the fuzz target; never touches the tables the program holds, so a failed load
// leaves the side as it was. Accepts CR LF, LF and lone CR line ends; keeps text bytes as
// they stand. Limits on block numbers, value and line lengths keep any file cheap to reject.
// Whatever a load reads otherwise than its lines say comes back as notes beside the table.
#pragma once

#include "PatchEntry.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// One thing a load read otherwise than a line of the file says, e.g. line 787 with
// "Offffset1X is read as data slot 1". Plain words for the user; never a failure.
struct LoadNote
{
    int line = 0;
    QString text;

    // "line 787: Offffset1X is read as data slot 1"
    QString toString() const;
    friend bool operator==(const LoadNote &a, const LoadNote &b)
    {
        return a.line == b.line && a.text == b.text;
    }
};

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
    // What was read otherwise than the lines say (an unknown key ignored, a slot number read
    // from an odd key, a value cut, an entry that will not be listed), in line order. Only the
    // MaxNotes with the lowest lines are kept; notesNotKept counts the others. Notes change
    // neither the table nor the message; a failed read keeps those of the lines before it.
    QList<LoadNote> notes;
    int notesNotKept = 0;
    static constexpr int MaxNotes = 1000;

    bool ok() const { return message.isEmpty(); }
    // Every note as "line N: ...", then a last line saying how many more there were, if any.
    QStringList noteLines() const;
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
