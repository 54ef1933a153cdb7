#include "Form1.h"

#include "AnchoredLabel.h"
#include "CommandTexts.h"
#include "Dialogs.h"
#include "EntryViewHost.h"
#include "FileDrop.h"
#include "KeyMap.h"
#include "ListGestures.h"
#include "ListSideView.h"
#include "PatchSetEditor.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"
#include "PictureBox.h"
#include "ToolTips.h"
#include "TypeAhead.h"
#include "WindowLook.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace {

using WindowLook::Look;
using Anchor = AnchoredLabel::Anchor;

const QString PatchSetFilter = QStringLiteral("TAVRO Patch Set (*.tvr)|*.tvr|All Files (*.*)|*.*");
const QString OpenError =
    QStringLiteral("Error opening file! Make sure that selected file isn't corrupted.");
constexpr int TickInterval = 10; // ms: one tick of the marquee and of the detail fade

// What a control does besides showing something; combined with |.
enum Trait : unsigned {
    NoTrait = 0,
    // Passes the mouse through to the window, which drags itself, and takes no focus.
    Passive = 1u << 0,
    // A release of any mouse button over it hands the focus to the focus rest (Command12).
    HandsOnFocus = 1u << 1,
    StartsDisabled = 1u << 2,
    Hidden = 1u << 3,
    // Its keys act only while the SRC list, or the DEST list, has the focus.
    KeysInSrcList = 1u << 4,
    KeysInDestList = 1u << 5,
    // Enter presses it too (see keyPressEvent), which its tooltip names with its keys.
    PressedByEnter = 1u << 6,
};
constexpr int NoTab = -1;

// The member that holds a control; its type says which kind of control it is.
template<typename Control>
using Slot = Control *Form1::*;
using ControlSlot = std::variant<Slot<QListWidget>, Slot<AnchoredLabel>, Slot<QLabel>,
                                 Slot<QPushButton>, Slot<PictureBox>>;

// One control of the window, everything about it but its command.
struct ControlRow
{
    ControlSlot slot;
    const char *name;           // the member's name, which is also the control's objectName
    QRect twips;                // left, top, width, height
    const char *caption;        // its text, or nullptr
    const char *picture;        // the name of its picture, or nullptr
    Look look;                  // font and colours
    Anchor anchor;              // the edge a label keeps as its text grows (labels only)
    int tab;                    // its place in the tab order, or NoTab
    unsigned traits;            // Trait values
    const char *accessibleName; // nullptr for a label showing data: its text is its name
    const char *description;    // what it is, for assistive technology
    const char *keys = nullptr; // a button's shortcuts, "; " between them; the first is its own
};

QString text(const char *value)
{
    return value != nullptr ? QString::fromUtf8(value) : QString();
}

QList<QKeySequence> keysOf(const ControlRow &row)
{
    return QKeySequence::listFromString(text(row.keys), QKeySequence::PortableText);
}

// A keyed button's tooltip: what it does, then its keys, e.g. "copy >> (Alt+Right, Ctrl+Right)".
QString toolTipOf(const ControlRow &row)
{
    QStringList names;
    for (const QKeySequence &key : keysOf(row)) {
        names.append(key.toString(QKeySequence::NativeText));
    }
    if (row.traits & PressedByEnter) {
        names.append(QKeySequence(Qt::Key_Enter).toString(QKeySequence::NativeText));
    }
    QString where;
    if (row.traits & KeysInSrcList) {
        where = QStringLiteral(" in the SRC list");
    } else if (row.traits & KeysInDestList) {
        where = QStringLiteral(" in the DEST list");
    }
    return text(row.accessibleName) + QStringLiteral(" (") + names.join(QStringLiteral(", "))
        + where + QLatin1Char(')');
}

QRect placeOf(const ControlRow &row)
{
    return WindowLook::twipsToPixels(row.twips.x(), row.twips.y(), row.twips.width(),
                                     row.twips.height());
}

// The kinds of control, each made from its row; the slot's type picks the kind.
QListWidget *makeControl(QListWidget *, const ControlRow &row, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setGeometry(placeOf(row));
    // Clicks toggle lines, and the selection stays apart from the current line.
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->setUniformItemSizes(true);
    return list;
}

