#include "PatchSetReader.h"

#include "PatchSetFormat.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

using namespace PatchSetFormat;

namespace {

// Big enough that a read costs little per line, small enough to stay in the cache.
constexpr qsizetype chunkSize = 256 * 1024;

// Numbers saturate here: far above every limit, so an overlong number stays too large
// instead of wrapping round into range.
constexpr qint64 saturatedNumber = 1000000000;

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

// Hands out the lines of a device one at a time. The device is read in chunks, so a large
// file never sits in memory whole next to the table built from it. A line ends at CR LF,
// LF or a lone CR; the last line needs no line end.
class LineReader
{
public:
    explicit LineReader(QIODevice &in) : m_in(in) {}

    // Points `line` at the next line, without its line end; valid until the next call.
    // False at the end of the input and after a read error (then failed() is true).
    bool next(const char *&line, qsizetype &length)
    {
        for (;;) {
            const qsizetype end = std::min(find('\r', m_nextCr), find('\n', m_nextLf));
            if (end < m_size) {
                qsizetype after = end + 1;
                if (m_buffer[end] == '\r') {
                    // A CR at the end of the data may be the first half of CR LF.
                    if (after == m_size && !m_atEnd) {
                        if (!readMore()) {
                            return false;
                        }
                        continue;
                    }
                    if (after < m_size && m_buffer[after] == '\n') {
                        ++after;
                    }
                }
                return handOut(end, after, line, length);
            }
            if (m_atEnd) {
                return m_pos < m_size && handOut(m_size, m_size, line, length);
            }
            if (!readMore()) {
                return false;
            }
        }
    }

    bool failed() const { return m_failed; }
    int lineNumber() const { return m_lineNumber; }

private:
    bool handOut(qsizetype end, qsizetype after, const char *&line, qsizetype &length)
    {
        line = m_buffer.constData() + m_pos;
        length = end - m_pos;
        m_pos = after;
        ++m_lineNumber;
        return true;
    }

    // Position of the next `c` at or after m_pos, or m_size if there is none. `cache` keeps
    // the last answer, so a file without any CR is not searched for one on every line.
    qsizetype find(char c, qsizetype &cache)
    {
        qsizetype start = std::max(cache, m_pos);
        if (start < m_size && m_buffer[start] == c) {
            return cache = start;
        }
        const char *data = m_buffer.constData();
        const void *found = std::memchr(data + start, c, size_t(m_size - start));
        cache = found ? static_cast<const char *>(found) - data : m_size;
        return cache;
    }

    bool readMore()
    {
        if (m_pos > 0) {
            // Keep the unfinished line; the caches move with it, so a long line is not
            // searched again from its start after every chunk.
            std::memmove(m_buffer.data(), m_buffer.constData() + m_pos, size_t(m_size - m_pos));
            m_size -= m_pos;
            m_nextCr = std::max<qsizetype>(m_nextCr - m_pos, 0);
            m_nextLf = std::max<qsizetype>(m_nextLf - m_pos, 0);
            m_pos = 0;
        }
        if (m_buffer.size() < m_size + chunkSize) {
            m_buffer.resize(m_size + chunkSize);
        }
        const qint64 got = m_in.read(m_buffer.data() + m_size, chunkSize);
        if (got < 0) {
            m_failed = true;
            return false;
        }
        if (got == 0) {
            m_atEnd = true;
        }
        m_size += got;
        return true;
    }

