// Helpers for the store tests: fixture files from tests/data, short files built around a
// body, long runs of one byte, and the reader's messages. Reading and writing in memory and the
// odd devices are in InMemoryIo.h, which the fuzz target and the benchmarks share.
#pragma once

#include "InMemoryIo.h"
#include "SlotEdits.h"

#include <QByteArray>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <QTest>

Q_DECLARE_METATYPE(PatchEntry)
Q_DECLARE_METATYPE(PatchParameter)

inline const QString fixturePath(const QString &name)
{
    return QStringLiteral(TEST_DATA_DIR "/") + name;
}

// The bytes of a file in tests/data; an unreadable fixture fails the calling test loudly.
inline QByteArray fixture(const QString &name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing fixture %s", qPrintable(name));
    }
    return file.readAll();
}

inline QByteArray repeated(char c, int count)
{
    return QByteArray(count, c);
}

// A file with the header "TAVRO=" + version, then `body` as it stands.
inline ReadResult readBody(const QByteArray &body, const QByteArray &version = "0.3")
{
    return readBytes("TAVRO=" + version + "\r\n" + body);
}

// One block 000 holding `lines` (CR LF separated by the caller or not at all).
inline ReadResult readBlock(const QByteArray &lines, const QByteArray &version = "0.3")
{
    return readBody("/bgn 000\r\n" + lines + "\r\n/end 000\r\n", version);
}

inline QString errorLoading(const QString &path = QStringLiteral("test.tvr"))
{
    return QStringLiteral("Error loading custom patch set (") + path
        + QStringLiteral(").\r\nMake sure file is not corrupted or empty.");
}

inline QString headerNotFound()
{
    return QStringLiteral("Patch set header not found! Must be ''TAVRO=[version]''");
}
