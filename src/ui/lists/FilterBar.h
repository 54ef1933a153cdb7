// The bar laid over the bottom of a side's list while its filter is on: a find box, whose text
// keeps the lines whose name contains it, the sign of what the list shows ("30 of 301", with the
// state a filter by marks keeps), and a button that ends the filter. It lies within the list's
// own place, which keeps its lines clear of it, so the window's fixed layout never grows. Form1's
// SideTools makes one per list and opens it (Ctrl+F), or has it show one state (the list's menu);
// the filter itself is the editor's (PatchSetEditor::setFilter()), and changes no table.
// In the box Enter and Down hand the focus to the list and keep the filter, Escape ends it:
// the box keeps those keys from the window's own, so Enter never saves there, and no key typed
// in it reaches the list.
#pragma once

#include "PatchSets.h"
#include "SideFilter.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class EntryList;
class PatchSetEditor;
class QLabel;
class QLineEdit;
class QToolButton;

class FilterBar : public QWidget
{
    Q_OBJECT

public:
    // A hidden bar over `list`, the list of `side`, a child of it; `editor` outlives it.
    FilterBar(EntryList *list, Side side, PatchSetEditor &editor);

    // Shows the bar and gives its find box the focus, its text selected.
    void openFind();
    // Keeps only the lines of `state` (MarkState::Any: every state) together with the text
    // that is in the box; shows the bar while anything is filtered.
    void showOnly(MarkState state);
    // Ends the filter: every line shows again and the bar goes; the list has the focus when
    // the bar had it.
    void end();
    // Whether the filter hides lines now (see SideListing::hidesLines()).
    bool hidesLines() const;
    MarkState state() const { return m_state; }
    const QWidget *findBox() const;

signals:
    // The lines the list shows may have changed: after a filter, or after a command.
    void shownChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Keys the box leaves would go on to the list, its parent, and move or select its lines
    // unseen while the focus stays in the box: they end here.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyText();
    void place();
    // The sign, the list's accessible description and the bar's reserved room, as they are.
    void follow();
    void focusList();

    EntryList *m_list;
    Side m_side;
    PatchSetEditor &m_editor;
    QLineEdit *m_box;
    QLabel *m_sign;
    QToolButton *m_end;
    QPointer<QWidget> m_lines; // the list's viewport, which goes before the bar does
    QString m_listDescription; // the list's own, without the filter's words
    MarkState m_state = MarkState::Any;
};
