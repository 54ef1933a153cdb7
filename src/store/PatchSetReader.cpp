#include "PatchSetReader.h"

#include "LineReader.h"
#include "NumberScanner.h"
#include "PatchSetFormat.h"
#include "RegularFile.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <typeinfo>
#include <vector>

using namespace PatchSetFormat;

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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char toLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

// True when `text` starts with `name` in any case; for the header and the block markers.
template<qsizetype N>
bool startsWithAnyCase(QByteArrayView text, const char (&name)[N])
{
    if (text.size() < N - 1) {
        return false;
    }
    for (qsizetype i = 0; i < N - 1; ++i) {
        if (toLower(text[i]) != toLower(name[i])) {
            return false;
        }
    }
    return true;
}

// Compares one word (4 or 8 bytes) of `text` and `name` in any case, given that `name` holds
// letters only: for a letter, setting bit 0x20 folds exactly its two cases together.
template<typename Word>
bool lettersEqual(const char *text, const char *name)
{
    constexpr Word fold = Word(0x2020202020202020);
    Word got;
    Word wanted;
    std::memcpy(&got, text, sizeof got);
    std::memcpy(&wanted, name, sizeof wanted);
    return (got | fold) == (wanted | fold);
}

// True when `text` (at least as long as `name`) starts with the key `name` in any case.
// Every key is 4 to 16 letters long, so two words, overlapping where needed, cover it.
template<qsizetype N>
bool startsWithKey(const char *text, const char (&name)[N])
{
    constexpr qsizetype length = N - 1;
    static_assert(length >= 4 && length <= 16, "keys are 4 to 16 letters long");
    using Word = std::conditional_t<(length >= 8), quint64, quint32>;
    constexpr qsizetype last = length - qsizetype(sizeof(Word));
    return lettersEqual<Word>(text, name) && lettersEqual<Word>(text + last, name + last);
}

