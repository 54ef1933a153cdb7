#include "PatchSetEditor.h"

#include "CommandTexts.h"
#include "LineMarks.h"

#include <algorithm>
#include <utility>

namespace {

const QByteArray PlaceholderName = QByteArrayLiteral("Empty patch entry");

const QString &pathOf(const PatchSets &sets, Side side)
{
    return side == Side::Left ? sets.SrcPath : sets.DestPath;
}

} // namespace

PatchSetEditor::PatchSetEditor(PatchSets &sets, SideView &left, SideView &right,
                               CommandSwitches &switches, qint64 historyBudget)
    : m_sets(sets),
      m_marks(sets), m_sides{{left, SideListing(Side::Left, sets.SrcTable, left, m_marks), {}},
                             {right, SideListing(Side::Right, sets.DestTable, right, m_marks), {}}},
      m_switches(switches), m_history(historyBudget)
{
}

const PatchEntry *PatchSetEditor::currentEntry(Side side) const
{
    const int record = m_sides[side].listing.currentRecord();
    return record < 0 ? nullptr : &m_sets.table(side).at(record);
}

BySide<int> PatchSetEditor::currentPair(Side side) const
{
    BySide<int> pair{-1, -1};
    pair[side] = m_sides[side].listing.currentRecord();
    if (pair[side] >= 0) {
        pair[otherSide(side)] =
            firstListedNamed(m_sets.table(otherSide(side)), m_sets.table(side).at(pair[side]).Name);
    }
    return pair;
}

EntryComparison PatchSetEditor::compareCurrent(Side side) const
{
    const BySide<int> pair = currentPair(side);
    const auto entry = [this, &pair](Side of) {
        return pair[of] < 0 ? nullptr : &m_sets.table(of).at(pair[of]);
    };
    return EntryComparison(entry(Side::Left), entry(Side::Right));
}

void PatchSetEditor::takeFromSrc(Side side, const QList<RowKey> &rows)
{
    const BySide<int> pair = currentPair(side);
    if (pair.left < 0 || pair.right < 0) {
        return;
    }
    // Taken into a copy first: a take that changes nothing must not detach the table from
    // the history, nor move a line.
    PatchEntry taken = m_sets.DestTable.at(pair.right);
    takeRows(m_sets.SrcTable.at(pair.left), taken, rows);
    if (taken == m_sets.DestTable.at(pair.right)) {
        return;
    }
    const PatchEntry before = std::exchange(m_sets.DestTable[pair.right], std::move(taken));
    const quint64 revisionBefore = m_sides.right.labels.revision;
    newRevision(Side::Right);
    landOnDest(pair.right);
    pushMarks();
    m_history.recordEntryChange(Side::Right, pair.right, before, m_sets, revisionBefore,
                                m_sides.right.labels.revision);
}

void PatchSetEditor::RefreshSide(Side side)
{
    SideListing &listing = m_sides[side].listing;
    listing.refresh(listing.selectionByRecord());
    showCount(side, QString::number(listing.listedCount()));
}

void PatchSetEditor::showStatus(Side side)
{
    const SetOrigin *origin = m_sides[side].labels.origin.get();
    m_sides[side].view.setStatusText(origin != nullptr ? origin->status : QString());
    showFileText(side);
}

void PatchSetEditor::takeOrigin(Side side, std::shared_ptr<SetOrigin> origin)
{
    if (origin != nullptr) {
        m_sets.path(side) = origin->path;
        m_sets.version(side) = origin->version;
    }
    m_sides[side].labels.origin = std::move(origin);
    showStatus(side);
}

void PatchSetEditor::newRevision(Side side)
{
    m_sides[side].labels.revision = m_origins.newRevision();
}

void PatchSetEditor::setMarksViews(SideMarksView &left, SideMarksView &right)
{
    m_marksViews = {&left, &right};
    showMarksOfOrigins();
}

void PatchSetEditor::showMarksOfOrigins()
{
    for (const Side side : {Side::Left, Side::Right}) {
        if (SideMarksView *view = m_marksViews[side]) {
            const SideLabels &labels = m_sides[side].labels;
            view->setChangedText(changedMarkText(labels.origin.get(), labels.revision));
            view->setNotes(labels.origin != nullptr ? labels.origin->notes : SetNotes());
        }
    }
}

