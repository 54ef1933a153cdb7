#include "PatchSetEditor.h"

#include "AnsiText.h"
#include "CommandTexts.h"
#include "LineMarks.h"
#include "PatchSetFormat.h"

#include <QLocale>
#include <QSet>

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

// The lines of `lines` that a list of `count` lines has, each once, in list order.
QList<int> linesWithin(QList<int> lines, int count)
{
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    lines.removeIf([count](int line) { return line < 0 || line >= count; });
    return lines;
}

// A block move as a new order of the lines: `from[line]` is the line whose record lands on
// `line`, and the block starts at line `first`. The block keeps its order and so does the rest.
struct BlockOrder
{
    std::vector<int> from;
    int first = 0;

    bool moves() const
    {
        for (std::size_t line = 0; line < from.size(); ++line) {
            if (from[line] != int(line)) {
                return true;
            }
        }
        return false;
    }
};

// `block` holds distinct lines of a list of `count` lines, ascending; `before` is 0..count.
BlockOrder blockOrder(int count, const QList<int> &block, int before)
{
    std::vector<bool> inBlock(size_t(count), false);
    for (const int line : block) {
        inBlock[size_t(line)] = true;
    }
    BlockOrder order;
    order.from.reserve(size_t(count));
    for (int line = 0; line < before; ++line) {
        if (!inBlock[size_t(line)]) {
            order.from.push_back(line);
        }
    }
    order.first = int(order.from.size());
    order.from.insert(order.from.end(), block.cbegin(), block.cend());
    for (int line = before; line < count; ++line) {
        if (!inBlock[size_t(line)]) {
            order.from.push_back(line);
        }
    }
    return order;
}

