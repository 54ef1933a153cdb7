// The four moves: when they act, what they swap, and the selections they carry.
#include "FakeSideView.h"
#include "SlotEdits.h"

#include <QTest>

class TestMoveEntries : public QObject
{
    Q_OBJECT

private slots:
    void movesOrRefuses_data();
    void movesOrRefuses();
    void downThenUpRestores();
    void sidesAreIndependent();
    void movesListedRecordsOnly();
};

// A side of `size` entries n0, n1, ...; `current` is the current line before the move.
void TestMoveEntries::movesOrRefuses_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::addColumn<int>("currentAfter");

    QTest::newRow("empty up") << 0 << -1 << -1 << QList<int>{} << QByteArrayList{} << QList<int>{}
                              << -1;
    QTest::newRow("empty down") << 0 << -1 << 1 << QList<int>{} << QByteArrayList{} << QList<int>{}
                                << -1;
    QTest::newRow("one line down")
        << 1 << 0 << 1 << QList<int>{0} << QByteArrayList{"n0"} << QList<int>{0} << 0;
    QTest::newRow("one line up") << 1 << 0 << -1 << QList<int>{} << QByteArrayList{"n0"}
                                 << QList<int>{} << 0;
    QTest::newRow("no current up") << 3 << -1 << -1 << QList<int>{2}
                                   << QByteArrayList{"n0", "n1", "n2"} << QList<int>{2} << -1;
    QTest::newRow("no current down")
        << 3 << -1 << 1 << QList<int>{0} << QByteArrayList{"n0", "n1", "n2"} << QList<int>{0} << -1;
    QTest::newRow("first up") << 3 << 0 << -1 << QList<int>{} << QByteArrayList{"n0", "n1", "n2"}
                              << QList<int>{} << 0;
    QTest::newRow("last down") << 3 << 2 << 1 << QList<int>{} << QByteArrayList{"n0", "n1", "n2"}
                               << QList<int>{} << 2;
    QTest::newRow("selected moves down")
        << 5 << 2 << 1 << QList<int>{2} << QByteArrayList{"n0", "n1", "n3", "n2", "n4"}
        << QList<int>{3} << 3;
    QTest::newRow("both selected")
        << 5 << 2 << 1 << QList<int>{2, 3} << QByteArrayList{"n0", "n1", "n3", "n2", "n4"}
        << QList<int>{2, 3} << 3;
    QTest::newRow("unselected current, others kept")
        << 5 << 3 << -1 << QList<int>{0, 2, 4} << QByteArrayList{"n0", "n1", "n3", "n2", "n4"}
        << QList<int>{0, 3, 4} << 2;
    QTest::newRow("last up") << 4 << 3 << -1 << QList<int>{3}
                             << QByteArrayList{"n0", "n1", "n3", "n2"} << QList<int>{2} << 2;
    QTest::newRow("first down") << 4 << 0 << 1 << QList<int>{}
                                << QByteArrayList{"n1", "n0", "n2", "n3"} << QList<int>{} << 1;
}

void TestMoveEntries::movesOrRefuses()
{
    QFETCH(int, size);
    QFETCH(int, current);
    QFETCH(int, step);
    QFETCH(QList<int>, selected);
    QFETCH(QByteArrayList, names);
    QFETCH(QList<int>, selectedAfter);
    QFETCH(int, currentAfter);

    QByteArrayList original;
    for (int position = 0; position < size; ++position) {
        original.append("n" + QByteArray::number(position));
    }
    EditorRig rig;
    rig.load(Side::Right, entriesNamed(original));
    rig.right.select(selected);
    rig.right.current = current;
    const PatchTable before = rig.sets.DestTable;

    if (step < 0) {
        rig.editor.moveUp(Side::Right);
    } else {
        rig.editor.moveDown(Side::Right);
    }

    QCOMPARE(namesOf(rig.sets.DestTable), names);
    QCOMPARE(rig.right.selectedLines(), selectedAfter);
    QCOMPARE(rig.right.current, currentAfter);
    QCOMPARE(rig.right.countText, QString::number(size));
    QCOMPARE(rig.right.lines.size(), names.size());
    // Whole records travel: each name still carries its own description.
    for (const PatchEntry &entry : std::as_const(rig.sets.DestTable)) {
        QCOMPARE(entry.Description, "about " + entry.Name);
    }
    if (names == original) {
        QCOMPARE(rig.sets.DestTable, before);
    }
}

void TestMoveEntries::downThenUpRestores()
{
    EditorRig rig;
    PatchTable table = entriesNamed({"a", "b", "c", "d"});
    setDeflData(table[1], 99, "FF");
    rig.load(Side::Left, table);
    rig.left.select({1, 3});
    rig.left.current = 1;

    rig.editor.moveDown(Side::Left);
    QCOMPARE(rig.left.current, 2);
    rig.editor.moveUp(Side::Left);

    QCOMPARE(rig.sets.SrcTable, table);
    QCOMPARE(rig.left.selectedLines(), QList<int>({1, 3}));
    QCOMPARE(rig.left.current, 1);
}

void TestMoveEntries::sidesAreIndependent()
{
    EditorRig rig;
    rig.load(Side::Left, entriesNamed({"s0", "s1"}));
    rig.load(Side::Right, entriesNamed({"d0", "d1"}));
    rig.left.current = 0;
    rig.right.current = 1;
    rig.right.select({1});

    rig.editor.moveDown(Side::Left);

    QCOMPARE(namesOf(rig.sets.SrcTable), QByteArrayList({"s1", "s0"}));
    QCOMPARE(namesOf(rig.sets.DestTable), QByteArrayList({"d0", "d1"}));
    QCOMPARE(rig.right.current, 1);
    QCOMPARE(rig.right.selectedLines(), QList<int>({1}));
}

// With unlisted records in between, a move swaps the two records on the neighbouring
// lines and leaves the unlisted ones where they are.
void TestMoveEntries::movesListedRecordsOnly()
{
    EditorRig rig;
    PatchTable table = entriesNamed({"a", "h1", "b", "h2", "c"});
    table[1].Omnipresence = 2;
    table[3].Omnipresence = 3;
    rig.load(Side::Right, table);
    rig.right.select({2});
    rig.right.current = 2; // "c"

    rig.editor.moveUp(Side::Right);

    QCOMPARE(namesOf(rig.sets.DestTable), QByteArrayList({"a", "h1", "c", "h2", "b"}));
    QCOMPARE(rig.sets.DestTable.at(3).Omnipresence, quint8(3));
    QCOMPARE(rig.right.lines, QStringList({"a", "c", "b"}));
    QCOMPARE(rig.right.selectedLines(), QList<int>({1}));
    QCOMPARE(rig.right.current, 1);
    QCOMPARE(rig.editor.currentEntry(Side::Right)->Name, QByteArray("c"));
}

QTEST_GUILESS_MAIN(TestMoveEntries)
#include "TestMoveEntries.moc"
