// Loads each file named on standard input (one path a line) and saves what it loaded into
// memory, then prints one line per file: how the load ended (ok, line, version, message,
// entries) and the size and SHA-1 of the saved bytes. Two builds of this program against the
// store of two revisions give the same lines exactly when the two stores agree on every file.
// Uses nothing of the store but LoadPatchSet and writePatchSet, so that old revisions build.
#include "PatchSetReader.h"
#include "PatchSetWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// Line ends and bytes outside printable ASCII would break the one-line-per-file output.
QByteArray printable(const QByteArray &bytes)
{
    return bytes.toPercentEncoding(" !\"#$&'()*+,/:;<=>?@[\\]^`{|}~");
}

QByteArray describe(const QString &path)
{
    const ReadResult loaded = LoadPatchSet(path);
    QByteArray line = path.toUtf8() + "\tok=" + (loaded.ok() ? "1" : "0")
        + "\tline=" + QByteArray::number(loaded.line) + "\tversion=" + printable(loaded.version)
        + "\tmessage=" + printable(loaded.message.toUtf8())
        + "\tentries=" + QByteArray::number(loaded.entries.size());
    if (!loaded.ok()) {
        return line + "\tsaved=-\tsha1=-\n";
    }
    QByteArray saved;
    QBuffer buffer(&saved);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult written = writePatchSet(buffer, loaded.entries, path);
    if (!written.ok()) {
        return line + "\tsaved=failed:" + printable(written.message.toUtf8()) + "\tsha1=-\n";
    }
    return line + "\tsaved=" + QByteArray::number(saved.size()) + "\tsha1="
        + QCryptographicHash::hash(saved, QCryptographicHash::Sha1).toHex() + '\n';
}

} // namespace

int main()
{
    std::string path;
    while (std::getline(std::cin, path)) {
        // Whole lines, each flushed at once: after a crash, the lines printed are whole and
        // the next file is the one that crashed.
        const QByteArray line = describe(QString::fromStdString(path));
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fflush(stdout);
    }
    return 0;
}