// The view's selected lines, in line order.
QList<int> selectedLines(const SideView &view)
{
    QList<int> lines;
    const int count = view.lineCount();
    for (int line = 0; line < count; ++line) {
        if (view.isLineSelected(line)) {
            lines.append(line);
        }
    }
    return lines;
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

void PatchSetEditor::setMessage(MessageHandler handler)
{
    m_message = std::move(handler);
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

BySide<int> PatchSetEditor::currentPair(Side side) const
{
    BySide<int> pair{-1, -1};
    pair[side] = recordOfLine(side, m_sides[side].view.currentLine());
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
    const EditState before = currentState();
    m_sets.DestTable[pair.right] = std::move(taken);
    landOnDest(pair.right);
    finishStep(before, true);
}

QList<int> PatchSetEditor::selectedRecords(Side side) const
{
    QList<int> records;
    for (const int line : selectedLines(m_sides[side].view)) {
        const int record = recordOfLine(side, line);
        if (record >= 0) {
            records.append(record);
        }
    }
    return records;
}

void PatchSetEditor::RefreshSide(Side side)
{
    // Flags are kept per record, not per line, so they follow their records through the
    // removal below and land on whatever line each record gets. Records added since the
    // last refresh have no line yet and start unselected.
    std::vector<bool> selected(size_t(m_sets.table(side).size()), false);
    for (const int record : selectedRecords(side)) {
        selected[size_t(record)] = true;
    }
    refreshSelecting(side, std::move(selected));
}

void PatchSetEditor::refreshSelecting(Side side, std::vector<bool> selected)
{
    SideView &sideView = view(side);
    PatchTable &table = m_sets.table(side);
    selected.resize(size_t(table.size()), false);

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

void PatchSetEditor::pushMarks()
{
    const SharedEntryMarks marks = sharedEntryMarks(m_sets.SrcTable, m_sets.DestTable);
    for (const Side side : {Side::Left, Side::Right}) {
        m_sides[side].view.setLineMarks(marks[side]);
    }
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
    RefreshSide(otherSide(side));
    DeselectSide(side);
    showStatus(side, statusText(version, fileTimeText(modified)));
    switchCommands();
    finishStep(before);
}

void PatchSetEditor::copyIntoDest()
{
    SideView &src = view(Side::Left);
    SideView &dest = view(Side::Right);
    if (selectedLines(src).isEmpty() && selectedLines(dest).isEmpty()) {
        return;
    }
    if (refusesPastLimit(selectedRecords(Side::Left), selectedRecords(Side::Right))) {
        return; // as a whole: nothing deleted either
    }
    const EditState before = currentState();
    removeSelectedDest();

    // Taken before the first question, so the answers cannot change what gets copied.
    const QList<int> sources = selectedRecords(Side::Left);
    if (sources.isEmpty()) {
        finishStep(before);
        return; // a delete-only press: "save" keeps its state
    }

    // The delete left the user's place current; it is taken by record, since the refresh
    // below makes line 0 current.
    const int placeRecord = recordOfLine(Side::Right, dest.currentLine());
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
    if (selectedLines(view(Side::Right)).isEmpty()) {
        return;
    }
    const EditState before = currentState();
    removeSelectedDest();
    finishStep(before);
}

void PatchSetEditor::removeSelectedDest()
{
    // Only the selected lines go, so a kept current line moves up by the selected lines above
    // it; a current line that goes too leaves its place to the first deleted line's.
    SideView &dest = view(Side::Right);
    const int current = dest.currentLine();
    const QList<int> selected = selectedLines(dest);
    int place = selected.isEmpty() ? -1 : selected.first();
    if (current >= 0 && current < dest.lineCount() && !dest.isLineSelected(current)) {
        place = current
            - int(std::lower_bound(selected.cbegin(), selected.cend(), current)
                  - selected.cbegin());
    }

    for (const int record : selectedRecords(Side::Right)) {
        KillRiteEntry(record);
    }
    // One refresh, the deselecting one, removes the killed records: every selected line's
    // record is among them, so a plain refresh before it would have left nothing selected.
    DeselectSide(Side::Right);
    const int last = dest.lineCount() - 1;
    if (place > 0 && last > 0) {
        dest.setCurrentLine(std::min(place, last));
    }
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
    using PatchSetFormat::maxEntries;
    const PatchTable &dest = m_sets.DestTable;
    const qsizetype kept = dest.size() - deleted.size(); // listed or not, every record is saved
    if (kept + sources.size() <= maxEntries) {
        return false; // nearly every copy: no need to look at names
    }
    // Each name DEST does not hold once the delete is done is appended once; a later SRC entry
    // of that name lands on the copy or is declined, so only distinct new names grow DEST.
    QSet<QByteArray> names;
    for (int record = 0; record < dest.size(); ++record) {
        if (!std::binary_search(deleted.cbegin(), deleted.cend(), record)) {
            names.insert(dest.at(record).Name);
        }
    }
    const qsizetype held = names.size();
    for (const int record : sources) {
        names.insert(m_sets.SrcTable.at(record).Name);
    }
    const qsizetype added = names.size() - held;
    const qsizetype room = std::max<qsizetype>(0, maxEntries - kept);
    if (added <= room) {
        return false;
    }
    if (m_message) {
        m_message(QStringLiteral("DEST can hold %1 entries at most. It can take %2 more, and "
                                 "this copy would add %3.")
                      .arg(maxEntries)
                      .arg(room)
                      .arg(added));
    }
    return true;
}

void PatchSetEditor::landOnDest(int record)
{
    const int line = lineOfRecord(Side::Right, record);
    if (line >= 0) {
        view(Side::Right).setCurrentLine(line);
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
    if (match != dest.cend()) {
        const int position = int(match - dest.cbegin());
        if (!run.overwriteAll) {
            const QString text = QStringLiteral("Patch with name ''") + decodeAnsi(ID)
                + QStringLiteral("'' already exists. Overwrite?");
            switch (m_question ? m_question(OverwriteTitle, text) : OverwriteAnswer::No) {
            case OverwriteAnswer::Yes:
                break;
            case OverwriteAnswer::No:
                return std::nullopt;
            case OverwriteAnswer::YesToAll:
                run.overwriteAll = true;
                break;
            case OverwriteAnswer::NoToAll:
                run.overwriteAll = false;
                break;
            case OverwriteAnswer::Cancel:
                run.cancelled = true;
                return std::nullopt;
            }
        }
        if (run.overwriteAll && !*run.overwriteAll) {
            return std::nullopt; // No to all, now or earlier in the run
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
    const int line = view(side).currentLine();
    const int record = recordOfLine(side, line);
    const int neighbour = recordOfLine(side, line + step);
    if (record < 0 || neighbour < 0
        || !reorderLines(side, {line}, step < 0 ? line - 1 : line + 2)) {
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

QList<int> PatchSetEditor::blockLines(Side side) const
{
    const SideView &sideView = m_sides[side].view;
    QList<int> lines = selectedLines(sideView);
    const int current = sideView.currentLine();
    if (lines.isEmpty() && current >= 0 && current < sideView.lineCount()) {
        lines.append(current);
    }
    return lines;
}

void PatchSetEditor::moveLines(Side side, const QList<int> &lines, int before)
{
    const EditState state = currentState();
    if (reorderLines(side, lines, before)) {
        finishStep(state);
    }
}

void PatchSetEditor::moveBlockToTop(Side side)
{
    moveLines(side, blockLines(side), 0);
}

void PatchSetEditor::moveBlockToBottom(Side side)
{
    moveLines(side, blockLines(side), view(side).lineCount());
}

bool PatchSetEditor::reorderLines(Side side, const QList<int> &lines, int before)
{
    SideView &sideView = view(side);
    const QList<int> &records = m_sides[side].lines;
    const int count = int(records.size());
    PatchTable &table = m_sets.table(side);
    // The map ascends, so its last record is its largest: a table replaced since the last
    // refresh, or a view out of step with the map, moves nothing.
    if (before < 0 || before > count || count != sideView.lineCount()
        || (count > 0 && records.last() >= table.size())) {
        return false;
    }
    const BlockOrder order = blockOrder(count, linesWithin(lines, count), before);
    if (!order.moves()) {
        return false;
    }

    // Only the positions of listed records whose line gets another record are written, each
    // with the record of the line that lands on its line; the selected state goes along,
    // kept per position.
    std::vector<bool> selected(size_t(table.size()), false);
    std::vector<std::pair<int, PatchEntry>> landing;
    for (int line = 0; line < count; ++line) {
        const int from = order.from[size_t(line)];
        if (from != line) {
            landing.emplace_back(records.at(line), table.at(records.at(from)));
        }
        selected[size_t(records.at(line))] = sideView.isLineSelected(from);
    }
    for (auto &[position, entry] : landing) {
        table[position] = std::move(entry);
    }
    refreshSelecting(side, std::move(selected));
    sideView.setCurrentLine(order.first);
    return true;
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
    SideView &dest = view(Side::Right);
    if (before < 0 || before > dest.lineCount()) {
        return;
    }
    QList<int> sources;
    for (const int line : linesWithin(srcLines, view(Side::Left).lineCount())) {
        const int record = recordOfLine(Side::Left, line);
        if (record >= 0) {
            sources.append(record);
        }
    }
    if (refusesPastLimit(sources, {})) {
        return;
    }
    const EditState state = currentState();
    // The place is held as a record: a Yes over an unlisted entry gives it a line, which
    // moves the lines after it down by one.
    const int placeRecord = recordOfLine(Side::Right, before); // -1: after the last line
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
    const QList<int> &lines = m_sides.right.lines;
    const int firstAppended =
        int(std::lower_bound(lines.cbegin(), lines.cend(), oldSize) - lines.cbegin());
    const int place = placeRecord >= 0 ? lineOfRecord(Side::Right, placeRecord) : firstAppended;
    QList<int> appended;
    for (int line = firstAppended; line < lines.size(); ++line) {
        appended.append(line);
    }
    reorderLines(Side::Right, appended, place);
    landOnDest(appended.isEmpty() ? *replaced : recordOfLine(Side::Right, place));
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
    showStatus(Side::Right, statusText(NewSetVersion, NewSetOrigin));
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
        // step left them: only the entries' fields come back, and the paths, which a save
        // since the step may have changed.
        m_sets = state.sets;
        showFileText(Side::Left);
        showFileText(Side::Right);
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

void PatchSetEditor::finishStep(const EditState &before, bool keepsLines)
{
    pushMarks();
    m_history.record(before, currentState(), keepsLines);
}
