// A side's list of entries as the window shows it: a list view over the side's SideListModel,
// where several lines may be selected at once, kept apart from the one current line, and every
// line has one height, so a list of the largest set lays out at once. It says when the user
// moves its current line, by a click or a key; the program's own moves come with its signals
// blocked (see ListSideView), so they never look like a click. The control table makes List1
// and List2 of it; ListGestures, TypeAhead and FileDrop give it the rest of its behaviour.
#pragma once

#include <QListView>

class EntryList : public QListView
{
    Q_OBJECT

public:
    explicit EntryList(QWidget *parent = nullptr);

    // Keeps `height` pixels at the bottom, inside the frame, free of lines for a bar laid over
    // the list (its FilterBar), so the list keeps its place in the window and no line hides
    // under the bar. 0 gives the lines the whole list again.
    void reserveBottom(int height) { setViewportMargins(0, 0, 0, height); }

signals:
    // The user made `line` current (-1: no line is).
    void currentLineChanged(int line);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    // A change of the marks alone repaints the lines; any other change lays them out again.
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles) override;
    // A change of many runs of lines at once repaints the lines in sight.
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
};
