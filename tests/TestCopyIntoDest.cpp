// "copy >>": deleting the selected DEST entries, copying the selected SRC entries with the
// overwrite question (numbered, saying what differs, never about an identical namesake), the
// landing line, the detail, the "save" switch and SRC's selection; and SRC lines dropped on
// DEST, copied to the place of the drop.
#include "FakeSideView.h"
#include "SlotEdits.h"

#include <QTest>

namespace {

// The question about `name`, question `number` of `count`, whose entries differ in `rows`.
QString question(const QString &name, int number = 1, int count = 1,
                 const QString &rows = QStringLiteral("Description"))
{
    return QStringLiteral("Confirm patch overwrite|Patch with name ''") + name
        + QStringLiteral("'' already exists. Overwrite?|Question %1 of %2\nDiffers in %3")
              .arg(number)
              .arg(count)
              .arg(rows);
}

// Overwrite answers in one letter each: y Yes, n No, Y Yes to all, N No to all, c Cancel.
QList<OverwriteAnswer> answersFrom(const QString &letters)
{
    QList<OverwriteAnswer> answers;
    for (const QChar letter : letters) {
        const int at = QStringLiteral("ynYNc").indexOf(letter);
        Q_ASSERT(at >= 0);
        answers.append(OverwriteAnswer(at));
    }
    return answers;
}

} // namespace

class TestCopyIntoDest : public QObject
{
    Q_OBJECT

private slots:
    void copiesAndDeletes_data();
    void copiesAndDeletes();
    void overwriteTakesWholeEntry();
    void deleteKeepsThePlace_data();
    void deleteKeepsThePlace();
    void landingLineBeyondByteRange_data();
    void landingLineBeyondByteRange();
    void unlistedRecordsNeverHit();
    void dropCopiesToItsPlace_data();
    void dropCopiesToItsPlace();
};

