// The largest patch sets the benchmarks work on, as tables or as the bytes of their files:
// 1000 entries with every data slot and every parameter in use, in two shapes. The uniform
// shape has 8-character offsets and 32-character data texts of one repeated letter; the
// random shape, seeded so every run sees the same bytes, has hex texts of varied length and
// varied names and descriptions, as real sets do (the allocator cannot reuse one size).
#pragma once

#include "InMemoryIo.h"
#include "PatchEntry.h"

#include <QByteArray>

#include <random>

namespace maximal {

constexpr int EntryCount = 1000;

inline PatchEntry entry(const QByteArray &name)
{
    PatchEntry entry;
    entry.Omnipresence = 1;
    entry.Name = name;
    entry.Description = "A patch with every slot in use";
    entry.Dependencies = "none";
    SlotTextsBuilder texts;
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        const QByteArray offset = QByteArray::number(0x00100000 + slot * 64, 16).toUpper();
        texts.setData(slot, DataText::Offffset, offset.rightJustified(8, '0'));
        texts.setData(slot, DataText::DeflData, QByteArray(32, 'A'));
        texts.setData(slot, DataText::ModNData, QByteArray(32, 'B'));
        texts.setData(slot, DataText::ModRData, QByteArray(32, 'C'));
    }
    for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
        texts.setParameterNumber(slot, ParameterNumber::existence, 1);
        texts.setParameter(slot, ParameterText::offsetka, "0000" + QByteArray::number(slot));
        texts.setParameter(slot, ParameterText::parametervalka, "12");
        texts.setParameter(slot, ParameterText::parameternamka,
                           "Parameter " + QByteArray::number(slot));
        texts.setParameterNumber(slot, ParameterNumber::parametertypka, 1);
    }
    entry.setSlotTexts(texts.build());
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

// Texts of the random shape; none starts with a space or holds a ";", so a save and a load
// give the table back unchanged.
class RandomTexts
{
public:
    explicit RandomTexts(unsigned seed) : m_generator(seed) {}

    int number(int lowest, int highest)
    {
        return std::uniform_int_distribution<int>(lowest, highest)(m_generator);
    }

    QByteArray hex(int lowest, int highest)
    {
        QByteArray text(number(lowest, highest), Qt::Uninitialized);
        for (char &c : text) {
            c = "0123456789ABCDEF"[number(0, 15)];
        }
        return text;
    }

    QByteArray words(int lowest, int highest)
    {
        static const char *const vocabulary[] = {
            "jump",  "skip",   "fix",  "speed", "camera", "limit", "unlock", "level", "timer",
            "sound", "colour", "menu", "save",  "intro",  "boss",  "damage", "lives", "score",
        };
        const int length = number(lowest, highest);
        QByteArray text;
        while (text.size() < length) {
            if (!text.isEmpty()) {
                text += ' ';
            }
            text += vocabulary[number(0, int(std::size(vocabulary)) - 1)];
        }
        return text.left(length);
    }

private:
    std::mt19937 m_generator;
};

inline PatchTable randomTable(unsigned seed = 20240611, int count = EntryCount)
{
    RandomTexts random(seed);
    PatchTable table;
    table.reserve(count);
    for (int position = 0; position < count; ++position) {
        PatchEntry entry;
        entry.Omnipresence = 1;
        entry.Name = random.words(6, 40) + ' ' + QByteArray::number(position);
        entry.Description = random.words(10, 200);
        entry.RequiresRemap = quint8(random.number(0, 1));
        entry.RequiresSave = quint8(random.number(0, 1));
        entry.Dependencies = random.words(0, 60);
        entry.CondBehave = quint8(random.number(0, 255));
        SlotTextsBuilder texts;
        for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
            texts.setData(slot, DataText::Offffset, random.hex(1, 8));
            texts.setData(slot, DataText::DeflData, random.hex(2, 64));
            texts.setData(slot, DataText::ModNData, random.hex(2, 64));
            texts.setData(slot, DataText::ModRData, random.hex(2, 64));
        }
        for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
            texts.setParameterNumber(slot, ParameterNumber::existence, 1);
            texts.setParameter(slot, ParameterText::offsetka, random.hex(1, 8));
            texts.setParameter(slot, ParameterText::parametervalka,
                               QByteArray::number(random.number(0, 100000)));
            texts.setParameter(slot, ParameterText::parameternamka, random.words(3, 50));
            texts.setParameterNumber(slot, ParameterNumber::parametertypka,
                                     quint8(random.number(0, 255)));
        }
        entry.setSlotTexts(texts.build());
        table.append(entry);
    }
    return table;
}

inline QByteArray fileBytes(const PatchTable &entries = table('E'))
{
    return writeBytes(entries);
}

} // namespace maximal
