// Patch sets at the limits of the format: every text at the longest value a load keeps, one
// character past it and past the longest line; an entry with every slot in use and every text
// at its longest (about 24 MB); 1000 entries; a set that ends at the highest block number, and
// one a block longer, which a load and a save both refuse. Each comes as the bytes of its file
// and the table a load must give, with the file a save of that table must give. Shared by the
// store's limits test and the tool that compares the store's results between two revisions,
// so that both see the very same files.
#pragma once

#include "PatchEntry.h"
#include "PatchSetFormat.h"
#include "SlotEdits.h"

#include <QByteArray>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace limits {

using PatchSetFormat::MaxLineLength;
using PatchSetFormat::MaxPipeTextLength;
using PatchSetFormat::MaxValueLength;

struct LimitSet
{
    QByteArray file;   // as a user may have it
    PatchTable loaded; // what a load gives: every text cut to what the format keeps
    // More entries than a file can number: a load refuses `file` and a save refuses `loaded`,
    // the table a copy into DEST could have built.
    bool tooLong = false;
};

// `tag` over and over, cut to `length`: the texts of different fields and slots differ, and a
// text cut short is the start of the same text, as a load cuts it.
inline QByteArray text(const QByteArray &tag, qsizetype length)
{
    return tag.repeated(length / tag.size() + 1).left(length);
}

// --- the file a save must give --------------------------------------------------------------
// Spelled out line by line as the format lays a file out, apart from the writer, so that the
// limits test checks the writer's bytes against something it did not make itself.

inline QByteArray line(const QByteArray &key, const QByteArray &value)
{
    return key + '=' + value + "\r\n";
}

inline QByteArray slotLines(const PatchEntry &entry)
{
    QByteArray lines;
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        const DataSlot data = dataSlot(entry, slot);
        if (data.Offffset.isEmpty()) {
            continue; // a slot without an offset is not written
        }
        const QByteArray digits = QByteArray::number(slot).rightJustified(2, '0');
        lines += line("Offffset" + digits, data.Offffset) + line("DeflData" + digits, data.DeflData)
            + line("ModNData" + digits, data.ModNData) + line("ModRData" + digits, data.ModRData)
            + "\r\n";
    }
    for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
        const PatchParameter parameter = parameterSlot(entry, slot);
        if (parameter.existence != 1) {
            continue; // only 1 means in use
        }
        const QByteArray prefix = QByteArray::number(slot) + '|';
        lines += line("bambi", prefix + "1") + line("ronno", prefix + parameter.offsetka)
            + line("gprince", prefix + parameter.parametervalka)
            + line("faline", prefix + parameter.parameternamka)
            + line("mena", prefix + QByteArray::number(parameter.parametertypka));
    }
    return lines;
}

inline QByteArray blockText(const QByteArray &number, const PatchEntry &entry)
{
    const auto byte = [](quint8 value) { return QByteArray::number(value); };
    // Most entries of a large set use no slot; looking each one up would be slow.
    const QByteArray slotPart = entry.slotTexts().isEmpty() ? QByteArray() : slotLines(entry);
    // One source line per line of the file.
    // clang-format off
    return "/bgn " + number + "\r\n"
        + line("Omnipresence", byte(entry.Omnipresence))
        + line("Name", entry.Name)
        + line("Description", entry.Description)
        + "\r\n"
        + line("RequiresRemap", byte(entry.RequiresRemap))
        + line("RequiresYiff", byte(entry.RequiresYiff))
        + line("RequiresPart", byte(entry.RequiresPart))
        + line("RequiresSave", byte(entry.RequiresSave))
        + line("Dependencies", entry.Dependencies)
        + "\r\n"
        + line("CondBehave", byte(entry.CondBehave))
        + slotPart
        + "/end " + number + "\r\n"
        + "\r\n";
    // clang-format on
}

inline QByteArray fileText(const PatchTable &table)
{
    QByteArray file = "TAVRO=0.3\r\n\r\n";
    for (qsizetype index = 0; index < table.size(); ++index) {
        file += blockText(QByteArray::number(index).rightJustified(3, '0'), table.at(index));
    }
    return file;
}

// --- the sets -------------------------------------------------------------------------------

// A listed entry with one data slot and one parameter in use, and the field whose key is
// `longField` (a text of the entry or of its data slot) `length` long.
inline PatchEntry entryWithLong(const char *longField, qsizetype length)
{
    const auto textOf = [longField, length](const char *field, const QByteArray &tag,
                                            qsizetype usual) {
        return text(tag, field == longField ? length : usual);
    };
    using namespace PatchSetFormat;
    PatchEntry entry;
    entry.Omnipresence = 1;
    entry.Name = textOf(KeyName, "Name.", 10);
    entry.Description = textOf(KeyDescription, "Description.", 30);
    entry.Dependencies = textOf(KeyDependencies, "Dependencies.", 20);
    entry.RequiresSave = 1;
    entry.CondBehave = 2;
    setDataSlot(entry, 42,
                {textOf(KeyOffffset, "1A2B3C", 6), textOf(KeyDeflData, "DEADBEEF", 8),
                 textOf(KeyModNData, "0102", 4), textOf(KeyModRData, "FF", 2)});
    setParameterSlot(entry, 7, {1, "7F", "3", "Lives", 0});
    return entry;
}