AnchoredLabel *makeControl(AnchoredLabel *, const ControlRow &row, QWidget *parent)
{
    auto *label = new AnchoredLabel(placeOf(row), row.anchor, parent);
    WindowLook::dress(label, row.look); // before the caption, which the label is sized to
    label->setCaption(text(row.caption));
    return label;
}

QLabel *makeControl(QLabel *, const ControlRow &row, QWidget *parent)
{
    auto *label = new QLabel(text(row.caption), parent);
    label->setGeometry(placeOf(row));
    if (row.picture != nullptr) {
        label->setPixmap(WindowLook::picture(text(row.picture)));
    }
    return label;
}

QPushButton *makeControl(QPushButton *, const ControlRow &row, QWidget *parent)
{
    auto *button = new QPushButton(text(row.caption), parent);
    button->setGeometry(placeOf(row));
    if (row.picture != nullptr) {
        const QString picture = text(row.picture);
        button->setIcon(WindowLook::pictureIcon(picture));
        button->setIconSize(WindowLook::picture(picture).deviceIndependentSize().toSize());
    }
    // Buttons take the focus from a click too, which the hand-off then passes on.
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

PictureBox *makeControl(PictureBox *, const ControlRow &row, QWidget *parent)
{
    auto *box = new PictureBox(WindowLook::picture(text(row.picture)), parent);
    box->setGeometry(placeOf(row));
    return box;
}

// What every kind of control takes from its row alike.
void setUp(QWidget *control, const ControlRow &row)
{
    control->setObjectName(QLatin1String(row.name));
    WindowLook::dress(control, row.look);
    if (row.accessibleName != nullptr) {
        control->setAccessibleName(QString::fromUtf8(row.accessibleName));
    }
    control->setAccessibleDescription(QString::fromUtf8(row.description));
    if (row.traits & Passive) {
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
        control->setFocusPolicy(Qt::NoFocus);
    }
    if (row.traits & StartsDisabled) {
        control->setEnabled(false);
    }
    if (row.traits & Hidden) {
        control->setVisible(false);
    }
    if (row.keys != nullptr) {
        control->setToolTip(toolTipOf(row));
    }
}

QTimer *createTimer(const char *name, QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(TickInterval);
    return timer;
}

} // namespace

Form1::Form1(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    WindowLook::dressWindow(this);
    setFixedSize(WindowLook::twipsToPixels(0, 0, 8175, 5295).size());
    m_backdrop = WindowLook::picture(QStringLiteral("backdrop"));
    setAccessibleName(WindowLook::ProgramTitle);
    setAccessibleDescription(
        QStringLiteral("Merge patch sets: SRC on the left, DEST on the right"));

    m_keys = new KeyMap(this);
    buildControls();
    Timer1 = createTimer("Timer1", this);
    // Woken only when the strip is due to change, on the tick itself.
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer2 = createTimer("Timer2", this);

    m_leftView = std::make_unique<ListSideView>(List1, Label8, Label6, Side::Left);
    m_rightView = std::make_unique<ListSideView>(List2, Label9, Label7, Side::Right);
    CommandSwitches &switches = *this; // the base is private: only the editor switches them
    m_editor = std::make_unique<PatchSetEditor>(m_sets, *m_leftView, *m_rightView, switches);
    m_entryView = std::make_unique<EntryViewHost>(*m_editor, List1, List2, this);
    connectControls();
    acceptFileDrops();
    acceptLineDrags();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // Start-up: the marquee's first position; the strip runs once the window is shown.
    startMarquee(m_marquee);
    Label3->setText(m_marquee.text);
    Command12->setFocus();
}

Form1::~Form1()
{
    // The lists outlive the views while the window deletes its children, and clearing a
    // list's model on the way out must not reach describeCopy().
    for (const QListWidget *list : {List1, List2}) {
        disconnect(list->selectionModel(), nullptr, this, nullptr);
        disconnect(list->model(), nullptr, this, nullptr);
    }
}

