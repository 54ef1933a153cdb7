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

// How far the walk below looks for an entry that a delete or an insert moved.
constexpr qsizetype PartnerReach = 64;

// Walks the stretch where two tables differ and pairs the entries that hold the same pieces
// though a delete or an insert shifted them, as a delete at the top and an append shift every
// line between: calls `added(position)` for each entry of `now` left without a partner, and
// `dropped(position)` for each of `old`. A partner is sought no further than PartnerReach lines
// ahead; past that, the entry that has more lines left to pair with is taken for dropped or
// added, so a long delete comes back in step. A pair missed costs the tally work, never a
// wrong weight: an entry dropped and added again counts as before.
template<typename Added, typename Dropped>
void forEachUnpaired(const PatchTable &old, const PatchTable &now, Added added, Dropped dropped)
{
    const ChangedStretch stretch = changedStretch(old, now);
    qsizetype atOld = stretch.first;
    qsizetype atNew = stretch.first;
    // The distance to `wanted`'s partner within `table`, from `from` on; 0 when none is near.
    const auto partnerAhead = [](const PatchEntry &wanted, const PatchTable &table,
                                 qsizetype from, qsizetype end) -> qsizetype {
        for (qsizetype at = from + 1; at < std::min(end, from + 1 + PartnerReach); ++at) {
            if (samePieces(wanted, table.at(at))) {
                return at - from;
            }
        }
        return 0;
    };
    while (atOld < stretch.endOld && atNew < stretch.endNew) {
        if (samePieces(old.at(atOld), now.at(atNew))) {
            ++atOld;
            ++atNew;
            continue;
        }
        qsizetype skipOld = partnerAhead(now.at(atNew), old, atOld, stretch.endOld);
        qsizetype skipNew = skipOld > 0 ? 0 : partnerAhead(old.at(atOld), now, atNew, stretch.endNew);
        if (skipOld == 0 && skipNew == 0) {
            const qsizetype leftOld = stretch.endOld - atOld;
            const qsizetype leftNew = stretch.endNew - atNew;
            skipOld = leftOld >= leftNew ? 1 : 0;
            skipNew = leftNew >= leftOld ? 1 : 0;
        }
        for (; skipOld > 0; --skipOld) {
            dropped(atOld++);
        }
        for (; skipNew > 0; --skipNew) {
            added(atNew++);
        }
    }
    for (; atOld < stretch.endOld; ++atOld) {
        dropped(atOld);
    }
    for (; atNew < stretch.endNew; ++atNew) {
        added(atNew);
    }
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

PatchTable sharingUnchanged(PatchTable loaded, const PatchTable &shown)
{
    bool allAtTheirPositions = loaded.size() == shown.size();
    // Names are read in place from `shown`, which nothing changes during the call.
    QHash<QByteArrayView, qsizetype> firstOfName;
    for (qsizetype position = 0; position < loaded.size(); ++position) {
        PatchEntry &entry = loaded[position];
        const bool hasPlace = position < shown.size();
        if (hasPlace && entry == shown.at(position)) {
            entry = shown.at(position);
            continue;
        }
        allAtTheirPositions = false;
        if (firstOfName.isEmpty()) {
            firstOfName.reserve(shown.size());
            for (qsizetype at = shown.size() - 1; at >= 0; --at) {
                // The last insert, the first, wins.
                firstOfName.insert(QByteArrayView(shown.at(at).Name), at);
            }
        }
        const auto found = firstOfName.constFind(QByteArrayView(entry.Name));
        if (found == firstOfName.cend()) {
            continue;
        }
        const PatchEntry &namesake = shown.at(*found);
        if (!(hasPlace && *found == position) && entry == namesake) {
            entry = namesake;
            continue;
        }
        // A set reloaded after an edit keeps most of each entry; what stayed is held once.
        entry.Name = namesake.Name;
        for (const auto text : {&PatchEntry::Description, &PatchEntry::Dependencies}) {
            if (entry.*text == namesake.*text) {
                entry.*text = namesake.*text;
            }
        }
        if (entry.slotTexts() == namesake.slotTexts()) {
            entry.setSlotTexts(namesake.slotTexts());
        }
    }
    // Every entry in its place: the side's list itself serves, not only its entries.
    return allAtTheirPositions ? shown : loaded;
}

EditHistory::StorageTally::Piece &EditHistory::StorageTally::piece(const void *identity)
{
    const qsizetype count = m_pieces.size();
    Piece &found = m_pieces[identity];
    if (m_pieces.size() == count && found.idle()) {
        --m_idle;
    }
    return found;
}

void EditHistory::StorageTally::becameIdle()
{
    if (++m_idle > m_pieces.size() / 2) {
        m_pieces.removeIf([](const auto &item) { return item.value().idle(); });
        m_idle = 0;
    }
}

void EditHistory::StorageTally::holdPiece(Piece &piece, qint64 bytes)
{
    if (piece.holders++ > 0) {
        return;
    }
    piece.bytes = bytes;
    m_bytes += bytes;
    if (piece.shown > 0) {
        m_shownBytes += bytes;
    }
}

void EditHistory::StorageTally::releasePiece(const void *identity)
{
    const auto found = m_pieces.find(identity);
    Q_ASSERT(found != m_pieces.end() && found->holders > 0);
    if (--found->holders > 0) {
        return;
    }
    m_bytes -= found->bytes;
    if (found->shown > 0) {
        m_shownBytes -= found->bytes;
    } else {
        becameIdle();
    }
}

void EditHistory::StorageTally::show(const void *identity, qint64 bytes)
{
    Piece &shown = piece(identity);
    if (shown.shown++ > 0) {
        return;
    }
    if (shown.holders > 0) {
        m_shownBytes += shown.bytes;
    } else {
        shown.bytes = bytes;
    }
}

void EditHistory::StorageTally::unshow(const void *identity, std::vector<const void *> *held)
{
    const auto found = m_pieces.find(identity);
    Q_ASSERT(found != m_pieces.end() && found->shown > 0);
    if (--found->shown > 0) {
        return;
    }
    if (found->holders > 0) {
        m_shownBytes -= found->bytes;
    }
    if (held != nullptr) {
        holdPiece(*found, found->bytes);
        held->push_back(identity);
    } else if (found->holders == 0) {
        becameIdle();
    }
}

bool EditHistory::StorageTally::wasShown(const PatchTable &table, Side side) const
{
    return table.isSharedWith(m_lastShown[side]);
}

void EditHistory::StorageTally::follow(const PatchSets &shown, const PatchSets *before,
                                       std::vector<const void *> &held)
{
    const auto show = [this](const void *identity, qint64 bytes) { this->show(identity, bytes); };
    for (const Side side : {Side::Left, Side::Right}) {
        PatchTable &was = m_lastShown[side];
        const PatchTable &now = shown.table(side);
        if (now.isSharedWith(was)) {
            continue;
        }
        // When the sides showed the step's before-state at the last weighing, what leaves them
        // now is what the step took off them; otherwise holdDropped() works it out apart.
        const bool dropsHere = before != nullptr && before->table(side).isSharedWith(was);
        const auto unshow = [this, dropsHere, &held](const void *identity, qint64) {
            this->unshow(identity, dropsHere ? &held : nullptr);
        };
        // The new pieces are counted before the old ones go, so a piece both hold never
        // passes through nought; an entry both tables hold is left as it is.
        if (now.capacity() > 0) {
            this->show(now.constData(), listBytes(now));
        }
        std::vector<qsizetype> gone;
        forEachUnpaired(
            was, now, [&](qsizetype position) { forEachPiece(now.at(position), show); },
            [&gone](qsizetype position) { gone.push_back(position); });
        for (const qsizetype position : gone) {
            forEachPiece(was.at(position), unshow);
        }
        if (was.capacity() > 0) {
            this->unshow(was.constData(), nullptr); // a step holds its lists itself
        }
        was = now;
    }
}

void EditHistory::StorageTally::holdList(const PatchTable &table)
{
    if (table.capacity() > 0) {
        holdPiece(piece(table.constData()), listBytes(table));
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
    forEachUnpaired(
        before, after, [](qsizetype) {},
        [&](qsizetype position) { holdDropped(before.at(position), held); });
}

void EditHistory::StorageTally::holdDropped(const PatchEntry &before,
                                            std::vector<const void *> &held)
{
    forEachPiece(before, [this, &held](const void *identity, qint64 bytes) {
        Piece &dropped = piece(identity);
        if (dropped.shown == 0) {
            holdPiece(dropped, bytes);
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
    m_steps.push_back({std::move(step), {}});
    hold(m_steps.back(), shown);
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

void EditHistory::hold(KeptStep &kept, const PatchSets *shown)
{
    forEachTable(kept.step, [this](const PatchTable &table) { m_tally.holdList(table); });
    if (shown == nullptr) {
        return; // a move takes no entry off a side
    }
    // What the step took off the sides is what they no longer show.
    const auto *change = std::get_if<ListChange>(&kept.step);
    BySide<bool> followed{false, false};
    for (const Side side : {Side::Left, Side::Right}) {
        followed[side] =
            change != nullptr && m_tally.wasShown(change->before.sets.table(side), side);
    }
    m_tally.follow(*shown, change != nullptr ? &change->before.sets : nullptr, kept.dropped);
    for (const Side side : {Side::Left, Side::Right}) {
        if (change != nullptr && !followed[side]) {
            m_tally.holdDropped(change->before.sets.table(side), change->after.sets.table(side),
                                kept.dropped);
        }
    }
    if (const auto *entryChange = std::get_if<EntryChange>(&kept.step)) {
        m_tally.holdDropped(entryChange->before, kept.dropped);
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
