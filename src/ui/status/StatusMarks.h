// The marks beside one side's status label: a dot while the side's set differs from its file
// (or is on none), and a small sign while the load that made the set left notes, whose click
// opens the NotesWindow. They stand in the free band of the middle column at the label's
// height, next to the label's fixed edge, so they never cover the status text as it grows:
// right of Label6, which is anchored at the SRC list's right edge, left of Label7, anchored at
// the DEST list's left edge. Form1 makes one per side; the editor tells it what to show
// through SideMarksView. Neither mark takes the keyboard focus: the window's tab order is
// fixed, and the notes open from the keyboard through Form1::showNotes() too.
#pragma once

#include "SetOrigin.h"

#include <QObject>
#include <QPointer>

class NotesWindow;
class QAbstractButton;
class QLabel;
class QWidget;

class StatusMarks : public QObject, public SideMarksView
{
    Q_OBJECT

public:
    // Marks of `side` beside `statusLabel`, children of `window` like the label; `statusLabel`
    // must stand at its empty place, which its anchored edge keeps.
    StatusMarks(Side side, const QWidget *statusLabel, QWidget *window);

    // A text sets the dot's tooltip and accessible name to it; empty hides the dot.
    void setChangedText(const QString &text) override;
    // Shows the notes sign while there are notes, with notesSummary() as its tooltip and
    // accessible description; an open notes window lists the new notes, or closes without.
    void setNotes(const SetNotes &notes) override;

    // Opens the notes window, or brings it to the front; nothing without notes.
    void openNotes();
    bool hasNotes() const { return !m_notes.isEmpty(); }

private:
    // Packs the shown marks against the label's edge, the dot first.
    void place();

    Side m_side;
    int m_edge; // the status label's fixed edge: the right one of SRC's, the left one of DEST's
    int m_top;
    int m_height;
    QWidget *m_window;
    QLabel *m_changed;
    QAbstractButton *m_notesMark;
    SetNotes m_notes;
    QPointer<NotesWindow> m_notesWindow;
};
