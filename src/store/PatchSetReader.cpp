#include "PatchSetReader.h"

#include "BlockTable.h"
#include "BodyLine.h"
#include "KeyClassifier.h"
#include "LineReader.h"
#include "LoadNotes.h"
#include "NumberScanner.h"
#include "PatchSetFormat.h"
#include "ReadFailure.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <typeinfo>
#include <utility>

using namespace PatchSetFormat;
using BodyLine::isSpaces;
using BodyLine::splitBodyLine;
using BodyLine::valueCut;
using KeyClassifier::Classified;
using KeyClassifier::classify;
using KeyClassifier::startsWithAnyCase;
using KeyClassifier::Syntax;
using ReadFailure::cantFindMessage;
using ReadFailure::errorLoadingMessage;
using ReadFailure::failure;
using ReadFailure::headerMessage;
using ReadFailure::quoted;
using ReadFailure::Stored;
using ReadFailure::whyNotStored;

namespace {

enum class ParameterSyntax { None, Single, Pipe };

// A byte member, of the entry or of a parameter slot: `set` takes the value as a number from 0
// to 255; any other value fails the load, wherever the member lives.
template<typename Set>
Stored storeByte(QByteArrayView value, Set set)
{
    const std::optional<quint8> number = NumberScanner::byteValue(value);
    if (!number) {
        return Stored::NotAByte;
    }
    set(*number);
    return Stored::Yes;
}

// Reads the lines of one file into a table, noting what it reads otherwise than they say.
class SetReader
{
public:
    // `table` is the caller's, so that `lines` can tell it about buffers it is about to reuse.
    SetReader(LineReader &lines, BlockTable &table, const QString &path)
        : m_lines(lines), m_table(table), m_path(path)
    {
    }

    ReadResult read()
    {
        ReadResult result = readLines();
        m_notes.handTo(result);
        return result;
    }

private:
    ReadResult readLines();
    ReadResult failure(const QString &message, const QString &why);
    // False when the block number is out of range; then `failed` says why.
    bool beginBlock(QByteArrayView text, ReadResult &failed);
    void noteLineOutsideBlock(const Line &line);
    Q_NEVER_INLINE Q_DECL_COLD_FUNCTION void noteNotRead(const Line &line);
    Q_NEVER_INLINE Q_DECL_COLD_FUNCTION void noteCut(const Line &line);
    // Only a line longer than the longest value can have had its value cut.
    void noteIfCut(const Line &line)
    {
        if (Q_UNLIKELY(line.length > MaxValueLength)) {
            noteCut(line);
        }
    }

    Stored storeBodyLine(const Line &line);
    Stored storeMember(const EntryField &field, QByteArrayView key, QByteArrayView value);
    Stored storeData(const EntryField &field, QByteArrayView key, QByteArrayView value);
    Q_NEVER_INLINE Q_DECL_COLD_FUNCTION int guessDataSlot(QByteArrayView key);
    Stored storePipe(const EntryField &field, QByteArrayView key, QByteArrayView value);
    Stored storeParameter(int slot, const EntryField &field, QByteArrayView value);
    int lineNumber() const { return m_lines.lineNumber(); }
    void noteGivenAgain(bool givenBefore, QByteArrayView key)
    {
        if (Q_UNLIKELY(givenBefore)) {
            m_notes.add(lineNumber(), [key] { return LoadNotes::keyGivenAgain(key); });
        }
    }

