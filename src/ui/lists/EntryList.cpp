#include "EntryList.h"

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
