// The program's one window: two patch set lists side by side (SRC left, DEST right), the
// command buttons, the status, count and detail labels, the marquee strip and the frame.
// It owns the two patch sets and the editor that changes them, and wires every control
// event to its command in connectControls(). Files and questions go through the dialog
// seam it is given, so tests drive the whole window with scripted dialogs.
#pragma once

#include "DetailPanel.h"
#include "DragForm.h"
#include "Marquee.h"
#include "PatchSets.h"
#include "SideView.h"

#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <memory>

class AnchoredLabel;
class Dialogs;
class ListSideView;
class PatchSetEditor;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

// Registers the Tahoma and Small Fonts faces the window is designed for (from the
// fonts-wine package). Call once after the application object exists; missing files are
// skipped and the window falls back to a similar sans font.
void registerApplicationFonts();

// Window positions are laid out in twips; 15 twips make one logical pixel.
QRect twipsToPixels(int left, int top, int width, int height);

class Form1 : public QWidget, private CommandSwitches
{
    Q_OBJECT

public:
    explicit Form1(Dialogs &dialogs, QWidget *parent = nullptr);
    ~Form1() override;

    // Test hooks: one tick of Timer1 (marquee) or Timer2 (detail fade), and the sets.
    void tickMarquee();
    void tickFade();
    const PatchSets &sets() const { return m_sets; }
    const MarqueeState &marqueeState() const { return m_marquee; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCopyEnabled(bool enabled) override;
    void setSaveEnabled(bool enabled) override;

    void createControls();
    void setAccessibleTexts();
    void chainTabOrder();
    void connectControls();

    void loadSide(Side side);
    void saveDest();
    void showDetail(Side side);

    Dialogs &m_dialogs;
    PatchSets m_sets;
    QPixmap m_backdrop;
    MarqueeState m_marquee;
    DetailFade m_fade;
    DragForm m_drag;

    QListWidget *List1 = nullptr;
    QListWidget *List2 = nullptr;
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
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    std::unique_ptr<ListSideView> m_leftView;
    std::unique_ptr<ListSideView> m_rightView;
    std::unique_ptr<PatchSetEditor> m_editor;
};
