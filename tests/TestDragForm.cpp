#include "DragForm.h"

#include <QWidget>
#include <QtTest>

namespace {

// The drag with a scripted cursor and work area instead of the real ones.
class ScriptedDrag : public DragForm
{
public:
    QPoint cursor;
    QRect screenArea = QRect(0, 0, 1920, 1040);
    bool wayland = false;
    int workAreaReads = 0;
    int systemMoves = 0;

protected:
    QPoint cursorPosition() const override { return cursor; }
    QRect workAreaAt(const QWidget *, const QPoint &) const override
    {
        ++const_cast<ScriptedDrag *>(this)->workAreaReads;
        return screenArea;
    }
    bool windowSystemMovesWindows() const override { return wayland; }
    bool startSystemMove(QWidget *) override
    {
        ++systemMoves;
        return true;
    }
};

} // namespace

class TestDragForm : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void grabbedPointStaysUnderCursor();
    void otherButtonsEndTheDrag_data();
    void otherButtonsEndTheDrag();
    void workAreaIsReadOncePerDrag();
    void waylandHandsTheMoveToTheSystem();
};

void TestDragForm::placement_data()
{
    QTest::addColumn<QPoint>("wanted");
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QPoint>("expected");

    const QSize window(545, 353);
    const QRect desktop(0, 0, 1920, 1080);

    QTest::newRow("free") << QPoint(400, 300) << window << desktop << QPoint(400, 300);
    QTest::newRow("left -9") << QPoint(-9, 300) << window << desktop << QPoint(0, 300);
    QTest::newRow("left 9") << QPoint(9, 300) << window << desktop << QPoint(0, 300);
    QTest::newRow("left 10") << QPoint(10, 300) << window << desktop << QPoint(10, 300);
    QTest::newRow("left -10") << QPoint(-10, 300) << window << desktop << QPoint(-10, 300);
    QTest::newRow("top -9") << QPoint(400, -9) << window << desktop << QPoint(400, 0);
    QTest::newRow("top 10") << QPoint(400, 10) << window << desktop << QPoint(400, 10);

    // Right edge 1920 - 545 = 1375 is flush; within 10 either way (inclusive) snaps to it.
    QTest::newRow("right -10") << QPoint(1365, 300) << window << desktop << QPoint(1375, 300);
    QTest::newRow("right +10") << QPoint(1385, 300) << window << desktop << QPoint(1375, 300);
    QTest::newRow("right -11") << QPoint(1364, 300) << window << desktop << QPoint(1364, 300);
    QTest::newRow("right +11") << QPoint(1386, 300) << window << desktop << QPoint(1386, 300);
    QTest::newRow("bottom +10") << QPoint(400, 737) << window << desktop << QPoint(400, 727);

    // A task bar on top: the work area starts below it, and the top snaps there.
    const QRect barOnTop(0, 40, 1920, 1040);
    QTest::newRow("bar on top") << QPoint(400, 45) << window << barOnTop << QPoint(400, 40);
    QTest::newRow("bar on top, above") << QPoint(400, 32) << window << barOnTop << QPoint(400, 40);
    QTest::newRow("under bar bottom") << QPoint(400, 722) << window << barOnTop << QPoint(400, 727);

    // Larger than the work area: near edges within reach of both rules win.
    const QRect tiny(0, 0, 540, 350);
    QTest::newRow("larger window") << QPoint(3, -2) << window << tiny << QPoint(0, 0);
    QTest::newRow("larger, far only") << QPoint(-12, -12) << window << tiny << QPoint(-5, -3);

    // A second monitor to the right: its left edge is 1920, not 0.
    const QRect right(1920, 0, 1280, 1024);
    QTest::newRow("right monitor free")
        << QPoint(2300, 300) << window << right << QPoint(2300, 300);
    QTest::newRow("right monitor left")
        << QPoint(1925, 300) << window << right << QPoint(1920, 300);
    QTest::newRow("right monitor left-")
        << QPoint(1911, 300) << window << right << QPoint(1920, 300);
    QTest::newRow("right monitor right")
        << QPoint(2650, 300) << window << right << QPoint(2655, 300);

    // A monitor above the primary one: negative top.
    const QRect above(0, -1080, 1920, 1080);
    QTest::newRow("above monitor top")
        << QPoint(400, -1075) << window << above << QPoint(400, -1080);
    QTest::newRow("above monitor bottom")
        << QPoint(400, -350) << window << above << QPoint(400, -353);
    QTest::newRow("above monitor free")
        << QPoint(400, -600) << window << above << QPoint(400, -600);

    // A monitor to the left: both edges negative.
    const QRect left(-1280, 0, 1280, 1024);
    QTest::newRow("left monitor left")
        << QPoint(-1275, 300) << window << left << QPoint(-1280, 300);
    QTest::newRow("left monitor right") << QPoint(-540, 300) << window << left << QPoint(-545, 300);
}