// SRC is {"a", "b", "c", "A", "b", "Empty patch entry", "x", "b"}, each described "src " + name
// but the second "b", described "second b", and "x", identical to DEST's; "Empty patch entry"
// also differs in RequiresSave and data slot 11. DEST is {"x", "b", "Empty patch entry"}, each
// described "about " + name. `about` is the description of the current DEST entry: the
// last one copied (or found identical), or, when the last answer copied nothing, the entry
// current before the copy ("Empty patch entry" on line 2), which keeps the user's place. Each
// press is one step, deletes and copies together, or none when the answers left DEST as it
// was. A Cancel leaves SRC's selection as it was, any other end none.
void TestCopyIntoDest::copiesAndDeletes_data()
{
    QTest::addColumn<QList<int>>("srcLines");
    QTest::addColumn<QList<int>>("destLines");
    QTest::addColumn<QString>("answers"); // as answersFrom() takes them
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QByteArrayList>("dest");
    QTest::addColumn<int>("current");
    QTest::addColumn<QByteArray>("about");

    const QByteArrayList original{"x", "b", "Empty patch entry"};
    const QByteArrayList bAtEnd{"x", "Empty patch entry", "b"};
    const QByteArray aboutPlace("about Empty patch entry");
    const QStringList askedB{question("b")};
    // Laid out by hand: the formatter would give every value of a row a line of its own.
    // clang-format off
    QTest::newRow("append") << QList<int>{0} << QList<int>{} << "" << QStringList{}
                            << (original + QByteArrayList{"a"}) << 3 << QByteArray("src a");
    QTest::newRow("overwrite yes") << QList<int>{1} << QList<int>{} << "y" << askedB << original
                                   << 1 << QByteArray("src b");
    QTest::newRow("overwrite no") << QList<int>{1} << QList<int>{} << "n" << askedB << original
                                  << 2 << aboutPlace;
    QTest::newRow("case differs") << QList<int>{3} << QList<int>{} << "" << QStringList{}
                                  << (original + QByteArrayList{"A"}) << 3 << QByteArray("src A");
    QTest::newRow("one new name twice, yes") << QList<int>{1, 4} << QList<int>{1} << "y" << askedB
                                             << bAtEnd << 2 << QByteArray("second b");
    QTest::newRow("one new name twice, no") << QList<int>{1, 4} << QList<int>{1} << "n" << askedB
                                            << bAtEnd << 1 << aboutPlace;
    QTest::newRow("dest and src of one name") << QList<int>{1} << QList<int>{1} << ""
                                              << QStringList{} << bAtEnd << 2
                                              << QByteArray("src b");
    QTest::newRow("three in src order") << QList<int>{0, 2, 3} << QList<int>{} << ""
                                        << QStringList{}
                                        << (original + QByteArrayList{"a", "c", "A"}) << 5
                                        << QByteArray("src A");
    const QString placeholder("Empty patch entry");
    const QString placeholderRows("Description, RequiresSave, Data slot 11");
    QTest::newRow("placeholder asks") << QList<int>{5} << QList<int>{} << "n"
                                      << QStringList{question(placeholder, 1, 1, placeholderRows)}
                                      << original << 2 << aboutPlace;
    QTest::newRow("delete two, append one") << QList<int>{2} << QList<int>{0, 2} << ""
                                            << QStringList{} << QByteArrayList{"b", "c"} << 1
                                            << QByteArray("src c");
    QTest::newRow("no then yes") << QList<int>{1, 4} << QList<int>{} << "ny"
                                 << QStringList{question("b", 1, 2), question("b", 2, 2)}
                                 << original << 1 << QByteArray("second b");
    // An identical namesake is left as it is, unasked and uncounted, and lands as a Yes would.
    QTest::newRow("identical") << QList<int>{6} << QList<int>{} << "" << QStringList{}
                               << original << 0 << QByteArray("about x");
    QTest::newRow("identical last") << QList<int>{1, 5, 6} << QList<int>{} << "yn"
                                    << QStringList{question("b", 1, 2),
                                                   question(placeholder, 2, 2, placeholderRows)}
                                    << original << 0 << QByteArray("about x");
    // The count foresees Yes answers: after a Yes the second "src b" is identical to the first,
    // after a No it meets DEST's b and is asked about, and the count grows.
    QTest::newRow("same entry twice, yes") << QList<int>{1, 7} << QList<int>{} << "y" << askedB
                                           << original << 1 << QByteArray("src b");
    QTest::newRow("same entry twice, no") << QList<int>{1, 5, 7} << QList<int>{} << "nnn"
                                          << QStringList{question("b", 1, 2),
                                                         question(placeholder, 2, 3,
                                                                  placeholderRows),
                                                         question("b", 3, 3)}
                                          << original << 2 << aboutPlace;
    // The "to all" answers hold for every later namesake of the copy, and a Cancel stops it
    // where it is, keeping what it did; neither asks again.
    const QStringList firstOf3{question("b", 1, 3)};
    QTest::newRow("yes to all") << QList<int>{0, 1, 4, 5} << QList<int>{} << "Y" << firstOf3
                                << (original + QByteArrayList{"a"}) << 2
                                << QByteArray("src Empty patch entry");
    QTest::newRow("no to all") << QList<int>{1, 4, 5} << QList<int>{} << "N" << firstOf3
                               << original << 2 << aboutPlace;
    QTest::newRow("no to all, new names copied") << QList<int>{1, 2} << QList<int>{} << "N"
                                                 << askedB << (original + QByteArrayList{"c"})
                                                 << 3 << QByteArray("src c");
    QTest::newRow("cancel") << QList<int>{0, 1, 2, 5} << QList<int>{} << "c"
                            << QStringList{question("b", 1, 2)}
                            << (original + QByteArrayList{"a"}) << 2 << aboutPlace;
    QTest::newRow("yes, then cancel") << QList<int>{1, 4, 5} << QList<int>{} << "yc"
                                      << QStringList{question("b", 1, 3), question("b", 2, 3)}
                                      << original << 2 << aboutPlace;
    QTest::newRow("cancel at once") << QList<int>{1, 2} << QList<int>{} << "c" << askedB
                                    << original << 2 << aboutPlace;
    QTest::newRow("cancel after a delete") << QList<int>{1} << QList<int>{0} << "c" << askedB
                                           << QByteArrayList{"b", "Empty patch entry"} << 1
                                           << aboutPlace;
    // clang-format on
}

