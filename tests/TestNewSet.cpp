// "NEW", with the switches it turns on, and the two side commands.
#include "FakeSideView.h"

#include <QTest>

class TestNewSet : public QObject
{
    Q_OBJECT

private slots:
    void newDestSet_data();
    void newDestSet();
    void sideCommandsGuarded_data();
    void sideCommandsGuarded();
};

void TestNewSet::newDestSet_data()
{
    QTest::addColumn<bool>("srcLoaded");
    QTest::addColumn<bool>("destLoaded");
    QTest::addColumn<int>("presses");
    QTest::newRow("nothing loaded") << false << false << 1;
    QTest::newRow("nothing loaded, twice") << false << false << 2;
    QTest::newRow("both loaded") << true << true << 1;
    QTest::newRow("both loaded, twice") << true << true << 2;
    QTest::newRow("src loaded") << true << false << 1;
}

void TestNewSet::newDestSet()
{
    QFETCH(bool, srcLoaded);
    QFETCH(bool, destLoaded);
    QFETCH(int, presses);

    EditorRig rig;
    if (srcLoaded) {
        rig.load(Side::Left, entriesNamed({"s0", "s1"}));
        rig.left.select({1});
    }
    if (destLoaded) {
        rig.load(Side::Right, entriesNamed({"d0", "d1", "d2"}));
        rig.right.select({0, 2});
    }
    const PatchTable src = rig.sets.SrcTable;
    const QStringList srcLines = rig.left.lines;

    for (int press = 0; press < presses; ++press) {
        rig.editor.newDestSet();
    }

    QCOMPARE(namesOf(rig.sets.DestTable), QByteArrayList{"Empty patch entry"});
    QCOMPARE(rig.right.lines, QStringList{"Empty patch entry"});
    QVERIFY(rig.right.selectedLines().isEmpty());
    QCOMPARE(rig.right.current, 0);
    QCOMPARE(rig.right.countText, QStringLiteral("1"));
    QCOMPARE(rig.right.status, QStringLiteral("v.0.3 / [new]"));
    // The new set comes from no file, and saves whether or not SRC holds a set.
    QCOMPARE(rig.right.fileText, QStringLiteral("new set, not saved"));
    QVERIFY(rig.sets.DestPath.isEmpty());
    QCOMPARE(rig.switches.copyEnabled, srcLoaded);
    QVERIFY(rig.switches.saveEnabled);
    QCOMPARE(rig.sets.SrcTable, src);
    QCOMPARE(rig.left.lines, srcLines);
    QCOMPARE(rig.left.selectedLines(), srcLoaded ? QList<int>({1}) : QList<int>());
}

void TestNewSet::sideCommandsGuarded_data()
{
    QTest::addColumn<Side>("side");
    QTest::addColumn<bool>("holdsSet");
    QTest::newRow("SRC, no set") << Side::Left << false;
    QTest::newRow("SRC, set") << Side::Left << true;
    QTest::newRow("DEST, no set") << Side::Right << false;
    QTest::newRow("DEST, set") << Side::Right << true;
}

void TestNewSet::sideCommandsGuarded()
{
    QFETCH(Side, side);
    QFETCH(bool, holdsSet);

    EditorRig rig;
    FakeSideView &sideView = rig.view(side);
    if (holdsSet) {
        rig.load(side, entriesNamed({"a", "b", "c", "d"}));
    } else {
        // Lines, but neither a load nor NEW: the side holds no set.
        rig.sets.table(side) = entriesNamed({"a", "b", "c", "d"});
        rig.editor.RefreshSide(side);
    }
    sideView.select({0, 2, 3});
    sideView.current = 3;

    rig.editor.clearSelection(side);

    QCOMPARE(sideView.lines, QStringList({"a", "b", "c", "d"}));
    const QList<int> selectedAfter = holdsSet ? QList<int>() : QList<int>({0, 2, 3});
    QCOMPARE(sideView.selectedLines(), selectedAfter);
    QCOMPARE(sideView.current, holdsSet ? 0 : 3);
}

QTEST_GUILESS_MAIN(TestNewSet)
#include "TestNewSet.moc"
