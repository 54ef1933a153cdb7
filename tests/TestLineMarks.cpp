// The marks of entries both sets share follow every change: a copy, its undo and redo, a move,
// a delete, NEW, a load, a cleared selection and a take each leave every line of both sides
// with the mark its entry now earns, as the lines show it and as a list model reads it, and
// run the change handler once per command, however many refreshes the command made.
#include "EditorSteps.h"

#include <QTest>

namespace {

// Expected mark texts from a code per line: '.' no namesake, '=' identical, '~' differs.
QStringList expectedMarks(Side side, const QString &code)
{
    const QString also =
        side == Side::Left ? QStringLiteral("also in DEST, ") : QStringLiteral("also in SRC, ");
    QStringList texts;
    for (const QChar mark : code) {
        texts.append(mark == '=' ? also + "identical" : mark == '~' ? also + "differs" : QString());
    }
    return texts;
}

} // namespace

class TestLineMarks : public QObject
{
    Q_OBJECT

private slots:
    void marksFollowEveryChange_data();
    void marksFollowEveryChange();
};

// SRC is {a, b, c, X} with c described "src c". DEST lists {b, c, x, c}: its first c is
// described "about c", its second "src c"; an unlisted "a" (Omnipresence 2) follows.
void TestLineMarks::marksFollowEveryChange_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("srcMarks");
    QTest::addColumn<QString>("destMarks");
    // Runs of the change handler: one per command, however many refreshes it made.
    QTest::addColumn<int>("changes");

    // clang-format off
    const Command copyX = [](EditorRig &rig) {
        rig.left.select({3});
        rig.editor.copyIntoDest();
    };
    QTest::newRow("loaded") << Command([](EditorRig &) {}) << ".=~." << "=~.=" << 0;
    QTest::newRow("copy") << copyX << ".=~=" << "=~.==" << 1;
    QTest::newRow("copy undone") << Command([copyX](EditorRig &rig) {
        copyX(rig);
        rig.editor.undo();
    }) << ".=~." << "=~.=" << 2;
    QTest::newRow("copy redone") << Command([copyX](EditorRig &rig) {
        copyX(rig);
        rig.editor.undo();
        rig.editor.redo();
    }) << ".=~=" << "=~.==" << 3;
    QTest::newRow("move makes the equal c first") << Command([](EditorRig &rig) {
        rig.right.current = 3;
        rig.editor.moveUp(Side::Right);
        rig.editor.moveUp(Side::Right);
    }) << ".==." << "==~." << 2;
    QTest::newRow("delete") << Command([](EditorRig &rig) {
        rig.right.select({0});
        rig.editor.deleteSelectedDest();
    }) << "..~." << "~.=" << 1;
    QTest::newRow("NEW") << Command([](EditorRig &rig) { rig.editor.newDestSet(); }) << "...."
                         << "." << 1;
    QTest::newRow("load SRC") << Command([](EditorRig &rig) {
        rig.editor.installLoadedSet(Side::Left, entriesNamed({"x"}), "0.3", QString(),
                                    fileTime(5));
    }) << "=" << "..=." << 1;
    QTest::newRow("clear a selection") << Command([](EditorRig &rig) {
        rig.editor.clearSelection(Side::Right);
    }) << ".=~." << "=~.=" << 1;
    QTest::newRow("take the description") << Command([](EditorRig &rig) {
        rig.left.current = 2;
        rig.editor.takeFromSrc(Side::Left, {{RowKey::Kind::Field, 2}});
    }) << ".==." << "==.=" << 1;
    // clang-format on
}

void TestLineMarks::marksFollowEveryChange()
{
    QFETCH(Command, command);
    QFETCH(QString, srcMarks);
    QFETCH(QString, destMarks);
    QFETCH(int, changes);

    EditorRig rig;
    PatchTable src = entriesNamed({"a", "b", "c", "X"});
    src[2].Description = "src c";
    PatchTable dest = entriesNamed({"b", "c", "x", "c", "a"});
    dest[3].Description = "src c";
    dest[4].Omnipresence = 2;
    rig.editor.installLoadedSet(Side::Left, src, "0.3", QString(), fileTime(6));
    rig.editor.installLoadedSet(Side::Right, dest, "0.3", QString(), fileTime(7));
    rig.changes = 0;

    command(rig);

    QCOMPARE(markTexts(Side::Left, rig.left.marks), expectedMarks(Side::Left, srcMarks));
    QCOMPARE(markTexts(Side::Right, rig.right.marks), expectedMarks(Side::Right, destMarks));
    QCOMPARE(rig.changes, changes);
    for (const Side side : {Side::Left, Side::Right}) { // the marks a list model reads
        for (int line = 0; line < rig.view(side).lineCount(); ++line) {
            QCOMPARE(rig.editor.listing(side).markOfLine(line), rig.view(side).marks.value(line));
        }
    }
}

QTEST_GUILESS_MAIN(TestLineMarks)
#include "TestLineMarks.moc"
