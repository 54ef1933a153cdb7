#include "PatchSetReader.h"

#include "KeyClassifier.h"
#include "LineReader.h"
#include "NumberScanner.h"
#include "PatchSetFormat.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <typeinfo>
#include <vector>

using namespace PatchSetFormat;
using KeyClassifier::Classified;
using KeyClassifier::classify;
using KeyClassifier::startsWithAnyCase;
using KeyClassifier::Syntax;

namespace {

QString cantFindMessage(const QString &path)
{
    return QLatin1String("Can't find patch set file (") + path + QLatin1Char(')');
}

QString headerMessage()
{
    return QStringLiteral("Patch set header not found! Must be ''TAVRO=[version]''");
}

QString errorLoadingMessage(const QString &path)
{
    return QLatin1String("Error loading custom patch set (") + path + QLatin1String(").")
        + QLatin1String(lineEnd) + QLatin1String("Make sure file is not corrupted or empty.");
}

enum class ParameterSyntax { None, Single, Pipe };

// What became of a body line. Every value but Yes and Ignored fails the load, and says why.
enum class Stored {
    Yes,             // the value went into the entry
    Ignored,         // the line asks for nothing: an unknown key, a comment, a pipe value
                     // without "|"
    NotAByte,        // a byte member's value is no number from 0 to 255
    NoDataSlot,      // a data key names no slot of the entry
    NoParameterSlot, // a pipe value names no parameter slot
};

// The table as the blocks build it, and the slots of the entry being read. Block numbers may
// jump up and down: a lower number drops the entries above it, and a later higher number
// must bring them back fresh. The storage is kept and only entries that were written are
// reset, each once per write, so a file that alternates "/bgn 32767" and "/bgn 0" costs no
// more than any other file of its length.
class BlockTable
{
public:
    void beginBlock(int number)
    {
        const qsizetype size = qsizetype(number) + 1;
        while (!m_written.empty() && m_written.back() >= size) {
            m_entries[m_written.back()] = PatchEntry();
            m_written.pop_back();
        }
        if (m_entries.size() < size) {
            m_entries.resize(size);
        }
        m_size = size;
        m_current = &m_entries[number];
        m_currentWritten = !m_written.empty() && m_written.back() == number;
        // A repeated block number adds to what the entry already holds.
        m_slots.load(m_current->slotTexts());
    }

    // The entry of the current block, for writing. It is always the last one of the table,
    // so the written indices stay in ascending order.
    PatchEntry &entry()
    {
        if (!m_currentWritten) {
            m_written.push_back(int(m_current - m_entries.data()));
            m_currentWritten = true;
        }
        return *m_current;
    }

    // The slots of the current entry, gathered until the block ends. Texts are lent to it
    // straight from the lines: a line reader that reuses its buffer calls keep() first.
    SlotTextsBuilder &slotTexts() { return m_slots; }

    void endBlock()
    {
        if (m_slots.changed()) {
            entry().setSlotTexts(m_slots.build());
        }
        m_slots.clear(); // it may borrow from the block just replaced
    }

