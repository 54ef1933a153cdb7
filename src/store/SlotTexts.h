// The data and parameter slots of one patch entry, held in one shared block: the texts of
// every slot in use laid end to end, behind small tables that say where each text ends.
// Owned by PatchEntry. A block never changes once built: copies share it, and every change
// goes through edit(), which builds a new one. So copying an entry never copies its texts,
// and a loaded table costs one allocation per entry, not one per text. SlotTextsBuilder
// makes blocks: the reader fills a whole entry with it, edit() lends one to its caller.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

enum class DataText : quint8 { Offffset, DeflData, ModNData, ModRData };
enum class ParameterText : quint8 { offsetka, parametervalka, parameternamka };
enum class ParameterNumber : quint8 { existence, parametertypka };

class SlotTexts
{
public:
    static constexpr int DataSlotCount = 100;
    static constexpr int ParameterSlotCount = 30;
    // In the block, a used data slot is its four texts in DataText order; a used parameter
    // slot is its three texts in ParameterText order, plus a record of its slot number and
    // its two numbers in ParameterNumber order.
    static constexpr int TextsPerDataSlot = 4;
    static constexpr int TextsPerParameterSlot = 3;
    static constexpr int NumbersPerParameterSlot = 2;
    static constexpr int ParameterRecordSize = 1 + NumbersPerParameterSlot;
    static_assert(int(DataText::ModRData) + 1 == TextsPerDataSlot
                      && int(ParameterText::parameternamka) + 1 == TextsPerParameterSlot
                      && int(ParameterNumber::parametertypka) + 1 == NumbersPerParameterSlot,
                  "one text or number in the block per member of the enums above");

    // The block counts the used slots of each kind in a byte, and stores slot numbers in
    // bytes; the builder marks touched slots in two 64-bit words and one 32-bit word.
    static_assert(DataSlotCount <= 255 && ParameterSlotCount <= 255, "slot counts are bytes");
    static_assert(DataSlotCount <= 128, "touched data slots are two 64-bit words of bits");
    static_assert(ParameterSlotCount <= 32, "touched parameter slots are 32 bits");