void PatchSetEditor::showFileText(Side side)
{
    m_sides[side].view.setFileText(sideFileText(holdsSet(side), m_sets.path(side)));
}

void PatchSetEditor::showCount(Side side, const QString &text)
{
    m_sides[side].labels.count = text;
    m_sides[side].view.setCountText(text);
}

void PatchSetEditor::handOutMarks()
{
    m_marks.follow();
    for (const Side side : {Side::Left, Side::Right}) {
        m_sides[side].listing.showMarks();
    }
}

void PatchSetEditor::pushMarks()
{
    handOutMarks();
    showMarksOfOrigins();
    if (m_changed) {
        m_changed();
    }
}

void PatchSetEditor::DeselectSide(Side side)
{
    m_sides[side].listing.deselectAll();
    RefreshSide(side);
}

void PatchSetEditor::MakeEmptySet(Side side)
{
    PatchEntry placeholder;
    placeholder.Omnipresence = 1;
    placeholder.Name = PlaceholderName;
    m_sets.table(side) = PatchTable{placeholder};
    RefreshSide(side);
}

void PatchSetEditor::installLoadedSet(Side side, const PatchTable &table, const QByteArray &version,
                                      const QString &path, const QDateTime &modified,
                                      const QList<LoadNote> &notes, int notesNotKept)
{
    const EditState before = currentState();
    m_sets.table(side) = sharingUnchanged(table, m_sets.table(side));
    // A set of its own even when it equals the one shown: the file may hold what the side
    // held before a save elsewhere, and the changed mark starts afresh.
    newRevision(side);
    takeOrigin(side,
               m_origins.loaded(side, path, version, modified, notes, notesNotKept,
                                m_sides[side].labels.revision));
    // Each side is refreshed once. The other side's table is as it was, but a load has always
    // put its current line back on its first line; the loaded side's old selection must not
    // pass to the new records, hence the deselecting refresh, which alone is enough there.
    RefreshSide(otherSide(side));
    DeselectSide(side);
    switchCommands();
    finishStep(before);
}

void PatchSetEditor::moveUp(Side side)
{
    swapCurrentWithNeighbour(side, -1);
}

void PatchSetEditor::moveDown(Side side)
{
    swapCurrentWithNeighbour(side, +1);
}

void PatchSetEditor::swapCurrentWithNeighbour(Side side, int step)
{
    SideListing &listing = m_sides[side].listing;
    const int line = listing.currentLine();
    const int record = listing.recordOfLine(line);
    const int neighbour = listing.recordOfLine(line + step);
    if (record < 0 || neighbour < 0 || !listing.moveLines({line}, step < 0 ? line - 1 : line + 2)) {
        return;
    }
    const PatchTable &table = m_sets.table(side);
    const bool changed = table.at(record) != table.at(neighbour);
    const quint64 revisionBefore = m_sides[side].labels.revision;
    if (changed) {
        newRevision(side);
    }
    // The first entry of a name is the one the other side is compared with, so a move
    // can change the other side's marks too.
    pushMarks();
    // Only the two records changed places, so the step keeps just their positions.
    if (changed) {
        m_history.recordSwap(side, record, neighbour, revisionBefore,
                             m_sides[side].labels.revision);
    }
}

void PatchSetEditor::moveLines(Side side, const QList<int> &lines, int before)
{
    const EditState state = currentState();
    if (m_sides[side].listing.moveLines(lines, before)) {
        finishStep(state);
    }
}

void PatchSetEditor::moveBlockToTop(Side side)
{
    moveLines(side, m_sides[side].listing.blockLines(), 0);
}

void PatchSetEditor::moveBlockToBottom(Side side)
{
    const SideListing &listing = m_sides[side].listing;
    moveLines(side, listing.blockLines(), listing.lineCount());
}

void PatchSetEditor::newDestSet()
{
    const EditState before = currentState();
    MakeEmptySet(Side::Right);
    // The placeholder takes position 0, so MakeEmptySet's refresh hands it the selection of
    // the old line 0: the deselecting refresh is needed, a plain one in between was not.
    DeselectSide(Side::Right);
    const SetOrigin *shown = m_sides.right.labels.origin.get();
    const bool sameNewSet = shown != nullptr && shown->kind == SetOrigin::Kind::New
        && m_sets.DestTable == before.sets.DestTable;
    if (!sameNewSet) {
        takeOrigin(Side::Right, m_origins.started());
    }
    switchCommands();
    finishStep(before);
}