    PatchTable take()
    {
        m_entries.resize(m_size);
        return std::move(m_entries);
    }

private:
    PatchTable m_entries;
    SlotTextsBuilder m_slots;
    std::vector<int> m_written;
    qsizetype m_size = 0;
    PatchEntry *m_current = nullptr; // valid from one beginBlock() to the next
    bool m_currentWritten = false;
};

// A field of the entry itself.
Stored storeMember(PatchEntry &entry, const EntryField &field, QByteArrayView value)
{
    if (field.kind == FieldKind::Text) {
        entry.*field.text = value.toByteArray();
        return Stored::Yes;
    }
    const std::optional<quint8> number = NumberScanner::byteValue(value);
    if (!number) {
        return Stored::NotAByte;
    }
    entry.*field.number = *number;
    return Stored::Yes;
}

// Data keys: the slot number is the two characters after the prefix.
Stored storeData(BlockTable &table, DataText field, QByteArrayView key, QByteArrayView value)
{
    const qsizetype digits = std::min<qsizetype>(key.size() - dataKeyPrefixLength, 2);
    const QByteArrayView number = key.sliced(dataKeyPrefixLength, digits);
    const int written = NumberScanner::plainSlotNumber(number);
    const qint64 slot = written >= 0 ? written : NumberScanner::prefix(number);
    if (slot < 0 || slot >= PatchEntry::DataSlotCount) {
        return Stored::NoDataSlot;
    }
    table.slotTexts().setData(int(slot), field, value, SlotTextsBuilder::Storage::Borrow);
    return Stored::Yes;
}

Stored storeParameter(BlockTable &table, int slot, const EntryField &field, QByteArrayView value)
{
    if (field.kind == FieldKind::ParameterText) {
        table.slotTexts().setParameter(slot, field.parameterText, value,
                                       SlotTextsBuilder::Storage::Borrow);
        return Stored::Yes;
    }
    const std::optional<quint8> number = NumberScanner::byteValue(value);
    if (!number) {
        return Stored::NotAByte;
    }
    table.slotTexts().setParameterNumber(slot, field.parameterNumber, *number);
    return Stored::Yes;
}

// A pipe value "slot|text". Values without "|" store nothing.
Stored storePipe(BlockTable &table, const EntryField &field, QByteArrayView value)
{
    // As written, the slot number is one or two digits right before the "|".
    qsizetype bar = -1;
    if (value.size() >= 2 && value[1] == '|') {
        bar = 1;
    } else if (value.size() >= 3 && value[2] == '|') {
        bar = 2;
    } else {
        bar = value.indexOf('|');
        if (bar < 0) {
            return Stored::Ignored;
        }
    }
    const QByteArrayView number = value.first(bar);
    const int written = NumberScanner::plainSlotNumber(number);
    const std::optional<qint64> slot =
        written >= 0 ? std::optional<qint64>(written) : NumberScanner::number(number);
    if (!slot || *slot >= PatchEntry::ParameterSlotCount) {
        return Stored::NoParameterSlot;
    }
    const QByteArrayView rest = value.sliced(bar + 1);
    const QByteArrayView text = rest.first(std::min<qsizetype>(rest.size(), maxPipeTextLength));
    return storeParameter(table, int(*slot), field, text);
}

struct KeyAndValue
{
    QByteArrayView key;
    QByteArrayView value;
};

// A body line taken apart as storing reads it, and as a failure's detail quotes it.
inline KeyAndValue splitBodyLine(const Line &line)
{
    const QByteArrayView text = line.text();
    const bool keyEndsAtEquals = line.equals >= 0 && line.equals < maxKeyLength;
    const QByteArrayView key =
        text.first(keyEndsAtEquals ? line.equals : std::min<qsizetype>(text.size(), maxKeyLength));

    // The value starts one past the key, which skips the "=" when there is one.
    qsizetype begin = std::min(key.size() + 1, text.size());
    qsizetype end = begin + std::min<qsizetype>(text.size() - begin, maxValueLength);
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    qsizetype comment = line.semicolon;
    if (comment >= 0 && comment < begin) {
        comment = text.indexOf(';', begin); // that one was part of the key
    }
    if (comment >= 0 && comment < end) {
        end = comment;
        while (end > begin && text[end - 1] == ' ') {
            --end;
        }
    }
    return {key, text.sliced(begin, end - begin)};
}

// Stores the value of one body line into the current entry.
Stored storeBodyLine(BlockTable &table, const Line &line, ParameterSyntax parameters)
{
    const QByteArrayView text = line.text();
    if (text.isEmpty() || text[0] == '[' || text[0] == ';') {
        return Stored::Ignored;
    }
    if (text[0] == ' ' && std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; })) {
        return Stored::Ignored;
    }
    const auto [key, value] = splitBodyLine(line);
    const Classified found = classify(key);
    switch (found.syntax) {
    case Syntax::None:
        return Stored::Ignored;
    case Syntax::Entry:
        return storeMember(table.entry(), *found.field, value);
    case Syntax::Data:
        return storeData(table, found.field->dataText, key, value);
    case Syntax::Pipe:
        if (value.isEmpty() || parameters != ParameterSyntax::Pipe) {
            return Stored::Ignored;
        }
        return storePipe(table, *found.field, value);
    case Syntax::Single:
        if (parameters != ParameterSyntax::Single) {
            return Stored::Ignored;
        }
        return storeParameter(table, 0, *found.field, value);
    }
    return Stored::Ignored;
}