    SlotTexts() = default; // no slot in use
    SlotTexts(const SlotTexts &other) noexcept : m_block(other.m_block) { retain(); }
    SlotTexts(SlotTexts &&other) noexcept : m_block(other.m_block) { other.m_block = nullptr; }
    SlotTexts &operator=(const SlotTexts &other) noexcept
    {
        SlotTexts copy(other);
        swap(copy);
        return *this;
    }
    SlotTexts &operator=(SlotTexts &&other) noexcept
    {
        SlotTexts moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~SlotTexts() { release(); }
    void swap(SlotTexts &other) noexcept { std::swap(m_block, other.m_block); }

    // Slots are in use when any of their texts or numbers is not empty or 0; only those are
    // held, in ascending order of their numbers. An index below counts used slots only.
    bool isEmpty() const { return m_block == nullptr; }
    int dataSlotsUsed() const { return m_block ? m_block->dataSlots : 0; }
    int dataSlotNumber(int index) const { return dataSlotNumbers()[index]; }
    QByteArrayView dataText(int index, DataText field) const
    {
        return text(index * TextsPerDataSlot + int(field));
    }
    int parameterSlotsUsed() const { return m_block ? m_block->parameterSlots : 0; }
    int parameterSlotNumber(int index) const { return parameterRecord(index)[0]; }
    QByteArrayView parameterText(int index, ParameterText field) const
    {
        return text(m_block->dataSlots * TextsPerDataSlot + index * TextsPerParameterSlot
                    + int(field));
    }
    quint8 parameterNumber(int index, ParameterNumber field) const
    {
        return parameterRecord(index)[1 + int(field)]; // after the slot number
    }

    // The index of a slot among the used ones, or -1 when it is not in use.
    int findDataSlot(int slot) const;
    int findParameterSlot(int slot) const;

    // The one way to change the slots: `change` is called with a builder that holds them,
    // and what it sets there becomes a new block, which costs the size of the entry's texts
    // however many slots it changes. Texts lent to the builder (Storage::Borrow), this
    // block's own included, must stay valid until edit() returns. When `change` sets
    // nothing, the block stays as it is, shared with its copies.
    template<typename Change>
    void edit(Change change);

    // Which block this is (null when no slot is in use) and the bytes it holds: copies share
    // one block, and the undo history counts each block once when it weighs what it keeps.
    const void *blockIdentity() const { return m_block; }
    qsizetype blockBytes() const { return m_block ? qsizetype(m_block->size) : 0; }

    // Equal contents make equal blocks byte for byte, so comparing is one memcmp.
    friend bool operator==(const SlotTexts &a, const SlotTexts &b);
    friend bool operator!=(const SlotTexts &a, const SlotTexts &b) { return !(a == b); }

private:
    friend class SlotTextsBuilder;

    // Followed in the same allocation by: quint32 ends[] (one per text, counted from the start
    // of the text area), the numbers of the used data slots, the records of the used
    // parameter slots (ParameterRecordSize bytes each), then the texts.
    struct Block
    {
        std::atomic<int> ref;
        quint32 size; // bytes allocated and in use; blocks compare from here to the end
        quint8 dataSlots;
        quint8 parameterSlots;
        quint16 zero; // keeps the padding defined, since blocks compare as bytes
    };

    explicit SlotTexts(Block *block) : m_block(block) {}
    static Block *allocate(qsizetype size);

    void retain() const
    {
        if (m_block) {
            m_block->ref.fetch_add(1, std::memory_order_relaxed);
        }
    }
    void release();

    const quint32 *ends() const { return reinterpret_cast<const quint32 *>(m_block + 1); }
    int textCount() const
    {
        return m_block->dataSlots * TextsPerDataSlot
            + m_block->parameterSlots * TextsPerParameterSlot;
    }
    const quint8 *dataSlotNumbers() const
    {
        return reinterpret_cast<const quint8 *>(ends() + textCount());
    }
    const quint8 *parameterRecord(int index) const
    {
        return dataSlotNumbers() + m_block->dataSlots + index * ParameterRecordSize;
    }
    const char *textArea() const
    {
        return reinterpret_cast<const char *>(parameterRecord(m_block->parameterSlots));
    }
    QByteArrayView text(int index) const
    {
        const quint32 begin = index == 0 ? 0 : ends()[index - 1];
        return QByteArrayView(textArea() + begin, qsizetype(ends()[index] - begin));
    }

    Block *m_block = nullptr;
};

// Gathers the slots of one entry, then makes one block of them. A text is copied when it is
// set, unless the caller lends it: then it is read only by build(), so a reader that has a
// whole file in memory copies each text once, into the block.
class SlotTextsBuilder
{
public:
    enum class Storage {
        Copy,   // the text may go away once the call returns
        Borrow, // the text stays valid and unchanged until build(), or until keep() is told
                // about the bytes that hold it
    };

    SlotTextsBuilder();
    ~SlotTextsBuilder();
    SlotTextsBuilder(const SlotTextsBuilder &) = delete;
    SlotTextsBuilder &operator=(const SlotTextsBuilder &) = delete;

    // Starts over with every slot empty, or with the slots of `texts`, which are borrowed.
    void clear();
    void load(const SlotTexts &texts);

    void setData(int slot, DataText field, QByteArrayView text, Storage storage = Storage::Copy)
    {
        touchData(slot);
        setText(slot * SlotTexts::TextsPerDataSlot + int(field), text, storage);
    }
    void setParameter(int slot, ParameterText field, QByteArrayView text,
                      Storage storage = Storage::Copy)
    {
        touchParameter(slot);
        setText(ParameterTextBase + slot * SlotTexts::TextsPerParameterSlot + int(field), text,
                storage);
    }
    void setParameterNumber(int slot, ParameterNumber field, quint8 value)
    {
        touchParameter(slot);
        m_numbers[slot][int(field)] = value;
        m_changed = true;
    }

    // Copies every text that lies in `bytes`, which are about to change or go away.
    void keep(QByteArrayView bytes);

    // True once anything was set since the last clear() or load().
    bool changed() const { return m_changed; }