void PatchSetEditor::noteDestSaved(const QString &path, const QDateTime &modified)
{
    SetOrigin *saved = m_sides.right.labels.origin.get();
    if (saved == nullptr) {
        return; // "save" is enabled only while DEST holds a set
    }
    m_origins.save(*saved, path, modified, m_sides.right.labels.revision);
    m_sets.DestPath = saved->path;
    m_sets.DestVersion = saved->version;
    showStatus(Side::Right);
    showMarksOfOrigins();
}

void PatchSetEditor::switchCommands()
{
    m_switches.setCopyEnabled(holdsSet(Side::Left) && holdsSet(Side::Right));
    m_switches.setSaveEnabled(holdsSet(Side::Right));
}

void PatchSetEditor::clearSelection(Side side)
{
    if (!holdsSet(side)) {
        return;
    }
    DeselectSide(side);
    pushMarks(); // the rebuilt lines come without them
}

void PatchSetEditor::selectAll(Side side)
{
    m_sides[side].listing.selectAll();
}

void PatchSetEditor::undo()
{
    if (const EditHistory::Step *step = m_history.undo()) {
        returnTo(*step, false);
    }
}

void PatchSetEditor::redo()
{
    if (const EditHistory::Step *step = m_history.redo()) {
        returnTo(*step, true);
    }
}

void PatchSetEditor::returnTo(const EditHistory::Step &step, bool forward)
{
    if (const auto *change = std::get_if<EditHistory::EntryChange>(&step)) {
        // Names and listings are those the lists show, and labels and switches are as the
        // step left them: only the entry's fields come back, and the side's revision. The set
        // is the same, so its file stays as the last save left it.
        PatchTable &table = m_sets.table(change->side);
        Q_ASSERT(change->position < table.size());
        table[change->position] = forward ? change->after : change->before;
        m_sides[change->side].labels.revision =
            forward ? change->revisionAfter : change->revisionBefore;
        pushMarks();
        return;
    }
    // Lines of the old tables must not pass their selection on to other records, hence
    // the deselecting refresh of both sides in either case.
    if (const auto *swap = std::get_if<EditHistory::Swap>(&step)) {
        PatchTable &table = m_sets.table(swap->side);
        std::swap(table[swap->first], table[swap->second]);
        m_sides[swap->side].labels.revision = forward ? swap->revisionAfter : swap->revisionBefore;
        DeselectSide(Side::Left);
        DeselectSide(Side::Right);
        pushMarks();
        return;
    }

    // Whole tables come back by sharing: nothing is copied until it is changed again.
    const auto &change = std::get<EditHistory::ListChange>(step);
    const EditState &state = forward ? change.after : change.before;
    // The origins give the paths and versions: a save since the step may have changed them.
    m_sets = state.sets;
    for (const Side side : {Side::Left, Side::Right}) {
        m_sides[side].labels.revision = state.labels[side].revision;
        takeOrigin(side, state.labels[side].origin);
    }
    switchCommands();
    DeselectSide(Side::Left);
    DeselectSide(Side::Right);
    // The refresh writes a number, but a side never listed before showed no count at all.
    showCount(Side::Left, state.labels.left.count);
    showCount(Side::Right, state.labels.right.count);
    pushMarks();
}

EditState PatchSetEditor::currentState() const
{
    EditState state;
    state.sets = m_sets;
    state.labels = {m_sides.left.labels, m_sides.right.labels};
    state.copyEnabled = m_switches.copyEnabled;
    state.saveEnabled = m_switches.saveEnabled;
    return state;
}

void PatchSetEditor::finishStep(const EditState &before)
{
    // A side gets a new revision when its table, version, path or set changed, unless the
    // command gave it one already. Tables that a command left alone share their storage and
    // compare at once.
    for (const Side side : {Side::Left, Side::Right}) {
        const SideLabels &was = before.labels[side];
        const bool changed = was.origin != m_sides[side].labels.origin
            || pathOf(before.sets, side) != m_sets.path(side)
            || before.sets.version(side) != m_sets.version(side)
            || before.sets.table(side) != m_sets.table(side);
        if (changed && was.revision == m_sides[side].labels.revision) {
            newRevision(side);
        }
    }
    pushMarks();
    m_history.record(before, currentState());
}
