#include "Form1.h"

#include "AnchoredLabel.h"
#include "CommandTexts.h"
#include "CopyPreview.h"
#include "Dialogs.h"
#include "EntryList.h"
#include "EntryViewHost.h"
#include "FileDrop.h"
#include "FilterBar.h"
#include "KeyMap.h"
#include "ListGestures.h"
#include "ListSideView.h"
#include "Marquee.h"
#include "PatchSetEditor.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"
#include "PictureBox.h"
#include "SideTools.h"
#include "StatusMarks.h"
#include "TypeAhead.h"
#include "WindowLook.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

const QString PatchSetFilter = QStringLiteral("TAVRO Patch Set (*.tvr)|*.tvr|All Files (*.*)|*.*");
constexpr int FadeTickInterval = 10; // ms: one step of the detail fade
// A folder that holds all of these names gets no name offered.
constexpr int NewSetNamesTried = 10000;

// "new set.tvr" in `folder`, or "new set 2.tvr", "new set 3.tvr" ... when that is taken; empty
// when all are. A dangling link counts as taken: a save would write where it points.
QString unusedNewSetPath(const QString &folder)
{
    const QDir directory(folder);
    for (int number = 1; number <= NewSetNamesTried; ++number) {
        const QString name = number == 1 ? QStringLiteral("new set.tvr")
                                         : QStringLiteral("new set %1.tvr").arg(number);
        const QFileInfo file(directory, name);
        if (!file.exists() && !file.isSymLink()) {
            return file.filePath();
        }
    }
    return {};
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
    m_marquee = new Marquee(Label3, Picture2, Picture1, this);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(FadeTickInterval);

    m_views = {std::make_unique<ListSideView>(List1, Label8, Label6),
               std::make_unique<ListSideView>(List2, Label9, Label7)};
    m_copyPreview = std::make_unique<CopyPreview>(Command1, *m_views.left, *m_views.right);
    CommandSwitches &switches = *this; // the base is private: only the editor switches them
    m_editor = std::make_unique<PatchSetEditor>(m_sets, *m_views.left, *m_views.right, switches);
    m_entryView = std::make_unique<EntryViewHost>(*m_editor, List1, List2, this);
    m_statusMarks = {new StatusMarks(Side::Left, Label6, this),
                     new StatusMarks(Side::Right, Label7, this)};
    m_editor->setMarksViews(*m_statusMarks.left, *m_statusMarks.right);
    connectControls();
    equipLists();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    Command12->setFocus();
}

Form1::~Form1()
{
    // The lists outlive the views while the window deletes its children, and clearing a
    // list's model on the way out must not reach describeCopy().
    for (const EntryList *list : {List1, List2}) {
        disconnect(list->selectionModel(), nullptr, this, nullptr);
        disconnect(list->model(), nullptr, this, nullptr);
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
    // Those for one list act only while that list has the focus, and nowhere else. Escape
    // takes the focus from every list and button: the focus rest holds it.
    m_keys->bind(QKeySequence(Qt::Key_Escape),
                 [this] { Command12->setFocus(Qt::OtherFocusReason); });
    m_keys->bind(QKeySequence(Qt::Key_Delete), [editor] { editor->deleteSelectedDest(); });
    EntryViewHost *entryView = m_entryView.get();
    for (const Side side : {Side::Left, Side::Right}) {
        const QWidget *list = lists()[side];
        const auto toTop = [editor, side] { editor->moveBlockToTop(side); };
        const auto toBottom = [editor, side] { editor->moveBlockToBottom(side); };
        m_keys->bind(QKeySequence(Qt::CTRL | Qt::Key_A), list,
                     [editor, side] { editor->selectAll(side); });
        m_keys->bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), list, toTop);
        m_keys->bind(QKeySequence(Qt::ALT | Qt::Key_Home), list, toTop);
        m_keys->bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), list, toBottom);
        m_keys->bind(QKeySequence(Qt::ALT | Qt::Key_End), list, toBottom);
        m_keys->bind(QKeySequence(Qt::Key_F3), list,
                     [entryView, side] { entryView->toggle(side); });
    }
    m_keys->bindUndoAndRedo([editor] { editor->undo(); }, [editor] { editor->redo(); });
    // "copy >>" says what a press would do now: it follows both selections and its switch,
    // keeping the keys and the undo note the control table gave its tooltip.
    m_copyToolTipEnd = Command1->toolTip().mid(Command1->accessibleName().size());
    for (const EntryList *list : {List1, List2}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &Form1::describeCopy);
        connect(list->model(), &QAbstractItemModel::modelReset, this, &Form1::describeCopy);
    }
    writeCopyDescription();

    // A list's Click: the user's click on a line, or the user moving its current line
    // with the keys, which the open entry view follows too. The editor's own changes come
    // with the list's signals blocked.
    for (const Side side : {Side::Left, Side::Right}) {
        EntryList *list = lists()[side];
        connect(list, &EntryList::clicked, this, [this, side] { showDetail(side); });
        connect(list, &EntryList::currentLineChanged, this, [this, entryView, side] {
            entryView->followCurrentLine(side);
            showDetail(side);
        });
    }
    editor->setDestDetailHandler([this] { showDetail(Side::Right); });
    // The entry view and the summary follow every change; the view also opens on a
    // double-click on a line.
    editor->setChangeHandler([this, entryView] {
        entryView->refresh();
        followDetail();
        describeCopy(); // the marks it counts may change without a list's signal (a take)
    });
    editor->setOverwriteQuestion(
        [this](const QString &title, const QString &text, const QString &detail) {
            return m_dialogs.askOverwrite(this, title, text, detail);
        });
    editor->setMessage([this](const QString &text) { m_dialogs.message(this, text); });

    connect(Timer2, &QTimer::timeout, this, &Form1::tickFade);
}

