// The side refresh, deselect and placeholder set: tables, lines, selections and counts
// staying in step.
#include "FakeSideView.h"

#include <QTest>

class TestSideRefresh : public QObject
{
    Q_OBJECT

private slots:
    void selectionFollowsRecords_data();
    void selectionFollowsRecords();
    void appendedRecordsComeUnselected();
    void emptyNameGivesSelectableLine();
    void emptyTableGivesNoLines_data();
    void emptyTableGivesNoLines();
    void unlistedRecordsStayAndMapLines();
    void deselectClearsEveryLine();
    void emptySetReplacesTable();
    void installReplacesSideAndRefreshesBoth();
};

// Five entries a..e, all listed; `deleted` lists the positions marked deleted before the
// refresh, `selected` the lines selected before it.
void TestSideRefresh::selectionFollowsRecords_data()
{
    QTest::addColumn<QList<int>>("deleted");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<QList<int>>("selectedAfter");

    QTest::newRow("nothing deleted") << QList<int>{} << QList<int>{1, 3}
                                     << QByteArrayList{"a", "b", "c", "d", "e"} << QList<int>{1, 3};
    QTest::newRow("three in the middle")
        << QList<int>{1, 2, 3} << QList<int>{4} << QByteArrayList{"a", "e"} << QList<int>{1};
    QTest::newRow("first") << QList<int>{0} << QList<int>{2, 4}
                           << QByteArrayList{"b", "c", "d", "e"} << QList<int>{1, 3};
    QTest::newRow("last") << QList<int>{4} << QList<int>{0, 3} << QByteArrayList{"a", "b", "c", "d"}
                          << QList<int>{0, 3};
    QTest::newRow("every second") << QList<int>{0, 2, 4} << QList<int>{1}
                                  << QByteArrayList{"b", "d"} << QList<int>{0};
    QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4} << QList<int>{0, 4} << QByteArrayList{}
                         << QList<int>{};
}

void TestSideRefresh::selectionFollowsRecords()
{
    QFETCH(QList<int>, deleted);
    QFETCH(QList<int>, selected);
    QFETCH(QByteArrayList, names);
    QFETCH(QList<int>, selectedAfter);

    EditorRig rig;
    rig.load(Side::Right, entriesNamed({"a", "b", "c", "d", "e"}));
    rig.right.select(selected);
    for (const int position : deleted) {
        rig.editor.KillRiteEntry(position);
    }
    rig.editor.RefreshSide(Side::Right);

    QCOMPARE(namesOf(rig.sets.DestTable), names);
    QStringList lines;
    for (const QByteArray &name : names) {
        lines.append(QString::fromLatin1(name));
    }
    QCOMPARE(rig.right.lines, lines);
    QCOMPARE(rig.right.selectedLines(), selectedAfter);
    QCOMPARE(rig.right.current, names.isEmpty() ? -1 : 0);
    QCOMPARE(rig.right.countText, QString::number(names.size()));
    for (const PatchEntry &entry : std::as_const(rig.sets.DestTable)) {
        QCOMPARE(entry.Omnipresence, quint8(1)); // no deleted record is left to be saved
    }
}

void TestSideRefresh::appendedRecordsComeUnselected()
{
    EditorRig rig;
    rig.load(Side::Right, entriesNamed({"a", "b"}));
    rig.right.select({0, 1});
    rig.sets.DestTable.append(entriesNamed({"c"}));
    rig.editor.RefreshSide(Side::Right);

    QCOMPARE(rig.right.lines, QStringList({"a", "b", "c"}));
    QCOMPARE(rig.right.selectedLines(), QList<int>({0, 1}));
    QCOMPARE(rig.right.countText, QStringLiteral("3"));
}

void TestSideRefresh::emptyNameGivesSelectableLine()
{
    EditorRig rig;
    rig.load(Side::Left, entriesNamed({"a", "", "\xe9t\xe9"}));
    QCOMPARE(rig.left.lines, QStringList({"a", "", QStringLiteral("\u00e9t\u00e9")}));
    rig.left.select({1});
    rig.editor.RefreshSide(Side::Left);
    QCOMPARE(rig.left.selectedLines(), QList<int>({1}));
}

void TestSideRefresh::emptyTableGivesNoLines_data()
{
    QTest::addColumn<bool>("deselect");
    QTest::newRow("refresh") << false;
    QTest::newRow("deselect") << true;
}