void TestCopyIntoDest::copiesAndDeletes()
{
    QFETCH(QList<int>, srcLines);
    QFETCH(QList<int>, destLines);
    QFETCH(QString, answers);
    QFETCH(QStringList, questions);
    QFETCH(QByteArrayList, dest);
    QFETCH(int, current);
    QFETCH(QByteArray, about);

    EditorRig rig;
    PatchTable src = entriesNamed({"a", "b", "c", "A", "b", "Empty patch entry", "x", "b"}, "src ");
    src[4].Description = "second b";
    src[5].RequiresSave = 7;
    setOffffset(src[5], 11, "0040");
    src[6].Description = "about x";
    rig.load(Side::Left, src);
    const PatchTable loaded = entriesNamed({"x", "b", "Empty patch entry"});
    rig.load(Side::Right, loaded);
    rig.left.select(srcLines);
    rig.right.select(destLines);
    rig.right.current = 2;
    rig.answers = answersFrom(answers);
    rig.switches = FakeSwitches(); // both off, so the checks see what the command switched

    rig.editor.copyIntoDest();

    QCOMPARE(rig.questions, questions);
    QVERIFY(rig.answers.isEmpty());
    QCOMPARE(namesOf(rig.sets.DestTable), dest);
    QCOMPARE(rig.right.countText, QString::number(dest.size()));
    QCOMPARE(rig.right.current, current);
    QCOMPARE(rig.sets.DestTable.at(current).Description, about);
    QCOMPARE(rig.details, QByteArrayList{dest.at(current)});
    QCOMPARE(rig.left.selectedLines(), answers.endsWith('c') ? srcLines : QList<int>());
    QVERIFY(rig.right.selectedLines().isEmpty());
    QCOMPARE(rig.left.current, 0);
    // Both sides hold a set before and after, so the copy switches nothing.
    QVERIFY(!rig.switches.saveEnabled);
    QVERIFY(!rig.switches.copyEnabled);
    QCOMPARE(rig.sets.SrcTable, src);

    // Without a step of its own, the undo takes back the DEST load.
    const bool changed = rig.sets.DestTable != loaded;
    rig.editor.undo();
    QCOMPARE(rig.sets.DestTable, changed ? loaded : PatchTable());
}

void TestCopyIntoDest::overwriteTakesWholeEntry()
{
    EditorRig rig;
    PatchTable src = entriesNamed({"b"});
    src[0].RequiresSave = 7;
    setOffffset(src[0], 42, "0000ABCD");
    setExistence(src[0], 3, 1);
    rig.load(Side::Left, src);
    rig.load(Side::Right, entriesNamed({"x", "b", "y"}));
    rig.left.select({0});
    rig.answers = {OverwriteAnswer::Yes};

    rig.editor.copyIntoDest();

    QCOMPARE(rig.sets.DestTable.at(1), src.at(0));
    setOffffset(rig.sets.DestTable[1], 42, "changed");
    QCOMPARE(dataSlot(rig.sets.SrcTable.at(0), 42).Offffset, QByteArray("0000ABCD"));
}

// `deleteKey` presses the delete command instead of "copy >>", and with no SRC set. DEST is
// {a, b, c}; the current line stays with its entry, or takes the first deleted line. Each
// press is one step, or none when it found nothing selected.
void TestCopyIntoDest::deleteKeepsThePlace_data()
{
    QTest::addColumn<bool>("deleteKey");
    QTest::addColumn<QList<int>>("destLines");
    QTest::addColumn<int>("currentBefore");
    QTest::addColumn<QByteArrayList>("dest");
    QTest::addColumn<int>("currentAfter");
    // Laid out by hand: the formatter would give every value of a row a line of its own.
    // clang-format off
    QTest::newRow("copy, some left") << false << QList<int>{0, 2} << 1 << QByteArrayList{"b"} << 0;
    QTest::newRow("copy, none left") << false << QList<int>{0, 1, 2} << 0 << QByteArrayList{} << -1;
    QTest::newRow("copy, current kept") << false << QList<int>{1} << 2
                                        << QByteArrayList{"a", "c"} << 1;
    QTest::newRow("copy, nothing selected") << false << QList<int>{} << 1
                                            << QByteArrayList{"a", "b", "c"} << 1;
    QTest::newRow("key, none left") << true << QList<int>{0, 1, 2} << 1 << QByteArrayList{} << -1;
    QTest::newRow("key, first deleted") << true << QList<int>{0, 2} << 0 << QByteArrayList{"b"}
                                        << 0;
    QTest::newRow("key, current deleted") << true << QList<int>{1} << 1
                                          << QByteArrayList{"a", "c"} << 1;
    QTest::newRow("key, current and last deleted") << true << QList<int>{1, 2} << 2
                                                   << QByteArrayList{"a"} << 0;
    QTest::newRow("key, current below the deleted") << true << QList<int>{0, 1} << 2
                                                    << QByteArrayList{"c"} << 0;
    QTest::newRow("key, current above the deleted") << true << QList<int>{2} << 1
                                                    << QByteArrayList{"a", "b"} << 1;
    // clang-format on
}

