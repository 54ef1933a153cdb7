#include "PatchSetEditor.h"

#include "AnsiText.h"
#include "LineMarks.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString OverwriteTitle = QStringLiteral("Confirm patch overwrite");
const QByteArray PlaceholderName = QByteArrayLiteral("Empty patch entry");
const QByteArray NewSetVersion = QByteArrayLiteral("0.3"); // what a save writes
const QString NewSetOrigin = QStringLiteral("[new]");

// A side's status label once it holds a set: "v." + version + " / " + where the set came
// from, which is its file's last change (short date, long time, in the user's locale) or, for
// a set started here, "[new]". Never empty, so an empty status tells a side without a set.
QString statusText(const QByteArray &version, const QString &origin)
{
    return QStringLiteral("v.") + decodeAnsi(version) + QStringLiteral(" / ") + origin;
}

QString fileTimeText(const QDateTime &modified)
{
    const QLocale locale;
    return locale.toString(modified.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(modified.time(), QLocale::LongFormat);
}

// `loaded`, with every entry that equals one of `shown` replaced by that entry, so the two
// share its storage: the one at the same position, or else the first of the same name. Each
// loaded entry is compared at most twice and names are hashed once, and only when a position
// does not match, so a reload of an unchanged set of the largest size costs one pass.
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

bool hasSelectedLine(const SideView &view)
{
    const int count = view.lineCount();
    for (int line = 0; line < count; ++line) {
        if (view.isLineSelected(line)) {
            return true;
        }
    }
    return false;
}

} // namespace

PatchSetEditor::PatchSetEditor(PatchSets &sets, SideView &left, SideView &right,
                               CommandSwitches &switches, qint64 historyBudget)
    : m_sets(sets), m_sides{{left, {}, {}}, {right, {}, {}}}, m_switches(switches),
      m_history(historyBudget)
{
}

void PatchSetEditor::setOverwriteQuestion(OverwriteQuestion question)
{
    m_question = std::move(question);
}

void PatchSetEditor::setDestDetailHandler(DetailHandler handler)
{
    m_destDetail = std::move(handler);
}

void PatchSetEditor::setChangeHandler(ChangeHandler handler)
{
    m_changed = std::move(handler);
}

int PatchSetEditor::recordOfLine(Side side, int line) const
{
    const QList<int> &lines = m_sides[side].lines;
    if (line < 0 || line >= lines.size()) {
        return -1;
    }
    const int record = lines.at(line);
    // A table replaced since the last refresh may be shorter than the map remembers.
    return record < m_sets.table(side).size() ? record : -1;
}

const PatchEntry *PatchSetEditor::currentEntry(Side side) const
{
    const int record = recordOfLine(side, m_sides[side].view.currentLine());
    return record < 0 ? nullptr : &m_sets.table(side).at(record);
}

PatchSetEditor::EntryPair PatchSetEditor::currentPair(Side side) const
{
    const Side other = side == Side::Left ? Side::Right : Side::Left;
    const int record = recordOfLine(side, m_sides[side].view.currentLine());
    const int namesake =
        record < 0 ? -1 : firstListedNamed(m_sets.table(other), m_sets.table(side).at(record).Name);
    return side == Side::Left ? EntryPair{record, namesake} : EntryPair{namesake, record};
}

EntryComparison PatchSetEditor::compareCurrent(Side side) const
{
    const EntryPair pair = currentPair(side);
    return EntryComparison(pair.src < 0 ? nullptr : &m_sets.SrcTable.at(pair.src),
                           pair.dest < 0 ? nullptr : &m_sets.DestTable.at(pair.dest));
}

void PatchSetEditor::takeFromSrc(Side side, const QList<RowKey> &rows)
{
    const EntryPair pair = currentPair(side);
    if (pair.src < 0 || pair.dest < 0) {
        return;
    }
    // Taken into a copy first: a take that changes nothing must not detach the table from
    // the history, nor move a line.
    PatchEntry taken = m_sets.DestTable.at(pair.dest);
    takeRows(m_sets.SrcTable.at(pair.src), taken, rows);
    if (taken == m_sets.DestTable.at(pair.dest)) {
        return;
    }
    const EditState before = currentState();
    m_sets.DestTable[pair.dest] = std::move(taken);
    view(Side::Right).setCurrentLine(lineOfRecord(Side::Right, pair.dest));
    if (m_destDetail) {
        m_destDetail();
    }
    finishStep(before, true);
}

QList<int> PatchSetEditor::selectedRecords(Side side) const
{
    const SideView &sideView = m_sides[side].view;
    QList<int> records;
    const int count = sideView.lineCount();
    for (int line = 0; line < count; ++line) {
        const int record = recordOfLine(side, line);
        if (record >= 0 && sideView.isLineSelected(line)) {
            records.append(record);
        }
    }
    return records;
}

