// The entry view: a window of its own that shows every field of the entry on the current
// line of one side, next to its namesake on the other side, and takes SRC rows into the
// DEST entry. EntryViewHost opens it and tells it which side to follow and when to look
// again; the rows come from the editor (PatchSetEditor::compareCurrent), and the view never
// reads the tables itself. Its keys are its own, since the main window's act only while
// that window is active; undo and redo reach the same editor, so either window takes back
// a take. Nothing of it is kept once it closes.
#pragma once

#include "PatchSets.h"

#include <QWidget>

class EntryRowsModel;
class KeyMap;
class PatchSetEditor;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

class EntryView : public QWidget
{
    Q_OBJECT

public:
    // A top-level window (a normal frame, resizable, not modal) over `parent`, deleted once
    // it is closed: by its frame, or by F3 or Escape. It opens centred over `parent`, wholly
    // within the work area of `parent`'s screen, shrunk to fit where that is too small.
    EntryView(PatchSetEditor &editor, QWidget *parent = nullptr);

    // Shows the current line of `side` from now on, and at once.
    void follow(Side side);
    Side side() const { return m_side; }
    // Asks the editor for the rows again: after every change of the sets, and every move of
    // the followed list's current line. The row that was current stays current while the
    // entry shown is the same one, so a take leaves the keyboard where it was.
    void refresh();

private:
    void buildControls();
    void placeOver(const QWidget *window);
    void bindKeys();
    void takeFromSrc();
    void copyRows();
    // The shown rows that are selected, in table order.
    QList<int> selectedRows() const;
    void updateTakeButton();

    PatchSetEditor &m_editor;
    Side m_side = Side::Left;
    Side m_shownSide = Side::Left; // the side of the rows the model holds
    QLabel *m_headline = nullptr;
    QCheckBox *m_onlyDifferences = nullptr;
    QPushButton *m_take = nullptr;
    QTableView *m_table = nullptr;
    EntryRowsModel *m_model = nullptr;
    KeyMap *m_keys = nullptr;
};
