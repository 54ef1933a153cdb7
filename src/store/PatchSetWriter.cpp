#include "PatchSetWriter.h"

#include "PatchSetFormat.h"

#include <QIODevice>
#include <QSaveFile>

#include <charconv>

using namespace PatchSetFormat;

namespace {

// Lines are gathered in memory and handed to the device in large writes: many small writes
// would cost more than building the text.
constexpr qsizetype flushSize = 64 * 1024;

WriteResult failure(const QString &path, const QString &reason)
{
    WriteResult result;
    result.message = QLatin1String("Error saving patch set (") + path + QLatin1String(").")
        + QLatin1String(lineEnd) + reason;
    return result;
}

class Output
{
public:
    explicit Output(QIODevice &out) : m_out(out) { m_buffer.reserve(flushSize + 4096); }

    // Literals only: the length comes from the array, not from a search for the end.
    template<qsizetype N>
    Output &operator<<(const char (&text)[N])
    {
        m_buffer.append(text, N - 1);
        return *this;
    }

    Output &operator<<(const QByteArray &text)
    {
        m_buffer.append(text);
        return *this;
    }

    Output &operator<<(int number)
    {
        char digits[16];
        const std::to_chars_result converted = std::to_chars(digits, digits + sizeof digits, number);
        m_buffer.append(digits, converted.ptr - digits);
        return *this;
    }

    // Ends the line; hands the gathered text over once enough has piled up.
    bool endLine()
    {
        m_buffer.append(lineEnd, 2);
        return m_buffer.size() < flushSize || flush();
    }

    bool flush()
    {
        const qsizetype size = m_buffer.size();
        if (size == 0) {
            return true;
        }
        const qint64 written = m_out.write(m_buffer);
        m_buffer.resize(0); // keeps the capacity for the next lines
        return written == size;
    }

private:
    QIODevice &m_out;
    QByteArray m_buffer;
};

// Two digits for a data slot number, as PadWithZeros of the number to width 2 gives them.
QByteArray slotDigits(int slot)
{
    const char digits[2] = {char('0' + slot / 10), char('0' + slot % 10)};
    return QByteArray(digits, 2);
}

bool writeEntry(Output &out, const PatchEntry &entry, const QByteArray &blockNumber,
                const QByteArray (&slotNumbers)[PatchEntry::DataSlotCount])
{
    bool ok = true;
    ok = ok && (out << "/bgn " << blockNumber).endLine();
    ok = ok && (out << keyOmnipresence << "=" << int(entry.Omnipresence)).endLine();
    ok = ok && (out << keyName << "=" << entry.Name).endLine();
    ok = ok && (out << keyDescription << "=" << entry.Description).endLine();
    ok = ok && out.endLine();
    ok = ok && (out << keyRequiresRemap << "=" << int(entry.RequiresRemap)).endLine();
    ok = ok && (out << keyRequiresYiff << "=" << int(entry.RequiresYiff)).endLine();
    ok = ok && (out << keyRequiresPart << "=" << int(entry.RequiresPart)).endLine();
    ok = ok && (out << keyRequiresSave << "=" << int(entry.RequiresSave)).endLine();
    ok = ok && (out << keyDependencies << "=" << entry.Dependencies).endLine();
    ok = ok && out.endLine();
    ok = ok && (out << keyCondBehave << "=" << int(entry.CondBehave)).endLine();
    for (int slot = 0; ok && slot < PatchEntry::DataSlotCount; ++slot) {
        const DataSlot &data = entry.data(slot);
        if (data.Offffset.isEmpty()) {
            continue;
        }
        const QByteArray &digits = slotNumbers[slot];
        ok = ok && (out << keyOffffset << digits << "=" << data.Offffset).endLine();
        ok = ok && (out << keyDeflData << digits << "=" << data.DeflData).endLine();
        ok = ok && (out << keyModNData << digits << "=" << data.ModNData).endLine();
        ok = ok && (out << keyModRData << digits << "=" << data.ModRData).endLine();
        ok = ok && out.endLine();
    }
    for (int slot = 0; ok && slot < PatchEntry::ParameterSlotCount; ++slot) {
        const PatchParameter &parameter = entry.parameter(slot);
        if (parameter.existence != 1) {
            continue;
        }
        ok = ok && (out << keyBambi << "=" << slot << "|1").endLine();
        ok = ok && (out << keyRonno << "=" << slot << "|" << parameter.offsetka).endLine();
        ok = ok
            && (out << keyGprince << "=" << slot << "|" << parameter.parametervalka).endLine();
        ok = ok
            && (out << keyFaline << "=" << slot << "|" << parameter.parameternamka).endLine();
        ok = ok && (out << keyMena << "=" << slot << "|" << int(parameter.parametertypka))
                       .endLine();
    }
    ok = ok && (out << "/end " << blockNumber).endLine();
    ok = ok && out.endLine();
    return ok;
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
    if (!out.isWritable()) {
        return failure(path, out.errorString());
    }
    QByteArray slotNumbers[PatchEntry::DataSlotCount];
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        slotNumbers[slot] = slotDigits(slot);
    }
    Output lines(out);
    bool ok = (lines << headerKeyword << writtenVersion).endLine() && lines.endLine();
    for (qsizetype index = 0; ok && index < table.size(); ++index) {
        // All digits from 1000 on: cutting them would renumber the entries on reading.
        const QByteArray blockNumber = PadWithZeros(QByteArray::number(index), 3);
        ok = writeEntry(lines, table.at(index), blockNumber, slotNumbers);
    }
    ok = ok && lines.flush();
    if (!ok) {
        return failure(path, out.errorString());
    }
    return {};
}

WriteResult SaveDestSet(const PatchTable &dest, const QString &path)
{
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
