#include "EditHistory.h"

#include <algorithm>
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

// Whether two entries hold the same pieces of storage; their numbers may differ.
bool samePieces(const PatchEntry &a, const PatchEntry &b)
{
    return a.Name.constData() == b.Name.constData()
        && a.Description.constData() == b.Description.constData()
        && a.Dependencies.constData() == b.Dependencies.constData()
        && a.slotTexts().blockIdentity() == b.slotTexts().blockIdentity();
}

// Where two tables differ in their pieces: they hold the same pieces at the same positions
// before `first`, and from `endOld` of `old` and `endNew` of `now` on, position for position.
// A command changes a table in one stretch (a delete, a block moved, entries appended), so
// what lies between is what it changed; the walk compares addresses only.
struct ChangedStretch
{
    qsizetype first = 0;
    qsizetype endOld = 0;
    qsizetype endNew = 0;
};

ChangedStretch changedStretch(const PatchTable &old, const PatchTable &now)
{
    if (old.isSharedWith(now)) {
        return {};
    }
    ChangedStretch stretch;
    const qsizetype common = std::min(old.size(), now.size());
    while (stretch.first < common && samePieces(old.at(stretch.first), now.at(stretch.first))) {
        ++stretch.first;
    }
    stretch.endOld = old.size();
    stretch.endNew = now.size();
    while (stretch.endOld > stretch.first && stretch.endNew > stretch.first
           && samePieces(old.at(stretch.endOld - 1), now.at(stretch.endNew - 1))) {
        --stretch.endOld;
        --stretch.endNew;
    }
    return stretch;
}

qint64 listBytes(const PatchTable &table)
{
    return qint64(table.capacity()) * qint64(sizeof(PatchEntry));
}

