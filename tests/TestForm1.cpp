// The window as built: every control where the layout puts it, the start-up state, the
// keyboard roles, the list behaviour, the passive controls, the focus rest and the marquee
// strip's rests.
#include "AnchoredLabel.h"
#include "Form1.h"
#include "Marquee.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

class TestForm1 : public WindowTest
{
    Q_OBJECT

private slots:
    void startsAsLaidOut();
    void buttonsShowTheirStateAndKeys_data();
    void buttonsShowTheirStateAndKeys();
    void controlGeometry_data();
    void controlGeometry();
    void labelsKeepTheirAnchor_data();
    void labelsKeepTheirAnchor();
    void tabWalksTheControlsInOrder();
    void quitClosesAtOnce();
    void escapeOnlyMovesTheFocus();
    void listClickTogglesAndSetsTheCurrentLine();
    void listKeysMoveTheCurrentLineWithoutSelecting();
    void passiveControlsLetTheMouseThrough_data();
    void passiveControlsLetTheMouseThrough();
    void releaseSendsTheFocusToTheRest_data();
    void releaseSendsTheFocusToTheRest();
    void dragOverAPassiveControlMovesTheWindow();
    void everyControlHasAccessibleTexts();
    void pointerShowsWhatAControlDoes_data();
    void pointerShowsWhatAControlDoes();
    void stripRestsWhileNobodyWatches_data();
    void stripRestsWhileNobodyWatches();

private:
    // Brings on (or takes away, with `on` false) what `how` names in the rest table.
    void restStrip(const QString &how, bool on);
    std::unique_ptr<QWidget> m_otherWindow;
};

void TestForm1::startsAsLaidOut()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Tolvane"));
    QCOMPARE(m_form->size(), QSize(545, 353));
    QVERIFY(m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(m_form->focusWidget(), control<QPushButton>("Command12"));

    QCOMPARE(control<QListView>("List1")->model()->rowCount(), 0);
    QCOMPARE(control<QListView>("List2")->model()->rowCount(), 0);
    for (const char *name : {"Label5", "Label6", "Label7", "Label8", "Label9"}) {
        QVERIFY2(control<AnchoredLabel>(name)->caption().isEmpty(), name);
    }
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("SRC"));
    QCOMPARE(control<QLabel>("Label2")->text(), QStringLiteral("DEST"));
    QCOMPARE(control<QLabel>("Label4")->text(), QStringLiteral("[ Tolvane v. 1.3 / 25 Jan 2007 ]"));
    QVERIFY(!control<QLabel>("Label3")->isVisible());
    QCOMPARE(control<QLabel>("Label3")->text().size(), 384);

    QVERIFY(control<QTimer>("Timer1")->isActive());
    QCOMPARE(control<QTimer>("Timer1")->interval(), 10);
    QVERIFY(!control<QTimer>("Timer2")->isActive());
    QCOMPARE(control<QTimer>("Timer2")->interval(), 10);
}

void TestForm1::buttonsShowTheirStateAndKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text"); // empty for a picture button
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("toolTip");  // names every key of the button
    QTest::addColumn<QString>("shortcut"); // the one assistive technology reports
    // The buttons whose steps can be undone name the undo and redo keys on a line of its own.
    const QString undo = QStringLiteral("\nCtrl+Z undoes it, Ctrl+Shift+Z or Ctrl+Y redoes it");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("copy") << "Command1" << "copy >>" << "copy >>" << false
                          << "copy >>: does nothing until SRC and DEST both hold a set "
                             "(Alt+Right, Ctrl+Right)" + undo << "Alt+Right";
    QTest::newRow("LOAD SRC") << "Command2" << "LOAD SRC" << "LOAD SRC" << true
                              << "LOAD SRC (Ctrl+O)" + undo << "Ctrl+O";
    QTest::newRow("LOAD DEST") << "Command3" << "LOAD DEST" << "LOAD DEST" << true
                               << "LOAD DEST (Ctrl+Shift+O)" + undo << "Ctrl+Shift+O";
    QTest::newRow("save") << "Command4" << "save" << "save" << false << "save (Ctrl+S, Enter)"
                          << "Ctrl+S";
    QTest::newRow("quit") << "Command5" << "quit" << "quit" << true
                          << "quit: closes Tolvane at once, without saving" << "";
    QTest::newRow("SRC down") << "Command6" << "" << "Move SRC entry down" << true
                              << "Move SRC entry down (Ctrl+Down, Alt+Down in the SRC list)" + undo
                              << "Ctrl+Down";
    QTest::newRow("SRC up") << "Command7" << "" << "Move SRC entry up" << true
                            << "Move SRC entry up (Ctrl+Up, Alt+Up in the SRC list)" + undo
                            << "Ctrl+Up";
    QTest::newRow("DEST up") << "Command8" << "" << "Move DEST entry up" << true
                             << "Move DEST entry up (Ctrl+Up, Alt+Up in the DEST list)" + undo
                             << "Ctrl+Up";
    QTest::newRow("DEST down") << "Command9" << "" << "Move DEST entry down" << true
                               << "Move DEST entry down (Ctrl+Down, Alt+Down in the DEST list)"
                               + undo << "Ctrl+Down";
    QTest::newRow("SRC clear") << "Command10" << "" << "Clear SRC selection" << true
                               << "Clear SRC selection (Ctrl+Shift+A in the SRC list)"
                               << "Ctrl+Shift+A";
    QTest::newRow("DEST clear") << "Command11" << "" << "Clear DEST selection" << true
                                << "Clear DEST selection (Ctrl+Shift+A in the DEST list)"
                                << "Ctrl+Shift+A";
    QTest::newRow("focus rest") << "Command12" << "Command12" << "Focus rest" << true << "" << "";
    QTest::newRow("NEW") << "Command13" << "NEW" << "NEW" << true << "NEW (Ctrl+N)" + undo
                         << "Ctrl+N";
    // clang-format on
}

void TestForm1::buttonsShowTheirStateAndKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, accessibleName);
    QFETCH(bool, enabled);
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    auto *button = control<QPushButton>(qPrintable(name));
    QCOMPARE(button->text(), text);
    QCOMPARE(button->accessibleName(), accessibleName);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(button->icon().isNull(), !text.isEmpty());
    QCOMPARE(button->toolTip(), toolTip);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
    QVERIFY(accessible != nullptr && accessible->actionInterface() != nullptr);
    const QString press = QAccessibleActionInterface::pressAction();
    QCOMPARE(accessible->actionInterface()->keyBindingsForAction(press), QStringList({shortcut}));
}

void TestForm1::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    // Logical pixels: the layout's twips divided by 15, rounded.
    QTest::newRow("List1") << "List1" << QRect(8, 24, 217, 257);
    QTest::newRow("List2") << "List2" << QRect(320, 24, 217, 257);
    QTest::newRow("Image1") << "Image1" << QRect(246, 24, 58, 66);
    QTest::newRow("Picture1") << "Picture1" << QRect(224, 112, 97, 25);
    QTest::newRow("Picture2") << "Picture2" << QRect(225, 112, 95, 25);
    QTest::newRow("Command1") << "Command1" << QRect(240, 256, 65, 25);
    QTest::newRow("Command7") << "Command7" << QRect(8, 283, 17, 17);
    QTest::newRow("Command6") << "Command6" << QRect(25, 283, 17, 17);
    QTest::newRow("Command10") << "Command10" << QRect(43, 283, 17, 17);
    QTest::newRow("Command2") << "Command2" << QRect(64, 283, 57, 17);
    QTest::newRow("Command13") << "Command13" << QRect(390, 283, 33, 17);
    QTest::newRow("Command3") << "Command3" << QRect(424, 283, 57, 17);
    QTest::newRow("Command11") << "Command11" << QRect(485, 283, 17, 17);
    QTest::newRow("Command9") << "Command9" << QRect(503, 283, 17, 17);
    QTest::newRow("Command8") << "Command8" << QRect(520, 283, 17, 17);
    QTest::newRow("Command4") << "Command4" << QRect(203, 320, 65, 25);
    QTest::newRow("Command5") << "Command5" << QRect(275, 320, 65, 25);
    QTest::newRow("Command12") << "Command12" << QRect(408, -61, 17, 17);
    QTest::newRow("Label3") << "Label3" << QRect(0, 288, 1457, 11);
    // Empty labels keep their laid-out size.
    QTest::newRow("Label5") << "Label5" << QRect(271, 184, 3, 11);
    QTest::newRow("Label6") << "Label6" << QRect(222, 8, 3, 13);
    QTest::newRow("Label7") << "Label7" << QRect(320, 8, 3, 13);
    QTest::newRow("Label8") << "Label8" << QRect(0, 304, 15, 58);
    QTest::newRow("Label9") << "Label9" << QRect(531, 304, 15, 58);
}

