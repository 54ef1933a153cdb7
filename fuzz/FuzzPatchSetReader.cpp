// Feeds arbitrary bytes to the patch set reader. Every input must end in a loaded set or in
// one of the reader's messages, without a sanitizer report, whether the bytes are read where
// they lie or a few at a time; and every set that loads must come back from a save and a load
// as the same table, up to what the format cannot carry.
#include "PatchSetReader.h"
#include "PatchSetWriter.h"
#include "WhatASaveKeeps.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const QString path = QStringLiteral("fuzz.tvr");

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_patchset_reader: %s\n", what);
    std::abort();
}

ReadResult read(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readPatchSet(buffer, path);
}

// Hands out its bytes a few at a time, as a slow device does, so that line ends, CR LF pairs
// and texts the reader keeps fall across reads.
class Trickle : public QIODevice
{
public:
    explicit Trickle(const QByteArray &bytes) : m_bytes(bytes)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 room) override
    {
        const qint64 length = std::min({room, qint64(37), qint64(m_bytes.size()) - m_at});
        std::memcpy(data, m_bytes.constData() + m_at, size_t(length));
        m_at += length;
        return length;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_at = 0;
};

ReadResult readInPieces(const QByteArray &bytes)
{
    Trickle device(bytes);
    return readPatchSet(device, path);
}

// Writes into `bytes`, which keeps its storage from one input to the next: a set with many
// entries then costs its writing, not fresh memory for the same bytes every time.
const QByteArray &write(const PatchTable &table, QByteArray &bytes)
{
    bytes.resize(0);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writePatchSet(buffer, table, path).ok()) {
        fail("writing to memory failed");
    }
    return bytes;
}

QByteArray savedBytes;
QByteArray resavedBytes;
QByteArray thirdBytes;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReadResult first = read(input);
    const ReadResult pieces = readInPieces(input);
    if (pieces.message != first.message || pieces.line != first.line
        || pieces.version != first.version || pieces.entries != first.entries) {
        fail("reading in pieces gave another result");
    }
    if (!first.ok()) {
        if (!first.entries.isEmpty() || !first.version.isEmpty()) {
            fail("a failed read handed out a table");
        }
        const bool known =
            first.message.startsWith(QLatin1String("Error loading custom patch set ("))
            || first.message.startsWith(QLatin1String("Patch set header not found!"));
        if (!known) {
            fail("unexpected failure message");
        }
        return 0;
    }
    if (first.version.size() > 10) {
        fail("version longer than ten characters");
    }

    const QByteArray &saved = write(first.entries, savedBytes);
    const ReadResult second = read(saved);
    if (!second.ok()) {
        fail("a saved set does not load");
    }
    if (second.version != "0.3") {
        fail("a saved set has another version");
    }
    if (second.entries != whatASaveKeeps(first.entries)) {
        fail("save then load changed the table");
    }
    // The first save may still carry what a load drops (a "0.1" parameter text longer than
    // 50 characters is written whole but read back cut), so the fixpoint is the second save.
    // Reading and writing depend on nothing but their input: when the table came back whole,
    // saving it again gives `saved`, which reads back as `second`, and the fixpoint holds.
    if (second.entries == first.entries) {
        return 0;
    }
    const QByteArray &resaved = write(second.entries, resavedBytes);
    if (write(read(resaved).entries, thirdBytes) != resaved) {
        fail("saving a reloaded set gave other bytes");
    }
    return 0;
}