    QIODevice &m_in;
    QByteArray m_buffer;
    qsizetype m_pos = 0;  // first byte not handed out yet
    qsizetype m_size = 0; // bytes of m_buffer that hold data
    qsizetype m_nextCr = 0;
    qsizetype m_nextLf = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    int m_lineNumber = 0;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char toLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

// True when `text` starts with `upper` (given in capitals), in any case.
bool startsWithAnyCase(const char *text, qsizetype length, const char *upper)
{
    const auto upperLength = qsizetype(std::strlen(upper));
    if (length < upperLength) {
        return false;
    }
    for (qsizetype i = 0; i < upperLength; ++i) {
        if (toLower(text[i]) != toLower(upper[i])) {
            return false;
        }
    }
    return true;
}

template<qsizetype N>
bool keyIs(const char *key, qsizetype length, const char (&name)[N])
{
    return length == N - 1 && startsWithAnyCase(key, length, name);
}

// Reads decimal digits with an optional fraction ("12", "12.", "12.5", ".5") and rounds a
// half to the even neighbour. Returns the position after the number; `hasDigits` is false
// when there was no digit at all.
const char *scanDecimal(const char *p, const char *end, qint64 &rounded, bool &hasDigits)
{
    qint64 whole = 0;
    hasDigits = false;
    for (; p < end && isDigit(*p); ++p) {
        whole = std::min(whole * 10 + (*p - '0'), saturatedNumber);
        hasDigits = true;
    }
    if (p < end && *p == '.') {
        int firstFraction = -1;
        bool restNonZero = false;
        for (++p; p < end && isDigit(*p); ++p) {
            if (firstFraction < 0) {
                firstFraction = *p - '0';
            } else if (*p != '0') {
                restNonZero = true;
            }
            hasDigits = true;
        }
        const bool half = firstFraction == 5 && !restNonZero;
        if (firstFraction > 5 || (firstFraction == 5 && !half) || (half && (whole & 1))) {
            ++whole;
        }
    }
    rounded = whole;
    return p;
}

// A number value: the whole text must be a decimal number, spaces around it allowed (values
// keep their trailing spaces). No sign, exponent or hexadecimal form: "+1", "1e2" and "0x10"
// are not numbers, so a hand-edited typo fails loudly instead of storing a surprise.
std::optional<qint64> parseNumber(const char *p, const char *end)
{
    while (p < end && *p == ' ') {
        ++p;
    }
    qint64 value = 0;
    bool hasDigits = false;
    p = scanDecimal(p, end, value, hasDigits);
    while (p < end && *p == ' ') {
        ++p;
    }
    if (!hasDigits || p != end) {
        return std::nullopt;
    }
    return value;
}

// A numeric prefix (block numbers, data slot numbers): leading spaces, an optional sign,
// a decimal number; whatever follows is ignored and no number at all reads as 0.
qint64 parsePrefix(const char *p, const char *end)
{
    while (p < end && *p == ' ') {
        ++p;
    }
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    qint64 value = 0;
    bool hasDigits = false;
    scanDecimal(p, end, value, hasDigits);
    return negative ? -value : value;
}

// Whether the leading number of a version text is above 0.1, decided on the digits so that
// "0.1" itself never creeps over through binary fractions.
bool versionAboveOneTenth(const QByteArray &version)
{
    const char *p = version.constBegin();
    const char *end = version.constEnd();
    while (p < end && *p == ' ') {
        ++p;
    }
    if (p < end && (*p == '-' || *p == '+')) {
        if (*p == '-') {
            return false;
        }
        ++p;
    }
    bool wholeNonZero = false;
    for (; p < end && isDigit(*p); ++p) {
        wholeNonZero = wholeNonZero || *p != '0';
    }
    if (wholeNonZero) {
        return true;
    }
    if (p == end || *p != '.') {
        return false;
    }
    ++p;
    if (p == end || !isDigit(*p) || *p == '0') {
        return false;
    }
    if (*p > '1') {
        return true;
    }
    for (++p; p < end && isDigit(*p); ++p) {
        if (*p != '0') {
            return true;
        }
    }
    return false;
}

enum class ParameterSyntax { None, Single, Pipe };

// The table as the blocks build it. Block numbers may jump up and down: a lower number drops
// the entries above it, and a later higher number must bring them back fresh. The storage is
// kept and only entries that were written are reset, each once per write, so a file that
// alternates "/bgn 32767" and "/bgn 0" costs no more than any other file of its length.
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
        m_current = number;
    }

    // The entry of the current block, for writing. It is always the last one of the table,
    // so the written indices stay in ascending order.
    PatchEntry &current()
    {
        if (m_written.empty() || m_written.back() != m_current) {
            m_written.push_back(m_current);
        }
        return m_entries[m_current];
    }

    PatchTable take()
    {
        m_entries.resize(m_size);
        return std::move(m_entries);
    }

private:
    PatchTable m_entries;
    std::vector<int> m_written;
    qsizetype m_size = 0;
    int m_current = 0;
};

struct Value
{
    const char *begin;
    const char *end;

    bool isEmpty() const { return begin == end; }
    QByteArray bytes() const { return QByteArray(begin, end - begin); }
    std::optional<quint8> byte() const
    {
        const std::optional<qint64> number = parseNumber(begin, end);
        if (!number || *number > 255) {
            return std::nullopt;
        }
        return quint8(*number);
    }
};

bool storeByte(quint8 &member, const Value &value)
{
    const std::optional<quint8> number = value.byte();
    if (number) {
        member = *number;
    }
    return number.has_value();
}