void PatchSetEditor::RefreshSide(Side side)
{
    SideView &sideView = view(side);
    PatchTable &table = m_sets.table(side);

    // Flags are kept per record, not per line, so they follow their records through the
    // removal below and land on whatever line each record gets. Records added since the
    // last refresh have no line yet and start unselected.
    std::vector<bool> selected(size_t(table.size()), false);
    for (const int record : selectedRecords(side)) {
        selected[size_t(record)] = true;
    }

    // One compacting pass: every kept record moves at most once, so deleting half of a
    // large table costs no more than walking it. The last position is no exception, so a
    // deleted entry is never left behind to be saved. The search only reads, so a table
    // that loses nothing stays shared with the undo history instead of being copied.
    const auto isDeleted = [](const PatchEntry &entry) { return entry.Omnipresence == 0; };
    const auto firstDeleted = std::find_if(table.cbegin(), table.cend(), isDeleted);
    if (firstDeleted != table.cend()) {
        qsizetype kept = firstDeleted - table.cbegin();
        for (qsizetype position = kept + 1; position < table.size(); ++position) {
            if (!isDeleted(table[position])) {
                table[kept] = std::move(table[position]);
                selected[size_t(kept)] = selected[size_t(position)];
                ++kept;
            }
        }
        table.resize(kept);
        selected.resize(size_t(kept));
    }

    FillSideList(side);

    const QList<int> &lines = m_sides[side].lines;
    for (int line = 0; line < lines.size(); ++line) {
        if (selected[size_t(lines.at(line))]) {
            sideView.setLineSelected(line, true);
        }
    }
    sideView.setCurrentLine(-1);
    if (!lines.isEmpty()) {
        sideView.setCurrentLine(0);
    }
    showCount(side, QString::number(lines.size()));
}

void PatchSetEditor::showStatus(Side side, const QString &text)
{
    m_sides[side].labels.status = text;
    m_sides[side].view.setStatusText(text);
}

void PatchSetEditor::showCount(Side side, const QString &text)
{
    m_sides[side].labels.count = text;
    m_sides[side].view.setCountText(text);
}

void PatchSetEditor::pushMarks()
{
    const SharedEntryMarks marks = sharedEntryMarks(m_sets.SrcTable, m_sets.DestTable);
    m_sides.left.view.setLineMarks(marks.src);
    m_sides.right.view.setLineMarks(marks.dest);
    if (m_changed) {
        m_changed();
    }
}

void PatchSetEditor::FillSideList(Side side)
{
    const PatchTable &table = m_sets.table(side);
    QList<int> &lines = m_sides[side].lines;
    lines.clear();
    QStringList texts;
    for (int record = 0; record < table.size(); ++record) {
        // Only 1 is listed; other non-zero values come from hand-made files and are kept
        // and saved as they are, but have no line, which is why lines map to records.
        if (table.at(record).Omnipresence == 1) {
            lines.append(record);
            texts.append(decodeAnsi(table.at(record).Name));
        }
    }
    view(side).setLines(texts);
}

void PatchSetEditor::DeselectSide(Side side)
{
    SideView &sideView = view(side);
    const int count = sideView.lineCount();
    for (int line = 0; line < count; ++line) {
        if (sideView.isLineSelected(line)) {
            sideView.setLineSelected(line, false);
        }
    }
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
    const Side other = side == Side::Left ? Side::Right : Side::Left;
    RefreshSide(other);
    DeselectSide(side);
    showStatus(side, statusText(version, fileTimeText(modified)));
    if (holdsSet(other)) {
        m_switches.setCopyEnabled(true);
        m_switches.setSaveEnabled(true);
    }
    finishStep(before);
}

void PatchSetEditor::copyIntoDest()
{
    SideView &src = view(Side::Left);
    SideView &dest = view(Side::Right);
    if (!hasSelectedLine(src) && !hasSelectedLine(dest)) {
        return;
    }
    const EditState before = currentState();
    removeSelectedDest();

    // Taken before the first question, so the answers cannot change what gets copied.
    const QList<int> sources = selectedRecords(Side::Left);
    if (sources.isEmpty()) {
        finishStep(before);
        return; // a delete-only press: "save" keeps its state
    }

    std::optional<int> landing;
    for (const int record : std::as_const(sources)) {
        landing = CopyMassive(record, m_sets.SrcTable.at(record).Name);
    }

    // DEST was refreshed without selection by the delete above; this refresh lists the
    // copies. SRC's table is unchanged and gets its one, deselecting, refresh at the end.
    RefreshSide(Side::Right);
    // A declined last copy leaves line 0 current, as the refresh did.
    const int landingLine = landing ? lineOfRecord(Side::Right, *landing) : 0;
    if (landingLine >= 0) {
        dest.setCurrentLine(landingLine);
    }
    if (m_destDetail) {
        m_destDetail();
    }
    DeselectSide(Side::Left);
    m_switches.setSaveEnabled(dest.lineCount() > 0);
    finishStep(before);
}

void PatchSetEditor::deleteSelectedDest()
{
    if (!hasSelectedLine(view(Side::Right))) {
        return;
    }
    const EditState before = currentState();
    removeSelectedDest();
    finishStep(before);
}

