// What ties the entry view to the window: it opens the view (F3 on a list, a double-click on
// a line, which ListGestures reports without changing the line's selection), keeps at most
// one, and points it at the list that last had the focus, following that list's current line
// and every change the editor reports. Form1 makes one, binds F3 to toggle(), hands refresh()
// to the editor as its change handler and the user's moves of a current line to
// followCurrentLine().
#pragma once

#include "PatchSets.h"

#include <QObject>
#include <QPointer>

class EntryView;
class PatchSetEditor;
class QAbstractItemView;
class QWidget;

class EntryViewHost : public QObject
{
    Q_OBJECT

public:
    // `srcList` and `destList` show the sides; the view opens over `window`. The host must
    // go before the editor does, and takes the view with it.
    EntryViewHost(PatchSetEditor &editor, QAbstractItemView *srcList, QAbstractItemView *destList,
                  QWidget *window);
    ~EntryViewHost() override;

    // F3 on a list: opens the view on that list's current line, or closes the open view.
    void toggle(Side side);
    // Opens the view, or brings it to the front, following `side`.
    void open(Side side);
    // After every change of the sets: the open view looks again.
    void refresh();
    // The user moved the current line of `side`'s list: a view following that side looks
    // again. The editor's own moves are reported as changes.
    void followCurrentLine(Side side);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A list took the focus, or the view opens on it.
    void follow(Side side);

    PatchSetEditor &m_editor;
    BySide<QAbstractItemView *> m_lists;
    QWidget *m_window;
    QPointer<EntryView> m_view;
};
