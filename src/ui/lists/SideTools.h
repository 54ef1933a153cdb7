// What a side's list offers for working through the differences of two large sets, beyond its
// lines and gestures: its filter bar (FilterBar), its context menu (a right click, the Menu key,
// Shift+F10), the keys Ctrl+Shift+D (select the differing lines), F7 and Shift+F7 (the next and
// the previous difference, from the find box too) and Ctrl+F (find), the count label's
// breakdown of the side by marks, and the moves within the list switched off, saying why, while
// the filter hides lines. Form1 makes one per list, once the editor exists; every command is
// the editor's, and none of them is a step or changes a table, except what the menu's "Load
// notes…" opens.
#pragma once

#include "PatchSets.h"
#include "SideFilter.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class EntryList;
class FilterBar;
class KeyMap;
class PatchSetEditor;
class QAbstractButton;
class QLabel;
class QMenu;

class SideTools : public QObject
{
    Q_OBJECT

public:
    // The controls of one side that the tools work with, and the window's part in them.
    struct Parts
    {
        EntryList *list;
        QLabel *count;                   // the count label, which tells its breakdown
        QList<QAbstractButton *> moves;  // the side's chevrons
        std::function<bool()> hasNotes;  // whether the side's set has load notes
        std::function<void()> showNotes; // opens their window
    };

    // A child of the list; binds its keys in `keys`, the window's map. `editor` outlives it.
    SideTools(const Parts &parts, Side side, PatchSetEditor &editor, KeyMap &keys);

    FilterBar *filterBar() const { return m_bar; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindKeys(KeyMap &keys);
    // Opens the list's menu at `at`, global; it goes once closed.
    void openMenu(const QPoint &at);
    void buildMenu(QMenu *menu);
    // Where a menu opened from the keyboard stands: below the current line, or at the top.
    QPoint menuPlace() const;
    // The moves within the list are on exactly while no line is hidden.
    void followFilter();

    Parts m_parts;
    Side m_side;
    PatchSetEditor &m_editor;
    FilterBar *m_bar;
    QList<QString> m_moveToolTips; // the chevrons' own, without the filter's words
    QString m_listToolTip;
};
