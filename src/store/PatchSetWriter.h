// Writing the DEST table as a patch set file with the header "TAVRO=0.3". Called by the
// window's save command. Every entry of the table is written, numbered by its position.
// The target file is replaced only once everything was written, so a failed save never
// destroys what was there before.
#pragma once

#include "PatchEntry.h"

#include <QByteArray>
#include <QString>

class QIODevice;

struct [[nodiscard]] WriteResult
{
    QString message; // empty on success; otherwise the whole text the window shows
    bool ok() const { return message.isEmpty(); }
};

// Writes the file's lines to `out`; fails with the device's error text as the reason.
// A table of more than PatchSetFormat::MaxEntries entries fails before anything is written.
// `path` only goes into the failure message.
WriteResult writePatchSet(QIODevice &out, const PatchTable &table, const QString &path);

// Writes the table to `path` through a temporary file beside it. A table too long for the
// format is refused before that file is made, so the target and its folder stay as they were.
WriteResult SaveDestSet(const PatchTable &dest, const QString &path);

// "5", 3 gives "005"; a text already at least `width` long comes back unchanged.
QByteArray PadWithZeros(const QByteArray &text, quint8 width);