    LineReader &m_lines;
    BlockTable &m_table;
    const QString &m_path;
    LoadNotes m_notes;
    QByteArray m_version;
    ParameterSyntax m_parameters = ParameterSyntax::None;
    int m_blockNumber = 0;
};

// A field of the entry itself.
Stored SetReader::storeMember(const EntryField &field, QByteArrayView key, QByteArrayView value)
{
    noteGivenAgain(m_table.entryKeyGivenBefore(int(&field - EntryFields::all)), key);
    PatchEntry &entry = m_table.entry();
    if (field.kind == FieldKind::Text) {
        entry.*field.text = value.toByteArray();
        return Stored::Yes;
    }
    return storeByte(value, [&entry, &field](quint8 number) { entry.*field.number = number; });
}

// Data keys: the slot number is the two characters after the prefix.
Stored SetReader::storeData(const EntryField &field, QByteArrayView key, QByteArrayView value)
{
    // As written, a data key is its prefix and two digits.
    int slot = key.size() == DataKeyPrefixLength + 2
        ? NumberScanner::plainSlotNumber(key.sliced(DataKeyPrefixLength))
        : -1;
    if (Q_UNLIKELY(slot < 0)) {
        slot = guessDataSlot(key);
        if (slot < 0) {
            return Stored::NoDataSlot;
        }
    }
    const SlotTextsBuilder::Replaced replaced = m_table.setData(field.dataText, slot, value);
    if (!replaced.slot) {
        m_table.setFirstDataLine(slot, lineNumber());
    }
    // A repeated block number brings the texts of the earlier block, which count as given.
    noteGivenAgain(replaced.text && !m_table.repeatedBlock(), key);
    return Stored::Yes;
}

// The slot a data key names when it is not written as two digits: the numeric prefix of the
// two characters after the key's prefix, noted unless only spaces follow two digits. -1 for
// a number outside the data slots.
int SetReader::guessDataSlot(QByteArrayView key)
{
    const qsizetype digits = std::min<qsizetype>(key.size() - DataKeyPrefixLength, 2);
    const QByteArrayView number = key.sliced(DataKeyPrefixLength, digits);
    const int written = NumberScanner::plainSlotNumber(number);
    const qint64 slot = written >= 0 ? written : NumberScanner::prefix(number);
    if (slot < 0 || slot >= PatchEntry::DataSlotCount) {
        return -1;
    }
    if (!(written >= 0 && digits == 2 && isSpaces(key.sliced(DataKeyPrefixLength + 2)))) {
        m_notes.add(lineNumber(),
                    [key, slot] { return LoadNotes::dataSlotReadAs(key, int(slot)); });
    }
    return int(slot);
}

Stored SetReader::storeParameter(int slot, const EntryField &field, QByteArrayView value)
{
    if (field.kind == FieldKind::ParameterText) {
        m_table.slotTexts().setParameter(slot, field.parameterText, value,
                                         SlotTextsBuilder::Storage::Borrow);
        return Stored::Yes;
    }
    return storeByte(value, [this, slot, &field](quint8 number) {
        m_table.slotTexts().setParameterNumber(slot, field.parameterNumber, number);
    });
}

// A pipe value "slot|text". Values without "|" store nothing.
Stored SetReader::storePipe(const EntryField &field, QByteArrayView key, QByteArrayView value)
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
            m_notes.add(lineNumber(), [key] { return LoadNotes::pipeWithoutBar(key); });
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
    noteGivenAgain(
        m_table.parameterKeyGivenBefore(int(&field - EntryFields::parameterSlot.first), int(*slot)),
        key);
    const QByteArrayView rest = value.sliced(bar + 1);
    if (Q_UNLIKELY(rest.size() > MaxPipeTextLength) && field.kind == FieldKind::ParameterText) {
        m_notes.add(lineNumber(), [key] { return LoadNotes::parameterTextCut(key); });
    }
    const QByteArrayView text = rest.first(std::min<qsizetype>(rest.size(), MaxPipeTextLength));
    return storeParameter(int(*slot), field, text);
}

