// The window that lists every note the reader made about the file a side's set was read from,
// so a user can read why an entry is missing, hidden or read otherwise than its lines say, and
// copy the list into a report. StatusMarks opens it on a click on a side's notes mark (Form1's
// showNotes() does the same) and keeps it in step with the side's set while it is open.
// Not modal: the user may go on working, and the list changes with the set.
#pragma once

#include "SetOrigin.h"

#include <QDialog>

class QLabel;
class QTextEdit;

class NotesWindow : public QDialog
{
    Q_OBJECT

public:
    // A window of its own over `parent`, deleted once it is closed (Escape, Close, its frame).
    NotesWindow(Side side, QWidget *parent);

    // Lists `notes`, every one of them, and what the reader only counted.
    void list(const SetNotes &notes);
    // The whole list onto the clipboard, as the window shows it.
    void copyAll() const;

private:
    Side m_side;
    QLabel *m_headline = nullptr;
    QTextEdit *m_list = nullptr;
};