void PatchSetEditor::removeSelectedDest()
{
    for (const int record : selectedRecords(Side::Right)) {
        KillRiteEntry(record);
    }
    // One refresh, the deselecting one, removes the killed records: every selected line's
    // record is among them, so a plain refresh before it would have left nothing selected.
    DeselectSide(Side::Right);
}

void PatchSetEditor::KillRiteEntry(int record)
{
    Q_ASSERT(record >= 0 && record < m_sets.DestTable.size());
    PatchEntry &entry = m_sets.DestTable[record];
    entry.Omnipresence = 0;
    entry.Name.clear();
}

std::optional<int> PatchSetEditor::CopyMassive(int record, const QByteArray &ID)
{
    Q_ASSERT(record >= 0 && record < m_sets.SrcTable.size());
    PatchTable &dest = m_sets.DestTable;
    // Only the first entry of that name is ever offered: later ones stay as they are.
    const auto match = std::find_if(dest.cbegin(), dest.cend(),
                                    [&ID](const PatchEntry &entry) { return entry.Name == ID; });
    if (match != dest.cend()) {
        const int position = int(match - dest.cbegin());
        const QString text = QStringLiteral("Patch with name ''") + decodeAnsi(ID)
            + QStringLiteral("'' already exists. Overwrite?");
        if (!m_question || !m_question(OverwriteTitle, text)) {
            return std::nullopt;
        }
        dest[position] = m_sets.SrcTable.at(record);
        return position;
    }
    dest.append(m_sets.SrcTable.at(record));
    return int(dest.size() - 1);
}

int PatchSetEditor::lineOfRecord(Side side, int record) const
{
    // The map is ascending, since lines are filled in table order.
    const QList<int> &lines = m_sides[side].lines;
    const auto found = std::lower_bound(lines.cbegin(), lines.cend(), record);
    return found != lines.cend() && *found == record ? int(found - lines.cbegin()) : -1;
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
    SideView &sideView = view(side);
    const int count = sideView.lineCount();
    const int line = sideView.currentLine();
    const int target = line + step;
    if (count <= 1 || line < 0 || line >= count || target < 0 || target >= count) {
        return;
    }
    const int record = recordOfLine(side, line);
    const int targetRecord = recordOfLine(side, target);
    if (record < 0 || targetRecord < 0) {
        return;
    }

    // The records change places but their positions stay, so the two lines swap their
    // selected states too and each state stays with its record through the refresh.
    PatchTable &table = m_sets.table(side);
    std::swap(table[record], table[targetRecord]);
    const bool wasSelected = sideView.isLineSelected(line);
    sideView.setLineSelected(line, sideView.isLineSelected(target));
    sideView.setLineSelected(target, wasSelected);

    RefreshSide(side);
    sideView.setCurrentLine(target);
    // The first entry of a name is the one the other side is compared with, so a move
    // can change the other side's marks too.
    pushMarks();
    if (table.at(record) != table.at(targetRecord)) {
        m_history.recordSwap(side, record, targetRecord);
    }
}

void PatchSetEditor::newDestSet()
{
    const EditState before = currentState();
    MakeEmptySet(Side::Right);
    // The placeholder takes position 0, so MakeEmptySet's refresh hands it the selection of
    // the old line 0: the deselecting refresh is needed, a plain one in between was not.
    DeselectSide(Side::Right);
    if (holdsSet(Side::Left)) {
        m_switches.setSaveEnabled(true);
        m_switches.setCopyEnabled(true);
    }
    showStatus(Side::Right, statusText(NewSetVersion, NewSetOrigin));
    finishStep(before);
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
    SideView &sideView = view(side);
    const int count = sideView.lineCount();
    for (int line = 0; line < count; ++line) {
        sideView.setLineSelected(line, true);
    }
}

void PatchSetEditor::undo()
{
    if (const EditHistory::Step *step = m_history.undo()) {
        returnTo(*step, step->before);
    }
}

void PatchSetEditor::redo()
{
    if (const EditHistory::Step *step = m_history.redo()) {
        returnTo(*step, step->after);
    }
}

void PatchSetEditor::returnTo(const EditHistory::Step &step, const EditState &state)
{
    if (step.keepsLines) {
        // Names and listings are those the lists show, and labels and switches are as the
        // step left them: only the entries' fields come back.
        m_sets = state.sets;
        pushMarks();
        return;
    }
    // Lines of the old tables must not pass their selection on to other records, hence
    // the deselecting refresh of both sides in either case.
    if (step.isSwap) {
        PatchTable &table = m_sets.table(step.side);
        std::swap(table[step.first], table[step.second]);
        DeselectSide(Side::Left);
        DeselectSide(Side::Right);
        pushMarks();
        return;
    }

    // Whole tables come back by sharing: nothing is copied until it is changed again.
    m_sets = state.sets;
    showStatus(Side::Left, state.labels.left.status);
    showStatus(Side::Right, state.labels.right.status);
    m_switches.setCopyEnabled(state.copyEnabled);
    m_switches.setSaveEnabled(state.saveEnabled);
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

void PatchSetEditor::finishStep(const EditState &before, bool keepsLines)
{
    pushMarks();
    m_history.record(before, currentState(), keepsLines);
}