void TestSideRefresh::emptyTableGivesNoLines()
{
    QFETCH(bool, deselect);
    EditorRig rig;
    rig.left.countText = QStringLiteral("stale");
    if (deselect) {
        rig.editor.DeselectSide(Side::Left);
    } else {
        rig.editor.RefreshSide(Side::Left);
    }
    QVERIFY(rig.left.lines.isEmpty());
    QCOMPARE(rig.left.current, -1);
    QCOMPARE(rig.left.countText, QStringLiteral("0"));
    QCOMPARE(rig.editor.currentEntry(Side::Left), nullptr);
}

// A record with Omnipresence 2 has no line, so every line after it shows a later record.
void TestSideRefresh::unlistedRecordsStayAndMapLines()
{
    EditorRig rig;
    PatchTable table = entriesNamed({"a", "hidden", "b", "c"});
    table[1].Omnipresence = 2;
    rig.load(Side::Right, table);
    rig.right.select({1});
    rig.editor.KillRiteEntry(0);
    rig.editor.RefreshSide(Side::Right);

    QCOMPARE(namesOf(rig.sets.DestTable), QByteArrayList({"hidden", "b", "c"}));
    QCOMPARE(rig.right.lines, QStringList({"b", "c"}));
    QCOMPARE(rig.right.selectedLines(), QList<int>({0})); // "b" kept its selection
    rig.right.select({0, 1});
    QCOMPARE(rig.editor.listing(Side::Right).selectedRecords(), QList<int>({1, 2}));
    QCOMPARE(rig.editor.listing(Side::Right).recordOfLine(0), 1);
    QCOMPARE(rig.editor.listing(Side::Right).recordOfLine(2), -1);
    rig.right.setCurrentLine(1);
    QVERIFY(rig.editor.currentEntry(Side::Right));
    QCOMPARE(rig.editor.currentEntry(Side::Right)->Name, QByteArray("c"));
}

void TestSideRefresh::deselectClearsEveryLine()
{
    EditorRig rig;
    rig.load(Side::Left, entriesNamed({"a", "b", "c"}));
    rig.left.select({0, 1, 2});
    rig.left.current = 2;
    rig.editor.DeselectSide(Side::Left);
    QCOMPARE(rig.left.lines, QStringList({"a", "b", "c"}));
    QVERIFY(rig.left.selectedLines().isEmpty());
    QCOMPARE(rig.left.current, 0);
}

void TestSideRefresh::emptySetReplacesTable()
{
    EditorRig rig;
    rig.load(Side::Right, entriesNamed({"a", "b"}));
    rig.right.select({1});
    rig.editor.MakeEmptySet(Side::Right);

    PatchEntry placeholder;
    placeholder.Omnipresence = 1;
    placeholder.Name = "Empty patch entry";
    QCOMPARE(rig.sets.DestTable, PatchTable{placeholder});
    QCOMPARE(rig.right.lines, QStringList{"Empty patch entry"});
    QCOMPARE(rig.right.countText, QStringLiteral("1"));
    QCOMPARE(rig.right.current, 0);
}

void TestSideRefresh::installReplacesSideAndRefreshesBoth()
{
    EditorRig rig;
    rig.load(Side::Left, entriesNamed({"s1", "s2"}));
    rig.left.select({1});
    rig.right.select({}); // never refreshed: DEST has no lines yet
    rig.right.countText.clear();
    rig.editor.installLoadedSet(Side::Right, entriesNamed({"d1", "d2", "d3"}), "0.2",
                                QStringLiteral("/tmp/d.tvr"), QDateTime::currentDateTime());

    QCOMPARE(namesOf(rig.sets.DestTable), QByteArrayList({"d1", "d2", "d3"}));
    QCOMPARE(rig.sets.DestVersion, QByteArray("0.2"));
    QCOMPARE(rig.sets.DestPath, QStringLiteral("/tmp/d.tvr"));
    QCOMPARE(rig.right.countText, QStringLiteral("3"));
    QVERIFY(rig.right.status.startsWith(QLatin1String("v.0.2 / ")));
    QCOMPARE(rig.left.selectedLines(), QList<int>({1})); // the other side keeps its selection
    QCOMPARE(rig.left.countText, QStringLiteral("2"));
    QVERIFY(rig.switches.copyEnabled);
    QVERIFY(rig.switches.saveEnabled);
}

QTEST_GUILESS_MAIN(TestSideRefresh)
#include "TestSideRefresh.moc"