// The tables a step keeps: a list change its states' four, the others none.
template<typename Visit>
void forEachTable(const EditHistory::Step &step, Visit visit)
{
    if (const auto *change = std::get_if<EditHistory::ListChange>(&step)) {
        for (const EditState *state : {&change->before, &change->after}) {
            visit(state->sets.SrcTable);
            visit(state->sets.DestTable);
        }
    }
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

void EditHistory::StorageTally::holdPiece(const void *identity, qint64 bytes)
{
    Piece &piece = m_pieces[identity];
    if (piece.holders++ > 0) {
        return;
    }
    piece.bytes = bytes;
    m_bytes += bytes;
    if (m_shown.contains(identity)) {
        m_shownBytes += bytes;
    }
}

void EditHistory::StorageTally::releasePiece(const void *identity)
{
    const auto found = m_pieces.find(identity);
    Q_ASSERT(found != m_pieces.end());
    if (--found->holders > 0) {
        return;
    }
    m_bytes -= found->bytes;
    if (m_shown.contains(identity)) {
        m_shownBytes -= found->bytes;
    }
    m_pieces.erase(found);
}

void EditHistory::StorageTally::show(const void *identity)
{
    if (m_shown[identity]++ > 0) {
        return;
    }
    const auto held = m_pieces.constFind(identity);
    if (held != m_pieces.cend()) {
        m_shownBytes += held->bytes;
    }
}

void EditHistory::StorageTally::unshow(const void *identity)
{
    const auto found = m_shown.find(identity);
    Q_ASSERT(found != m_shown.end());
    if (--*found > 0) {
        return;
    }
    m_shown.erase(found);
    const auto held = m_pieces.constFind(identity);
    if (held != m_pieces.cend()) {
        m_shownBytes -= held->bytes;
    }
}

void EditHistory::StorageTally::follow(const PatchSets &shown)
{
    const auto show = [this](const void *identity, qint64) { this->show(identity); };
    const auto unshow = [this](const void *identity, qint64) { this->unshow(identity); };
    for (const Side side : {Side::Left, Side::Right}) {
        PatchTable &was = m_lastShown[side];
        const PatchTable &now = shown.table(side);
        if (now.isSharedWith(was)) {
            continue;
        }
        // The new pieces are counted before the old ones go, so a piece both hold never
        // passes through nought.
        const ChangedStretch stretch = changedStretch(was, now);
        if (now.capacity() > 0) {
            this->show(now.constData());
        }
        for (qsizetype position = stretch.first; position < stretch.endNew; ++position) {
            forEachPiece(now.at(position), show);
        }
        for (qsizetype position = stretch.first; position < stretch.endOld; ++position) {
            forEachPiece(was.at(position), unshow);
        }
        if (was.capacity() > 0) {
            this->unshow(was.constData());
        }
        was = now;
    }
}

void EditHistory::StorageTally::holdList(const PatchTable &table)
{
    if (table.capacity() > 0) {
        holdPiece(table.constData(), listBytes(table));
    }
}

void EditHistory::StorageTally::releaseList(const PatchTable &table)
{
    if (table.capacity() > 0) {
        releasePiece(table.constData());
    }
}

void EditHistory::StorageTally::holdDropped(const PatchTable &before, const PatchTable &after,
                                            std::vector<const void *> &held)
{
    const ChangedStretch stretch = changedStretch(before, after);
    for (qsizetype position = stretch.first; position < stretch.endOld; ++position) {
        holdDropped(before.at(position), held);
    }
}

void EditHistory::StorageTally::holdDropped(const PatchEntry &before,
                                            std::vector<const void *> &held)
{
    forEachPiece(before, [this, &held](const void *identity, qint64 bytes) {
        if (!m_shown.contains(identity)) {
            holdPiece(identity, bytes);
            held.push_back(identity);
        }
    });
}

void EditHistory::StorageTally::release(const std::vector<const void *> &held)
{
    for (const void *identity : held) {
        releasePiece(identity);
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

void EditHistory::recordSwap(Side side, int first, int second)
{
    // The swap detaches the shown table at most once per recorded state, and its copy holds
    // the same entries: the weight changes by one list, which the next state step weighs.
    push(Swap{side, first, second}, nullptr);
}

void EditHistory::recordEntryChange(Side side, int position, const PatchEntry &before,
                                    const PatchSets &shown)
{
    const PatchEntry &after = shown.table(side).at(position);
    if (before == after) {
        return;
    }
    // The change detached the shown table from the one the last state step keeps, so that
    // table's list may now weigh: the tally looks at what is shown again.
    push(EntryChange{side, position, before, after, {shown.SrcPath, shown.DestPath}}, &shown);
}

const EditHistory::Step *EditHistory::undo()
{
    if (!canUndo()) {
        return nullptr;
    }
    --m_done;
    return &m_steps[m_done].step;
}

const EditHistory::Step *EditHistory::redo()
{
    if (!canRedo()) {
        return nullptr;
    }
    ++m_done;
    return &m_steps[m_done - 1].step;
}

void EditHistory::push(Step &&step, const PatchSets *shown)
{
    for (auto redoable = m_steps.begin() + std::ptrdiff_t(m_done); redoable != m_steps.end();
         ++redoable) {
        release(*redoable);
    }
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_done), m_steps.end());
    // What the step took off the sides is what they no longer show.
    if (shown) {
        m_tally.follow(*shown);
    }
    m_steps.push_back({std::move(step), {}});
    hold(m_steps.back());
    if (m_steps.size() > Depth) {
        dropOldest();
    }
    if (shown) {
        while (m_steps.size() > AlwaysKept && m_tally.unshownBytes() > m_budget) {
            dropOldest();
        }
    }
    m_done = m_steps.size();
}

void EditHistory::hold(KeptStep &kept)
{
    forEachTable(kept.step, [this](const PatchTable &table) { m_tally.holdList(table); });
    if (const auto *change = std::get_if<ListChange>(&kept.step)) {
        for (const Side side : {Side::Left, Side::Right}) {
            m_tally.holdDropped(change->before.sets.table(side), change->after.sets.table(side),
                                kept.dropped);
        }
    } else if (const auto *change = std::get_if<EntryChange>(&kept.step)) {
        m_tally.holdDropped(change->before, kept.dropped);
    }
}

void EditHistory::release(const KeptStep &kept)
{
    forEachTable(kept.step, [this](const PatchTable &table) { m_tally.releaseList(table); });
    m_tally.release(kept.dropped);
}

void EditHistory::dropOldest()
{
    release(m_steps.front());
    m_steps.pop_front();
}