void TestForm1::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QCOMPARE(control<QWidget>(qPrintable(name))->geometry(), place);
}

void TestForm1::labelsKeepTheirAnchor_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("anchor"); // left, right or centre
    QTest::addColumn<int>("edge");       // left x, right x, or twice the middle
    QTest::addColumn<int>("top");
    // A label showing data is named by its text (so QLabel announces each new text); one
    // with a fixed caption keeps the name it was given.
    QTest::addColumn<bool>("showsData");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("SRC heading") << "Label1" << "" << "left" << 8 << 8 << false;
    QTest::newRow("DEST heading") << "Label2" << "" << "right" << 537 << 8 << false;
    QTest::newRow("title") << "Label4" << "" << "centre" << 545 << 296 << false;
    QTest::newRow("SRC status") << "Label6" << "v.0.3 / 1/2/03 4:05:06 PM" << "right" << 225 << 8
                                << true;
    QTest::newRow("DEST status") << "Label7" << "v.0.3 / [new]" << "left" << 320 << 8 << true;
    QTest::newRow("detail") << "Label5" << "<<\r\nOffsets: 3\r\nParams: 1\r\nSize: 8" << "centre"
                            << 545 << 184 << true;
    QTest::newRow("SRC count") << "Label8" << "1000" << "left" << 0 << 304 << true;
    QTest::newRow("DEST count") << "Label9" << "1000" << "right" << 546 << 304 << true;
    // clang-format on
}

void TestForm1::labelsKeepTheirAnchor()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, anchor);
    QFETCH(int, edge);
    QFETCH(int, top);
    QFETCH(bool, showsData);
    auto *label = control<AnchoredLabel>(qPrintable(name));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(label);
    QVERIFY(accessible != nullptr);
    const QString givenName = accessible->text(QAccessible::Name);
    if (!caption.isEmpty()) {
        const int emptyWidth = label->width();
        label->setCaption(caption);
        QVERIFY(label->width() > emptyWidth);
        QCOMPARE(label->caption(), caption);
    }
    QVERIFY(!accessible->text(QAccessible::Description).isEmpty());
    if (showsData) {
        QCOMPARE(accessible->text(QAccessible::Name), label->text());
        QVERIFY(label->accessibleName().isEmpty());
    } else {
        QVERIFY(!givenName.isEmpty());
        QCOMPARE(accessible->text(QAccessible::Name), givenName);
    }
    const QRect place = label->geometry();
    QVERIFY(place.width() >= label->sizeHint().width());
    QCOMPARE(place.top(), top);
    if (anchor == QLatin1String("left")) {
        QCOMPARE(place.x(), edge);
    } else if (anchor == QLatin1String("right")) {
        QCOMPARE(place.x() + place.width(), edge);
    } else {
        QVERIFY(qAbs(2 * place.x() + place.width() - edge) <= 1);
    }
}

void TestForm1::tabWalksTheControlsInOrder()
{
    const QStringList expected = {"List1",    "Command7",  "Command6", "Command10", "Command2",
                                  "List2",    "Command13", "Command3", "Command11", "Command9",
                                  "Command8", "Command1",  "Command4", "Command5",  "Command12"};
    // The disabled buttons take part once enabled; the chain itself is what is tested.
    control<QPushButton>("Command1")->setEnabled(true);
    control<QPushButton>("Command4")->setEnabled(true);
    QStringList walked;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(m_form->focusWidget(), Qt::Key_Tab);
        walked.append(m_form->focusWidget()->objectName());
    }
    QCOMPARE(walked, expected);
}