// A pipe value "slot|text". Empty values and values without "|" store nothing.
// Returns false when the load must fail.
bool storePipe(PatchEntry &entry, const char *key, qsizetype keyLength, const Value &value)
{
    if (value.isEmpty()) {
        return true;
    }
    const auto *bar = static_cast<const char *>(
        std::memchr(value.begin, '|', size_t(value.end - value.begin)));
    if (!bar) {
        return true;
    }
    const std::optional<qint64> slot = parseNumber(value.begin, bar);
    if (!slot || *slot >= PatchEntry::ParameterSlotCount) {
        return false;
    }
    const Value text{bar + 1, bar + 1 + std::min<qsizetype>(value.end - bar - 1, maxPipeTextLength)};
    PatchParameter &parameter = entry.parameter(int(*slot));
    if (keyIs(key, keyLength, keyBambi)) {
        return storeByte(parameter.existence, text);
    }
    if (keyIs(key, keyLength, keyMena)) {
        return storeByte(parameter.parametertypka, text);
    }
    if (keyIs(key, keyLength, keyRonno)) {
        parameter.offsetka = text.bytes();
    } else if (keyIs(key, keyLength, keyGprince)) {
        parameter.parametervalka = text.bytes();
    } else {
        parameter.parameternamka = text.bytes();
    }
    return true;
}

bool isPipeKey(const char *key, qsizetype keyLength)
{
    return keyIs(key, keyLength, keyBambi) || keyIs(key, keyLength, keyRonno)
        || keyIs(key, keyLength, keyGprince) || keyIs(key, keyLength, keyFaline)
        || keyIs(key, keyLength, keyMena);
}

// Data keys: a prefix, then the slot number in the two characters after it.
bool storeData(BlockTable &table, const char *key, qsizetype keyLength, const Value &value,
               bool &matched)
{
    matched = false;
    if (keyLength < dataKeyPrefixLength) {
        return true;
    }
    QByteArray DataSlot::*member = nullptr;
    if (startsWithAnyCase(key, keyLength, keyOffffset)) {
        member = &DataSlot::Offffset;
    } else if (startsWithAnyCase(key, keyLength, keyDeflData)) {
        member = &DataSlot::DeflData;
    } else if (startsWithAnyCase(key, keyLength, keyModNData)) {
        member = &DataSlot::ModNData;
    } else if (startsWithAnyCase(key, keyLength, keyModRData)) {
        member = &DataSlot::ModRData;
    } else {
        return true;
    }
    matched = true;
    const qint64 slot = parsePrefix(key + dataKeyPrefixLength,
                                    key + std::min<qsizetype>(keyLength, dataKeyPrefixLength + 2));
    if (slot < 0 || slot >= PatchEntry::DataSlotCount) {
        return false;
    }
    table.current().data(int(slot)).*member = value.bytes();
    return true;
}

bool storeEntryKey(PatchEntry &entry, const char *key, qsizetype keyLength, const Value &value,
                   bool &matched)
{
    matched = true;
    if (keyIs(key, keyLength, keyName)) {
        entry.Name = value.bytes();
    } else if (keyIs(key, keyLength, keyDescription)) {
        entry.Description = value.bytes();
    } else if (keyIs(key, keyLength, keyDependencies)) {
        entry.Dependencies = value.bytes();
    } else if (keyIs(key, keyLength, keyOmnipresence)) {
        return storeByte(entry.Omnipresence, value);
    } else if (keyIs(key, keyLength, keyRequiresRemap)) {
        return storeByte(entry.RequiresRemap, value);
    } else if (keyIs(key, keyLength, keyRequiresYiff)) {
        return storeByte(entry.RequiresYiff, value);
    } else if (keyIs(key, keyLength, keyRequiresPart)) {
        return storeByte(entry.RequiresPart, value);
    } else if (keyIs(key, keyLength, keyRequiresSave)) {
        return storeByte(entry.RequiresSave, value);
    } else if (keyIs(key, keyLength, keyCondBehave)) {
        return storeByte(entry.CondBehave, value);
    } else {
        matched = false;
    }
    return true;
}

bool storeSingleParameter(PatchEntry &entry, const char *key, qsizetype keyLength,
                          const Value &value)
{
    if (keyIs(key, keyLength, keyEnableParameter)) {
        return storeByte(entry.parameter(0).existence, value);
    }
    if (keyIs(key, keyLength, keyParameterType)) {
        return storeByte(entry.parameter(0).parametertypka, value);
    }
    if (keyIs(key, keyLength, keyParameterOffset)) {
        entry.parameter(0).offsetka = value.bytes();
    } else if (keyIs(key, keyLength, keyParameterValue)) {
        entry.parameter(0).parametervalka = value.bytes();
    } else if (keyIs(key, keyLength, keyParameterName)) {
        entry.parameter(0).parameternamka = value.bytes();
    }
    return true;
}