void Form1::buildControls()
{
    // Rows are in stacking order: a later control lies above an earlier one.
#define CONTROL(member) &Form1::member, #member
    static const ControlRow controls[] = {
        // The focus rest lies above the window's top edge and is never seen.
        {CONTROL(Command12), QRect(6120, -920, 255, 255), "Command12", nullptr, Look::Plain,
         Anchor::Left, 0, NoTrait, "Focus rest", "Holds the keyboard focus; does nothing"},
        {CONTROL(List1), QRect(120, 360, 3255, 3855), nullptr, nullptr, Look::Entries, Anchor::Left,
         1, NoTrait, "SRC entries",
         "Entries of the SRC patch set; a click selects or unselects one"},
        {CONTROL(List2), QRect(4800, 360, 3255, 3855), nullptr, nullptr, Look::Entries,
         Anchor::Left, 6, NoTrait, "DEST entries",
         "Entries of the DEST patch set; a click selects or unselects one"},
        {CONTROL(Label1), QRect(120, 120, 300, 195), "SRC", nullptr, Look::Heading, Anchor::Left,
         NoTab, Passive, "SRC", "Heading of the SRC side"},
        {CONTROL(Label2), QRect(7680, 120, 375, 195), "DEST", nullptr, Look::Heading, Anchor::Right,
         NoTab, Passive, "DEST", "Heading of the DEST side"},
        {CONTROL(Label6), QRect(3330, 120, 45, 195), nullptr, nullptr, Look::Status, Anchor::Right,
         NoTab, NoTrait, nullptr, "SRC status: version and file date of the loaded SRC set"},
        {CONTROL(Label7), QRect(4800, 120, 45, 195), nullptr, nullptr, Look::Status, Anchor::Left,
         NoTab, NoTrait, nullptr, "DEST status: version and file date of the DEST set"},
        {CONTROL(Image1), QRect(3690, 360, 870, 990), nullptr, "logo", Look::Plain, Anchor::Left,
         NoTab, Passive, "Logo", "Tolvane logo"},
        // The buffer first, so the visible strip lies above it and hides it.
        {CONTROL(Picture2), QRect(3380, 1680, 1425, 375), nullptr, "strip", Look::Strip,
         Anchor::Left, NoTab, Passive, "Marquee buffer",
         "Off-screen drawing of the scrolling text"},
        {CONTROL(Picture1), QRect(3360, 1680, 1455, 375), nullptr, "strip", Look::Strip,
         Anchor::Left, NoTab, Passive, "Marquee", "Scrolling text about the program"},
        {CONTROL(Label5), QRect(4065, 2760, 45, 165), nullptr, nullptr, Look::Detail,
         Anchor::Centre, NoTab, NoTrait, nullptr,
         "Entry detail: side, offsets, parameters and size of the clicked entry"},
        {CONTROL(Command1), QRect(3600, 3840, 975, 375), "copy >>", nullptr, Look::Command,
         Anchor::Left, 12, StartsDisabled, "copy >>",
         "Remove the selected DEST entries, then copy the selected SRC entries into DEST",
         "Alt+Right; Ctrl+Right"},
        {CONTROL(Command7), QRect(120, 4240, 255, 255), nullptr, "chevron-up", Look::PictureCommand,
         Anchor::Left, 2, HandsOnFocus | KeysInSrcList, "Move SRC entry up",
         "Move the current SRC entry one place up", "Ctrl+Up; Alt+Up"},
        {CONTROL(Command6), QRect(370, 4240, 255, 255), nullptr, "chevron-down",
         Look::PictureCommand, Anchor::Left, 3, HandsOnFocus | KeysInSrcList, "Move SRC entry down",
         "Move the current SRC entry one place down", "Ctrl+Down; Alt+Down"},
        {CONTROL(Command10), QRect(650, 4240, 255, 255), nullptr, "empty-set", Look::PictureCommand,
         Anchor::Left, 4, HandsOnFocus | KeysInSrcList, "Clear SRC selection",
         "Unselect every SRC entry", "Ctrl+Shift+A"},
        {CONTROL(Command2), QRect(960, 4240, 855, 255), "LOAD SRC", nullptr, Look::SmallCommand,
         Anchor::Left, 5, HandsOnFocus, "LOAD SRC", "Load a patch set file into SRC", "Ctrl+O"},
        {CONTROL(Command13), QRect(5850, 4240, 495, 255), "NEW", nullptr, Look::SmallCommand,
         Anchor::Left, 7, HandsOnFocus, "NEW", "Start a new DEST set holding one empty entry",
         "Ctrl+N"},
        {CONTROL(Command3), QRect(6360, 4240, 855, 255), "LOAD DEST", nullptr, Look::SmallCommand,
         Anchor::Left, 8, HandsOnFocus, "LOAD DEST", "Load a patch set file into DEST",
         "Ctrl+Shift+O"},
        {CONTROL(Command11), QRect(7280, 4240, 255, 255), nullptr, "empty-set",
         Look::PictureCommand, Anchor::Left, 9, HandsOnFocus | KeysInDestList,
         "Clear DEST selection", "Unselect every DEST entry", "Ctrl+Shift+A"},
        {CONTROL(Command9), QRect(7550, 4240, 255, 255), nullptr, "chevron-down",
         Look::PictureCommand, Anchor::Left, 10, HandsOnFocus | KeysInDestList,
         "Move DEST entry down", "Move the current DEST entry one place down",
         "Ctrl+Down; Alt+Down"},
        {CONTROL(Command8), QRect(7800, 4240, 255, 255), nullptr, "chevron-up",
         Look::PictureCommand, Anchor::Left, 11, HandsOnFocus | KeysInDestList,
         "Move DEST entry up", "Move the current DEST entry one place up", "Ctrl+Up; Alt+Up"},
        // Never seen: its width is the width of the marquee text.
        {CONTROL(Label3), QRect(0, 4320, 21855, 165), nullptr, nullptr, Look::MarqueeText,
         Anchor::Left, NoTab, Hidden, "Marquee text", "The text scrolling through the strip"},
        {CONTROL(Label4), QRect(3045, 4440, 2085, 165), "[ Tolvane v. 1.3 / 25 Jan 2007 ]", nullptr,
         Look::Title, Anchor::Centre, NoTab, NoTrait, "Title", "Program name and version"},
        {CONTROL(Command4), QRect(3040, 4800, 975, 375), "save", nullptr, Look::Command,
         Anchor::Left, 13, StartsDisabled | PressedByEnter, "save",
         "Save the DEST patch set to a file", "Ctrl+S"},
        {CONTROL(Command5), QRect(4120, 4800, 975, 375), "quit", nullptr, Look::Command,
         Anchor::Left, 14, NoTrait, "quit", "Close Tolvane"},
        {CONTROL(Label8), QRect(0, 4560, 225, 870), nullptr, nullptr, Look::Count, Anchor::Left,
         NoTab, NoTrait, nullptr, "SRC count: the number of SRC entries"},
        {CONTROL(Label9), QRect(7965, 4560, 225, 870), nullptr, nullptr, Look::Count, Anchor::Right,
         NoTab, NoTrait, nullptr, "DEST count: the number of DEST entries"},
    };
#undef CONTROL

    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlRow &row : controls) {
        QWidget *control = std::visit(
            [this, &row](auto slot) -> QWidget * {
                using Kind = std::remove_reference_t<decltype(*(this->*slot))>;
                Kind *made = makeControl(static_cast<Kind *>(nullptr), row, this);
                this->*slot = made;
                return made;
            },
            row.slot);
        setUp(control, row);
        if (row.traits & HandsOnFocus) {
            control->installEventFilter(this); // see eventFilter()
        }
        if (row.tab != NoTab) {
            tabOrder.emplace_back(row.tab, control);
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    }

    // Once every control exists, since a button's keys may need a list to have the focus.
    for (const ControlRow &row : controls) {
        if (row.keys == nullptr) {
            continue;
        }
        const QWidget *focus = nullptr;
        if (row.traits & KeysInSrcList) {
            focus = List1;
        } else if (row.traits & KeysInDestList) {
            focus = List2;
        }
        m_keys->bindButton(this->*std::get<Slot<QPushButton>>(row.slot), keysOf(row), focus);
    }
}