void TestForm1::quitClosesAtOnce()
{
    QVERIFY(m_form->isVisible());
    QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestForm1::escapeOnlyMovesTheFocus()
{
    auto *list = control<QListView>("List2");
    list->setFocus();
    QCOMPARE(m_form->focusWidget(), list);
    control<QPushButton>("Command4")->setEnabled(true);
    QTest::keyClick(list, Qt::Key_Escape);
    QCOMPARE(m_form->focusWidget(), control<QPushButton>("Command12"));
    QVERIFY(m_dialogs->fileDialogs.isEmpty());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestForm1::listClickTogglesAndSetsTheCurrentLine()
{
    auto *list = control<QListView>("List1");
    m_form->loadPath(Side::Left, writeFile(*m_folder, "s", patchSetBytes({"one", "two", "three"})));
    const auto lineCentre = [list](int row) {
        return list->visualRect(list->model()->index(row, 0)).center();
    };

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(1));
    QVERIFY(isLineSelected(list, 1));
    QCOMPARE(list->currentIndex().row(), 1);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(2));
    QVERIFY(isLineSelected(list, 1));
    QVERIFY(isLineSelected(list, 2));
    QCOMPARE(list->currentIndex().row(), 2);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, lineCentre(1));
    QVERIFY(!isLineSelected(list, 1));
    QVERIFY(isLineSelected(list, 2));
    QCOMPARE(list->currentIndex().row(), 1);
}

void TestForm1::listKeysMoveTheCurrentLineWithoutSelecting()
{
    auto *list = control<QListView>("List2");
    m_form->loadPath(Side::Right, // which leaves the first line current
                     writeFile(*m_folder, "d", patchSetBytes({"one", "two", "three"})));
    list->setFocus();

    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentIndex().row(), 2);
    QVERIFY(selectedLines(list).isEmpty());

    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(isLineSelected(list, 2));
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentIndex().row(), 1);
    QCOMPARE(selectedLines(list).size(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(selectedLines(list).isEmpty());
}

void TestForm1::passiveControlsLetTheMouseThrough_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("passive");
    QTest::newRow("Label1") << "Label1" << true;
    QTest::newRow("Label2") << "Label2" << true;
    QTest::newRow("Image1") << "Image1" << true;
    QTest::newRow("Picture1") << "Picture1" << true;
    QTest::newRow("Picture2") << "Picture2" << true;
    QTest::newRow("List1") << "List1" << false;
    QTest::newRow("Command1") << "Command1" << false;
    QTest::newRow("Label4") << "Label4" << false;
}

void TestForm1::passiveControlsLetTheMouseThrough()
{
    QFETCH(QString, name);
    QFETCH(bool, passive);
    auto *widget = control<QWidget>(qPrintable(name));
    const QPoint centre = widget->geometry().center();
    QWidget *hit = m_form->childAt(centre);
    while (hit != nullptr && hit->parentWidget() != m_form) {
        hit = hit->parentWidget();
    }
    if (passive) {
        QCOMPARE(hit, nullptr); // the window itself gets the mouse and can be dragged
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    } else {
        QCOMPARE(hit, widget);
    }
}

void TestForm1::releaseSendsTheFocusToTheRest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("sendsFocus");
    for (const char *name : {"Command2", "Command3", "Command6", "Command7", "Command8", "Command9",
                             "Command10", "Command11", "Command13"}) {
        QTest::newRow(name) << name << true;
    }
    for (const char *name : {"Command1", "Command4", "Command5"}) {
        QTest::newRow(name) << name << false;
    }
}