    // For the reader, which notes a key given twice in one block: sets like setData(), the
    // text lent, and says what was there since clear(): whether the slot was touched, and
    // whether this text was set. Loaded texts count as set, and so does an empty one lent
    // from a line (any view that points somewhere): the checks come with the stores.
    struct Replaced
    {
        bool slot;
        bool text;
    };
    Replaced replaceData(int slot, DataText field, QByteArrayView text)
    {
        const bool slotTouched = !touchData(slot);
        Text &set = m_texts[slot * SlotTexts::TextsPerDataSlot + int(field)];
        // A slot touched just now has no text set: reading it back would wait on the clearing.
        const bool textSet = slotTouched && set.data != nullptr;
        m_changed = true;
        set.data = text.data();
        set.size = text.size();
        return {slotTouched, textSet};
    }

    // Whether a data slot was touched since clear(), or loaded, and one of its texts as it
    // stands now (empty for an untouched slot).
    bool dataTouched(int slot) const { return (m_dataTouched[slot / 64] >> (slot % 64)) & 1; }
    QByteArrayView dataText(int slot, DataText field) const
    {
        return dataTouched(slot) ? m_texts[slot * SlotTexts::TextsPerDataSlot + int(field)].view()
                                 : QByteArrayView();
    }

    // A block of the slots in use; empty when no slot is in use.
    SlotTexts build() const;

private:
    static constexpr int ParameterTextBase = SlotTexts::DataSlotCount * SlotTexts::TextsPerDataSlot;
    static constexpr int TextCount =
        ParameterTextBase + SlotTexts::ParameterSlotCount * SlotTexts::TextsPerParameterSlot;

    // A text as set: where it lies and how long it is.
    struct Text
    {
        const char *data;
        qsizetype size;

        QByteArrayView view() const { return QByteArrayView(data, size); }
    };

    // The texts and numbers of a slot are undefined until it is first touched, so starting an
    // entry costs nothing for the slots it never uses. True when this touch was the first.
    bool touchData(int slot)
    {
        quint64 &bits = m_dataTouched[slot / 64];
        const quint64 bit = quint64(1) << (slot % 64);
        if ((bits & bit) == 0) {
            bits |= bit;
            std::fill_n(m_texts + slot * SlotTexts::TextsPerDataSlot, SlotTexts::TextsPerDataSlot,
                        Text{nullptr, 0});
            return true;
        }
        return false;
    }
    void touchParameter(int slot)
    {
        const quint32 bit = 1u << slot;
        if ((m_parametersTouched & bit) == 0) {
            m_parametersTouched |= bit;
            std::fill_n(m_texts + ParameterTextBase + slot * SlotTexts::TextsPerParameterSlot,
                        SlotTexts::TextsPerParameterSlot, Text{nullptr, 0});
            std::fill_n(m_numbers[slot], SlotTexts::NumbersPerParameterSlot, quint8(0));
        }
    }
    void setText(int index, QByteArrayView text, Storage storage)
    {
        m_changed = true;
        if (storage == Storage::Copy && !text.isEmpty()) {
            setCopy(index, text);
            return;
        }
        // Field by field: the reader sets a text right after finding it, and moving the pair
        // through memory as one piece would stall on that.
        m_texts[index].data = text.data();
        m_texts[index].size = text.size();
    }
    void setCopy(int index, QByteArrayView text);
    void dropOldCopies();
    // Calls `visit` with every text of the slots touched since the last clear().
    template<typename Visit>
    void forEachTouchedText(Visit visit);
    Text copy(const Text &text);

    struct Piece
    {
        std::unique_ptr<char[]> bytes;
        qsizetype size;
        qsizetype used;
    };

    Text m_texts[TextCount];
    quint8 m_numbers[SlotTexts::ParameterSlotCount][SlotTexts::NumbersPerParameterSlot];
    // Slots touched since the last clear(), one bit each: a sparse entry costs only its slots.
    quint64 m_dataTouched[2] = {};
    quint32 m_parametersTouched = 0;
    // Copies, in pieces that never move; dropped by clear() and load().
    std::vector<Piece> m_pieces;
    qsizetype m_copied = 0;
    qsizetype m_checkCopiesAt = 0;
    bool m_changed = false;
};

template<typename Change>
void SlotTexts::edit(Change change)
{
    SlotTextsBuilder builder;
    builder.load(*this);
    change(builder);
    if (builder.changed()) {
        *this = builder.build(); // this block, which lent texts to the builder, goes after
    }
}
