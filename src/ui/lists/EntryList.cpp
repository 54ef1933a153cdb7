#include "EntryList.h"

#include "SideListModel.h"

#include <QAccessible>

#include <algorithm>

namespace {

// Runs of lines a selection change may hold before the list repaints all it shows instead of
// working out where each run is.
constexpr qsizetype MostRunsPlaced = 64;

} // namespace

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

void EntryList::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    // Qt works out the place of every run selected or unselected, as one region, to repaint
    // them: selecting the differing lines of the largest set, every second line, would take
    // it longer than the command. Past a few runs, repainting what shows costs less. Assistive
    // technology hears of the first line of each kind, as Qt tells it.
    if (selected.size() + deselected.size() <= MostRunsPlaced) {
        QListView::selectionChanged(selected, deselected);
        return;
    }
    viewport()->update();
    if (!QAccessible::isActive()) {
        return;
    }
    const std::pair<const QItemSelection *, QAccessible::Event> changes[] = {
        {&selected, QAccessible::SelectionAdd}, {&deselected, QAccessible::SelectionRemove}};
    for (const auto &[change, kind] : changes) {
        if (!change->isEmpty()) {
            QAccessibleEvent event(this, kind);
            event.setChild(change->first().top());
            QAccessible::updateAccessibility(&event);
        }
    }
}