void TestForm1::releaseSendsTheFocusToTheRest()
{
    QFETCH(QString, name);
    QFETCH(bool, sendsFocus);
    auto *list = control<QListView>("List1");
    list->setFocus();
    // The right button: it clicks nothing, so only the release can move the focus.
    auto *button = control<QPushButton>(qPrintable(name));
    button->setEnabled(true);
    QTest::mousePress(button, Qt::RightButton);
    QTest::mouseRelease(button, Qt::RightButton);
    // The press gives a button the focus; only the nine send it to the focus rest at the release.
    QWidget *expected = sendsFocus ? control<QPushButton>("Command12") : button;
    QCOMPARE(m_form->focusWidget(), expected);
    QVERIFY(m_form->isVisible());
    if (!sendsFocus) {
        return;
    }

    // In an active window a press gives the button the focus, and the release sends it back
    // to the focus rest: the click must run all the same, every time.
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    if (name == QLatin1String("Command2") || name == QLatin1String("Command3")) {
        m_dialogs->fileNames << QString() << QString(); // both loads cancelled
    }
    for (int click = 1; click <= 2; ++click) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), click);
        QCOMPARE(m_form->focusWidget(), control<QPushButton>("Command12"));
    }
}

void TestForm1::dragOverAPassiveControlMovesTheWindow()
{
    if (m_form->screen()->availableGeometry().width() < 800) {
        QSKIP("the offscreen screen is too small for a free move");
    }
    m_form->move(10, 10);
    // The logo passes the mouse to the window; a move with the left button drags it.
    const QPoint grab = control<QLabel>("Image1")->geometry().center();
    const auto moveTo = [this, grab](const QPoint &cursor, Qt::MouseButtons buttons) {
        QCursor::setPos(cursor);
        QMouseEvent move(QEvent::MouseMove, QPointF(grab), QPointF(cursor), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QApplication::sendEvent(m_form, &move);
    };
    moveTo(QPoint(300, 200), Qt::LeftButton);
    QCOMPARE(m_form->pos(), QPoint(300, 200) - grab);
    moveTo(QPoint(310, 205), Qt::LeftButton);
    QCOMPARE(m_form->pos(), QPoint(310, 205) - grab);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(grab), QPointF(310, 205),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_form, &release);
    moveTo(QPoint(350, 250), Qt::RightButton);
    QCOMPARE(m_form->pos(), QPoint(310, 205) - grab);
}

void TestForm1::everyControlHasAccessibleTexts()
{
    // The labels showing data have no name of their own: their text is their name. So are the
    // changed marks named by what they say, and only while they say it.
    const QStringList dataLabels = {"Label5",         "Label6",         "Label7", "Label8",
                                    "Label9",         "srcChangedMark", "destChangedMark"};
    int checked = 0;
    for (const QWidget *widget : m_form->findChildren<QWidget *>()) {
        const QString name = widget->objectName();
        if (widget->parentWidget() != m_form || name.isEmpty()) {
            continue;
        }
        QVERIFY2(widget->accessibleName().isEmpty() == dataLabels.contains(name), qPrintable(name));
        QVERIFY2(!widget->accessibleDescription().isEmpty(), qPrintable(name));
        ++checked;
    }
    QCOMPARE(checked, 31); // 2 lists, 9 labels, the logo, 2 picture boxes, 13 buttons, 4 marks
}

void TestForm1::stripRestsWhileNobodyWatches_data()
{
    QTest::addColumn<QString>("how"); // as restStrip() takes it
    QTest::addColumn<bool>("rests");
    QTest::newRow("minimised") << "minimise" << true;
    QTest::newRow("hidden") << "hide" << true;
    QTest::newRow("another window active") << "deactivate" << true;
    QTest::newRow("desktop asks for no animations") << "no animations" << true;
    QTest::newRow("click on the strip") << "click strip" << true;
    QTest::newRow("drag by the strip") << "drag strip" << false;
    QTest::newRow("click on the logo") << "click logo" << false;
}

