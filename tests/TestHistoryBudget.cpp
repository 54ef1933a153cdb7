// What the undo history keeps of the steps it records: the latest steps that fit its budget,
// never fewer than ten, with each piece of storage weighed once however many tables share it,
// and a reload that shares the storage of every entry it did not change. The weight itself is
// checked against a recount in TestHistoryTally.
#include "EditHistory.h"
#include "EditorSteps.h"
#include "SlotEdits.h"

#include <QTest>

#include <algorithm>

class TestHistoryBudget : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatFits_data();
    void keepsWhatFits();
    void reloadSharesUnchangedEntries_data();
    void reloadSharesUnchangedEntries();
};

namespace {

// The weight of one heavy table below: four texts of this size, and little else.
constexpr qint64 HeavyText = 64 * 1024;
constexpr qint64 HeavyTable = 4 * HeavyText;

// Thirty loads of DEST. Each table holds four entries with a heavy description, built apart,
// and one light entry; `Variant` says what the loads have in common.
enum class Variant { Distinct, Same, LightEntryChanged, EveryEntryTouched };

void thirtyLoads(EditorRig &rig, Variant variant)
{
    for (int load = 1; load <= 30; ++load) {
        const QByteArray prefix =
            variant == Variant::Distinct ? "L" + QByteArray::number(load) : "L";
        PatchTable table =
            entriesNamed({prefix + "-0", prefix + "-1", prefix + "-2", prefix + "-3", "light"});
        for (int heavy = 0; heavy < 4; ++heavy) {
            table[heavy].Description = QByteArray(HeavyText, char('a' + heavy));
        }
        if (variant == Variant::LightEntryChanged) {
            table[4].Description = "light " + QByteArray::number(load);
        }
        for (PatchEntry &entry : table) {
            if (variant == Variant::EveryEntryTouched) {
                entry.Dependencies = QByteArray::number(load);
            }
        }
        // A path of its own makes every load a step, even of a table equal to the last.
        rig.editor.installLoadedSet(Side::Right, table, "0.3",
                                    QStringLiteral("/sets/%1.tvr").arg(load), fileTime(8));
    }
}

Command loadThirty(Variant variant)
{
    return [variant](EditorRig &rig) { thirtyLoads(rig, variant); };
}

} // namespace

// Undoes every step kept; the first DEST name then shows how far back the history reaches.
void TestHistoryBudget::keepsWhatFits_data()
{
    QTest::addColumn<Command>("steps");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<int>("undos");
    QTest::addColumn<QByteArray>("firstDestName");

    // Fifteen heavy tables and a half: whether the sixteenth fits never hangs on a few bytes.
    const qint64 fifteenTables = 15 * HeavyTable + HeavyTable / 2;
    const Command hundredFiftyMoves = [](EditorRig &rig) {
        QByteArrayList names;
        for (int position = 0; position < 200; ++position) {
            names.append("n" + QByteArray::number(position));
        }
        rig.editor.installLoadedSet(Side::Right, entriesNamed(names), "0.3", QString(),
                                    fileTime(4));
        rig.right.current = 0;
        for (int move = 0; move < 150; ++move) {
            rig.editor.moveDown(Side::Right); // walks n0 one place further each time
        }
    };
    // clang-format off
    QTest::newRow("the last hundred moves") << hundredFiftyMoves << EditHistory::MemoryBudget
                                            << 100 << QByteArray("n1");
    QTest::newRow("loads within the budget") << loadThirty(Variant::Distinct) << 40 * HeavyTable
                                             << 30 << QByteArray();
    // Fifteen steps hold fifteen tables no side shows: the one before each of them.
    QTest::newRow("loads past the budget, oldest dropped")
        << loadThirty(Variant::Distinct) << fifteenTables << 15 << QByteArray("L15-0");
    QTest::newRow("never fewer than ten") << loadThirty(Variant::Distinct) << qint64(1024) << 10
                                          << QByteArray("L20-0");
    QTest::newRow("one set reloaded weighs it once") << loadThirty(Variant::Same) << fifteenTables
                                                     << 30 << QByteArray();
    QTest::newRow("unchanged entries weigh once") << loadThirty(Variant::LightEntryChanged)
                                                  << fifteenTables << 30 << QByteArray();
    QTest::newRow("unchanged texts weigh once") << loadThirty(Variant::EveryEntryTouched)
                                                << fifteenTables << 30 << QByteArray();
    // Thirty heavy entries deleted one by one: each delete weighs the one entry it took.
    const Command thirtyDeletes = [](EditorRig &rig) {
        QByteArrayList names;
        for (int heavy = 0; heavy < 30; ++heavy) {
            names.append("H" + QByteArray::number(heavy));
        }
        PatchTable table = entriesNamed(names);
        for (PatchEntry &entry : table) {
            entry.Description = QByteArray(HeavyText, entry.Name.back());
        }
        rig.load(Side::Right, table);
        for (int heavy = 0; heavy < 30; ++heavy) {
            rig.right.select({0});
            rig.editor.deleteSelectedDest();
        }
    };
    QTest::newRow("deletes weigh what they took") << thirtyDeletes << 21 * HeavyText << 20
                                                  << QByteArray("H10");
    // clang-format on
}