void Form1::connectControls()
{
    PatchSetEditor *editor = m_editor.get();
    const auto onClick = [this](QPushButton *button, auto action) {
        connect(button, &QPushButton::clicked, this, action);
    };

    onClick(Command1, [editor] { editor->copyIntoDest(); });
    onClick(Command2, [this] { loadSide(Side::Left); });
    onClick(Command3, [this] { loadSide(Side::Right); });
    onClick(Command4, [this] { saveDest(); });
    onClick(Command5, [this] { close(); });
    onClick(Command7, [editor] { editor->moveUp(Side::Left); });
    onClick(Command6, [editor] { editor->moveDown(Side::Left); });
    onClick(Command8, [editor] { editor->moveUp(Side::Right); });
    onClick(Command9, [editor] { editor->moveDown(Side::Right); });
    onClick(Command10, [editor] { editor->clearSelection(Side::Left); });
    onClick(Command11, [editor] { editor->clearSelection(Side::Right); });
    onClick(Command13, [editor] { editor->newDestSet(); });

    // Keys of commands without a button; a button's keys are in its row of the control table.
    // Those for one list act only while that list has the focus, and nowhere else.
    m_keys->bind(QKeySequence(Qt::Key_Delete), [editor] { editor->deleteSelectedDest(); });
    m_keys->bind(QKeySequence(Qt::CTRL | Qt::Key_A), List1,
                 [editor] { editor->selectAll(Side::Left); });
    m_keys->bind(QKeySequence(Qt::CTRL | Qt::Key_A), List2,
                 [editor] { editor->selectAll(Side::Right); });
    for (const Side side : {Side::Left, Side::Right}) {
        const QWidget *list = side == Side::Left ? List1 : List2;
        const auto toTop = [editor, side] { editor->moveBlockToTop(side); };
        const auto toBottom = [editor, side] { editor->moveBlockToBottom(side); };
        m_keys->bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), list, toTop);
        m_keys->bind(QKeySequence(Qt::ALT | Qt::Key_Home), list, toTop);
        m_keys->bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), list, toBottom);
        m_keys->bind(QKeySequence(Qt::ALT | Qt::Key_End), list, toBottom);
    }
    const QList<QKeySequence> undoKeys = {QKeySequence(Qt::CTRL | Qt::Key_Z)};
    const QList<QKeySequence> redoKeys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                          QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence &key : undoKeys) {
        m_keys->bind(key, [editor] { editor->undo(); });
    }
    for (const QKeySequence &key : redoKeys) {
        m_keys->bind(key, [editor] { editor->redo(); });
    }
    // The buttons whose steps those keys take back name them too.
    const QString undoNote = ToolTips::undoNote(undoKeys, redoKeys);
    for (QPushButton *button :
         {Command1, Command2, Command3, Command6, Command7, Command8, Command9, Command13}) {
        button->setToolTip(button->toolTip() + undoNote);
    }
    // Typing on a list searches it and never selects (see TypeAhead).
    new TypeAhead(List1);
    new TypeAhead(List2);

    List1->setToolTip(ToolTips::listTip(Side::Left));
    List2->setToolTip(ToolTips::listTip(Side::Right));
    Command5->setToolTip(QStringLiteral("quit: closes Tolvane at once, without saving"));
    Image1->setToolTip(QStringLiteral("The Tolvane logo, for decoration only"));
    ToolTips::relayPassiveToolTips(this);
    // "copy >>" says what a press would do now: it follows both selections and its switch,
    // keeping the keys and the note that the control table and the lines above gave it.
    m_copyToolTipEnd = Command1->toolTip().mid(Command1->accessibleName().size());
    for (const QListWidget *list : {List1, List2}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &Form1::describeCopy);
        connect(list->model(), &QAbstractItemModel::modelReset, this, &Form1::describeCopy);
    }
    describeCopy();
    EntryViewHost *entryView = m_entryView.get();
    m_keys->bind(QKeySequence(Qt::Key_F3), List1, [entryView] { entryView->toggle(Side::Left); });
    m_keys->bind(QKeySequence(Qt::Key_F3), List2, [entryView] { entryView->toggle(Side::Right); });

    // A list's Click: the user's click on a line, or the user moving its current line
    // with the keys. The editor's own changes come with the list's signals blocked.
    connect(List1, &QListWidget::clicked, this, [this] { showDetail(Side::Left); });
    connect(List1, &QListWidget::currentRowChanged, this, [this] { showDetail(Side::Left); });
    connect(List2, &QListWidget::clicked, this, [this] { showDetail(Side::Right); });
    connect(List2, &QListWidget::currentRowChanged, this, [this] { showDetail(Side::Right); });
    editor->setDestDetailHandler([this] { showDetail(Side::Right); });
    // The entry view follows every change; it also opens on a double-click on a line.
    editor->setChangeHandler([entryView] { entryView->refresh(); });
    editor->setOverwriteQuestion([this](const QString &title, const QString &text) {
        return m_dialogs.askOverwrite(this, title, text);
    });

    connect(Timer1, &QTimer::timeout, this, &Form1::runDueMarqueeTicks);
    connect(Timer2, &QTimer::timeout, this, &Form1::tickFade);
}