void TestForm1::stripRestsWhileNobodyWatches()
{
    QFETCH(QString, how);
    QFETCH(bool, rests);
    auto *timer = control<QTimer>("Timer1");
    const auto *marquee = m_form->findChild<Marquee *>();
    QVERIFY(marquee != nullptr);
    // Waits for the strip's first frame, so a restart would show as a jump back.
    QVERIFY(QTest::qWaitFor([marquee] { return marquee->state().shown; }));
    const int x = marquee->state().marqueeX;

    restStrip(how, true);
    QCOMPARE(timer->isActive(), !rests); // while it rests, nothing wakes the program
    QCOMPARE(marquee->isMoving(), !rests);
    if (!rests) {
        return;
    }
    QCOMPARE(marquee->state().marqueeX, x);

    restStrip(how, false);
    QVERIFY(marquee->isMoving());
    QVERIFY(timer->isActive());
    QCOMPARE(marquee->state().marqueeX, x); // it goes on from where it stood
    // The next frame comes at the strip's own pace, not with the ticks the rest skipped.
    QVERIFY(QTest::qWaitFor([marquee, x] { return marquee->state().marqueeX != x; }));
    QVERIFY(x - marquee->state().marqueeX <= 3 * 6);
}

void TestForm1::restStrip(const QString &how, bool on)
{
    const auto clickAt = [this](const char *name) {
        QTest::mouseClick(m_form, Qt::LeftButton, {}, control<QWidget>(name)->geometry().center());
    };
    const auto activate = [this] {
        // Offscreen, a window shown again keeps the platform's focus while the widget stays
        // inactive, and asking for the focus it has changes nothing: another window takes the
        // focus first and gives it back.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitFor([this] { return m_form->isActiveWindow(); }));
    };
    if (how == QLatin1String("minimise")) {
        on ? m_form->showMinimized() : m_form->showNormal();
        if (!on) {
            activate();
        }
    } else if (how == QLatin1String("hide")) {
        on ? m_form->hide() : m_form->show();
        if (!on) {
            activate();
        }
    } else if (how == QLatin1String("deactivate")) {
        if (on) {
            m_otherWindow = std::make_unique<QWidget>();
            m_otherWindow->show();
            m_otherWindow->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_otherWindow.get()));
        } else {
            activate();
            m_otherWindow.reset();
        }
    } else if (how == QLatin1String("no animations")) {
        m_form->setDesktopAnimations(!on);
    } else if (how == QLatin1String("click strip")) {
        clickAt("Picture1"); // a second click sets it going again
    } else if (how == QLatin1String("drag strip")) {
        // Pressed on the strip, the window follows the cursor; the release ends a drag.
        const QPoint grab = control<QWidget>("Picture1")->geometry().center();
        QTest::mousePress(m_form, Qt::LeftButton, {}, grab);
        QCursor::setPos(m_form->mapToGlobal(grab) + QPoint(20, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(grab), QPointF(QCursor::pos()), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form, &move);
        QTest::mouseRelease(m_form, Qt::LeftButton, {}, grab);
    } else if (how == QLatin1String("click logo")) {
        clickAt("Image1");
    } else {
        QFAIL(qPrintable(how));
    }
}

// The tooltip Qt shows with the pointer resting on a control: passive controls pass the mouse
// through to the window, which must show theirs all the same.
void TestForm1::pointerShowsWhatAControlDoes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolTip"); // "" shows none
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    const QString list = QStringLiteral(" entries: a click or Space selects or unselects a line, "
                                        "typing finds a name, F3 shows the current entry");
    QTest::newRow("SRC list") << "List1" << "SRC" + list;
    QTest::newRow("DEST list") << "List2" << "DEST" + list;
    QTest::newRow("logo") << "Image1" << "The Tolvane logo, for decoration only";
    QTest::newRow("heading") << "Label1" << "";
    // clang-format on
}

void TestForm1::pointerShowsWhatAControlDoes()
{
    QFETCH(QString, name);
    QFETCH(QString, toolTip);
    const QPoint centre = control<QWidget>(qPrintable(name))->geometry().center();
    QWidget *under = m_form->childAt(centre);
    QWidget *target = under != nullptr ? under : m_form;
    QHelpEvent help(QEvent::ToolTip, target->mapFrom(m_form, centre), m_form->mapToGlobal(centre));
    QApplication::sendEvent(target, &help);
    QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), toolTip);
    QToolTip::hideText();
}

QTEST_MAIN(TestForm1)
#include "TestForm1.moc"