template<qsizetype N>
bool keyIs(QByteArrayView key, const char (&name)[N])
{
    return key.size() == N - 1 && startsWithKey(key.data(), name);
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

// Every key the reader knows. The entry, data and pipe key sets do not overlap, so one lookup
// by first letter and length finds the only candidate.
enum class Key {
    None,
    Omnipresence,
    Name,
    Description,
    RequiresRemap,
    RequiresYiff,
    RequiresPart,
    RequiresSave,
    Dependencies,
    CondBehave,
    Offffset, // the data keys: a prefix, then the slot number
    DeflData,
    ModNData,
    ModRData,
    Bambi, // the pipe keys of versions above 0.1
    Ronno,
    Gprince,
    Faline,
    Mena,
    EnableParameter, // the single-parameter keys of version "0.1"
    ParameterOffset,
    ParameterValue,
    ParameterName,
    ParameterType,
};

Key classify(QByteArrayView key)
{
    if (key.isEmpty()) {
        return Key::None;
    }
    const bool longEnough = key.size() >= dataKeyPrefixLength;
    const char *text = key.data();
    // Setting bit 0x20 lowers a letter and turns nothing else into one.
    switch (text[0] | 0x20) {
    case 'b':
        return keyIs(key, keyBambi) ? Key::Bambi : Key::None;
    case 'c':
        return keyIs(key, keyCondBehave) ? Key::CondBehave : Key::None;
    case 'd':
        if (longEnough && startsWithKey(text, keyDeflData)) {
            return Key::DeflData;
        }
        if (keyIs(key, keyDescription)) {
            return Key::Description;
        }
        return keyIs(key, keyDependencies) ? Key::Dependencies : Key::None;
    case 'e':
        return keyIs(key, keyEnableParameter) ? Key::EnableParameter : Key::None;
    case 'f':
        return keyIs(key, keyFaline) ? Key::Faline : Key::None;
    case 'g':
        return keyIs(key, keyGprince) ? Key::Gprince : Key::None;
    case 'm':
        if (longEnough && startsWithKey(text, keyModNData)) {
            return Key::ModNData;
        }
        if (longEnough && startsWithKey(text, keyModRData)) {
            return Key::ModRData;
        }
        return keyIs(key, keyMena) ? Key::Mena : Key::None;
    case 'n':
        return keyIs(key, keyName) ? Key::Name : Key::None;
    case 'o':
        if (longEnough && startsWithKey(text, keyOffffset)) {
            return Key::Offffset;
        }
        return keyIs(key, keyOmnipresence) ? Key::Omnipresence : Key::None;
    case 'p':
        if (keyIs(key, keyParameterOffset)) {
            return Key::ParameterOffset;
        }
        if (keyIs(key, keyParameterValue)) {
            return Key::ParameterValue;
        }
        if (keyIs(key, keyParameterName)) {
            return Key::ParameterName;
        }
        return keyIs(key, keyParameterType) ? Key::ParameterType : Key::None;
    case 'r':
        if (keyIs(key, keyRonno)) {
            return Key::Ronno;
        }
        if (keyIs(key, keyRequiresRemap)) {
            return Key::RequiresRemap;
        }
        if (keyIs(key, keyRequiresYiff)) {
            return Key::RequiresYiff;
        }
        if (keyIs(key, keyRequiresPart)) {
            return Key::RequiresPart;
        }
        return keyIs(key, keyRequiresSave) ? Key::RequiresSave : Key::None;
    default:
        return Key::None;
    }
}

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

Stored storeByte(quint8 &member, QByteArrayView value)
{
    const std::optional<quint8> number = NumberScanner::byteValue(value);
    if (!number) {
        return Stored::NotAByte;
    }
    member = *number;
    return Stored::Yes;
}

Stored storeText(QByteArray &member, QByteArrayView value)
{
    member = value.toByteArray();
    return Stored::Yes;
}

// Data keys: the slot number is the two characters after the prefix.
Stored storeData(BlockTable &table, DataText field, QByteArrayView key, QByteArrayView value)
{
    const qsizetype digits = std::min<qsizetype>(key.size() - dataKeyPrefixLength, 2);
    const QByteArrayView number = key.sliced(dataKeyPrefixLength, digits);
    qint64 slot = 0;
    if (digits == 2 && isDigit(number[0]) && isDigit(number[1])) {
        slot = (number[0] - '0') * 10 + (number[1] - '0'); // as written
    } else {
        slot = NumberScanner::prefix(number);
    }
    if (slot < 0 || slot >= PatchEntry::DataSlotCount) {
        return Stored::NoDataSlot;
    }
    table.slotTexts().setData(int(slot), field, value, SlotTextsBuilder::Storage::Borrow);
    return Stored::Yes;
}

Stored storeParameterNumber(BlockTable &table, int slot, ParameterNumber field,
                            QByteArrayView value)
{
    const std::optional<quint8> number = NumberScanner::byteValue(value);
    if (!number) {
        return Stored::NotAByte;
    }
    table.slotTexts().setParameterNumber(slot, field, *number);
    return Stored::Yes;
}

Stored storeParameterText(BlockTable &table, int slot, ParameterText field, QByteArrayView value)
{
    table.slotTexts().setParameter(slot, field, value, SlotTextsBuilder::Storage::Borrow);
    return Stored::Yes;
}

// The keys of version "0.1", all aimed at parameter slot 0.
Stored storeSingleParameter(BlockTable &table, Key key, QByteArrayView value)
{
    switch (key) {
    case Key::EnableParameter:
        return storeParameterNumber(table, 0, ParameterNumber::existence, value);
    case Key::ParameterType:
        return storeParameterNumber(table, 0, ParameterNumber::parametertypka, value);
    case Key::ParameterOffset:
        return storeParameterText(table, 0, ParameterText::offsetka, value);
    case Key::ParameterValue:
        return storeParameterText(table, 0, ParameterText::parametervalka, value);
    default:
        return storeParameterText(table, 0, ParameterText::parameternamka, value);
    }
}

// A pipe value "slot|text". Empty values and values without "|" store nothing.
Stored storePipe(BlockTable &table, Key key, QByteArrayView value)
{
    // As written, the slot number is one or two digits right before the "|".
    qsizetype bar = -1;
    std::optional<qint64> slot;
    if (value.size() >= 2 && isDigit(value[0]) && value[1] == '|') {
        bar = 1;
        slot = value[0] - '0';
    } else if (value.size() >= 3 && isDigit(value[0]) && isDigit(value[1]) && value[2] == '|') {
        bar = 2;
        slot = (value[0] - '0') * 10 + (value[1] - '0');
    } else {
        bar = value.indexOf('|');
        if (bar < 0) {
            return Stored::Ignored;
        }
        slot = NumberScanner::number(value.first(bar));
    }
    if (!slot || *slot >= PatchEntry::ParameterSlotCount) {
        return Stored::NoParameterSlot;
    }
    const QByteArrayView rest = value.sliced(bar + 1);
    const QByteArrayView text = rest.first(std::min<qsizetype>(rest.size(), maxPipeTextLength));
    switch (key) {
    case Key::Bambi:
        return storeParameterNumber(table, int(*slot), ParameterNumber::existence, text);
    case Key::Mena:
        return storeParameterNumber(table, int(*slot), ParameterNumber::parametertypka, text);
    case Key::Ronno:
        return storeParameterText(table, int(*slot), ParameterText::offsetka, text);
    case Key::Gprince:
        return storeParameterText(table, int(*slot), ParameterText::parametervalka, text);
    default:
        return storeParameterText(table, int(*slot), ParameterText::parameternamka, text);
    }
}

// Splits one body line into key and value and stores the value into the current entry.
Stored storeBodyLine(BlockTable &table, const Line &line, ParameterSyntax parameters)
{
    const QByteArrayView text = line.text();
    if (text.isEmpty() || text[0] == '[' || text[0] == ';') {
        return Stored::Ignored;
    }
    if (text[0] == ' ' && std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; })) {
        return Stored::Ignored;
    }
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
    const QByteArrayView value = text.sliced(begin, end - begin);

    const Key found = classify(key);
    switch (found) {
    case Key::None:
        return Stored::Ignored;
    case Key::Omnipresence:
        return storeByte(table.entry().Omnipresence, value);
    case Key::Name:
        return storeText(table.entry().Name, value);
    case Key::Description:
        return storeText(table.entry().Description, value);
    case Key::RequiresRemap:
        return storeByte(table.entry().RequiresRemap, value);
    case Key::RequiresYiff:
        return storeByte(table.entry().RequiresYiff, value);
    case Key::RequiresPart:
        return storeByte(table.entry().RequiresPart, value);
    case Key::RequiresSave:
        return storeByte(table.entry().RequiresSave, value);
    case Key::Dependencies:
        return storeText(table.entry().Dependencies, value);
    case Key::CondBehave:
        return storeByte(table.entry().CondBehave, value);
    case Key::Offffset:
        return storeData(table, DataText::Offffset, key, value);
    case Key::DeflData:
        return storeData(table, DataText::DeflData, key, value);
    case Key::ModNData:
        return storeData(table, DataText::ModNData, key, value);
    case Key::ModRData:
        return storeData(table, DataText::ModRData, key, value);
    case Key::Bambi:
    case Key::Ronno:
    case Key::Gprince:
    case Key::Faline:
    case Key::Mena:
        if (value.isEmpty() || parameters != ParameterSyntax::Pipe) {
            return Stored::Ignored;
        }
        return storePipe(table, found, value);
    case Key::EnableParameter:
    case Key::ParameterOffset:
    case Key::ParameterValue:
    case Key::ParameterName:
    case Key::ParameterType:
        if (parameters != ParameterSyntax::Single) {
            return Stored::Ignored;
        }
        return storeSingleParameter(table, found, value);
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
    const QByteArrayView text = line.text();
    const qsizetype equals = line.equals >= 0 ? line.equals : text.size();
    const QString key = quoted(text.first(equals));
    const QString value = equals < text.size() ? quoted(text.sliced(equals + 1)) : QString();
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
    const Line *line = lines.next();
    if (!line) {
        return failure(errorLoadingMessage(path), lines.lineNumber(),
                       lines.failed() ? QStringLiteral("the file cannot be read")
                                      : QStringLiteral("the file is empty"));
    }
    if (!startsWithAnyCase(line->text(), headerKeyword)) {
        return failure(headerMessage(), lines.lineNumber(),
                       QStringLiteral("no %1 header").arg(QLatin1String(headerKeyword)));
    }
    const QByteArrayView afterKeyword = line->text().sliced(qsizetype(sizeof(headerKeyword)) - 1);
    QByteArray version =
        afterKeyword.first(std::min<qsizetype>(afterKeyword.size(), versionLength)).toByteArray();
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
                     file.size(),
                     [&table](QByteArrayView bytes) { table.slotTexts().keep(bytes); });
    return readLines(lines, table, path);
}

bool PatchSetFileExists(const QString &path)
{
    return RegularFile(path).opened() == RegularFile::Opened::File;
}