// Stores the value of one body line into the current entry.
Q_ALWAYS_INLINE Stored SetReader::storeBodyLine(const Line &line)
{
    const QByteArrayView text = line.text();
    if (text.isEmpty() || text[0] == '[' || text[0] == ';') {
        return Stored::Ignored;
    }
    if (text[0] == ' ' && isSpaces(text)) {
        return Stored::Ignored;
    }
    const auto [key, value] = splitBodyLine(line);
    const Classified found = classify(key);
    if (found.syntax == Syntax::None) {
        if (text[0] == '/' && startsWithAnyCase(text, BeginMarker)) {
            m_notes.add(lineNumber(),
                        [this] { return LoadNotes::beginInsideBlock(m_blockNumber); });
        } else {
            m_notes.add(lineNumber(), [key = key] { return LoadNotes::unknownKey(key); });
        }
        return Stored::Ignored;
    }
    switch (found.syntax) {
    case Syntax::None:
    case Syntax::Entry:
        noteIfCut(line);
        return storeMember(*found.field, key, value);
    case Syntax::Data:
        noteIfCut(line);
        return storeData(*found.field, key, value);
    case Syntax::Pipe:
        if (m_parameters != ParameterSyntax::Pipe) {
            break;
        }
        noteIfCut(line);
        return value.isEmpty() ? Stored::Ignored : storePipe(*found.field, key, value);
    case Syntax::Single:
        if (m_parameters != ParameterSyntax::Single) {
            break;
        }
        noteIfCut(line);
        noteGivenAgain(
            m_table.parameterKeyGivenBefore(int(found.field - EntryFields::parameterSlot.first), 0),
            key);
        return storeParameter(0, *found.field, value);
    }
    noteNotRead(line);
    return Stored::Ignored;
}

// The notes of a body line the reader knows a key of but does not read as the line says: a
// parameter key the version does not read, or a value cut. Such lines are rare, so each is
// taken apart again here rather than kept at hand in the line loop.
void SetReader::noteNotRead(const Line &line)
{
    const QByteArrayView key = splitBodyLine(line).key;
    m_notes.add(lineNumber(),
                [this, key] { return LoadNotes::parameterKeyNotRead(key, m_version); });
}

void SetReader::noteCut(const Line &line)
{
    const auto [key, value] = splitBodyLine(line);
    if (valueCut(line.text(), key, value)) {
        m_notes.add(lineNumber(), [key = key] { return LoadNotes::valueCut(key); });
    }
}

ReadResult SetReader::failure(const QString &message, const QString &why)
{
    return ReadFailure::failure(message, lineNumber(), why);
}

bool SetReader::beginBlock(QByteArrayView text, ReadResult &failed)
{
    // The number starts at the sixth character and runs as far as its digits do, so
    // "/bgn 1000" is block 1000, not 100.
    const QByteArrayView written =
        text.size() > MarkerLength + 1 ? text.sliced(MarkerLength + 1) : QByteArrayView();
    const qint64 number = NumberScanner::prefix(written);
    const QByteArrayView shown = written.trimmed();
    const qsizetype space = shown.indexOf(' ');
    const QByteArrayView digits = space < 0 ? shown : shown.first(space);
    if (number < 0 || number > MaxBlockNumber) {
        // Named as written: a number past the scanner's cap reads as the cap.
        failed = failure(errorLoadingMessage(m_path),
                         QStringLiteral("the block number %1 is %2")
                             .arg(quoted(digits),
                                  number < 0 ? QStringLiteral("below 0")
                                             : QStringLiteral("above %1").arg(MaxBlockNumber)));
        return false;
    }
    const int line = lineNumber();
    // As written, the number follows a space in plain digits; the fifth character is never
    // read, so "/bgn12" is block 2.
    const bool plain = !digits.isEmpty() && !NumberScanner::isDigit(text[MarkerLength])
        && std::all_of(digits.begin(), digits.end(), NumberScanner::isDigit);
    if (Q_UNLIKELY(!plain)) {
        m_notes.add(line, [&] { return LoadNotes::blockNumberReadAs(text, int(number)); });
    }
    const int previous = m_blockNumber;
    m_blockNumber = int(number);
    const BlockTable::Begun begun = m_table.beginBlock(m_blockNumber, line);
    if (Q_UNLIKELY(begun.dropped > 0)) {
        m_notes.add(line, [&] {
            return LoadNotes::entriesDropped(m_blockNumber, previous, begun.dropped);
        });
    }
    if (Q_UNLIKELY(begun.earlierLine > 0)) {
        m_notes.add(line, [&] { return LoadNotes::blockAgain(m_blockNumber, begun.earlierLine); });
    }
    return true;
}