void TestCopyIntoDest::deleteKeepsThePlace()
{
    QFETCH(bool, deleteKey);
    QFETCH(QList<int>, destLines);
    QFETCH(int, currentBefore);
    QFETCH(QByteArrayList, dest);
    QFETCH(int, currentAfter);

    EditorRig rig;
    if (!deleteKey) {
        rig.load(Side::Left, entriesNamed({"s"}));
    }
    const PatchTable loaded = entriesNamed({"a", "b", "c"});
    rig.load(Side::Right, loaded);
    rig.right.select(destLines);
    rig.right.current = currentBefore;

    if (deleteKey) {
        rig.editor.deleteSelectedDest();
    } else {
        rig.editor.copyIntoDest();
    }

    QCOMPARE(namesOf(rig.sets.DestTable), dest);
    QVERIFY(rig.right.selectedLines().isEmpty());
    QCOMPARE(rig.right.current, currentAfter);
    QVERIFY(rig.details.isEmpty());
    rig.editor.undo();
    QCOMPARE(rig.sets.DestTable, destLines.isEmpty() ? PatchTable() : loaded);
}

// The landing line is kept whatever the size of DEST, well past 8 bits and up to the most
// entries a set holds. SRC is {name, "other", name}, all copied with Yes answers after the
// last `deletes` DEST lines went. A copy that could take DEST past that many entries
// (`room`: how many more it can take) is refused whole: no question, no delete, no step.
void TestCopyIntoDest::landingLineBeyondByteRange_data()
{
    QTest::addColumn<int>("destSize");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<int>("deletes");
    QTest::addColumn<bool>("drag"); // dropped at the end of DEST instead
    QTest::addColumn<int>("room");  // -1: the copy goes ahead
    QTest::newRow("append at 256") << 256 << false << 0 << false << -1;
    QTest::newRow("append up to the limit") << 32766 << false << 0 << false << -1;
    QTest::newRow("overwrite at 300") << 301 << true << 0 << false << -1;
    QTest::newRow("overwrite up to the limit") << 32767 << true << 0 << false << -1;
    QTest::newRow("append past the limit") << 32767 << false << 0 << false << 1;
    QTest::newRow("a delete makes room") << 32768 << false << 2 << false << -1;
    QTest::newRow("a delete too few") << 32768 << false << 1 << false << 1;
    QTest::newRow("a deleted namesake") << 32768 << true << 1 << false << 1;
    QTest::newRow("drag up to the limit") << 32766 << false << 0 << true << -1;
    QTest::newRow("drag past the limit") << 32768 << false << 0 << true << 0;
}

void TestCopyIntoDest::landingLineBeyondByteRange()
{
    QFETCH(int, destSize);
    QFETCH(bool, overwrite);
    QFETCH(int, deletes);
    QFETCH(bool, drag);
    QFETCH(int, room);

    QByteArrayList names;
    for (int position = 0; position < destSize; ++position) {
        names.append("d" + QByteArray::number(position));
    }
    const QByteArray name = overwrite ? names.last() : QByteArray("new");
    EditorRig rig;
    rig.load(Side::Left, entriesNamed({name, "other", name}));
    const PatchTable loaded = entriesNamed(names);
    rig.load(Side::Right, loaded);
    rig.left.select({0, 1, 2});
    rig.right.select(QList<int>{destSize - 2, destSize - 1}.last(deletes));
    rig.answers = {OverwriteAnswer::Yes, OverwriteAnswer::Yes};

    if (drag) {
        rig.editor.dropLines(Side::Left, Side::Right, {0, 1, 2}, destSize);
    } else {
        rig.editor.copyIntoDest();
    }

    if (room >= 0) {
        const QString text("DEST can hold 32768 entries at most. It can take %1 more, and "
                           "this copy would add 2.");
        QCOMPARE(rig.messages, QStringList{text.arg(room)});
        QVERIFY(rig.questions.isEmpty());
        QVERIFY(rig.sets.DestTable == loaded);
        QCOMPARE(rig.right.selectedLines().size() + rig.left.selectedLines().size(), deletes + 3);
        rig.editor.undo(); // no step of its own: the undo takes back the DEST load
        QVERIFY(rig.sets.DestTable.isEmpty());
        return;
    }
    const int landing = (overwrite ? destSize - 1 : destSize) - deletes;
    QVERIFY(rig.messages.isEmpty());
    QCOMPARE(rig.right.current, landing);
    QCOMPARE(rig.right.lines.at(landing), QString::fromLatin1(name));
    QCOMPARE(rig.details, QByteArrayList{name});
    QCOMPARE(rig.sets.DestTable.at(landing).Description, QByteArray("about " + name));
    QCOMPARE(rig.right.countText, QString::number(destSize - deletes + (overwrite ? 1 : 2)));
}

