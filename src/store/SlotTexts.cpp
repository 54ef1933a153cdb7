#include "SlotTexts.h"

#include <QByteArray>
#include <QtAlgorithms>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

// Copies are gathered in pieces of this size: a few per entry at most.
constexpr qsizetype PieceSize = 64 * 1024;

// Copies `size` bytes. Slot texts are mostly short, and a call to memcpy for each would cost
// more than the copy: up to 32 bytes go as two words or two 16-byte pieces that may overlap.
inline void copyText(char *to, const char *from, qsizetype size)
{
    const auto copy = [to, from](qsizetype at, size_t length) {
        std::memcpy(to + at, from + at, length); // a constant length: a plain load and store
    };
    if (size > 32) {
        std::memcpy(to, from, size_t(size));
    } else if (size > 16) {
        copy(0, 16);
        copy(size - 16, 16);
    } else if (size >= 8) {
        copy(0, 8);
        copy(size - 8, 8);
    } else if (size >= 4) {
        copy(0, 4);
        copy(size - 4, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// Calls `visit` with the number of every set bit of `bits`, in ascending order.
template<typename Bits, typename Visit>
void forEachBit(Bits bits, int offset, Visit visit)
{
    while (bits != 0) {
        visit(offset + int(qCountTrailingZeroBits(bits)));
        bits &= bits - 1;
    }
}

} // namespace

void SlotTexts::release()
{
    if (m_block && m_block->ref.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        m_block->~Block();
        std::free(m_block);
    }
    m_block = nullptr;
}

int SlotTexts::findDataSlot(int slot) const
{
    if (!m_block) {
        return -1;
    }
    const quint8 *numbers = dataSlotNumbers();
    const void *found = std::memchr(numbers, slot, m_block->dataSlots);
    return found ? int(static_cast<const quint8 *>(found) - numbers) : -1;
}

int SlotTexts::findParameterSlot(int slot) const
{
    for (int index = 0; index < parameterSlotsUsed(); ++index) {
        if (parameterRecord(index)[0] == slot) {
            return index;
        }
    }
    return -1;
}

SlotTexts::Block *SlotTexts::allocate(qsizetype size)
{
    if (size > qsizetype(std::numeric_limits<quint32>::max())) {
        throw std::bad_alloc(); // more text than one entry can address
    }
    void *memory = std::malloc(size_t(size));
    if (!memory) {
        throw std::bad_alloc();
    }
    return new (memory) Block{{1}, quint32(size), 0, 0, 0};
}

bool operator==(const SlotTexts &a, const SlotTexts &b)
{
    if (a.m_block == b.m_block) {
        return true;
    }
    if (!a.m_block || !b.m_block || a.m_block->size != b.m_block->size) {
        return false;
    }
    // Everything after the reference count: sizes, tables and texts.
    constexpr size_t Skipped = offsetof(SlotTexts::Block, size);
    const auto *left = reinterpret_cast<const char *>(a.m_block) + Skipped;
    const auto *right = reinterpret_cast<const char *>(b.m_block) + Skipped;
    return std::memcmp(left, right, a.m_block->size - Skipped) == 0;
}

SlotTextsBuilder::SlotTextsBuilder()
{
    clear();
}

SlotTextsBuilder::~SlotTextsBuilder() = default;

template<typename Visit>
void SlotTextsBuilder::forEachTouchedText(Visit visit)
{
    constexpr int DataTexts = SlotTexts::TextsPerDataSlot;
    constexpr int ParameterTexts = SlotTexts::TextsPerParameterSlot;
    const auto data = [&](int slot) {
        std::for_each(m_texts + slot * DataTexts, m_texts + (slot + 1) * DataTexts, visit);
    };
    forEachBit(m_dataTouched[0], 0, data);
    forEachBit(m_dataTouched[1], 64, data);
    forEachBit(m_parametersTouched, 0, [&](int slot) {
        Text *texts = m_texts + ParameterTextBase + slot * ParameterTexts;
        std::for_each(texts, texts + ParameterTexts, visit);
    });
}

void SlotTextsBuilder::clear()
{
    m_dataTouched[0] = m_dataTouched[1] = 0;
    m_parametersTouched = 0;
    if (m_pieces.size() > 1) {
        m_pieces.resize(1); // one piece serves the next entry
    }
    if (!m_pieces.empty()) {
        m_pieces.front().used = 0;
    }
    m_copied = 0;
    m_checkCopiesAt = PieceSize;
    m_changed = false;
}

void SlotTextsBuilder::load(const SlotTexts &texts)
{
    clear();
    int text = 0;
    for (int used = 0; used < texts.dataSlotsUsed(); ++used) {
        const int slot = texts.dataSlotNumber(used);
        touchData(slot);
        const int first = slot * SlotTexts::TextsPerDataSlot;
        for (int field = 0; field < SlotTexts::TextsPerDataSlot; ++field) {
            const QByteArrayView loaded = texts.text(text++);
            m_texts[first + field] = {loaded.data(), loaded.size()};
        }
    }
    for (int used = 0; used < texts.parameterSlotsUsed(); ++used) {
        const int slot = texts.parameterSlotNumber(used);
        touchParameter(slot);
        const int first = ParameterTextBase + slot * SlotTexts::TextsPerParameterSlot;
        for (int field = 0; field < SlotTexts::TextsPerParameterSlot; ++field) {
            const QByteArrayView loaded = texts.text(text++);
            m_texts[first + field] = {loaded.data(), loaded.size()};
        }
        for (int field = 0; field < SlotTexts::NumbersPerParameterSlot; ++field) {
            m_numbers[slot][field] = texts.parameterNumber(used, ParameterNumber(field));
        }
    }
}

void SlotTextsBuilder::setCopy(int index, QByteArrayView text)
{
    m_texts[index] = copy({text.data(), text.size()});
    if (m_copied > m_checkCopiesAt) {
        dropOldCopies();
    }
}

void SlotTextsBuilder::keep(QByteArrayView bytes)
{
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    forEachTouchedText([&](Text &text) {
        if (text.size != 0 && text.data >= begin && text.data < end) {
            text = copy(text);
        }
    });
    if (m_copied > m_checkCopiesAt) {
        dropOldCopies();
    }
}

// A text set again and again leaves its old copies behind; once they outweigh everything the
// entry holds, the texts move to fresh pieces without them. So memory follows what is kept,
// not how often it was set.
void SlotTextsBuilder::dropOldCopies()
{
    qsizetype live = 0;
    forEachTouchedText([&](const Text &text) { live += text.size; });
    if (m_copied > 2 * live) {
        std::vector<Piece> old;
        old.swap(m_pieces);
        m_copied = 0;
        forEachTouchedText([this](Text &text) {
            if (text.size != 0) {
                text = copy(text);
            }
        });
    }
    m_checkCopiesAt = m_copied + 2 * live + PieceSize;
}

SlotTextsBuilder::Text SlotTextsBuilder::copy(const Text &text)
{
    if (m_pieces.empty() || m_pieces.back().size - m_pieces.back().used < text.size) {
        const qsizetype size = std::max(text.size, PieceSize);
        m_pieces.push_back({std::unique_ptr<char[]>(new char[size]), size, 0});
    }
    Piece &piece = m_pieces.back();
    char *at = piece.bytes.get() + piece.used;
    std::memcpy(at, text.data, size_t(text.size));
    piece.used += text.size;
    m_copied += text.size;
    return {at, text.size};
}

SlotTexts SlotTextsBuilder::build() const
{
    constexpr int DataTexts = SlotTexts::TextsPerDataSlot;
    constexpr int ParameterTexts = SlotTexts::TextsPerParameterSlot;
    // A touched slot may have been emptied again; only slots with something in them are kept.
    quint64 dataInUse[2] = {};
    quint32 parametersInUse = 0;
    int dataSlots = 0;
    int parameterSlots = 0;
    qsizetype textBytes = 0;
    // A constant count: the loop unrolls into plain additions.
    const auto sizeOf = [](const Text *texts, int count) {
        qsizetype bytes = 0;
        for (int text = 0; text < count; ++text) {
            bytes += texts[text].size;
        }
        return bytes;
    };
    const auto countData = [&](int slot) {
        const qsizetype bytes = sizeOf(m_texts + slot * DataTexts, DataTexts);
        if (bytes != 0) {
            dataInUse[slot / 64] |= quint64(1) << (slot % 64);
            ++dataSlots;
            textBytes += bytes;
        }
    };
    forEachBit(m_dataTouched[0], 0, countData);
    forEachBit(m_dataTouched[1], 64, countData);
    forEachBit(m_parametersTouched, 0, [&](int slot) {
        const qsizetype bytes =
            sizeOf(m_texts + ParameterTextBase + slot * ParameterTexts, ParameterTexts);
        const quint8 *numbers = m_numbers[slot];
        const bool numbered = std::any_of(numbers, numbers + SlotTexts::NumbersPerParameterSlot,
                                          [](quint8 number) { return number != 0; });
        if (bytes != 0 || numbered) {
            parametersInUse |= 1u << slot;
            ++parameterSlots;
            textBytes += bytes;
        }
    });
    if (dataSlots == 0 && parameterSlots == 0) {
        return SlotTexts();
    }

    const int texts = dataSlots * DataTexts + parameterSlots * ParameterTexts;
    const qsizetype size = qsizetype(sizeof(SlotTexts::Block)) + texts * qsizetype(sizeof(quint32))
        + dataSlots + parameterSlots * SlotTexts::ParameterRecordSize + textBytes;
    SlotTexts result(SlotTexts::allocate(size));
    result.m_block->dataSlots = quint8(dataSlots);
    result.m_block->parameterSlots = quint8(parameterSlots);
    auto *ends = const_cast<quint32 *>(result.ends());
    auto *numbers = const_cast<quint8 *>(result.dataSlotNumbers());
    quint8 *records = numbers + dataSlots;
    char *text = const_cast<char *>(result.textArea());
    quint32 end = 0;
    const auto put = [&](const Text &piece) {
        copyText(text + end, piece.data, piece.size);
        end += quint32(piece.size);
        *ends++ = end;
    };
    const auto putData = [&](int slot) {
        *numbers++ = quint8(slot);
        std::for_each(m_texts + slot * DataTexts, m_texts + (slot + 1) * DataTexts, put);
    };
    forEachBit(dataInUse[0], 0, putData);
    forEachBit(dataInUse[1], 64, putData);
    forEachBit(parametersInUse, 0, [&](int slot) {
        *records++ = quint8(slot);
        records = std::copy_n(m_numbers[slot], SlotTexts::NumbersPerParameterSlot, records);
        const Text *texts = m_texts + ParameterTextBase + slot * ParameterTexts;
        std::for_each(texts, texts + ParameterTexts, put);
    });
    return result;
}