// A line outside a block is a comment, unless it holds a key: then a /bgn line is missing or
// misspelt, and what the line gives goes nowhere.
void SetReader::noteLineOutsideBlock(const Line &line)
{
    const QByteArrayView text = line.text();
    if (text.isEmpty() || text[0] == '[' || text[0] == ';' || text[0] == ' ' || text[0] == '/') {
        return;
    }
    const QByteArrayView key = splitBodyLine(line).key;
    if (classify(key).syntax != Syntax::None) {
        m_notes.add(lineNumber(), [key] { return LoadNotes::keyOutsideBlock(key); });
    }
}

ReadResult SetReader::readLines()
{
    // The keyword and the version are all the header is judged by, and the rest of the line
    // is ignored: a first line that runs on for gigabytes is judged as soon as it starts.
    constexpr qsizetype KeywordLength = qsizetype(sizeof(HeaderKeyword)) - 1;
    const Line *line = m_lines.firstLine(KeywordLength + VersionLength);
    if (!line) {
        return failure(errorLoadingMessage(m_path),
                       m_lines.failed() ? QStringLiteral("the file cannot be read")
                                        : QStringLiteral("the file is empty"));
    }
    if (!startsWithAnyCase(line->text(), HeaderKeyword)) {
        return failure(headerMessage(),
                       QStringLiteral("no %1 header").arg(QLatin1String(HeaderKeyword)));
    }
    m_version = line->text().sliced(KeywordLength).toByteArray();
    if (m_version == "0.1") {
        m_parameters = ParameterSyntax::Single;
    } else if (NumberScanner::versionAboveOneTenth(m_version)) {
        m_parameters = ParameterSyntax::Pipe;
    }

    LineReader &lines = m_lines; // a local, which the loop keeps in a register
    bool inBlock = false;
    while ((line = lines.next())) {
        const QByteArrayView text = line->text();
        if (!inBlock) {
            if (startsWithAnyCase(text, BeginMarker)) {
                ReadResult failed;
                if (!beginBlock(text, failed)) {
                    return failed;
                }
                inBlock = true;
            } else if (!text.isEmpty()) {
                noteLineOutsideBlock(*line);
            }
            continue;
        }
        if (!text.isEmpty() && text.front() == '/' && startsWithAnyCase(text, EndMarker)) {
            m_table.endBlock(m_notes);
            inBlock = false;
            continue;
        }
        const Stored stored = storeBodyLine(*line);
        if (stored != Stored::Yes && stored != Stored::Ignored) {
            return failure(errorLoadingMessage(m_path), whyNotStored(stored, *line));
        }
    }
    if (m_lines.failed()) {
        return failure(errorLoadingMessage(m_path),
                       QStringLiteral("the file cannot be read past this line"));
    }
    if (inBlock) {
        return failure(errorLoadingMessage(m_path),
                       QStringLiteral("the file ends inside block %1, which has no /end line")
                           .arg(m_blockNumber));
    }

    m_table.noteEntries(m_notes);
    ReadResult result;
    result.entries = m_table.take();
    result.version = std::move(m_version);
    result.line = lineNumber();
    return result;
}

// Reads in chunks through `read`: the table copies the texts it borrows from the buffer
// before the line reader reuses it.
ReadResult readInChunks(LineReader::ReadFunction read, qint64 sizeHint, const QString &path,
                        LineReader::SkipZerosFunction skipZeros = {})
{
    BlockTable table;
    LineReader lines(std::move(read), sizeHint,
                     [&table](QByteArrayView bytes) { table.slotTexts().keep(bytes); },
                     std::move(skipZeros));
    return SetReader(lines, table, path).read();
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
    if (typeid(in) == typeid(QBuffer)) {
        const QByteArray &bytes = static_cast<QBuffer &>(in).data();
        const qsizetype start = std::clamp<qsizetype>(in.pos(), 0, bytes.size());
        BlockTable table;
        LineReader lines(QByteArrayView(bytes).sliced(start));
        return SetReader(lines, table, path).read();
    }
    return readInChunks([&in](char *buffer, qint64 room) { return in.read(buffer, room); },
                        in.isSequential() ? -1 : in.size() - in.pos(), path);
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
    ReadResult result =
        readInChunks([&file](char *buffer, qint64 room) { return file.read(buffer, room); },
                     file.size(), path, [&file] { file.skipHole(); });
    if (result.ok()) {
        result.modified = file.modified();
    }
    return result;
}
