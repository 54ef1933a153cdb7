// The largest patch sets the benchmarks work on: entries with every data slot and every
// parameter in use, 8-character offsets and 32-character data texts, as a table or as the
// bytes of its file.
#pragma once

#include "PatchEntry.h"
#include "PatchSetWriter.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdlib>

namespace maximal {

constexpr int EntryCount = 1000;

inline PatchEntry entry(const QByteArray &name)
{
    PatchEntry entry;
    entry.Omnipresence = 1;
    entry.Name = name;
    entry.Description = "A patch with every slot in use";
    entry.Dependencies = "none";
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        DataSlot &data = entry.data(slot);
        data.Offffset = QByteArray::number(0x00100000 + slot * 64, 16).toUpper().rightJustified(8, '0');
        data.DeflData = QByteArray(32, 'A');
        data.ModNData = QByteArray(32, 'B');
        data.ModRData = QByteArray(32, 'C');
    }
    for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
        PatchParameter &parameter = entry.parameter(slot);
        parameter.existence = 1;
        parameter.offsetka = "0000" + QByteArray::number(slot);
        parameter.parametervalka = "12";
        parameter.parameternamka = "Parameter " + QByteArray::number(slot);
        parameter.parametertypka = 1;
    }
    return entry;
}

// Names of one length, so a name lookup compares bytes instead of lengths.
inline PatchTable table(char prefix, int count = EntryCount)
{
    PatchTable table;
    table.reserve(count);
    for (int position = 0; position < count; ++position) {
        table.append(entry(prefix + QByteArray::number(position).rightJustified(6, '0')));
    }
    return table;
}

inline QByteArray fileBytes(const PatchTable &entries = table('E'))
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writePatchSet(buffer, entries, QStringLiteral("maximal.tvr")).ok()) {
        std::abort();
    }
    return bytes;
}

} // namespace maximal