// Splits one body line into key and value and stores the value into the current entry.
// Returns false when the load must fail.
bool storeBodyLine(BlockTable &table, const char *line, qsizetype length,
                   ParameterSyntax parameters)
{
    if (length == 0 || line[0] == '[' || line[0] == ';') {
        return true;
    }
    if (std::all_of(line, line + length, [](char c) { return c == ' '; })) {
        return true;
    }
    const qsizetype searched = std::min<qsizetype>(length, maxKeyLength);
    const auto *equals = static_cast<const char *>(std::memchr(line, '=', size_t(searched)));
    const char *key = line;
    const qsizetype keyLength = equals ? equals - line : searched;

    // The value starts one past the key, which skips the "=" when there is one.
    Value value{line + std::min(keyLength + 1, length), nullptr};
    value.end = value.begin + std::min<qsizetype>(line + length - value.begin, maxValueLength);
    while (value.begin < value.end && *value.begin == ' ') {
        ++value.begin;
    }
    if (const void *comment = std::memchr(value.begin, ';', size_t(value.end - value.begin))) {
        value.end = static_cast<const char *>(comment);
        while (value.end > value.begin && value.end[-1] == ' ') {
            --value.end;
        }
    }

    // Data lines are by far the most common, so they are tried first; the key sets do not
    // overlap, so the order changes nothing else.
    bool matched = false;
    if (!storeData(table, key, keyLength, value, matched)) {
        return false;
    }
    if (matched) {
        return true;
    }
    PatchEntry &entry = table.current();
    if (!storeEntryKey(entry, key, keyLength, value, matched)) {
        return false;
    }
    if (matched) {
        return true;
    }
    if (parameters == ParameterSyntax::Single) {
        return storeSingleParameter(entry, key, keyLength, value);
    }
    if (parameters == ParameterSyntax::Pipe && isPipeKey(key, keyLength)) {
        return storePipe(entry, key, keyLength, value);
    }
    return true;
}

ReadResult failure(const QString &message, int line)
{
    ReadResult result;
    result.message = message;
    result.line = line;
    return result;
}

} // namespace

ReadResult readPatchSet(QIODevice &in, const QString &path)
{
    if (!in.isOpen() && !in.open(QIODevice::ReadOnly)) {
        return failure(errorLoadingMessage(path), 0);
    }
    if (!in.isReadable()) {
        return failure(errorLoadingMessage(path), 0);
    }
    LineReader lines(in);
    const char *line = nullptr;
    qsizetype length = 0;
    if (!lines.next(line, length)) {
        return failure(errorLoadingMessage(path), lines.lineNumber());
    }
    if (!startsWithAnyCase(line, length, headerKeyword)) {
        return failure(headerMessage(), lines.lineNumber());
    }
    const qsizetype keywordLength = qsizetype(sizeof(headerKeyword)) - 1;
    QByteArray version(line + keywordLength,
                       std::min<qsizetype>(length - keywordLength, versionLength));
    ParameterSyntax parameters = ParameterSyntax::None;
    if (version == "0.1") {
        parameters = ParameterSyntax::Single;
    } else if (versionAboveOneTenth(version)) {
        parameters = ParameterSyntax::Pipe;
    }

    BlockTable table;
    bool inBlock = false;
    while (lines.next(line, length)) {
        if (!inBlock) {
            if (startsWithAnyCase(line, length, "/BGN")) {
                // The number starts at the sixth character and runs as far as its digits do,
                // so "/bgn 1000" is block 1000, not 100.
                const qint64 number = length > 5 ? parsePrefix(line + 5, line + length) : 0;
                if (number < 0 || number > maxBlockNumber) {
                    return failure(errorLoadingMessage(path), lines.lineNumber());
                }
                table.beginBlock(int(number));
                inBlock = true;
            }
            continue;
        }
        if (startsWithAnyCase(line, length, "/END")) {
            inBlock = false;
            continue;
        }
        if (!storeBodyLine(table, line, length, parameters)) {
            return failure(errorLoadingMessage(path), lines.lineNumber());
        }
    }
    if (lines.failed() || inBlock) {
        return failure(errorLoadingMessage(path), lines.lineNumber());
    }

    ReadResult result;
    result.entries = table.take();
    result.version = std::move(version);
    result.line = lines.lineNumber();
    return result;
}

ReadResult LoadPatchSet(const QString &path)
{
    if (!PatchSetFileExists(path)) {
        return failure(cantFindMessage(path), 0);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Gone or locked between the two opens: the same answer as before.
        return failure(cantFindMessage(path), 0);
    }
    return readPatchSet(file, path);
}

bool PatchSetFileExists(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}
