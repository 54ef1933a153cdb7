#include "PatchSetEditor.h"

#include "CommandTexts.h"
#include "CopyRules.h"
#include "LineMarks.h"

#include <algorithm>
#include <utility>

namespace {

const QByteArray PlaceholderName = QByteArrayLiteral("Empty patch entry");

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
    landOnDest(pair.right);
    pushMarks();
    m_history.recordEntryChange(Side::Right, pair.right, before, m_sets);
}

void PatchSetEditor::RefreshSide(Side side)
{
    SideListing &listing = m_sides[side].listing;
    listing.refresh(listing.selectionByRecord());
    showCount(side, QString::number(listing.lineCount()));
}

void PatchSetEditor::showStatus(Side side, const QString &text)
{
    m_sides[side].labels.status = text;
    m_sides[side].view.setStatusText(text);
    showFileText(side);
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
    if (m_changed) {
        m_changed();
    }
}

void PatchSetEditor::FillSideList(Side side)
{
    m_sides[side].listing.fill();
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
                                      const QString &path, const QDateTime &modified)
{
    const EditState before = currentState();
    m_sets.table(side) = sharingUnchanged(table, m_sets.table(side));
    m_sets.version(side) = version;
    m_sets.path(side) = path;
    // Each side is refreshed once. The other side's table is as it was, but a load has always
    // put its current line back on its first line; the loaded side's old selection must not
    // pass to the new records, hence the deselecting refresh, which alone is enough there.
    RefreshSide(otherSide(side));
    DeselectSide(side);
    showStatus(side, loadedSetStatus(version, modified));
    switchCommands();
    finishStep(before);
}

void PatchSetEditor::copyIntoDest()
{
    SideListing &src = m_sides.left.listing;
    SideListing &dest = m_sides.right.listing;
    if (src.selectedLines().isEmpty() && dest.selectedLines().isEmpty()) {
        return;
    }
    if (refusesPastLimit(src.selectedRecords(), dest.selectedRecords())) {
        return; // as a whole: nothing deleted either
    }
    const EditState before = currentState();
    removeSelectedDest();

    // Taken before the first question, so the answers cannot change what gets copied.
    const QList<int> sources = src.selectedRecords();
    if (sources.isEmpty()) {
        finishStep(before);
        return; // a delete-only press: "save" keeps its state
    }
    // The delete rebuilt DEST's lines without marks, and the user reads the questions below
    // against the lists. The change handler waits for the end of the command.
    handOutMarks();

    // The delete left the user's place current; it is taken by record, since the refresh
    // below makes line 0 current.
    const int placeRecord = dest.currentRecord();
    const std::optional<int> landing = copyRecords(sources).constLast();

    // DEST was refreshed without selection by the delete above; this refresh lists the
    // copies. SRC's table is unchanged and gets its one, deselecting, refresh at the end.
    RefreshSide(Side::Right);
    // Copies only append or overwrite, so the place's record keeps its position.
    landOnDest(landing ? *landing : placeRecord);
    DeselectSide(Side::Left);
    finishStep(before);
}

void PatchSetEditor::deleteSelectedDest()
{
    if (m_sides.right.listing.selectedLines().isEmpty()) {
        return;
    }
    const EditState before = currentState();
    removeSelectedDest();
    finishStep(before);
}

void PatchSetEditor::removeSelectedDest()
{
    SideListing &dest = m_sides.right.listing;
    const int place = dest.placeWithoutSelected();
    for (const int record : dest.selectedRecords()) {
        KillRiteEntry(record);
    }
    // One refresh, the deselecting one, removes the killed records: every selected line's
    // record is among them, so a plain refresh before it would have left nothing selected.
    DeselectSide(Side::Right);
    dest.returnToPlace(place);
}

void PatchSetEditor::KillRiteEntry(int record)
{
    Q_ASSERT(record >= 0 && record < m_sets.DestTable.size());
    PatchEntry &entry = m_sets.DestTable[record];
    entry.Omnipresence = 0;
    entry.Name.clear();
}

QList<std::optional<int>> PatchSetEditor::copyRecords(const QList<int> &records)
{
    QList<std::optional<int>> landings;
    CopyRun run;
    for (const int record : records) {
        landings.append(CopyMassive(record, m_sets.SrcTable.at(record).Name, run));
        if (run.cancelled) {
            break;
        }
    }
    return landings;
}

bool PatchSetEditor::refusesPastLimit(const QList<int> &sources, const QList<int> &deleted)
{
    const QString refusal = pastLimitRefusal(m_sets.SrcTable, sources, m_sets.DestTable, deleted);
    if (!refusal.isEmpty() && m_message) {
        m_message(refusal);
    }
    return !refusal.isEmpty();
}

void PatchSetEditor::landOnDest(int record)
{
    SideListing &dest = m_sides.right.listing;
    const int line = dest.lineOfRecord(record);
    if (line >= 0) {
        dest.setCurrentLine(line);
    }
    if (m_destDetail) {
        m_destDetail();
    }
}

