// What a side's list does with the mouse and the keys beyond a plain multi-select list: a click
// still toggles its line, but only at the release, because a press that moves on drags instead,
// and a drag changes no selection; Shift+click and Shift+Up/Down select; a drag carries the
// pressed line's block, which a list takes from itself (a move) or DEST takes from SRC (a copy)
// through the editor, the place shown by an insertion line. A double-click on a line leaves its
// selection as it was before the first click toggled it, and at its release is the list's
// doubleClicked(). The list never sees a left press on a line: the click's work is done here.
// Typing is left to TypeAhead; a drop that carries no dragged lines (a file) goes on to the
// list's other event filters. Form1 puts one on each list.
#pragma once

#include "PatchSets.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <optional>

class KeyMap;
class PatchSetEditor;
class QDropEvent;
class QListView;
class QMimeData;
class QMouseEvent;

class ListGestures : public QObject
{
    Q_OBJECT

public:
    // Lines of a list on their way to a drop.
    struct DraggedLines
    {
        Side side;
        QList<int> lines;
    };

    // The type dragged lines carry; nothing else offers it.
    static const QString MimeType;
    // What a drag of `lines` of the list of `side` carries.
    static QMimeData *dragData(Side side, const QList<int> &lines);
    // The lines `data` carries, or nothing for any other data. Only this run's own drags
    // count: lines dragged from another program, or made up by one, are not taken.
    static std::optional<DraggedLines> draggedLines(const QMimeData *data);

    // Installs itself on `list`'s viewport, binds the list's selecting keys in `keys`, the
    // window's map, and owns itself through the list. `side` is the list's side; drops go to
    // `editor`, which must outlive the list's events.
    ListGestures(QListView *list, Side side, PatchSetEditor &editor, KeyMap &keys);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the left button started, until its release.
    enum class Press {
        None,
        Click,       // on a line, held back: a click at the release, or a drag once it moves
        DoubleClick, // on a line: the release reports it
        Done         // a drag ran, or a Shift+click selected: the release does nothing more
    };
    // A line a click toggled, and whether it was selected before.
    struct Toggle
    {
        int line = -1;
        bool wasSelected = false;
    };

    bool mouseEvent(QMouseEvent *event);
    // True when the event was dragged lines, taken or refused here.
    bool dropEvent(QDropEvent *event);
    void endDropShow();

    // A click on `line`: toggles it and makes it current, as the list's own press would.
    void toggle(int line);
    // Selects the lines from the current line to `line` and makes `line` current.
    void selectRange(int line);
    // Moves the current line `step` lines and selects the line it lands on.
    void selectStep(int step);
    void startDrag();
    // The line a drop at `position` of the viewport goes before; the line count after the last.
    int dropPlace(const QPoint &position) const;
    void showDropLine(int place);
    // -1 or +1 while a drag waits at the top or the bottom edge, else 0.
    int dragScrollStep() const;
    // One line of scrolling towards that edge.
    void scrollWhileDragging();

    QListView *m_list;
    Side m_side;
    PatchSetEditor &m_editor;
    QWidget *m_dropLine;
    QTimer m_dragScroll; // scrolls while a drag waits at the top or bottom edge
    QPoint m_dragPosition;
    Press m_press = Press::None;
    int m_pressedLine = -1;
    QPoint m_pressedAt;
    Toggle m_lastToggle; // by the last click, while a double-click may yet take it back
};
