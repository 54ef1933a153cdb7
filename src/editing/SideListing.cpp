#include "SideListing.h"

#include "AnsiText.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// The lines of `lines` that a list of `count` lines has, each once, in list order.
QList<int> linesWithin(QList<int> lines, int count)
{
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    lines.removeIf([count](int line) { return line < 0 || line >= count; });
    return lines;
}

// Where `value` stands in the ascending `values`, or -1 when it is not there.
int indexIn(const QList<int> &values, int value)
{
    const auto found = std::lower_bound(values.cbegin(), values.cend(), value);
    return found != values.cend() && *found == value ? int(found - values.cbegin()) : -1;
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

} // namespace

SideListing::SideListing(Side side, PatchTable &table, SideView &view, SharedMarks &marks)
    : m_side(side), m_table(table), m_view(view), m_marks(marks)
{
    m_view.showListing(*this);
}

int SideListing::recordOfLine(int line) const
{
    if (line < 0 || line >= m_records.size()) {
        return -1;
    }
    const int record = m_records.at(line);
    // A table replaced since the last fill may be shorter than the map remembers.
    return record < m_table.size() ? record : -1;
}

int SideListing::lineOfRecord(int record) const
{
    // The map is ascending, since lines are filled in table order.
    return indexIn(m_records, record);
}

int SideListing::firstLineFrom(int record) const
{
    return int(std::lower_bound(m_records.cbegin(), m_records.cend(), record) - m_records.cbegin());
}

QString SideListing::lineText(int line) const
{
    const int record = recordOfLine(line);
    return record < 0 ? QString() : decodeAnsi(m_table.at(record).Name);
}

LineMark SideListing::markOfLine(int line) const
{
    return m_marked ? m_marks.markOf(m_side, recordOfLine(line)) : LineMark::None;
}

QString SideListing::differenceOfLine(int line) const
{
    const int record = recordOfLine(line);
    const PatchEntry *namesake = m_marks.namesakeOf(m_side, record);
    if (markOfLine(line) != LineMark::Differs || namesake == nullptr) {
        return QString();
    }
    const PatchEntry &own = m_table.at(record);
    const bool src = m_side == Side::Left;
    return lineMarkText(m_side, LineMark::Differs) + QStringLiteral(" in ")
        + differingRowsText(src ? own : *namesake, src ? *namesake : own);
}

QString SideListing::nearNameText(int line) const
{
    return m_marked ? m_marks.nearNameText(m_side, recordOfLine(line)) : QString();
}

int SideListing::currentLine() const
{
    return m_view.currentLine();
}

void SideListing::setCurrentLine(int line)
{
    m_view.setCurrentLine(line);
}

int SideListing::currentRecord() const
{
    return recordOfLine(m_view.currentLine());
}

void SideListing::setCurrentNear(int record)
{
    if (!m_records.isEmpty()) {
        m_view.setCurrentLine(std::min(firstLineFrom(record), lineCount() - 1));
    }
}

QList<int> SideListing::selectedLines() const
{
    return m_view.selectedLines();
}

QList<int> SideListing::selectedRecords() const
{
    return recordsOfLines(selectedLines());
}

QList<int> SideListing::recordsOfLines(const QList<int> &lines) const
{
    QList<int> records;
    for (const int line : linesWithin(lines, lineCount())) {
        const int record = recordOfLine(line);
        if (record >= 0) {
            records.append(record);
        }
    }
    return records;
}

QList<int> SideListing::blockLines() const
{
    QList<int> lines = selectedLines();
    const int current = m_view.currentLine();
    if (lines.isEmpty() && current >= 0 && current < lineCount()) {
        lines.append(current);
    }
    return lines;
}

void SideListing::selectAll()
{
    QList<int> lines(lineCount());
    std::iota(lines.begin(), lines.end(), 0);
    m_view.selectLines(lines);
}

void SideListing::deselectAll()
{
    if (!m_view.selectedLines().isEmpty()) {
        m_view.selectLines({});
    }
}

bool SideListing::shows(int record) const
{
    const PatchEntry &entry = m_table.at(record);
    if (!isListed(entry)) {
        return false;
    }
    if (m_filter.keepsAll()) {
        return true;
    }
    // Only what the filter looks at is worked out: a name is decoded for a text, a mark read
    // for a state.
    const bool byState = m_filter.state != MarkState::Any;
    return m_filter.keeps(m_filter.text.isEmpty() ? QString() : decodeAnsi(entry.Name),
                          byState ? m_marks.markOf(m_side, record) : LineMark::None);
}

void SideListing::collectLines()
{
    // A filter by state reads the marks of the table as it is now, which may have changed
    // since the marks last followed; following costs nothing when neither table did.
    if (m_filter.state != MarkState::Any) {
        m_marks.follow();
    }
    m_filledFrom = m_table;
    m_filledWith = m_filter;
    m_records.clear();
    m_listedCount = 0;
    for (int record = 0; record < m_table.size(); ++record) {
        m_listedCount += isListed(m_table.at(record));
        if (shows(record)) {
            m_records.append(record);
        }
    }
}

void SideListing::FillSideList()
{
    m_marked = false;
    // A table that still shares its storage with the one the lines were made from is
    // unchanged, and so are its lines: the view keeps them, and only the selection, the
    // current line and the marks go. An undo of a change to one side leaves the other's
    // largest list as it is laid out. A filter by state is the exception: the other side's
    // table, which its marks depend on, may have changed.
    if (m_table.isSharedWith(m_filledFrom) && m_filledWith == m_filter
        && m_filter.state == MarkState::Any) {
        deselectAll();
        m_view.setCurrentLine(-1);
        m_view.marksChanged();
        return;
    }
    collectLines();
    m_view.linesReset();
}

