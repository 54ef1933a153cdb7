// What a failed load says: the three messages the window shows, and the detail under them that
// names the line and why reading stopped there ("line 14: the block number 40000 is above
// 32767"), quoting the file's key and value in a few characters. Also what became of a body
// line, which decides whether it fails the load. The patch set reader alone includes it.
#pragma once

#include "LineReader.h"
#include "PatchSetReader.h"

#include <QByteArrayView>
#include <QString>

namespace ReadFailure {

// What became of a body line. Every value but Yes and Ignored fails the load, and says why.
enum class Stored {
    Yes,             // the value went into the entry
    Ignored,         // the line asks for nothing: an unknown key, a comment, a pipe value
                     // without "|"
    NotAByte,        // a byte member's value is no number from 0 to 255
    NoDataSlot,      // a data key names no slot of the entry
    NoParameterSlot, // a pipe value names no parameter slot
};

// The message of a path that cannot be opened as a file, of a first line that is no header,
// and of every other failure once the file is open.
QString cantFindMessage(const QString &path);
QString headerMessage();
QString errorLoadingMessage(const QString &path);

// A failed read showing `message`, stopped at `line` (0: before any line) because of `why`.
ReadResult failure(const QString &message, int line, const QString &why);
// A piece of a failed line as the detail quotes it: short, since a value may run to 60000
// characters, and read as Latin-1, since any byte may stand there.
QString quoted(QByteArrayView text);
// Why a body line failed, naming its key and value as the file has them.
QString whyNotStored(Stored stored, const Line &line);

} // namespace ReadFailure
