#include "PatchSetWriter.h"

#include "PatchSetFormat.h"

#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>

using namespace PatchSetFormat;

namespace {

// Lines are gathered in memory and handed to the device in large writes: many small writes
// would cost more than building the text.
constexpr qsizetype FlushSize = 64 * 1024;
constexpr qsizetype FirstSize = 1024;

WriteResult failure(const QString &path, const QString &reason)
{
    WriteResult result;
    result.message = QLatin1String("Error saving patch set (") + path + QLatin1String(").")
        + QLatin1String(LineEnd) + reason;
    return result;
}

// Checked before anything is opened or written, so a refused table leaves the target as it was.
WriteResult fitsTheFormat(const PatchTable &table, const QString &path)
{
    if (table.size() <= MaxEntries) {
        return {};
    }
    return failure(path,
                   QStringLiteral("The set has %1 entries; a set holds at most %2.")
                       .arg(table.size())
                       .arg(MaxEntries));
}

// A number in decimal, without sign or leading zeros.
struct Decimal
{
    explicit Decimal(qsizetype number)
    {
        if (number >= 0 && number < 1000) {
            // Bytes and slot numbers, nearly every number written.
            const int value = int(number);
            length = value >= 100 ? 3 : value >= 10 ? 2 : 1;
            const char all[3] = {char('0' + value / 100), char('0' + value / 10 % 10),
                                 char('0' + value % 10)};
            std::memcpy(digits, all + 3 - length, size_t(length));
        } else {
            length = int(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
        }
    }
    char digits[20];
    int length;
};

// A data slot number, two digits as PadWithZeros of the number to width 2 gives them.
struct TwoDigits
{
    explicit TwoDigits(int slot) : digits{char('0' + slot / 10), char('0' + slot % 10)} {}
    char digits[2];
};

template<qsizetype N>
constexpr qsizetype sizeOf(const char (&)[N])
{
    return N - 1;
}
qsizetype sizeOf(QByteArrayView text)
{
    return text.size();
}
qsizetype sizeOf(const QByteArray &text)
{
    return text.size();
}
qsizetype sizeOf(const Decimal &number)
{
    return number.length;
}
constexpr qsizetype sizeOf(const TwoDigits &)
{
    return 2;
}

template<qsizetype N>
char *put(char *at, const char (&text)[N])
{
    std::memcpy(at, text, N - 1);
    return at + N - 1;
}
char *put(char *at, QByteArrayView text)
{
    if (!text.isEmpty()) {
        std::memcpy(at, text.data(), size_t(text.size()));
    }
    return at + text.size();
}
char *put(char *at, const QByteArray &text)
{
    return put(at, QByteArrayView(text));
}
char *put(char *at, const Decimal &number)
{
    std::memcpy(at, number.digits, size_t(number.length));
    return at + number.length;
}
char *put(char *at, const TwoDigits &number)
{
    std::memcpy(at, number.digits, 2);
    return at + 2;
}

class Output
{
public:
    explicit Output(QIODevice &out) : m_out(out) { grow(FirstSize); }

    // The pieces, end to end; a line is pieces that end in `LineEnd`, and several lines in
    // one call check for room once. After a failed write nothing more is written; ok() tells.
    template<typename... Pieces>
    void append(const Pieces &...pieces)
    {
        const qsizetype length = (sizeOf(pieces) + ...);
        char *at = room(length);
        if (!at) {
            return;
        }
        ((at = put(at, pieces)), ...);
        Q_ASSERT(at - m_at == length);
        m_at = at;
    }

    // Hands what was gathered to the device. A device may take fewer bytes than offered,
    // which is no failure, so the rest is offered again; a write that takes nothing fails.
    bool flush()
    {
        const char *from = m_buffer.get();
        const char *const end = m_at;
        m_at = m_buffer.get();
        while (m_ok && from < end) {
            const qint64 written = m_out.write(from, end - from);
            m_ok = written > 0 && written <= end - from;
            from += m_ok ? written : 0;
        }
        return m_ok;
    }

    bool ok() const { return m_ok; }

private:
    qsizetype used() const { return m_at - m_buffer.get(); }
    qsizetype capacity() const { return m_end - m_buffer.get(); }

    // Where `length` more bytes go, or null once a write failed.
    char *room(qsizetype length)
    {
        if (m_end - m_at < length) {
            makeRoom(length);
        }
        Q_ASSERT(!m_ok || m_end - m_at >= length);
        return m_ok ? m_at : nullptr;
    }

    // Small sets never need the whole buffer, so it doubles as they grow; once it is large,
    // what was gathered goes to the device first. Either way the buffer then holds what is
    // still gathered plus `length`, however long one text is.
    Q_NEVER_INLINE void makeRoom(qsizetype length)
    {
        if (capacity() >= FlushSize && !flush()) {
            return;
        }
        const qsizetype needed = used() + length;
        if (needed > capacity()) {
            grow(std::max(needed, capacity() < FlushSize ? 2 * capacity() : 0));
        }
    }