void Form1::equipLists()
{
    // Each is an event filter on the list or its viewport, and the last one installed sees an
    // event first: the gestures come after the file drops, take the drops of dragged lines and
    // pass files on. The viewport takes the drops, so the list's own item dragging stays off.
    // Typing never selects (see TypeAhead). The tools for the differences come last: a right
    // press is theirs, for the menu.
    const BySide<QLabel *> counts{Label8, Label9};
    const BySide<QList<QAbstractButton *>> moves{{Command7, Command6}, {Command8, Command9}};
    for (const Side side : {Side::Left, Side::Right}) {
        EntryList *list = lists()[side];
        new TypeAhead(list);
        const auto load = [this, side](const QString &path) { loadPath(side, path); };
        new FileDrop(list->viewport(), load);
        new ListGestures(list, side, *m_editor, *m_keys);
        const SideTools::Parts parts{list, counts[side], moves[side],
                                     [this, side] { return m_statusMarks[side]->hasNotes(); },
                                     [this, side] { showNotes(side); }};
        const auto *tools = new SideTools(parts, side, *m_editor, *m_keys);
        // The filter bar lies over the list's lines: a file dropped there is for the list too.
        new FileDrop(tools->filterBar(), load);
    }
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QPushButton *>(watched);
    // A disabled button (a chevron while its list hides lines) leaves the focus where it is.
    if (event->type() != QEvent::MouseButtonRelease
        || (button != nullptr && !button->isEnabled())) {
        return QWidget::eventFilter(watched, event);
    }
    const auto *release = static_cast<QMouseEvent *>(event);
    // Qt lets a pressed button that loses the focus go without its click, so a button that
    // had taken the focus on the press would never act. The focus goes back to the focus rest
    // first and the click of a completed press follows it here; the release goes no further.
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
    // Selecting every line, or the unselecting that ends a copy, signals once per line, and
    // counting the identical namesakes costs a look at each selected line: worked out on every
    // signal, a select-all of a large set would take a look per line per line. So the text is
    // written once the change is over, before the user can see it.
    if (m_copyDescriptionDue) {
        return;
    }
    m_copyDescriptionDue = true;
    QMetaObject::invokeMethod(this, &Form1::writeCopyDescription, Qt::QueuedConnection);
}

void Form1::writeCopyDescription()
{
    m_copyDescriptionDue = false;
    const int srcSelected = m_views.left->selectedLineCount();
    const int destSelected = m_views.right->selectedLineCount();
    int identical = 0;
    if (Command1->isEnabled() && srcSelected > 0) {
        identical = m_editor->identicalNamesakes(m_views.left->selectedLines(),
                                                 destSelected > 0 ? m_views.right->selectedLines()
                                                                  : QList<int>());
    }
    const QString effect =
        copyCommandEffect(Command1->isEnabled(), destSelected, srcSelected, identical);
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
    const QString path = m_dialogs.openFileName(
        this, QStringLiteral("Load %1 Patch Set").arg(sideName(side)), PatchSetFilter);
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
    AnchoredLabel *status = BySide<AnchoredLabel *>{Label6, Label7}[side];
    const QString before = status->caption();
    const QRect beforePlace = status->geometry();
    status->setCaption(QStringLiteral("LOADING"));
    // Painted now, without running other events: the read that follows blocks the window.
    repaint(beforePlace.united(status->geometry()));

    m_lastFolder = QFileInfo(path).absolutePath();
    const ReadResult result = LoadPatchSet(path);
    if (!result.ok()) {
        // The side keeps what it had; the reader's one message says why.
        status->setCaption(before);
        m_dialogs.message(this, result.message, result.detail);
        return;
    }
    m_editor->installLoadedSet(side, result.entries, result.version, path, result.modified,
                               result.notes, result.notesNotKept);
    m_dialogs.setFileName(QString());
}