// Records with Omnipresence 2 are kept but not listed; copy, delete and the detail act on
// the records the chosen lines show.
void TestCopyIntoDest::unlistedRecordsNeverHit()
{
    EditorRig rig;
    PatchTable src = entriesNamed({"hs", "s1", "s2"});
    src[0].Omnipresence = 2;
    PatchTable dest = entriesNamed({"hd", "d1", "d2", "hidden"});
    dest[0].Omnipresence = 2;
    dest[3].Omnipresence = 2;
    rig.load(Side::Left, src);
    rig.load(Side::Right, dest);
    QCOMPARE(rig.left.lines, QStringList({"s1", "s2"}));
    QCOMPARE(rig.right.lines, QStringList({"d1", "d2"}));

    rig.left.select({1});  // "s2"
    rig.right.select({0}); // "d1"
    rig.editor.copyIntoDest();

    QCOMPARE(namesOf(rig.sets.DestTable), QByteArrayList({"hd", "d2", "hidden", "s2"}));
    QCOMPARE(rig.sets.DestTable.at(0).Omnipresence, quint8(2));
    QCOMPARE(rig.sets.DestTable.at(2).Omnipresence, quint8(2));
    QCOMPARE(rig.right.lines, QStringList({"d2", "s2"}));
    QCOMPARE(rig.right.current, 1);
    QCOMPARE(rig.details, QByteArrayList{"s2"});
    QCOMPARE(rig.sets.SrcTable, src);

    // An unlisted record of the same name is still the first of that name: it is offered.
    rig.load(Side::Left, entriesNamed({"hidden"}));
    rig.left.select({0});
    rig.answers = {OverwriteAnswer::No};
    rig.editor.copyIntoDest();
    QCOMPARE(rig.questions, QStringList{question("hidden", 1, 1, "Omnipresence")});
    QCOMPARE(rig.right.current, 0);

    // So a line marked identical to its listed namesake is not one "copy >>" leaves as it is
    // when an unlisted record of its name comes first: b is, a is asked about.
    PatchTable shadowed = entriesNamed({"a", "a", "b"});
    shadowed[0].Omnipresence = 2;
    rig.load(Side::Right, shadowed);
    rig.load(Side::Left, entriesNamed({"a", "b"}));
    QCOMPARE(rig.left.marks, QList<LineMark>(2, LineMark::Identical));
    QCOMPARE(rig.editor.identicalNamesakes({0, 1}, {}), 1);
    rig.questions.clear();
    rig.left.select({0, 1});
    rig.editor.copyIntoDest();
    QCOMPARE(rig.questions, QStringList{question("a", 1, 1, "Omnipresence")});
}

