// Patch sets read from and written to memory, and devices that read or write in the odd ways
// real devices may: a few bytes at a time, or failing as a full disk does. Shared by the
// tests, the fuzz target and the benchmarks, so that they all drive the store the same way;
// Qt Core only and free of the test framework, so any of them can include it.
#pragma once

#include "PatchSetReader.h"
#include "PatchSetWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

// Reads `bytes` in place; `path` only goes into the messages.
inline ReadResult readBytes(const QByteArray &bytes,
                            const QString &path = QStringLiteral("test.tvr"))
{
    QByteArray shared = bytes; // no copy: QBuffer only wants an array it could change
    QBuffer buffer(&shared);
    buffer.open(QIODevice::ReadOnly);
    return readPatchSet(buffer, path);
}

// Writes the table into `bytes`, replacing what they held but keeping their storage, so that
// writing again and again costs the writing only.
inline WriteResult writeInto(QByteArray &bytes, const PatchTable &table,
                             const QString &path = QStringLiteral("test.tvr"))
{
    bytes.resize(0);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return writePatchSet(buffer, table, path);
}

// What a save of `table` gives. Memory never fills up the way a disk does, so a failure here
// is a fault of the writer and ends the program.
inline QByteArray writeBytes(const PatchTable &table)
{
    QByteArray bytes;
    const WriteResult result = writeInto(bytes, table);
    if (!result.ok()) {
        qFatal("writing to memory failed: %s", qPrintable(result.message));
    }
    return bytes;
}

// Hands out its bytes at most `piece` at a time, so that line ends, CR LF pairs and long
// texts fall across reads; with `failAfter` of 0 or more, every read from that byte on fails.
// A sequential one is a pipe: it has no size to plan by. Opened for reading when made.
class TricklingReader : public QIODevice
{
public:
    enum class Access { RandomAccess, Sequential };

    TricklingReader(const QByteArray &bytes, qint64 piece, Access access = Access::RandomAccess,
                    qint64 failAfter = -1)
        : m_bytes(bytes), m_piece(piece), m_failAfter(failAfter), m_access(access)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return m_access == Access::Sequential; }
    qint64 size() const override { return isSequential() ? 0 : m_bytes.size(); }

protected:
    qint64 readData(char *data, qint64 room) override
    {
        if (m_failAfter >= 0 && m_at >= m_failAfter) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 length = std::min({room, m_piece, qint64(m_bytes.size()) - m_at});
        std::memcpy(data, m_bytes.constData() + m_at, size_t(length));
        m_at += length;
        return length;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_piece;
    qint64 m_failAfter;
    Access m_access;
    qint64 m_at = 0;
};

// Takes at most `piece` bytes per write and keeps them in bytes(). Taking fewer bytes than
// offered is legal for any device, and the writer must offer the rest again. Each write costs
// little beyond its call, so even a set of many megabytes goes through it quickly. Opened for
// writing when made.
class FewBytesWriter : public QIODevice
{
public:
    explicit FewBytesWriter(qint64 piece) : m_piece(piece)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    const QByteArray &bytes() const { return m_bytes; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 taken = std::min(length, m_piece);
        m_bytes.append(data, qsizetype(taken));
        return taken;
    }

private:
    QByteArray m_bytes;
    qint64 m_piece;
};

// Accepts `limit` bytes, then fails the way a full disk does: a write takes what still fits
// and the next one fails with the reason; or, with NothingTaken, a write that would pass the
// limit takes nothing and says nothing.
class FailingBuffer : public QBuffer
{
public:
    enum class Failure { Error, NothingTaken };

    explicit FailingBuffer(qint64 limit, Failure failure = Failure::Error)
        : m_limit(limit), m_failure(failure)
    {
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 room = m_limit - size();
        if (length > room && m_failure == Failure::NothingTaken) {
            return 0;
        }
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, std::min(length, room));
    }

private:
    qint64 m_limit;
    Failure m_failure;
};
