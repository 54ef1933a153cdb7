#include "EditHistory.h"

#include <utility>

bool operator==(const EditState &a, const EditState &b)
{
    // The cheap fields first, the sets last and their tables last within them: tables that a
    // command left alone share storage and compare at once, and changed ones cost a walk.
    return a.copyEnabled == b.copyEnabled && a.saveEnabled == b.saveEnabled && a.labels == b.labels
        && a.sets == b.sets;
}

namespace {

// Calls `visit(identity, bytes)` with each piece of storage of `entry` that holds bytes.
// A text's whole allocation counts, as that is what stays alive while a table keeps it.
template<typename Visit>
void forEachPiece(const PatchEntry &entry, Visit visit)
{
    for (const QByteArray *text : {&entry.Name, &entry.Description, &entry.Dependencies}) {
        if (text->capacity() > 0) {
            visit(static_cast<const void *>(text->constData()), qint64(text->capacity()));
        }
    }
    const SlotTexts &block = entry.slotTexts();
    if (block.blockBytes() > 0) {
        visit(block.blockIdentity(), qint64(block.blockBytes()));
    }
}

// Calls `visit` with each table and each entry `step` keeps; a move keeps none.
template<typename Visit>
void forEachHeld(const EditHistory::Step &step, Visit visit)
{
    if (const auto *change = std::get_if<EditHistory::ListChange>(&step)) {
        for (const EditState *state : {&change->before, &change->after}) {
            visit(state->sets.SrcTable);
            visit(state->sets.DestTable);
        }
    } else if (const auto *change = std::get_if<EditHistory::EntryChange>(&step)) {
        visit(change->before);
        visit(change->after);
    }
}

qint64 listBytes(const PatchTable &table)
{
    return qint64(table.capacity()) * qint64(sizeof(PatchEntry));
}

} // namespace

PatchTable sharingUnchanged(const PatchTable &loaded, const PatchTable &shown)
{
    PatchTable result = loaded;
    bool allAtTheirPositions = loaded.size() == shown.size();
    QHash<QByteArray, qsizetype> firstOfName;
    for (qsizetype position = 0; position < result.size(); ++position) {
        const PatchEntry &entry = loaded.at(position);
        if (position < shown.size() && entry == shown.at(position)) {
            result[position] = shown.at(position);
            continue;
        }
        allAtTheirPositions = false;
        if (firstOfName.isEmpty()) {
            firstOfName.reserve(shown.size());
            for (qsizetype at = shown.size() - 1; at >= 0; --at) {
                firstOfName.insert(shown.at(at).Name, at); // the last insert, the first, wins
            }
        }
        const auto found = firstOfName.constFind(entry.Name);
        if (found != firstOfName.cend() && entry == shown.at(*found)) {
            result[position] = shown.at(*found);
        }
    }
    // Every entry in its place: the side's list itself serves, not only its entries.
    return allAtTheirPositions ? shown : result;
}

bool EditHistory::StorageTally::addPiece(const void *identity, qint64 bytes)
{
    Piece &piece = m_pieces[identity];
    if (piece.holders++ > 0) {
        return false;
    }
    piece.bytes = bytes;
    m_bytes += bytes;
    return true;
}

bool EditHistory::StorageTally::removePiece(const void *identity)
{
    const auto found = m_pieces.find(identity);
    Q_ASSERT(found != m_pieces.end());
    if (--found->holders > 0) {
        return false;
    }
    m_bytes -= found->bytes;
    if (found->shownMark == m_mark) {
        m_shownBytes -= found->bytes;
    }
    m_pieces.erase(found);
    return true;
}

// Tables that share their list share every entry too, so a list counted before means its
// entries are counted already: a step that left a table alone costs one lookup.
void EditHistory::StorageTally::add(const PatchTable &table)
{
    if (table.capacity() == 0 || !addPiece(table.constData(), listBytes(table))) {
        return;
    }
    for (const PatchEntry &entry : table) {
        forEachPiece(entry,
                     [this](const void *identity, qint64 bytes) { addPiece(identity, bytes); });
    }
}