void Form1::acceptFileDrops()
{
    // Each list's viewport takes the drops, so the lists' own item dragging stays off.
    new FileDrop(List1->viewport(), [this](const QString &path) { loadPath(Side::Left, path); });
    new FileDrop(List2->viewport(), [this](const QString &path) { loadPath(Side::Right, path); });
}

void Form1::acceptLineDrags()
{
    // After the file drops: the gestures see each event first and pass the files on.
    new ListGestures(List1, Side::Left, *m_editor);
    new ListGestures(List2, Side::Right, *m_editor);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease) {
        return QWidget::eventFilter(watched, event);
    }
    auto *button = qobject_cast<QPushButton *>(watched);
    const auto *release = static_cast<QMouseEvent *>(event);
    // Qt lets a pressed button that loses the focus go without its click, so a button that
    // had taken the focus on the press would never act. The hand-off comes first and the
    // click of a completed press follows it here; the release itself goes no further.
    const bool completesClick = button != nullptr && button->isDown()
        && release->button() == Qt::LeftButton
        && button->rect().contains(release->position().toPoint());
    Command12->setFocus(Qt::OtherFocusReason);
    if (!completesClick) {
        return QWidget::eventFilter(watched, event);
    }
    button->setDown(false);
    button->click();
    return true;
}