void Form1::saveDest()
{
    // A DEST read from or last saved to a file starts the dialog there, in its folder. A new
    // set has no file: the name the dialog holds would be another set's, which one Yes to the
    // dialog's question would replace with the placeholder; it gets a name no file has.
    if (!m_sets.DestPath.isEmpty()) {
        m_dialogs.setFileName(m_sets.DestPath);
    } else {
        m_dialogs.setFileName(
            unusedNewSetPath(m_lastFolder.isEmpty() ? QDir::currentPath() : m_lastFolder));
    }
    const QString path = m_dialogs.saveFileName(this, QStringLiteral("Save DEST Patch Set"),
                                                PatchSetFilter, QStringLiteral("tvr"));
    if (path.isEmpty()) {
        return; // cancelled: no file is touched
    }
    m_lastFolder = QFileInfo(path).absolutePath();
    const WriteResult result = SaveDestSet(m_sets.DestTable, path);
    if (!result.ok()) {
        m_dialogs.message(this, result.message);
        return;
    }
    // The status shows the time of the file as written, as a load of it would: that of its
    // last change, read from the file system. It is now, should the file system not say.
    const QDateTime written = QFileInfo(path).lastModified();
    m_editor->noteDestSaved(path, written.isValid() ? written : QDateTime::currentDateTime());
}

void Form1::showDetail(Side side)
{
    const PatchEntry *entry = m_editor->currentEntry(side);
    if (entry == nullptr) {
        return; // no current line: the label keeps what it shows
    }
    m_detailSide = side;
    m_fade.start(detailSummary(*entry, side));
    Timer2->start();
}

void Form1::followDetail()
{
    if (!m_detailSide) {
        return; // nothing described yet: a change by the program shows no detail
    }
    const PatchEntry *entry = m_editor->currentEntry(*m_detailSide);
    if (entry == nullptr) {
        // The side has no line left to describe: the counts of an entry that is gone would
        // mislead, so the label empties at once.
        m_detailSide.reset();
        m_fade = DetailFade();
        Timer2->stop();
        Label5->setCaption(QString());
        return;
    }
    // Unchanged counts keep the label as it is, so a command that left the entry alone does
    // not make it fade in again.
    const QString text = detailSummary(*entry, *m_detailSide);
    if (text != m_fade.detailText()) {
        m_fade.start(text);
        Timer2->start();
    }
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

void Form1::showNotes(Side side)
{
    m_statusMarks[side]->openNotes();
}

void Form1::setDesktopAnimations(bool enabled)
{
    m_marquee->setRest(Marquee::NoAnimations, !enabled);
}

void Form1::followVisibility()
{
    m_marquee->setRest(Marquee::Unseen, !isVisible() || isMinimized());
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    followVisibility();
}

void Form1::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Minimising may hide the window while it still counts as visible, so the strip rests
    // outright.
    m_marquee->setRest(Marquee::Unseen, true);
}

void Form1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        followVisibility();
    } else if (event->type() == QEvent::ActivationChange) {
        // Nobody watches a window while another has the keyboard: the strip waits for them.
        m_marquee->setRest(Marquee::Inactive, !isActiveWindow());
    }
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    WindowLook::paintBackdrop(painter, m_backdrop, size());
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // A press begins afresh: a drag the window system carried out may never have sent its
    // release.
    m_drag.mouseRelease();
    m_stripPressed = event->button() == Qt::LeftButton
        && Picture1->geometry().contains(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    m_drag.mouseMove(this, event->position().toPoint(), event->buttons());
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    // The strip passes the mouse to the window so the window can be dragged by it; a click on
    // it that moved nothing stops the strip or sets it going again.
    const bool clickedStrip = m_stripPressed && !m_drag.isDragging()
        && event->button() == Qt::LeftButton
        && Picture1->geometry().contains(event->position().toPoint());
    m_stripPressed = false;
    m_drag.mouseRelease();
    if (clickedStrip) {
        m_marquee->setRest(Marquee::StoppedByUser, !m_marquee->rests(Marquee::StoppedByUser));
    }
    QWidget::mouseReleaseEvent(event);
}
