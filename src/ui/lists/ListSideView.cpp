#include "ListSideView.h"

#include "AnchoredLabel.h"
#include "SideListModel.h"
#include "WindowLook.h"

#include <QApplication>
#include <QBrush>
#include <QItemSelectionModel>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// The lines' model with the mark's colour behind a marked line; the rest is the editing's.
class MarkedLinesModel : public SideListModel
{
    Q_OBJECT

public:
    using SideListModel::SideListModel;

    // False when the model showed `effect` already.
    bool previewCopy(ListSideView::CopyEffect effect, const QItemSelectionModel *selection)
    {
        const bool changed = effect != m_preview;
        m_preview = effect;
        m_selection = selection;
        return changed;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == ListSideView::CopyEffectRole) {
            // Asked only for the lines a view paints, so the largest selection costs nothing.
            const bool shows = m_preview != ListSideView::CopyEffect::None && m_selection
                && m_selection->isSelected(index);
            return shows ? QVariant(int(m_preview)) : QVariant();
        }
        if (role == Qt::ToolTipRole) {
            const QVariant text = SideListModel::data(index, role);
            return text.isValid() ? QVariant(WindowLook::toolTipAsWritten(text.toString())) : text;
        }
        if (role != Qt::BackgroundRole) {
            return SideListModel::data(index, role);
        }
        const LineMark mark = markOf(index);
        return mark == LineMark::None ? QVariant()
                                      : QVariant(QBrush(WindowLook::markColours(mark).line));
    }

private:
    ListSideView::CopyEffect m_preview = ListSideView::CopyEffect::None;
    QPointer<const QItemSelectionModel> m_selection;
};

// The style paints a selected line in the selection colour over its own background, which
// would hide the mark of exactly the lines a user is about to copy or delete. Over the line as
// it is, the delegate also shows what a press of "copy >>" would do to it.
class MarkedLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (effectOf(index) == ListSideView::CopyEffect::Copied) {
            // Dashed, as a copy is commonly shown, on the line's outermost pixels, which the
            // text leaves free.
            painter->save();
            painter->setPen(QPen(option.palette.color(QPalette::HighlightedText), 1, Qt::DashLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant mark = index.data(SideListModel::MarkRole);
        if (mark.isValid()) {
            const QColor shade = WindowLook::markColours(LineMark(mark.toInt())).selected;
            option->palette.setColor(QPalette::Highlight, shade);
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
        }
        if (effectOf(index) == ListSideView::CopyEffect::Deleted) {
            option->font.setStrikeOut(true);
        }
        // The list frames its current line only while it has the focus itself; F7 moves that
        // line from the list's find box as well, and it must show there too.
        const auto *view = qobject_cast<const QAbstractItemView *>(option->widget);
        const QWidget *focus = QApplication::focusWidget();
        if (view != nullptr && index == view->currentIndex() && focus != nullptr && focus != view
            && view->isAncestorOf(focus)) {
            option->state |= QStyle::State_HasFocus;
        }
    }

private:
    static ListSideView::CopyEffect effectOf(const QModelIndex &index)
    {
        return ListSideView::CopyEffect(index.data(ListSideView::CopyEffectRole).toInt());
    }
};

} // namespace

ListSideView::ListSideView(QListView *list, AnchoredLabel *countLabel, AnchoredLabel *statusLabel)
    : m_list(list), m_count(countLabel), m_status(statusLabel)
{
    m_list->setItemDelegate(new MarkedLineDelegate(m_list));
}

void ListSideView::showListing(const SideListing &listing)
{
    m_model = new MarkedLinesModel(listing, m_list);
    m_list->setModel(m_model);
}

void ListSideView::linesReset()
{
    // One reset with the list's signals off: the largest list changes at once, and the
    // rebuild never looks like a click to the window.
    const QSignalBlocker blocker(m_list);
    m_model->resetLines();
}

void ListSideView::marksChanged()
{
    m_model->marksChanged();
}

QList<int> ListSideView::selectedLines(const QAbstractItemView *list)
{
    QList<int> lines;
    for (const QItemSelectionRange &range : list->selectionModel()->selection()) {
        for (int line = range.top(); line <= range.bottom(); ++line) {
            lines.append(line);
        }
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

QList<int> ListSideView::selectedLines() const
{
    return selectedLines(m_list);
}

void ListSideView::selectLines(const QList<int> &lines)
{
    // Qt keeps a range for every line selected on its own, and walks or copies all of them on
    // every query and change: a thousand lines selected one by one would take a million steps.
    // So the lines go in as runs of adjacent lines, one range each, in one change.
    QItemSelection runs;
    for (qsizetype at = 0; at < lines.size();) {
        const int first = lines.at(at);
        int last = first;
        for (++at; at < lines.size() && lines.at(at) == last + 1; ++at) {
            ++last;
        }
        const int from = std::max(first, 0);
        const int to = std::min(last, m_model->rowCount() - 1);
        if (from <= to) {
            runs.append(QItemSelectionRange(m_model->index(from), m_model->index(to)));
        }
    }
    const QSignalBlocker blocker(m_list);
    m_list->selectionModel()->select(runs, QItemSelectionModel::ClearAndSelect);
}

int ListSideView::currentLine() const
{
    return m_list->currentIndex().row();
}

void ListSideView::setCurrentLine(int line)
{
    if (line < -1 || line >= m_model->rowCount()) {
        return;
    }
    const QSignalBlocker blocker(m_list);
    const QModelIndex index = m_model->index(line);
    // The list is scrolled here, not by Qt, which does it only while the list is shown and
    // only just into view: a line brought from far away (a block moved, the place after a
    // delete) sits in the middle, with the lines around it. Sight is judged before the change.
    const bool inSight =
        index.isValid() && m_list->viewport()->rect().contains(m_list->visualRect(index));
    const bool autoScroll = m_list->hasAutoScroll();
    m_list->setAutoScroll(false);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_list->setAutoScroll(autoScroll);
    if (index.isValid() && !inSight) {
        m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
}

void ListSideView::setCountText(const QString &text)
{
    m_count->setCaption(text);
}

void ListSideView::setStatusText(const QString &text)
{
    m_status->setCaption(text);
}

void ListSideView::setFileText(const QString &text)
{
    m_status->setToolTip(WindowLook::toolTipAsWritten(text)); // no set, no tooltip
}

void ListSideView::previewCopy(CopyEffect effect)
{
    auto *model = static_cast<MarkedLinesModel *>(m_model); // as showListing() made it
    if (model != nullptr && model->previewCopy(effect, m_list->selectionModel())) {
        m_list->viewport()->update();
    }
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
