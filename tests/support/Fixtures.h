// Helpers for the store tests: fixture files from tests/data, reading and writing patch sets
// in memory, and devices that fail or trickle on purpose.
#pragma once

#include "PatchSetReader.h"
#include "PatchSetWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <QTest>

#include <algorithm>

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

inline ReadResult readBytes(const QByteArray &bytes,
                            const QString &path = QStringLiteral("test.tvr"))
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readPatchSet(buffer, path);
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

inline QByteArray writeBytes(const PatchTable &table)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const WriteResult result = writePatchSet(buffer, table, QStringLiteral("test.tvr"));
    if (!result.ok()) {
        qFatal("writing to memory failed: %s", qPrintable(result.message));
    }
    return bytes;
}

// Accepts `limit` bytes, then fails every write the way a full disk does.
class FailingBuffer : public QBuffer
{
public:
    explicit FailingBuffer(qint64 limit) : m_limit(limit) {}

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 room = m_limit - size();
        if (length > room) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, length);
    }

private:
    qint64 m_limit;
};

// Hands out at most `piece` bytes per read, so every line end lands on a read boundary
// somewhere; optionally fails once `failAfter` bytes were read.
class TricklingBuffer : public QBuffer
{
public:
    TricklingBuffer(const QByteArray &bytes, qint64 piece, qint64 failAfter = -1)
        : m_bytes(bytes), m_piece(piece), m_failAfter(failAfter)
    {
        setBuffer(&m_bytes);
    }

protected:
    qint64 readData(char *data, qint64 length) override
    {
        if (m_failAfter >= 0 && pos() >= m_failAfter) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        return QBuffer::readData(data, std::min(length, m_piece));
    }

private:
    QByteArray m_bytes;
    qint64 m_piece;
    qint64 m_failAfter;
};

inline QString errorLoading(const QString &path = QStringLiteral("test.tvr"))
{
    return QStringLiteral("Error loading custom patch set (") + path
        + QStringLiteral(").\r\nMake sure file is not corrupted or empty.");
}

inline QString headerNotFound()
{
    return QStringLiteral("Patch set header not found! Must be ''TAVRO=[version]''");
}
