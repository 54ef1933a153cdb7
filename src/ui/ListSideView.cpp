#include "ListSideView.h"

#include "AnchoredLabel.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <QSignalBlocker>

ListSideView::ListSideView(QListWidget *list, AnchoredLabel *countLabel, AnchoredLabel *statusLabel)
    : m_list(list), m_count(countLabel), m_status(statusLabel)
{
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
    if (item == nullptr) {
        return;
    }
    const QSignalBlocker blocker(m_list);
    item->setSelected(selected);
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
    m_list->setCurrentRow(line, QItemSelectionModel::NoUpdate);
}

void ListSideView::setCountText(const QString &text)
{
    m_count->setCaption(text);
}

QString ListSideView::statusText() const
{
    return m_status->caption();
}

void ListSideView::setStatusText(const QString &text)
{
    m_status->setCaption(text);
}
