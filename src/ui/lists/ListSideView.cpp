#include "ListSideView.h"

#include "AnchoredLabel.h"
#include "WindowLook.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The mark a line shows, kept on its item; no value means LineMark::None.
constexpr int MarkRole = Qt::UserRole + 1;

LineMark markOf(const QListWidgetItem *item)
{
    const QVariant mark = item->data(MarkRole);
    return mark.isValid() ? LineMark(mark.toInt()) : LineMark::None;
}

// The style paints a selected line in the selection colour over its own background, which
// would hide the mark of exactly the lines a user is about to copy or delete.
class MarkedLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant mark = index.data(MarkRole);
        if (mark.isValid()) {
            const QColor shade = WindowLook::markColours(LineMark(mark.toInt())).selected;
            option->palette.setColor(QPalette::Highlight, shade);
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
        }
    }
};

} // namespace

ListSideView::ListSideView(QListWidget *list, AnchoredLabel *countLabel, AnchoredLabel *statusLabel,
                           Side side)
    : m_list(list), m_count(countLabel), m_status(statusLabel), m_side(side)
{
    m_list->setItemDelegate(new MarkedLineDelegate(m_list));
}

int ListSideView::lineCount() const
{
    return m_list->count();
}

bool ListSideView::isLineSelected(int line) const
{
    const QListWidgetItem *item = m_list->item(line);
    return item != nullptr && item->isSelected();
}

void ListSideView::setLineSelected(int line, bool selected)
{
    QListWidgetItem *item = m_list->item(line);
    if (item == nullptr || item->isSelected() == selected) {
        return;
    }
    // Qt keeps a range for every line selected on its own, and walks or copies all of them on
    // every query and change: the editor selecting a thousand lines one by one would take a
    // million steps. So the selection is put back as runs of adjacent lines, one range each.
    QItemSelectionModel *selection = m_list->selectionModel();
    std::vector<std::pair<int, int>> runs; // first and last line of each
    const auto addRun = [&runs](int first, int last) {
        if (first <= last) {
            runs.emplace_back(first, last);
        }
    };
    for (const QItemSelectionRange &range : selection->selection()) {
        if (!selected && range.top() <= line && line <= range.bottom()) {
            addRun(range.top(), line - 1);
            addRun(line + 1, range.bottom());
        } else {
            addRun(range.top(), range.bottom());
        }
    }
    if (selected) {
        addRun(line, line);
    }
    std::sort(runs.begin(), runs.end());
    QItemSelection merged;
    const QAbstractItemModel *model = m_list->model();
    for (std::size_t run = 0; run < runs.size();) {
        const int first = runs[run].first;
        int last = runs[run].second;
        for (++run; run < runs.size() && runs[run].first <= last + 1; ++run) {
            last = std::max(last, runs[run].second);
        }
        merged.append(QItemSelectionRange(model->index(first, 0), model->index(last, 0)));
    }
    const QSignalBlocker blocker(m_list);
    selection->select(merged, QItemSelectionModel::ClearAndSelect);
}

void ListSideView::setLines(const QStringList &texts)
{
    // One batch with the list's signals off: a thousand lines appear at once, and the
    // rebuild never looks like a click to the window.
    const QSignalBlocker blocker(m_list);
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    m_list->addItems(texts);
    m_list->clearSelection();
    m_list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    m_list->setUpdatesEnabled(true);
}

int ListSideView::currentLine() const
{
    return m_list->currentRow();
}

void ListSideView::setCurrentLine(int line)
{
    if (line < -1 || line >= m_list->count()) {
        return;
    }
    const QSignalBlocker blocker(m_list);
    QListWidgetItem *item = m_list->item(line);
    // The list is scrolled here, not by Qt, which does it only while the list is shown and
    // only just into view: a line brought from far away (a block moved, the place after a
    // delete) sits in the middle, with the lines around it. Sight is judged before the change.
    const bool inSight =
        item != nullptr && m_list->viewport()->rect().contains(m_list->visualItemRect(item));
    const bool autoScroll = m_list->hasAutoScroll();
    m_list->setAutoScroll(false);
    m_list->setCurrentRow(line, QItemSelectionModel::NoUpdate);
    m_list->setAutoScroll(autoScroll);
    if (item != nullptr && !inSight) {
        m_list->scrollToItem(item, QAbstractItemView::PositionAtCenter);
    }
}

void ListSideView::setCountText(const QString &text)
{
    m_count->setCaption(text);
}

void ListSideView::setLineMarks(const QList<LineMark> &marks)
{
    // Marks come after every change; only lines whose mark changed are touched, which after a
    // rebuild are the marked ones, so a thousand unmarked lines cost a comparison each.
    const int count = int(std::min<qsizetype>(m_list->count(), marks.size()));
    for (int line = 0; line < count; ++line) {
        QListWidgetItem *item = m_list->item(line);
        const LineMark mark = marks.at(line);
        if (markOf(item) == mark) {
            continue;
        }
        const QString text = lineMarkText(m_side, mark);
        item->setToolTip(text);
        item->setData(Qt::AccessibleDescriptionRole, text);
        if (mark == LineMark::None) {
            item->setData(MarkRole, QVariant());
            item->setBackground(QBrush());
        } else {
            item->setData(MarkRole, int(mark));
            item->setBackground(WindowLook::markColours(mark).line);
        }
    }
}

void ListSideView::setStatusText(const QString &text)
{
    m_status->setCaption(text);
}

void ListSideView::setFileText(const QString &text)
{
    // QToolTip reads a text whose first line holds a tag as rich text, and a file may be
    // named "<u>x.tvr" or "<img src=...>": the path goes escaped into a paragraph that keeps
    // its spaces and line ends, so it shows as written and nothing in it is ever loaded.
    if (text.isEmpty()) {
        m_status->setToolTip(QString()); // no set, no tooltip
        return;
    }
    m_status->setToolTip(QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped()
                         + QStringLiteral("</p>"));
}

int ListSideView::selectedLineCount() const
{
    // Qt keeps the runs apart: no line is in two of them.
    int count = 0;
    for (const QItemSelectionRange &range : m_list->selectionModel()->selection()) {
        count += range.height();
    }
    return count;
}

#include "ListSideView.moc"