// `why` in a few words; the detail puts the line in front of it once reading has begun.
ReadResult failure(const QString &message, int line, const QString &why)
{
    ReadResult result;
    result.message = message;
    result.line = line;
    result.detail = line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(why) : why;
    return result;
}

// A piece of a failed line as the detail quotes it: short, since a value may run to 60000
// characters, and read as Latin-1, since any byte may stand there.
QString quoted(QByteArrayView text)
{
    constexpr qsizetype shownLength = 24;
    const QByteArrayView trimmed = text.trimmed();
    QString shown = QString::fromLatin1(trimmed.first(std::min(trimmed.size(), shownLength)));
    if (trimmed.size() > shownLength) {
        shown += QStringLiteral("...");
    }
    return shown;
}

// Why a body line failed, naming its key and value as the file has them.
QString whyNotStored(Stored stored, const Line &line)
{
    const KeyAndValue parts = splitBodyLine(line);
    const QString key = quoted(parts.key);
    const QString value = quoted(parts.value);
    switch (stored) {
    case Stored::NoDataSlot:
        return QStringLiteral("%1 names no data slot from 0 to %2")
            .arg(key)
            .arg(PatchEntry::DataSlotCount - 1);
    case Stored::NoParameterSlot:
        return QStringLiteral("%1 names no parameter slot from 0 to %2 in \"%3\"")
            .arg(key)
            .arg(PatchEntry::ParameterSlotCount - 1)
            .arg(value);
    default:
        return value.isEmpty()
            ? key + QStringLiteral(" needs a number from 0 to 255 and has none")
            : QStringLiteral("%1 needs a number from 0 to 255, not \"%2\"").arg(key, value);
    }
}

