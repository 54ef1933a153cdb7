// The table a patch set file builds block by block, for the reader alone: block numbers
// place entries, may jump up and down, and may repeat. Besides the entries it keeps what the
// reader's notes need: which blocks gave them and where each began, and which keys the block
// being read has given, so that a key given twice costs a compare to find.
#pragma once

#include "EntryFields.h"
#include "LoadNotes.h"
#include "PatchEntry.h"

#include <algorithm>
#include <utility>
#include <vector>

// A block whose entry is in the table: its number and the line of its first /bgn line.
struct BlockStart
{
    int number;
    int line;
};

// A lower block number drops the entries above it, and a later higher number must bring them
// back fresh. The storage is kept and only entries that were written are reset, each once per
// write, so a file that alternates "/bgn 32767" and "/bgn 0" costs no more than any other file
// of its length.
class BlockTable
{
public:
    // What a new block did to those before it.
    struct Begun
    {
        int dropped = 0;     // entries of earlier blocks above its number, now gone
        int earlierLine = 0; // the first /bgn line of its number when the number came before
    };

    Begun beginBlock(int number, int line)
    {
        Begun begun;
        while (!m_blocks.empty() && m_blocks.back().number > number) {
            m_blocks.pop_back();
            ++begun.dropped;
        }
        if (!m_blocks.empty() && m_blocks.back().number == number) {
            begun.earlierLine = m_blocks.back().line;
        } else {
            m_blocks.push_back({number, line});
        }

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
        m_keys.beginLine = line;
        ++m_keys.block;
        m_repeated = begun.earlierLine > 0;
        return begun;
    }

    // Whether this block gave the key before: a field of the entry (its index in
    // EntryFields::all), a parameter key of a slot (its index among the parameter fields).
    bool entryKeyGivenBefore(int field) { return givenBefore(m_keys.entry[field]); }
    bool parameterKeyGivenBefore(int field, int slot)
    {
        return givenBefore(m_keys.parameters[slot][field]);
    }

    // Lends `text` from `line` to the current entry's data slot; true when this block gave
    // that key before. The builder holding the slots answers that as it stores the text,
    // which costs next to nothing on the most frequent lines of a file. A repeated block
    // number loads the slots of the earlier block, which the builder counts as given: such
    // a block is noted as a whole instead.
    bool setData(DataText field, int slot, QByteArrayView text, int line)
    {
        const SlotTextsBuilder::Replaced replaced = m_slots.replaceData(slot, field, text);
        if (!replaced.slot) {
            m_keys.dataLine[slot] = line;
        }
        return replaced.text && !m_repeated;
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

    // Notes the data slots this block gives data but leaves without an offset.
    void endBlock(LoadNotes &notes)
    {
        // Each slot this block gave a data line, whatever its text, or loaded from an earlier
        // block of the same number: a later line may have emptied the offset.
        for (int slot = 0; slot < SlotTexts::DataSlotCount; ++slot) {
            if (m_slots.dataTouched(slot)
                && Q_UNLIKELY(m_slots.dataText(slot, DataText::Offffset).isEmpty())
                && !(m_slots.dataText(slot, DataText::DeflData).isEmpty()
                     && m_slots.dataText(slot, DataText::ModNData).isEmpty()
                     && m_slots.dataText(slot, DataText::ModRData).isEmpty())) {
                // The first line this block gave the slot; a loaded slot has none of its own.
                const int line = m_keys.dataLine[slot];
                notes.add(line > m_keys.beginLine ? line : m_keys.beginLine,
                          [slot] { return LoadNotes::dataWithoutOffset(slot); });
            }
        }
        if (m_slots.changed()) {
            entry().setSlotTexts(m_slots.build());
        }
        m_slots.clear(); // it may borrow from the block just replaced
    }

    // Once every block is read: the entries that will not be listed, and the names that two
    // entries share. Only entries of the file's blocks count; the gaps between block numbers
    // are no entries of the file.
    void noteEntries(LoadNotes &notes) const
    {
        std::vector<std::pair<QByteArrayView, int>> names; // name and line, of entries kept
        names.reserve(m_blocks.size());
        for (const BlockStart &block : m_blocks) {
            const PatchEntry &entry = m_entries[block.number];
            if (entry.Omnipresence != 1) {
                notes.add(block.line, [&] {
                    return LoadNotes::notListed(block.number, entry.Name, entry.Omnipresence);
                });
            }
            if (entry.Omnipresence != 0) {
                names.emplace_back(entry.Name, block.line);
            }
        }
        // Sorted by name, then line: the first entry of a name leads the run of its name.
        std::sort(names.begin(), names.end());
        std::vector<std::pair<int, size_t>> repeats; // line, and the first of that name
        for (size_t first = 0, at = 1; at < names.size(); ++at) {
            if (names[at].first != names[first].first) {
                first = at;
            } else {
                repeats.emplace_back(names[at].second, first);
            }
        }
        // In line order, so that notes past those kept are only counted.
        std::sort(repeats.begin(), repeats.end());
        for (const auto &[line, first] : repeats) {
            notes.add(line, [&, first = first] {
                return LoadNotes::sameName(names[first].first, names[first].second);
            });
        }
    }

    PatchTable take()
    {
        m_entries.resize(m_size);
        return std::move(m_entries);
    }

private:
    // Which block last gave each key, counted from 1, and the first line of each data slot in
    // the block. Blocks and lines only grow, so nothing needs clearing between blocks.
    struct KeysGiven
    {
        int block = 0;
        int beginLine = 0;
        int entry[EntryFields::members.size()] = {};
        int parameters[SlotTexts::ParameterSlotCount][EntryFields::parameterSlot.size()] = {};
        int dataLine[SlotTexts::DataSlotCount] = {};
    };

    bool givenBefore(int &given) const
    {
        const bool before = given == m_keys.block;
        given = m_keys.block;
        return before;
    }

    PatchTable m_entries;
    SlotTextsBuilder m_slots;
    std::vector<int> m_written;
    std::vector<BlockStart> m_blocks;
    KeysGiven m_keys;
    bool m_repeated = false; // the current block's number came before
    qsizetype m_size = 0;
    PatchEntry *m_current = nullptr; // valid from one beginBlock() to the next
    bool m_currentWritten = false;
};
