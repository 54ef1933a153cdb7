// Feeds arbitrary bytes to the patch set reader. Every input must end in a loaded set or in
// one of the reader's messages, without a sanitizer report, whether the bytes are read where
// they lie or a few at a time, with the same notes either way and never more than the reader
// keeps; and every set that loads must come back from a save and a load as the same table, up
// to what the format cannot carry.
#include "InMemoryIo.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"
#include "WhatASaveKeeps.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString path = QStringLiteral("fuzz.tvr");

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_patchset_reader: %s\n", what);
    std::abort();
}

// At most MaxNotes, the rest only counted; in line order, each on a line that was read.
void checkNotes(const ReadResult &result)
{
    if (result.notes.size() > ReadResult::MaxNotes
        || (result.notesNotKept > 0 && result.notes.size() != ReadResult::MaxNotes)) {
        fail("more notes kept than the limit, or fewer while some were left out");
    }
    int previous = 1;
    for (const LoadNote &note : result.notes) {
        if (note.line < previous || note.line > result.line || note.text.isEmpty()) {
            fail("a note out of line order, past the last line read, or without words");
        }
        previous = note.line;
    }
}

ReadResult readInPieces(const QByteArray &bytes)
{
    // A pipe handing out a few bytes at a time: line ends, CR LF pairs and texts the reader
    // keeps fall across reads.
    TricklingReader device(bytes, 37, TricklingReader::Access::Sequential);
    return readPatchSet(device, path);
}

// Writes into `bytes`, which keep their storage from one input to the next: a set with many
// entries then costs its writing, not fresh memory for the same bytes every time.
const QByteArray &write(const PatchTable &table, QByteArray &bytes)
{
    if (!writeInto(bytes, table, path).ok()) {
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
    const ReadResult first = readBytes(input, path);
    const ReadResult pieces = readInPieces(input);
    if (pieces.message != first.message || pieces.line != first.line
        || pieces.detail != first.detail || pieces.version != first.version
        || pieces.entries != first.entries || pieces.notes != first.notes
        || pieces.notesNotKept != first.notesNotKept) {
        fail("reading in pieces gave another result");
    }
    checkNotes(first);
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
    const ReadResult second = readBytes(saved, path);
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
    if (write(readBytes(resaved, path).entries, thirdBytes) != resaved) {
        fail("saving a reloaded set gave other bytes");
    }
    return 0;
}