    // Keeps what was gathered.
    void grow(qsizetype size)
    {
        const qsizetype gathered = used();
        std::unique_ptr<char[]> buffer(new char[size]);
        if (gathered > 0) {
            std::memcpy(buffer.get(), m_buffer.get(), size_t(gathered));
        }
        m_buffer = std::move(buffer);
        m_at = m_buffer.get() + gathered;
        m_end = m_buffer.get() + size;
    }

    QIODevice &m_out;
    std::unique_ptr<char[]> m_buffer;
    char *m_at = nullptr;
    char *m_end = nullptr;
    bool m_ok = true;
};

void writeEntry(Output &out, const PatchEntry &entry, const QByteArray &blockNumber)
{
    // One source line per line of the file, so the block reads as it is written.
    // clang-format off
    out.append(BeginMarker, " ", blockNumber, LineEnd,
               KeyOmnipresence, "=", Decimal(entry.Omnipresence), LineEnd,
               KeyName, "=", entry.Name, LineEnd,
               KeyDescription, "=", entry.Description, LineEnd,
               LineEnd,
               KeyRequiresRemap, "=", Decimal(entry.RequiresRemap), LineEnd,
               KeyRequiresYiff, "=", Decimal(entry.RequiresYiff), LineEnd,
               KeyRequiresPart, "=", Decimal(entry.RequiresPart), LineEnd,
               KeyRequiresSave, "=", Decimal(entry.RequiresSave), LineEnd,
               KeyDependencies, "=", entry.Dependencies, LineEnd,
               LineEnd,
               KeyCondBehave, "=", Decimal(entry.CondBehave), LineEnd);
    const SlotTexts &texts = entry.slotTexts();
    for (int index = 0; index < texts.dataSlotsUsed(); ++index) {
        const QByteArrayView offset = texts.dataText(index, DataText::Offffset);
        if (offset.isEmpty()) {
            continue;
        }
        const TwoDigits digits(texts.dataSlotNumber(index));
        out.append(KeyOffffset, digits, "=", offset, LineEnd,
                   KeyDeflData, digits, "=", texts.dataText(index, DataText::DeflData), LineEnd,
                   KeyModNData, digits, "=", texts.dataText(index, DataText::ModNData), LineEnd,
                   KeyModRData, digits, "=", texts.dataText(index, DataText::ModRData), LineEnd,
                   LineEnd);
    }
    for (int index = 0; index < texts.parameterSlotsUsed(); ++index) {
        if (texts.parameterNumber(index, ParameterNumber::existence) != 1) {
            continue;
        }
        const Decimal slot(texts.parameterSlotNumber(index));
        out.append(KeyBambi, "=", slot, "|1", LineEnd,
                   KeyRonno, "=", slot, "|", texts.parameterText(index, ParameterText::offsetka),
                   LineEnd,
                   KeyGprince, "=", slot, "|",
                   texts.parameterText(index, ParameterText::parametervalka), LineEnd,
                   KeyFaline, "=", slot, "|",
                   texts.parameterText(index, ParameterText::parameternamka), LineEnd,
                   KeyMena, "=", slot, "|",
                   Decimal(texts.parameterNumber(index, ParameterNumber::parametertypka)),
                   LineEnd);
    }
    out.append(EndMarker, " ", blockNumber, LineEnd, LineEnd);
    // clang-format on
}

} // namespace

QByteArray PadWithZeros(const QByteArray &text, quint8 width)
{
    if (text.size() >= width) {
        return text;
    }
    return QByteArray(width - text.size(), '0') + text;
}

WriteResult writePatchSet(QIODevice &out, const PatchTable &table, const QString &path)
{
    if (WriteResult fits = fitsTheFormat(table, path); !fits.ok()) {
        return fits;
    }
    if (!out.isWritable()) {
        return failure(path, out.errorString());
    }
    Output lines(out);
    lines.append(HeaderKeyword, WrittenVersion, LineEnd, LineEnd);
    for (qsizetype index = 0; lines.ok() && index < table.size(); ++index) {
        // All digits from 1000 on: cutting them would renumber the entries on reading.
        writeEntry(lines, table.at(index), PadWithZeros(QByteArray::number(index), 3));
    }
    if (!lines.flush()) {
        return failure(path, out.errorString());
    }
    return {};
}

WriteResult SaveDestSet(const PatchTable &dest, const QString &path)
{
    // Refused before the temporary file beside the target is made.
    if (WriteResult fits = fitsTheFormat(dest, path); !fits.ok()) {
        return fits;
    }
    // The target is replaced only by commit(), so a failure leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(path, file.errorString());
    }
    const WriteResult written = writePatchSet(file, dest, path);
    if (!written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit()) {
        return failure(path, file.errorString());
    }
    return {};
}