std::optional<int> PatchSetEditor::CopyMassive(int record, const QByteArray &ID, CopyRun &run)
{
    Q_ASSERT(record >= 0 && record < m_sets.SrcTable.size());
    if (run.cancelled) {
        return std::nullopt;
    }
    PatchTable &dest = m_sets.DestTable;
    // Only the first entry of that name is ever offered: later ones stay as they are.
    const auto match = std::find_if(dest.cbegin(), dest.cend(),
                                    [&ID](const PatchEntry &entry) { return entry.Name == ID; });
    if (match == dest.cend()) {
        dest.append(m_sets.SrcTable.at(record));
        return int(dest.size() - 1);
    }
    const int position = int(match - dest.cbegin());
    bool overwrite = run.overwriteAll.value_or(false); // asked no more once it holds
    if (!run.overwriteAll) {
        overwrite = run.overwrites(m_question ? m_question(overwriteTitle(), overwriteText(ID))
                                              : OverwriteAnswer::No);
    }
    if (!overwrite) {
        return std::nullopt; // a No, a No to all (now or earlier in the run) or a Cancel
    }
    dest[position] = m_sets.SrcTable.at(record);
    return position;
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
    // The first entry of a name is the one the other side is compared with, so a move
    // can change the other side's marks too.
    pushMarks();
    // Only the two records changed places, so the step keeps just their positions.
    const PatchTable &table = m_sets.table(side);
    if (table.at(record) != table.at(neighbour)) {
        m_history.recordSwap(side, record, neighbour);
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

bool PatchSetEditor::acceptsDrop(Side from, Side onto) const
{
    return from == onto || (onto == Side::Right && m_switches.copyEnabled);
}

void PatchSetEditor::dropLines(Side from, Side onto, const QList<int> &lines, int before)
{
    if (!acceptsDrop(from, onto)) {
        return;
    }
    if (from == onto) {
        moveLines(onto, lines, before);
    } else {
        copyIntoDestAt(lines, before);
    }
}

void PatchSetEditor::copyIntoDestAt(const QList<int> &srcLines, int before)
{
    SideListing &dest = m_sides.right.listing;
    if (before < 0 || before > dest.lineCount()) {
        return;
    }
    const QList<int> sources = m_sides.left.listing.recordsOfLines(srcLines);
    if (refusesPastLimit(sources, {})) {
        return;
    }
    const EditState state = currentState();
    // The place is held as a record: a Yes over an unlisted entry gives it a line, which
    // moves the lines after it down by one.
    const int placeRecord = dest.recordOfLine(before); // -1: after the last line
    const int oldSize = int(m_sets.DestTable.size());
    std::optional<int> replaced;
    bool copied = false;
    for (const std::optional<int> &landing : copyRecords(sources)) {
        copied = copied || landing.has_value();
        if (landing && *landing < oldSize) {
            replaced = landing;
        }
    }
    if (!copied) {
        return; // every answer was No, or the first was Cancel: DEST is as it was
    }

    // Appended records follow every older one, so their lines end the list.
    RefreshSide(Side::Right);
    const int firstAppended = dest.firstLineFrom(oldSize);
    const int place = placeRecord >= 0 ? dest.lineOfRecord(placeRecord) : firstAppended;
    QList<int> appended;
    for (int line = firstAppended; line < dest.lineCount(); ++line) {
        appended.append(line);
    }
    dest.moveLines(appended, place);
    landOnDest(appended.isEmpty() ? *replaced : dest.recordOfLine(place));
    finishStep(state);
}

void PatchSetEditor::newDestSet()
{
    const EditState before = currentState();
    MakeEmptySet(Side::Right);
    // The placeholder takes position 0, so MakeEmptySet's refresh hands it the selection of
    // the old line 0: the deselecting refresh is needed, a plain one in between was not.
    DeselectSide(Side::Right);
    m_sets.DestPath.clear();
    showStatus(Side::Right, newSetStatus());
    switchCommands();
    finishStep(before);
}

void PatchSetEditor::noteDestSaved(const QString &path)
{
    m_sets.DestPath = path;
    showFileText(Side::Right);
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
        // step left them: only the entry's fields come back, and the paths, which a save
        // since the step may have changed.
        PatchTable &table = m_sets.table(change->side);
        Q_ASSERT(change->position < table.size());
        table[change->position] = forward ? change->after : change->before;
        for (const Side side : {Side::Left, Side::Right}) {
            m_sets.path(side) = change->paths[side];
            showFileText(side);
        }
        pushMarks();
        return;
    }
    // Lines of the old tables must not pass their selection on to other records, hence
    // the deselecting refresh of both sides in either case.
    if (const auto *swap = std::get_if<EditHistory::Swap>(&step)) {
        PatchTable &table = m_sets.table(swap->side);
        std::swap(table[swap->first], table[swap->second]);
        DeselectSide(Side::Left);
        DeselectSide(Side::Right);
        pushMarks();
        return;
    }

    // Whole tables come back by sharing: nothing is copied until it is changed again.
    const auto &change = std::get<EditHistory::ListChange>(step);
    const EditState &state = forward ? change.after : change.before;
    m_sets = state.sets;
    showStatus(Side::Left, state.labels.left.status);
    showStatus(Side::Right, state.labels.right.status);
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
    pushMarks();
    m_history.record(before, currentState());
}
