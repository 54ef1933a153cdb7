#include "EntryList.h"

#include "SideListModel.h"

#include <QAccessible>

#include <algorithm>

EntryList::EntryList(QWidget *parent) : QListView(parent)
{
    // Clicks toggle lines, and the selection stays apart from the current line.
    setSelectionMode(QAbstractItemView::MultiSelection);
    setUniformItemSizes(true);
}

void EntryList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    emit currentLineChanged(current.row());
}

void EntryList::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                            const QList<int> &roles)
{
    // Qt's list view lays out every line again on any change of data, and works out the place
    // of every changed line to repaint them: for the marks of the largest set, milliseconds
    // though a mark never changes the size of a line. So a change of the marks alone repaints
    // what shows and tells assistive technology, which is what the rest comes to here.
    const QList<int> &markRoles = SideListModel::markRoles();
    const bool marksOnly = !roles.isEmpty()
        && std::all_of(roles.cbegin(), roles.cend(),
                       [&markRoles](int role) { return markRoles.contains(role); });
    if (!marksOnly) {
        QListView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setLastRow(bottomRight.row());
        event.setFirstColumn(topLeft.column());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}