// Reads the lines into `table`, which the caller made so that `lines` can tell it about
// buffers it is about to reuse.
ReadResult readLines(LineReader &lines, BlockTable &table, const QString &path)
{
    // The keyword and the version are all the header is judged by, and the rest of the line
    // is ignored: a first line that runs on for gigabytes is judged as soon as it starts.
    constexpr qsizetype keywordLength = qsizetype(sizeof(headerKeyword)) - 1;
    const Line *line = lines.firstLine(keywordLength + versionLength);
    if (!line) {
        return failure(errorLoadingMessage(path), lines.lineNumber(),
                       lines.failed() ? QStringLiteral("the file cannot be read")
                                      : QStringLiteral("the file is empty"));
    }
    if (!startsWithAnyCase(line->text(), headerKeyword)) {
        return failure(headerMessage(), lines.lineNumber(),
                       QStringLiteral("no %1 header").arg(QLatin1String(headerKeyword)));
    }
    QByteArray version = line->text().sliced(keywordLength).toByteArray();
    ParameterSyntax parameters = ParameterSyntax::None;
    if (version == "0.1") {
        parameters = ParameterSyntax::Single;
    } else if (NumberScanner::versionAboveOneTenth(version)) {
        parameters = ParameterSyntax::Pipe;
    }

    bool inBlock = false;
    qint64 blockNumber = 0;
    while ((line = lines.next())) {
        const QByteArrayView text = line->text();
        if (!inBlock) {
            if (startsWithAnyCase(text, beginMarker)) {
                // The number starts at the sixth character and runs as far as its digits do,
                // so "/bgn 1000" is block 1000, not 100.
                const QByteArrayView written = text.size() > markerLength + 1
                    ? text.sliced(markerLength + 1)
                    : QByteArrayView();
                const qint64 number = NumberScanner::prefix(written);
                if (number < 0 || number > maxBlockNumber) {
                    // Named as written: a number past the scanner's cap reads as the cap.
                    const QByteArrayView shown = written.trimmed();
                    const qsizetype space = shown.indexOf(' ');
                    return failure(errorLoadingMessage(path), lines.lineNumber(),
                                   QStringLiteral("the block number %1 is %2")
                                       .arg(quoted(space < 0 ? shown : shown.first(space)),
                                            number < 0
                                                ? QStringLiteral("below 0")
                                                : QStringLiteral("above %1").arg(maxBlockNumber)));
                }
                blockNumber = number;
                table.beginBlock(int(number));
                inBlock = true;
            }
            continue;
        }
        if (!text.isEmpty() && text.front() == '/' && startsWithAnyCase(text, endMarker)) {
            table.endBlock();
            inBlock = false;
            continue;
        }
        const Stored stored = storeBodyLine(table, *line, parameters);
        if (stored != Stored::Yes && stored != Stored::Ignored) {
            return failure(errorLoadingMessage(path), lines.lineNumber(),
                           whyNotStored(stored, *line));
        }
    }
    if (lines.failed()) {
        return failure(errorLoadingMessage(path), lines.lineNumber(),
                       QStringLiteral("the file cannot be read past this line"));
    }
    if (inBlock) {
        return failure(errorLoadingMessage(path), lines.lineNumber(),
                       QStringLiteral("the file ends inside block %1, which has no /end line")
                           .arg(blockNumber));
    }

    ReadResult result;
    result.entries = table.take();
    result.version = std::move(version);
    result.line = lines.lineNumber();
    return result;
}

} // namespace

ReadResult readPatchSet(QIODevice &in, const QString &path)
{
    if ((!in.isOpen() && !in.open(QIODevice::ReadOnly)) || !in.isReadable()) {
        return failure(errorLoadingMessage(path), 0,
                       QStringLiteral("the file cannot be opened for reading"));
    }
    // A plain QBuffer already holds every byte: read them where they are. Only the exact
    // class qualifies, since a subclass may change what reading it gives.
    BlockTable table;
    if (typeid(in) == typeid(QBuffer)) {
        const QByteArray &bytes = static_cast<QBuffer &>(in).data();
        const qsizetype start = std::clamp<qsizetype>(in.pos(), 0, bytes.size());
        LineReader lines(QByteArrayView(bytes).sliced(start));
        return readLines(lines, table, path);
    }
    const qint64 sizeHint = in.isSequential() ? -1 : in.size() - in.pos();
    LineReader lines([&in](char *buffer, qint64 room) { return in.read(buffer, room); }, sizeHint,
                     [&table](QByteArrayView bytes) { table.slotTexts().keep(bytes); });
    return readLines(lines, table, path);
}

ReadResult LoadPatchSet(const QString &path)
{
    RegularFile file(path);
    switch (file.opened()) {
    case RegularFile::Opened::Missing:
        return failure(cantFindMessage(path), 0,
                       QStringLiteral("no readable file there: it is missing, a folder, or "
                                      "not open to this user"));
    case RegularFile::Opened::NotAFile:
        return failure(errorLoadingMessage(path), 0,
                       QStringLiteral("not a regular file but a pipe, a device or a socket"));
    case RegularFile::Opened::File:
        break;
    }
    BlockTable table;
    LineReader lines([&file](char *buffer, qint64 room) { return file.read(buffer, room); },
                     file.size(), [&table](QByteArrayView bytes) { table.slotTexts().keep(bytes); },
                     [&file] { file.skipHole(); });
    ReadResult result = readLines(lines, table, path);
    if (result.ok()) {
        result.modified = file.modified();
    }
    return result;
}

bool PatchSetFileExists(const QString &path)
{
    return RegularFile(path).opened() == RegularFile::Opened::File;
}