// SRC lists a, b, c, each described "src " + name, and y, identical to DEST's. DEST lists
// x, b, y, each described "about " + name, and keeps an unlisted "c" at table position 2,
// which it keeps unless a Yes lists it. DEST line 1 is selected and line 2 current before the
// drop. The drop asks as "copy >>" does.
void TestCopyIntoDest::dropCopiesToItsPlace_data()
{
    QTest::addColumn<Side>("from");
    QTest::addColumn<QList<int>>("dragged");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("answers"); // as answersFrom() takes them
    QTest::addColumn<QString>("dest");    // the DEST table afterwards; '*' marks a copy from SRC
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::addColumn<int>("currentAfter");
    const QString none;
    // Laid out by hand: the formatter would give every value of a row a line of its own.
    // clang-format off
    QTest::newRow("before the first line") << Side::Left << QList<int>{0} << 0 << none
                                           << "a* x c b y" << QList<int>{2} << 0;
    QTest::newRow("at the end") << Side::Left << QList<int>{0} << 3 << none << "x b c y a*"
                                << QList<int>{1} << 3;
    QTest::newRow("yes replaces where it stands") << Side::Left << QList<int>{0, 1} << 0
                                                  << "y" << "a* x c b* y"
                                                  << QList<int>{2} << 0;
    QTest::newRow("no skips") << Side::Left << QList<int>{0, 1} << 0 << "n"
                              << "a* x c b y" << QList<int>{2} << 0;
    QTest::newRow("only replaced") << Side::Left << QList<int>{1} << 0 << "y"
                                   << "x b* c y" << QList<int>{1} << 1;
    QTest::newRow("every answer no") << Side::Left << QList<int>{1} << 0 << "n"
                                     << "x b c y" << QList<int>{1} << 2;
    // The unlisted c gets a line of its own: the place is still before y.
    QTest::newRow("yes over an unlisted entry") << Side::Left << QList<int>{0, 2} << 2
                                                << "y" << "x b c* a* y"
                                                << QList<int>{1} << 3;
    QTest::newRow("cancel keeps what came before") << Side::Left << QList<int>{0, 1} << 0 << "c"
                                                   << "a* x c b y" << QList<int>{2} << 0;
    QTest::newRow("yes to all asks once") << Side::Left << QList<int>{1, 2} << 0 << "Y"
                                          << "x b* c* y" << QList<int>{1} << 2;
    // An identical namesake is neither asked about nor counted, and lands as a Yes would.
    QTest::newRow("identical lands on its namesake") << Side::Left << QList<int>{3} << 0 << none
                                                     << "x b c y" << QList<int>{1} << 2;
    QTest::newRow("identical among copies") << Side::Left << QList<int>{0, 3, 1} << 0 << "y"
                                            << "a* x c b* y" << QList<int>{2} << 0;
    QTest::newRow("DEST onto SRC refused") << Side::Right << QList<int>{0} << 0 << none
                                           << "x b c y" << QList<int>{1} << 2;
    // clang-format on
}

void TestCopyIntoDest::dropCopiesToItsPlace()
{
    QFETCH(Side, from);
    QFETCH(QList<int>, dragged);
    QFETCH(int, before);
    QFETCH(QString, answers);
    QFETCH(QString, dest);
    QFETCH(QList<int>, selectedAfter);
    QFETCH(int, currentAfter);

    EditorRig rig;
    PatchTable src = entriesNamed({"a", "b", "c", "y"}, "src ");
    src[3].Description = "about y";
    PatchTable destTable = entriesNamed({"x", "b", "c", "y"});
    destTable[2].Omnipresence = 2;
    rig.load(Side::Left, src);
    rig.load(Side::Right, destTable);
    rig.left.select({0, 2});
    rig.right.select({1});
    rig.right.current = 2;
    rig.answers = answersFrom(answers);
    const PatchSets loaded = rig.sets;

    rig.editor.dropLines(from, from == Side::Left ? Side::Right : Side::Left, dragged, before);

    QStringList shown;
    for (const PatchEntry &entry : std::as_const(rig.sets.DestTable)) {
        shown.append(QString::fromLatin1(entry.Name)
                     + (entry.Description.startsWith("src") ? QStringLiteral("*") : QString()));
    }
    QCOMPARE(shown.join(QLatin1Char(' ')), dest);
    QCOMPARE(rig.questions.size(), answers.size()); // an identical namesake asks nothing
    QVERIFY(rig.answers.isEmpty());
    QCOMPARE(rig.right.selectedLines(), selectedAfter);
    QCOMPARE(rig.right.current, currentAfter);
    QCOMPARE(rig.left.selectedLines(), QList<int>({0, 2}));
    QCOMPARE(rig.sets.SrcTable, src);
    const bool changed = rig.sets != loaded;
    const bool landed = changed || (from == Side::Left && dragged.contains(3)); // y is identical
    QCOMPARE(rig.details,
             landed ? QByteArrayList{rig.editor.currentEntry(Side::Right)->Name}
                    : QByteArrayList{});

    // One step, or none when nothing changed: then the undo takes back the DEST load.
    rig.editor.undo();
    QCOMPARE(rig.sets.DestTable, changed ? loaded.DestTable : PatchTable());
}

QTEST_GUILESS_MAIN(TestCopyIntoDest)
#include "TestCopyIntoDest.moc"