inline LimitSet longField(const char *field, qsizetype length)
{
    return {fileText({entryWithLong(field, length)}),
            {entryWithLong(field, std::min<qsizetype>(length, MaxValueLength))}};
}

// Every data slot with all four texts at the longest value, every parameter in use with texts
// longer than a pipe line keeps (the last slot's as long as a value may be); `parameterText`
// cuts the parameter texts as a load does, or leaves them.
inline PatchEntry fullEntry(qsizetype parameterText)
{
    PatchEntry entry;
    entry.Omnipresence = 1;
    entry.Name = "Every slot at its longest";
    SlotTextsBuilder texts;
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        const QByteArray number = QByteArray::number(slot);
        for (DataText field :
             {DataText::Offffset, DataText::DeflData, DataText::ModNData, DataText::ModRData}) {
            const QByteArray tag = number + '.' + QByteArray::number(int(field)) + '.';
            texts.setData(slot, field, text(tag, MaxValueLength));
        }
    }
    for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
        const QByteArray number = QByteArray::number(slot);
        const qsizetype length = slot + 1 == PatchEntry::ParameterSlotCount
            ? MaxValueLength
            : MaxPipeTextLength + 1 + slot;
        const qsizetype kept = std::min(length, parameterText);
        texts.setParameterNumber(slot, ParameterNumber::existence, 1);
        texts.setParameter(slot, ParameterText::offsetka, text("offset" + number, kept));
        texts.setParameter(slot, ParameterText::parametervalka, text("value" + number, kept));
        texts.setParameter(slot, ParameterText::parameternamka, text("name" + number, kept));
        texts.setParameterNumber(slot, ParameterNumber::parametertypka, 255);
    }
    entry.setSlotTexts(texts.build());
    return entry;
}

inline LimitSet fullEntrySet()
{
    return {fileText({fullEntry(MaxValueLength)}), {fullEntry(MaxPipeTextLength)}};
}

inline LimitSet thousandEntries()
{
    PatchTable table;
    for (int index = 0; index < 1000; ++index) {
        const QByteArray number = QByteArray::number(index);
        PatchEntry entry;
        entry.Omnipresence = 1;
        entry.Name = "Entry " + number;
        setDataSlot(entry, index % PatchEntry::DataSlotCount, {number, "00", {}, {}});
        setParameterSlot(entry, index % PatchEntry::ParameterSlotCount, {1, {}, {}, {}, 0});
        table.append(entry);
    }
    return {fileText(table), table};
}

// Only the first and the last block are in the file; a load fills the gap with absent entries,
// which hold no text, so even the set one entry too long costs little.
inline LimitSet lastBlock(int lastNumber)
{
    PatchTable table(lastNumber + 1);
    table.first() = entryWithLong(PatchSetFormat::KeyName, 10); // its usual length
    table.last().Omnipresence = 1;
    table.last().Name = "The last block";
    const QByteArray last = QByteArray::number(lastNumber);
    return {"TAVRO=0.3\r\n\r\n" + blockText("000", table.first()) + blockText(last, table.last()),
            table, lastNumber > PatchSetFormat::MaxBlockNumber};
}

struct NamedLimitSet
{
    QByteArray name; // also a file name
    std::function<LimitSet()> make;
};

// Made on demand: the largest set alone takes about 24 MB for each of its forms.
inline const std::vector<NamedLimitSet> &limitSets()
{
    static const std::vector<NamedLimitSet> sets = [] {
        using namespace PatchSetFormat;
        const char *const fields[] = {KeyName,     KeyDescription, KeyDependencies, KeyOffffset,
                                      KeyDeflData, KeyModNData,    KeyModRData};
        // The longest value kept, one more, and a line longer than the longest line kept.
        const std::pair<qsizetype, const char *> lengths[] = {
            {MaxValueLength, "60000"},
            {MaxValueLength + 1, "60001"},
            {MaxLineLength + 1, "past-line"},
        };
        std::vector<NamedLimitSet> all;
        for (const char *field : fields) {
            for (const auto &[length, lengthName] : lengths) {
                all.push_back({QByteArray(field) + '-' + lengthName,
                               [field, length = length] { return longField(field, length); }});
            }
        }
        all.push_back({"every-slot-longest", fullEntrySet});
        all.push_back({"1000-entries", thousandEntries});
        all.push_back({"block-32767", [] { return lastBlock(MaxBlockNumber); }});
        all.push_back({"32769-entries", [] { return lastBlock(MaxBlockNumber + 1); }});
        return all;
    }();
    return sets;
}

} // namespace limits