void EditHistory::StorageTally::remove(const PatchTable &table)
{
    if (table.capacity() == 0 || !removePiece(table.constData())) {
        return;
    }
    for (const PatchEntry &entry : table) {
        forEachPiece(entry, [this](const void *identity, qint64) { removePiece(identity); });
    }
}

void EditHistory::StorageTally::add(const PatchEntry &entry)
{
    forEachPiece(entry, [this](const void *identity, qint64 bytes) { addPiece(identity, bytes); });
}

void EditHistory::StorageTally::remove(const PatchEntry &entry)
{
    forEachPiece(entry, [this](const void *identity, qint64) { removePiece(identity); });
}

void EditHistory::StorageTally::markShown(const PatchSets &shown)
{
    ++m_mark;
    m_shownBytes = 0;
    const auto mark = [this](const void *identity, qint64) {
        const auto found = m_pieces.find(identity);
        if (found != m_pieces.end() && found->shownMark != m_mark) {
            found->shownMark = m_mark;
            m_shownBytes += found->bytes;
        }
    };
    for (const PatchTable *table : {&shown.SrcTable, &shown.DestTable}) {
        if (table->capacity() > 0) {
            mark(table->constData(), 0);
        }
        for (const PatchEntry &entry : *table) {
            forEachPiece(entry, mark);
        }
    }
}

EditHistory::EditHistory(qint64 memoryBudget) : m_budget(memoryBudget) {}

void EditHistory::record(const EditState &before, const EditState &after)
{
    if (before == after) {
        return;
    }
    push(ListChange{before, after}, &after.sets);
}

void EditHistory::recordSwap(Side side, int first, int second, quint64 revisionBefore,
                             quint64 revisionAfter)
{
    // The swap detaches the shown table at most once per recorded state, and its copy holds
    // the same entries: the weight changes by one list, which the next state step weighs.
    push(Swap{side, first, second, revisionBefore, revisionAfter}, nullptr);
}

void EditHistory::recordEntryChange(Side side, int position, const PatchEntry &before,
                                    const PatchSets &shown, quint64 revisionBefore,
                                    quint64 revisionAfter)
{
    const PatchEntry &after = shown.table(side).at(position);
    if (before == after) {
        return;
    }
    // The change detached the shown table from the one the last state step keeps, so that
    // table's list may now weigh: the tally looks at what is shown again.
    push(EntryChange{side, position, before, after, revisionBefore, revisionAfter}, &shown);
}

const EditHistory::Step *EditHistory::undo()
{
    if (!canUndo()) {
        return nullptr;
    }
    --m_done;
    return &m_steps[m_done];
}

const EditHistory::Step *EditHistory::redo()
{
    if (!canRedo()) {
        return nullptr;
    }
    ++m_done;
    return &m_steps[m_done - 1];
}

void EditHistory::push(Step &&step, const PatchSets *shown)
{
    for (auto redoable = m_steps.begin() + std::ptrdiff_t(m_done); redoable != m_steps.end();
         ++redoable) {
        release(*redoable);
    }
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_done), m_steps.end());
    hold(step);
    m_steps.push_back(std::move(step));
    if (m_steps.size() > Depth) {
        dropOldest();
    }
    if (shown) {
        m_tally.markShown(*shown);
        while (m_steps.size() > AlwaysKept && m_tally.unshownBytes() > m_budget) {
            dropOldest();
        }
    }
    m_done = m_steps.size();
}

void EditHistory::hold(const Step &step)
{
    forEachHeld(step, [this](const auto &held) { m_tally.add(held); });
}

void EditHistory::release(const Step &step)
{
    forEachHeld(step, [this](const auto &held) { m_tally.remove(held); });
}

void EditHistory::dropOldest()
{
    release(m_steps.front());
    m_steps.pop_front();
}