void Form1::setCopyEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
    describeCopy();
}

void Form1::describeCopy()
{
    const QString effect = copyCommandEffect(
        Command1->isEnabled(), m_rightView->selectedLineCount(), m_leftView->selectedLineCount());
    const QString text =
        Command1->accessibleName() + QStringLiteral(": ") + effect + m_copyToolTipEnd;
    if (Command1->toolTip() != text) {
        Command1->setToolTip(text);
        Command1->setAccessibleDescription(text);
    }
}

void Form1::setSaveEnabled(bool enabled)
{
    Command4->setEnabled(enabled);
}

void Form1::loadSide(Side side)
{
    const QString path =
        m_dialogs.openFileName(this,
                               side == Side::Left ? QStringLiteral("Load SRC Patch Set")
                                                  : QStringLiteral("Load DEST Patch Set"),
                               PatchSetFilter);
    if (path.isEmpty()) {
        return; // cancelled: nothing changes
    }
    loadFile(side, path);
}

void Form1::loadPath(Side side, const QString &path)
{
    m_dialogs.setFileName(path); // as the open dialog leaves it, so a failed name is offered
    loadFile(side, path);
}

void Form1::loadFile(Side side, const QString &path)
{
    AnchoredLabel *status = side == Side::Left ? Label6 : Label7;
    const QString before = status->caption();
    const QRect beforePlace = status->geometry();
    status->setCaption(QStringLiteral("LOADING"));
    // Painted now, without running other events: the read that follows blocks the window.
    repaint(beforePlace.united(status->geometry()));

    const ReadResult result = LoadPatchSet(path);
    if (!result.ok()) {
        // The side keeps what it had; the reader's one message says why.
        status->setCaption(before);
        m_dialogs.message(this, result.message, result.detail);
        return;
    }
    // The time comes from the same look at the file as the bytes, so the two always agree.
    if (!result.modified.isValid()) {
        status->setCaption(before);
        m_dialogs.message(this, OpenError);
        return;
    }
    m_editor->installLoadedSet(side, result.entries, result.version, path, result.modified);
    m_dialogs.setFileName(QString());
}