void TestHistoryBudget::keepsWhatFits()
{
    QFETCH(Command, steps);
    QFETCH(qint64, budget);
    QFETCH(int, undos);
    QFETCH(QByteArray, firstDestName);

    EditorRig rig(budget);
    steps(rig);
    QVERIFY(rig.editor.history().heldBytes() <= qMax(budget, 10 * HeavyTable + HeavyText));

    int undone = 0;
    while (rig.editor.canUndo()) {
        rig.editor.undo();
        ++undone;
    }
    QCOMPARE(undone, undos);
    QCOMPARE(rig.sets.DestTable.isEmpty() ? QByteArray() : rig.sets.DestTable.first().Name,
             firstDestName);
}

namespace {

// Listed entries built apart from any other table, so no text is shared. A name ending in '*'
// stands for an entry of that name with a changed description.
PatchTable builtApart(const QByteArrayList &codes)
{
    PatchTable table;
    for (QByteArray name : codes) {
        const bool changed = name.endsWith('*');
        name.replace("*", "");
        table += entriesNamed({name});
        if (changed) {
            table.last().Description = "changed";
        }
    }
    return table;
}

} // namespace

// DEST shows `shown`; a load of `loaded` follows (names as builtApart takes them). `sharing`
// names, per loaded entry, the shown entry whose storage it took, or -1.
void TestHistoryBudget::reloadSharesUnchangedEntries_data()
{
    QTest::addColumn<QByteArrayList>("shown");
    QTest::addColumn<QByteArrayList>("loaded");
    QTest::addColumn<QList<int>>("sharing");

    const auto names = [](const char *spaced) {
        return *spaced == '\0' ? QByteArrayList() : QByteArray(spaced).split(' ');
    };
    // clang-format off
    QTest::newRow("unchanged")          << names("a b c") << names("a b c")  << QList<int>{0, 1, 2};
    QTest::newRow("one changed")        << names("a b c") << names("a b* c") << QList<int>{0, -1, 2};
    QTest::newRow("reordered")          << names("a b c") << names("c a b")  << QList<int>{2, 0, 1};
    QTest::newRow("one added first")    << names("a b")   << names("x a b")  << QList<int>{-1, 0, 1};
    QTest::newRow("one dropped")        << names("a b c") << names("a c")    << QList<int>{0, 2};
    QTest::newRow("moved and changed")  << names("a b")   << names("b* a")   << QList<int>{-1, 0};
    QTest::newRow("a name twice")       << names("a a b") << names("b a a")  << QList<int>{2, 1, 0};
    QTest::newRow("into an empty side") << names("")      << names("a")      << QList<int>{-1};
    // clang-format on
}

void TestHistoryBudget::reloadSharesUnchangedEntries()
{
    QFETCH(QByteArrayList, shown);
    QFETCH(QByteArrayList, loaded);
    QFETCH(QList<int>, sharing);

    EditorRig rig;
    if (!shown.isEmpty()) {
        rig.editor.installLoadedSet(Side::Right, builtApart(shown), "0.3", QString(), fileTime(9));
    }
    const PatchTable before = rig.sets.DestTable;
    const PatchTable table = builtApart(loaded);

    rig.editor.installLoadedSet(Side::Right, table, "0.3", QString(), fileTime(10));

    QCOMPARE(rig.sets.DestTable, table);
    QList<int> shared;
    for (const PatchEntry &entry : std::as_const(rig.sets.DestTable)) {
        const auto same = [&entry](const PatchEntry &old) {
            return old.Description.constData() == entry.Description.constData();
        };
        const auto found = std::find_if(before.cbegin(), before.cend(), same);
        shared.append(found == before.cend() ? -1 : int(found - before.cbegin()));
    }
    QCOMPARE(shared, sharing);
}

QTEST_GUILESS_MAIN(TestHistoryBudget)
#include "TestHistoryBudget.moc"