void SideListing::setFilter(const SideFilter &filter)
{
    m_filter = filter;
    applyFilter();
}

void SideListing::applyFilter()
{
    const int current = currentRecord();
    const std::vector<bool> selected = selectionByRecord();
    const QList<int> before = m_records;
    collectLines();
    if (m_records == before) {
        return;
    }
    m_view.linesReset();
    selectByRecord(selected);
    setCurrentNear(std::max(current, 0));
}

std::vector<bool> SideListing::selectionByRecord() const
{
    // Flags are kept per record, not per line, so they follow their records through the
    // removal of a refresh and land on whatever line each record gets. Records added since
    // the last fill have no line yet and start unselected.
    std::vector<bool> selected(size_t(m_table.size()), false);
    for (const int record : selectedRecords()) {
        selected[size_t(record)] = true;
    }
    return selected;
}

void SideListing::selectByRecord(const std::vector<bool> &selected)
{
    QList<int> lines;
    for (int line = 0; line < m_records.size(); ++line) {
        const size_t record = size_t(m_records.at(line));
        if (record < selected.size() && selected[record]) {
            lines.append(line);
        }
    }
    if (!lines.isEmpty()) {
        m_view.selectLines(lines);
    }
}

void SideListing::refresh(std::vector<bool> selected)
{
    selected.resize(size_t(m_table.size()), false);

    // One compacting pass: every kept record moves at most once, so deleting half of a
    // large table costs no more than walking it. The last position is no exception, so a
    // deleted entry is never left behind to be saved. The search only reads, so a table
    // that loses nothing stays shared with the undo history instead of being copied.
    const auto isDeleted = [](const PatchEntry &entry) { return entry.Omnipresence == 0; };
    const auto firstDeleted = std::find_if(m_table.cbegin(), m_table.cend(), isDeleted);
    if (firstDeleted != m_table.cend()) {
        qsizetype kept = firstDeleted - m_table.cbegin();
        for (qsizetype position = kept + 1; position < m_table.size(); ++position) {
            if (!isDeleted(m_table[position])) {
                m_table[kept] = std::move(m_table[position]);
                selected[size_t(kept)] = selected[size_t(position)];
                ++kept;
            }
        }
        m_table.resize(kept);
        selected.resize(size_t(kept));
    }

    FillSideList();
    selectByRecord(selected);
    m_view.setCurrentLine(-1);
    if (!m_records.isEmpty()) {
        m_view.setCurrentLine(0);
    }
}

bool SideListing::moveLines(const QList<int> &lines, int before)
{
    const int count = lineCount();
    // The map ascends, so its last record is its largest: a table replaced since the last
    // fill moves nothing. Nor does a list whose filter hides lines: they would move unseen.
    if (hidesLines() || before < 0 || before > count
        || (count > 0 && m_records.last() >= m_table.size())) {
        return false;
    }
    return moveRecords(recordsOfLines(lines), before < count ? m_records.at(before) : -1);
}

bool SideListing::moveRecords(const QList<int> &records, int beforeRecord)
{
    // The block is moved among all listed records, those the filter hides too, so the hidden
    // ones keep their order around it; without a filter these are the lines.
    QList<int> listedRecords;
    for (int record = 0; record < m_table.size(); ++record) {
        if (isListed(m_table.at(record))) {
            listedRecords.append(record);
        }
    }
    QList<int> block;
    for (const int record : records) {
        if (const int index = indexIn(listedRecords, record); index >= 0) {
            block.append(index);
        }
    }
    const int count = int(listedRecords.size());
    const int before = beforeRecord < 0 ? count : indexIn(listedRecords, beforeRecord);
    if (before < 0) {
        return false;
    }
    const BlockOrder order = blockOrder(count, linesWithin(block, count), before);
    if (!order.moves()) {
        return false;
    }

    // Only the positions of listed records that get another record are written, each with
    // the record that lands there; the selected state goes along, kept per position.
    const std::vector<bool> wasSelected = selectionByRecord();
    std::vector<bool> selected(size_t(m_table.size()), false);
    std::vector<std::pair<int, PatchEntry>> landing;
    for (int index = 0; index < count; ++index) {
        const int from = listedRecords.at(order.from[size_t(index)]);
        const int to = listedRecords.at(index);
        if (from != to) {
            landing.emplace_back(to, m_table.at(from));
        }
        selected[size_t(to)] = wasSelected[size_t(from)];
    }
    for (auto &[position, entry] : landing) {
        m_table[position] = std::move(entry);
    }
    refresh(std::move(selected));
    setCurrentNear(listedRecords.at(order.first));
    return true;
}

int SideListing::placeWithoutSelected() const
{
    // Only the selected lines go, so a kept current line moves up by the selected lines above
    // it; a current line that goes too leaves its place to the first deleted line's.
    const int current = m_view.currentLine();
    const QList<int> selected = selectedLines();
    const auto above = std::lower_bound(selected.cbegin(), selected.cend(), current);
    const bool currentGoes = above != selected.cend() && *above == current;
    int place = selected.isEmpty() ? -1 : selected.first();
    if (current >= 0 && current < lineCount() && !currentGoes) {
        place = current - int(above - selected.cbegin());
    }
    return place;
}

void SideListing::returnToPlace(int place)
{
    const int last = lineCount() - 1;
    if (place > 0 && last > 0) {
        m_view.setCurrentLine(std::min(place, last));
    }
}

void SideListing::showMarks()
{
    m_marked = true;
    if (m_filter.state != MarkState::Any) {
        applyFilter(); // a line whose mark changed may be shown or hidden now
    }
    m_view.marksChanged();
}