void TestDragForm::placement()
{
    QFETCH(QPoint, wanted);
    QFETCH(QSize, windowSize);
    QFETCH(QRect, workArea);
    QFETCH(QPoint, expected);
    QCOMPARE(placeWindow(wanted, windowSize, workArea, 10), expected);
}

void TestDragForm::grabbedPointStaysUnderCursor()
{
    QWidget form;
    form.resize(545, 353);
    form.move(300, 200);
    ScriptedDrag drag;

    drag.cursor = QPoint(350, 230); // pressed at (50, 30) inside the window
    drag.mouseMove(&form, QPoint(50, 30), Qt::LeftButton);
    QVERIFY(drag.isDragging());
    QCOMPARE(form.pos(), QPoint(300, 200));

    drag.cursor = QPoint(470, 390);
    drag.mouseMove(&form, QPoint(170, 190), Qt::LeftButton);
    QCOMPARE(form.pos(), QPoint(420, 360));

    // Close to the left edge: snaps, yet the grab offset of the drag start is kept.
    drag.cursor = QPoint(55, 390);
    drag.mouseMove(&form, QPoint(0, 0), Qt::LeftButton);
    QCOMPARE(form.pos(), QPoint(0, 360));
    drag.cursor = QPoint(150, 390);
    drag.mouseMove(&form, QPoint(0, 0), Qt::LeftButton);
    QCOMPARE(form.pos(), QPoint(100, 360));
}

void TestDragForm::otherButtonsEndTheDrag_data()
{
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::newRow("right") << Qt::MouseButtons(Qt::RightButton);
    QTest::newRow("left and right") << (Qt::LeftButton | Qt::RightButton);
    QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton);
    QTest::newRow("none") << Qt::MouseButtons(Qt::NoButton);
}

void TestDragForm::otherButtonsEndTheDrag()
{
    QFETCH(Qt::MouseButtons, buttons);
    QWidget form;
    form.resize(545, 353);
    form.move(300, 200);
    ScriptedDrag drag;

    drag.cursor = QPoint(400, 300);
    drag.mouseMove(&form, QPoint(100, 100), buttons);
    QVERIFY(!drag.isDragging());
    QCOMPARE(form.pos(), QPoint(300, 200));

    drag.mouseMove(&form, QPoint(100, 100), Qt::LeftButton);
    QVERIFY(drag.isDragging());
    drag.cursor = QPoint(600, 500);
    drag.mouseMove(&form, QPoint(300, 300), buttons);
    QVERIFY(!drag.isDragging());
    QCOMPARE(form.pos(), QPoint(300, 200));

    // The next left-button move starts a new drag with a new grab offset.
    drag.mouseMove(&form, QPoint(10, 20), Qt::LeftButton);
    QCOMPARE(drag.grabOffset(), QPoint(10, 20));
    QCOMPARE(form.pos(), QPoint(590, 480));
}

void TestDragForm::workAreaIsReadOncePerDrag()
{
    QWidget form;
    form.resize(545, 353);
    ScriptedDrag drag;
    drag.cursor = QPoint(400, 300);
    drag.mouseMove(&form, QPoint(100, 100), Qt::LeftButton);
    drag.screenArea = QRect(1920, 0, 1280, 1024); // the screen changes mid-drag
    drag.cursor = QPoint(405, 300);
    drag.mouseMove(&form, QPoint(100, 100), Qt::LeftButton);
    QCOMPARE(drag.workAreaReads, 1);
    QCOMPARE(form.pos(), QPoint(305, 200));

    drag.mouseRelease();
    QVERIFY(!drag.isDragging());
    drag.cursor = QPoint(2025, 300); // the next drag uses the new work area
    drag.mouseMove(&form, QPoint(100, 100), Qt::LeftButton);
    QCOMPARE(drag.workAreaReads, 2);
    QCOMPARE(form.pos(), QPoint(1920, 200));
}

void TestDragForm::waylandHandsTheMoveToTheSystem()
{
    QWidget form;
    form.resize(545, 353);
    form.move(300, 200);
    ScriptedDrag drag;
    drag.wayland = true;
    drag.cursor = QPoint(305, 205);
    drag.mouseMove(&form, QPoint(5, 5), Qt::LeftButton);
    drag.cursor = QPoint(900, 700);
    drag.mouseMove(&form, QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(drag.systemMoves, 1);
    QCOMPARE(form.pos(), QPoint(300, 200));

    drag.mouseMove(&form, QPoint(5, 5), Qt::NoButton);
    drag.mouseMove(&form, QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(drag.systemMoves, 2);
}

QTEST_MAIN(TestDragForm)
#include "TestDragForm.moc"
