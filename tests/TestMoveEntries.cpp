// The moves: the one-line moves, when they act, what they swap and the selections they
// carry; and the block moves of the keys and of a drop, with their undo.
#include "FakeSideView.h"

#include <QTest>

namespace {

// How a move is asked for: the keys' block to the top or the bottom, a drop of given lines
// before a line, or the current line one up or down.
enum class BlockMove { Top, Bottom, Drop, Up, Down };

} // namespace

Q_DECLARE_METATYPE(BlockMove)

class TestMoveEntries : public QObject
{
    Q_OBJECT

private slots:
    void movesOrRefuses_data();
    void movesOrRefuses();
    void movesBlocks_data();
    void movesBlocks();
    void sidesAreIndependent();
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

// DEST lists a, b, c, d, e; unlisted records sit between a and b and between c and d, at
// table positions 1 and 4, and must never move, not even when a line moves past them.
// `dropped` are the lines a drop carries.
void TestMoveEntries::movesBlocks_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("current");
    QTest::addColumn<BlockMove>("move");
    QTest::addColumn<QList<int>>("dropped");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("lines"); // the lines afterwards
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::addColumn<int>("currentAfter");
    const QList<int> none;
    const auto top = BlockMove::Top;
    const auto bottom = BlockMove::Bottom;
    const auto drop = BlockMove::Drop;
    const auto up = BlockMove::Up;
    const auto down = BlockMove::Down;
    // Laid out by hand: the formatter would give every value of a row a line of its own.
    // clang-format off
    QTest::newRow("top") << QList<int>{2, 4} << 0 << top << none << 0 << "c e a b d"
                         << QList<int>{0, 1} << 0;
    QTest::newRow("bottom") << QList<int>{0, 2} << 4 << bottom << none << 0 << "b d e a c"
                            << QList<int>{3, 4} << 3;
    QTest::newRow("none selected: the current line") << none << 3 << top << none << 0
                                                     << "d a b c e" << none << 0;
    QTest::newRow("none selected, no current line") << none << -1 << bottom << none << 0
                                                    << "a b c d e" << none << -1;
    QTest::newRow("all selected") << QList<int>{0, 1, 2, 3, 4} << 2 << top << none << 0
                                  << "a b c d e" << QList<int>{0, 1, 2, 3, 4} << 2;
    QTest::newRow("already at the top") << QList<int>{0, 1} << 3 << top << none << 0
                                        << "a b c d e" << QList<int>{0, 1} << 3;
    QTest::newRow("already at the bottom") << QList<int>{4} << 1 << bottom << none << 0
                                           << "a b c d e" << QList<int>{4} << 1;
    QTest::newRow("drop before a line") << QList<int>{3} << 0 << drop << QList<int>{3, 4} << 1
                                        << "a d e b c" << QList<int>{1} << 1;
    QTest::newRow("drop at the end") << none << 0 << drop << QList<int>{0} << 5 << "b c d e a"
                                     << none << 4;
    QTest::newRow("drop within its block") << none << 0 << drop << QList<int>{1, 3} << 2
                                           << "a b d c e" << none << 1;
    QTest::newRow("drop on its own place") << none << 4 << drop << QList<int>{1, 2} << 2
                                           << "a b c d e" << none << 4;
    QTest::newRow("drop of an unselected line") << QList<int>{0, 4} << 0 << drop
                                                << QList<int>{2} << 0 << "c a b d e"
                                                << QList<int>{1, 4} << 0;
    QTest::newRow("drop of lines out of order") << none << 0 << drop << QList<int>{4, 9, 1, 4}
                                                << 0 << "b e a c d" << none << 0;
    QTest::newRow("drop past the end") << none << 2 << drop << QList<int>{0} << 6 << "a b c d e"
                                       << none << 2;
    QTest::newRow("up past an unlisted record") << QList<int>{3} << 3 << up << none << 0
                                                << "a b d c e" << QList<int>{2} << 2;
    QTest::newRow("down past an unlisted record") << QList<int>{1, 4} << 0 << down << none << 0
                                                  << "b a c d e" << QList<int>{0, 4} << 1;
    // clang-format on
}

void TestMoveEntries::movesBlocks()
{
    QFETCH(QList<int>, selected);
    QFETCH(int, current);
    QFETCH(BlockMove, move);
    QFETCH(QList<int>, dropped);
    QFETCH(int, before);
    QFETCH(QString, lines);
    QFETCH(QList<int>, selectedAfter);
    QFETCH(int, currentAfter);

    // The table the lines give, with the unlisted records in their places.
    const auto tableOf = [](const QString &listed) {
        QByteArrayList names = listed.toLatin1().split(' ');
        names.insert(1, "h1");
        names.insert(4, "h2");
        return names;
    };
    const QByteArrayList original = tableOf(QStringLiteral("a b c d e"));
    PatchTable table = entriesNamed(original);
    table[1].Omnipresence = 2;
    table[4].Omnipresence = 3;
    EditorRig rig;
    rig.load(Side::Right, table);
    rig.right.select(selected);
    rig.right.current = current;

    if (move == BlockMove::Top) {
        rig.editor.moveBlockToTop(Side::Right);
    } else if (move == BlockMove::Bottom) {
        rig.editor.moveBlockToBottom(Side::Right);
    } else if (move == BlockMove::Up) {
        rig.editor.moveUp(Side::Right);
    } else if (move == BlockMove::Down) {
        rig.editor.moveDown(Side::Right);
    } else {
        rig.editor.dropLines(Side::Right, Side::Right, dropped, before);
    }

    const QByteArrayList after = tableOf(lines);
    QCOMPARE(namesOf(rig.sets.DestTable), after);
    QCOMPARE(rig.right.lines.join(QLatin1Char(' ')), lines);
    QCOMPARE(rig.right.selectedLines(), selectedAfter);
    QCOMPARE(rig.right.current, currentAfter);
    QCOMPARE(rig.right.countText, QStringLiteral("5"));
    QCOMPARE(rig.right.marks.size(), 5);
    for (const PatchEntry &entry : std::as_const(rig.sets.DestTable)) {
        QCOMPARE(entry.Description, "about " + entry.Name); // whole records travel
    }
    QCOMPARE(rig.sets.DestTable.at(1).Omnipresence, quint8(2));
    QCOMPARE(rig.sets.DestTable.at(4).Omnipresence, quint8(3));

    // A move is one step; a block already in place is none, so the undo takes back the load.
    rig.editor.undo();
    QCOMPARE(namesOf(rig.sets.DestTable), after == original ? QByteArrayList() : original);
    rig.editor.redo();
    QCOMPARE(namesOf(rig.sets.DestTable), after);
    QVERIFY(!rig.editor.canRedo());
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

QTEST_GUILESS_MAIN(TestMoveEntries)
#include "TestMoveEntries.moc"
