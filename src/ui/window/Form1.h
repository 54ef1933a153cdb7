// The program's one window: the SRC list on the left, the DEST list on the right, the command
// buttons, the status, count and detail labels, the marquee strip and the frame. It owns the
// two patch sets and the editor that changes them. Every control is described once, in the
// control table (ControlTable.cpp), a button's keys included, and every control event and
// every key of a command without a button is wired in connectControls(), through a KeyMap.
// Files and questions go through the dialog seam it is given, so tests drive it scripted.
//
// The road of a click, for example on the DEST down chevron (Command9):
//  1. control: the button's clicked signal, wired to its command in connectControls(); its
//     key, Ctrl+Down while List2 has the focus, clicks the button through the KeyMap;
//  2. command: a one-line lambda there calls the editor, PatchSetEditor::moveDown(Side::Right);
//     a command that needs a file or the user first runs here (loadSide(), saveDest()) and
//     hands the editor the result;
//  3. editor: PatchSetEditor changes the table in PatchSets and reaches the side through its
//     SideView, which knows lines, selection and labels but no widgets;
//  4. SideView: ListSideView, the side's list, count label and status label;
//  5. refresh: the editor ends with RefreshSide(), which rebuilds the list from the table,
//     keeps each selection with its record, makes a line current and writes the count.
// The editor switches "copy >>" and "save" through CommandSwitches, which the window implements.
#pragma once

#include "DetailPanel.h"
#include "DragForm.h"
#include "PatchSets.h"
#include "SideView.h"

#include <QPixmap>
#include <QWidget>

#include <memory>
#include <optional>

class AnchoredLabel;
class CopyPreview;
class Dialogs;
class EntryList;
class EntryViewHost;
class KeyMap;
class ListSideView;
class Marquee;
class PatchSetEditor;
class PictureBox;
class QLabel;
class QPushButton;
class QTimer;
class StatusMarks;

class Form1 : public QWidget, private CommandSwitches
{
    Q_OBJECT

public:
    explicit Form1(Dialogs &dialogs, QWidget *parent = nullptr);
    ~Form1() override;

    // One tick of Timer2, the detail fade; tests drive the fade with it.
    void tickFade();
    const PatchSets &sets() const { return m_sets; }
    // Loads `path` into the side exactly as the side's LOAD button does once its dialog has
    // returned that path: the same messages, status label and undo step, and the shared file
    // name of the dialogs set to it. The command line and a file dropped on a list come here.
    void loadPath(Side side, const QString &path);
    // Opens the window that lists the load notes of the side's set, or brings it to the front;
    // nothing when the set has none. A click on the side's notes mark does the same.
    void showNotes(Side side);
    // Whether the desktop lets programs animate; main() follows the desktop's setting here.
    // The marquee strip stands still while it does not.
    void setDesktopAnimations(bool enabled);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setCopyEnabled(bool enabled) override;
    void setSaveEnabled(bool enabled) override;
    // Gives "copy >>" the tooltip and accessible description of what a press would do now,
    // once the change under way is over: as soon as control returns to the event loop.
    void describeCopy();
    void writeCopyDescription();

    // Makes every control from the control table (ControlTable.cpp).
    void buildControls();
    void connectControls();
    // Gives each list what it does beyond a plain multi-select list: type-ahead, file drops,
    // and clicks, selecting keys, double-clicks and line drags (ListGestures). The window
    // itself takes no drops.
    void equipLists();

    // LOAD SRC and LOAD DEST: the open dialog, then loadFile() with the chosen path.
    void loadSide(Side side);
    // Reads `path` into the side. On success the side, its path, version and status label
    // take the file's; on failure one message says why and the window stays as it was.
    void loadFile(Side side, const QString &path);
    // "save": the save dialog, opened on DEST's file, or for a new set on a name no file
    // has in the last folder, then the writer.
    void saveDest();
    void showDetail(Side side);
    // After every change of the sets: the summary describes its side's current entry again,
    // fading in when that reads differently, or shows nothing once the side has no current
    // line, so it never describes an entry that is gone or changed.
    void followDetail();
    // The strip is unseen while the window is hidden or minimised.
    void followVisibility();
    BySide<EntryList *> lists() const { return {List1, List2}; }

    Dialogs &m_dialogs;
    PatchSets m_sets;
    QPixmap m_backdrop;
    DetailFade m_fade;
    std::optional<Side> m_detailSide; // the side whose entry the summary describes, if any
    QString m_lastFolder; // of the last file loaded or saved; a new set's save dialog opens there
    DragForm m_drag;
    bool m_stripPressed = false;  // the left button went down on the strip and is still down
    KeyMap *m_keys = nullptr;     // a child of the window
    Marquee *m_marquee = nullptr; // a child of the window, with Timer1
    QString m_copyToolTipEnd;     // the keys and the undo note of the "copy >>" tooltip

    // describeCopy() has asked for writeCopyDescription(), which has not run yet.
    bool m_copyDescriptionDue = false;

    EntryList *List1 = nullptr;
    EntryList *List2 = nullptr;
    AnchoredLabel *Label1 = nullptr;
    AnchoredLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    AnchoredLabel *Label4 = nullptr;
    AnchoredLabel *Label5 = nullptr;
    AnchoredLabel *Label6 = nullptr;
    AnchoredLabel *Label7 = nullptr;
    AnchoredLabel *Label8 = nullptr;
    AnchoredLabel *Label9 = nullptr;
    QLabel *Image1 = nullptr;
    PictureBox *Picture1 = nullptr;
    PictureBox *Picture2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command12 = nullptr;
    QPushButton *Command13 = nullptr;
    QTimer *Timer2 = nullptr;

    // Beside Label6 and Label7: whether a side's set differs from its file, and its notes.
    BySide<StatusMarks *> m_statusMarks{nullptr, nullptr}; // children of the window
    BySide<std::unique_ptr<ListSideView>> m_views;
    std::unique_ptr<CopyPreview> m_copyPreview; // after the views, so it goes first
    std::unique_ptr<PatchSetEditor> m_editor;
    std::unique_ptr<EntryViewHost> m_entryView; // after the editor, so it goes first
};