void Form1::saveDest()
{
    // A DEST read from or last saved to a file starts the dialog there, in its folder.
    if (!m_sets.DestPath.isEmpty()) {
        m_dialogs.setFileName(m_sets.DestPath);
    }
    const QString path = m_dialogs.saveFileName(this, QStringLiteral("Save DEST Patch Set"),
                                                PatchSetFilter, QStringLiteral("tvr"));
    if (path.isEmpty()) {
        return; // cancelled: no file is touched
    }
    const WriteResult result = SaveDestSet(m_sets.DestTable, path);
    if (!result.ok()) {
        m_dialogs.message(this, result.message);
        return;
    }
    m_editor->noteDestSaved(path);
}

void Form1::showDetail(Side side)
{
    const PatchEntry *entry = m_editor->currentEntry(side);
    if (entry == nullptr) {
        return; // no current line: the label keeps what it shows
    }
    m_fade.start(detailSummary(*entry, side));
    Timer2->start();
}

void Form1::tickFade()
{
    if (const std::optional<int> grey = m_fade.tick()) {
        WindowLook::setTextColour(Label5, QColor(*grey, *grey, *grey));
        if (Label5->caption() != m_fade.detailText()) {
            Label5->setCaption(m_fade.detailText());
        }
    } else {
        Timer2->stop();
    }
}

void Form1::tickMarquee()
{
    marqueeTick(m_marquee, Label3->font(), *Picture2, *Picture1);
    if (Label3->text() != m_marquee.text) {
        Label3->setText(m_marquee.text);
    }
}

void Form1::runDueMarqueeTicks()
{
    for (int tick = 0; tick < m_marqueeTicksDue; ++tick) {
        tickMarquee();
    }
    m_marqueeTicksRun += m_marqueeTicksDue;
    scheduleMarquee();
}

void Form1::scheduleMarquee()
{
    // A strip nobody can see costs nothing: it waits where it is until the window is back.
    if (!isVisible() || isMinimized()) {
        Timer1->stop();
        m_marqueeClock.invalidate();
        return;
    }
    m_marqueeTicksDue = ticksUntilNextFrame(m_marquee, *Picture2);
    // The wake is set on the clock of the ticks, not from now: waking a little late each
    // time would slow the strip down. A wake more than a tick late (a busy or suspended
    // machine) starts the clock afresh rather than rushing through the ticks it missed.
    const qint64 due = (m_marqueeTicksRun + m_marqueeTicksDue) * TickInterval;
    if (!m_marqueeClock.isValid() || m_marqueeClock.elapsed() > due + TickInterval) {
        m_marqueeClock.start();
        m_marqueeTicksRun = 0;
    }
    const qint64 wait =
        (m_marqueeTicksRun + m_marqueeTicksDue) * TickInterval - m_marqueeClock.elapsed();
    Timer1->start(int(std::max<qint64>(wait, 0)));
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    scheduleMarquee();
}

void Form1::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Minimising may hide the window while it still counts as visible, so stop outright.
    Timer1->stop();
    m_marqueeClock.invalidate();
}

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        scheduleMarquee();
    }
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    WindowLook::paintBackdrop(painter, m_backdrop, size());
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.mouseMove(this, event->position().toPoint(), event->buttons());
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    m_drag.mouseRelease();
    QWidget::mouseReleaseEvent(event);
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Command4->isEnabled()) {
            Command4->click();
        }
        return;
    case Qt::Key_Escape:
        Command12->setFocus(Qt::OtherFocusReason);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
