// Undo and redo of every kind of step, what is no step, fields taken from SRC into a namesake
// as one step, and the changed marks, status texts and load notes that follow the set each
// step, undo, redo and save leaves. What the history keeps within its budget is in
// TestHistoryBudget, the shared entries' marks following each change in TestLineMarks.
#include "CommandTexts.h"
#include "EditorSteps.h"
#include "SlotEdits.h"

#include <QTest>

#include <algorithm>

namespace {

enum class Start { Nothing, SrcOnly, DestOnly, Both, NewDestOnly };

void loadSrc(EditorRig &rig)
{
    rig.editor.installLoadedSet(Side::Left, entriesNamed({"a", "b", "c"}, "src "), "0.3",
                                QStringLiteral("/sets/src.tvr"), fileTime(1));
}

const QString DestPath = QStringLiteral("/sets/dest.tvr");

// DEST's file has a note, which stays with the set it was read into.
void loadDest(EditorRig &rig)
{
    const LoadNote note{6, QStringLiteral("Offffset1X is read as data slot 1")};
    rig.editor.installLoadedSet(Side::Right, entriesNamed({"x", "b", "y"}), "0.2", DestPath,
                                fileTime(2), {note});
}

void arrange(EditorRig &rig, Start start)
{
    if (start == Start::SrcOnly || start == Start::Both) {
        loadSrc(rig);
    }
    if (start == Start::DestOnly || start == Start::Both) {
        loadDest(rig);
    }
    if (start == Start::NewDestOnly) {
        rig.editor.newDestSet();
    }
}

QString switches(const EditorRig &rig)
{
    return QStringLiteral("copy >> %1, save %2")
        .arg(rig.switches.copyEnabled ? "on" : "off", rig.switches.saveEnabled ? "on" : "off");
}

// An entry as "name/description", then every field of its slots in use and every flag
// that is not 0, as " key7=value".
QString entryText(const PatchEntry &entry)
{
    QString text = QString::fromLatin1(entry.Name + '/' + entry.Description);
    EntryFields::forEachField(entry, [&text](const EntryField &field, int slot, FieldValue value) {
        if (field.kind == FieldKind::Text
            || (field.kind == FieldKind::Number && value.number == 0)) {
            return;
        }
        text += QLatin1Char(' ') + QLatin1String(field.key)
            + (slot < 0 ? QString() : QString::number(slot)) + QLatin1Char('=')
            + (value.text.isEmpty() ? QString::number(value.number)
                                    : QString::fromLatin1(value.text));
    });
    return text;
}

// Everything a step can change, as text, so one QCOMPARE names the first difference.
QStringList screen(EditorRig &rig)
{
    QStringList shown;
    for (const Side side : {Side::Left, Side::Right}) {
        const FakeSideView &view = rig.view(side);
        const QString name = side == Side::Left ? QStringLiteral("SRC ") : QStringLiteral("DEST ");
        QStringList entries;
        for (const PatchEntry &entry : rig.sets.table(side)) {
            entries.append(entryText(entry));
        }
        shown << name + "table " + entries.join(", ") << name + "lines " + view.lines.join(", ")
              << name + "marks " + markTexts(side, view.marks).join(", ")
              << name + "count " + view.countText << name + "status " + view.status
              << name + "file " + view.fileText
              << name + "version " + QString::fromLatin1(rig.sets.version(side))
              << name + "path " + rig.sets.path(side) << name + "changed " + rig.marks[side].changed
              << name + "notes " + notesListing(rig.marks[side].notes).join(QLatin1Char('|'));
    }
    shown << switches(rig);
    return shown;
}

// As a refresh leaves a side: nothing selected, the first line current.
void verifyRefreshedUnselected(const FakeSideView &view)
{
    QVERIFY(view.selectedLines().isEmpty());
    QCOMPARE(view.current, view.lines.isEmpty() ? -1 : 0);
}

} // namespace

Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Side)

class TestEditHistory : public QObject
{
    Q_OBJECT

private slots:
    void undoAndRedoEachStep_data();
    void undoAndRedoEachStep();
    void nothingToUndoOrRedo_data();
    void nothingToUndoOrRedo();
    void nonStepsAreNotUndone_data();
    void nonStepsAreNotUndone();
    void takeIsOneStep_data();
    void takeIsOneStep();
    void changedMarkFollowsTheSet_data();
    void changedMarkFollowsTheSet();
};

// SRC is {a, b, c}, each described "src " + name; DEST is {x, b, y}, "about " + name.
// `switches` are those the command leaves: "save" is on exactly while DEST holds a set,
// "copy >>" while both sides do, whatever the lines.
void TestEditHistory::undoAndRedoEachStep_data()
{
    QTest::addColumn<Start>("start");
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("switches");

    const QString bothOn = QStringLiteral("copy >> on, save on");
    const QString saveOnly = QStringLiteral("copy >> off, save on");
    QTest::newRow("copy: delete, append, overwrite") << Start::Both << Command([](EditorRig &rig) {
        rig.right.select({0});
        rig.left.select({0, 1});
        rig.answers = {OverwriteAnswer::Yes};
        rig.editor.copyIntoDest();
    }) << bothOn;
    QTest::newRow("copy of every DEST line's deletion")
        << Start::Both << Command([](EditorRig &rig) {
               rig.right.select({0, 1, 2});
               rig.editor.copyIntoDest();
               QVERIFY(rig.right.lines.isEmpty());
           })
        << bothOn;
    QTest::newRow("move SRC down") << Start::Both << Command([](EditorRig &rig) {
        rig.left.current = 0;
        rig.editor.moveDown(Side::Left);
    }) << bothOn;
    QTest::newRow("move DEST up") << Start::DestOnly << Command([](EditorRig &rig) {
        rig.right.current = 2;
        rig.editor.moveUp(Side::Right);
    }) << saveOnly;
    QTest::newRow("NEW over a set")
        << Start::Both << Command([](EditorRig &rig) { rig.editor.newDestSet(); }) << bothOn;
    QTest::newRow("NEW switching on")
        << Start::SrcOnly << Command([](EditorRig &rig) { rig.editor.newDestSet(); }) << bothOn;
    QTest::newRow("NEW without SRC")
        << Start::Nothing << Command([](EditorRig &rig) { rig.editor.newDestSet(); }) << saveOnly;
    QTest::newRow("load SRC over a set") << Start::Both << Command([](EditorRig &rig) {
        rig.left.status = QStringLiteral("LOADING"); // as the window shows while reading
        rig.editor.installLoadedSet(Side::Left, entriesNamed({"n"}), "0.1",
                                    QStringLiteral("/sets/n.tvr"), fileTime(3));
    }) << bothOn;
    QTest::newRow("load into an empty window") << Start::Nothing << Command(loadDest) << saveOnly;
    QTest::newRow("load SRC alone")
        << Start::Nothing << Command(loadSrc) << QStringLiteral("copy >> off, save off");
    QTest::newRow("load switching on") << Start::DestOnly << Command(loadSrc) << bothOn;
    QTest::newRow("load DEST over NEW") << Start::NewDestOnly << Command([](EditorRig &rig) {
        loadDest(rig);
        QCOMPARE(rig.right.fileText, QStringLiteral("/sets/dest.tvr"));
    }) << saveOnly;
    QTest::newRow("load of an empty DEST") << Start::SrcOnly << Command([](EditorRig &rig) {
        rig.editor.installLoadedSet(Side::Right, PatchTable(), "0.3",
                                    QStringLiteral("/sets/empty.tvr"), fileTime(6));
    }) << bothOn;
    QTest::newRow("delete") << Start::Both << Command([](EditorRig &rig) {
        rig.right.select({0, 2});
        rig.editor.deleteSelectedDest();
    }) << bothOn;
    QTest::newRow("delete without SRC") << Start::DestOnly << Command([](EditorRig &rig) {
        rig.right.select({1});
        rig.editor.deleteSelectedDest();
    }) << saveOnly;
    QTest::newRow("delete of every line without SRC")
        << Start::DestOnly << Command([](EditorRig &rig) {
               rig.right.select({0, 1, 2});
               rig.editor.deleteSelectedDest();
           })
        << saveOnly;
}

void TestEditHistory::undoAndRedoEachStep()
{
    QFETCH(Start, start);
    QFETCH(Command, command);
    QFETCH(QString, switches);

    EditorRig rig;
    arrange(rig, start);
    const QStringList before = screen(rig);
    command(rig);
    QCOMPARE(::switches(rig), switches);
    const QStringList after = screen(rig);
    QVERIFY(after != before);

    rig.editor.undo();
    QCOMPARE(screen(rig), before);
    verifyRefreshedUnselected(rig.left);
    verifyRefreshedUnselected(rig.right);

    rig.editor.redo();
    QCOMPARE(screen(rig), after);
    verifyRefreshedUnselected(rig.left);
    verifyRefreshedUnselected(rig.right);
    QVERIFY(!rig.editor.canRedo());
}

void TestEditHistory::nothingToUndoOrRedo_data()
{
    QTest::addColumn<Command>("steps");
    QTest::addColumn<bool>("undo");

    const Command none = [](EditorRig &) {};
    const Command undoneAndRedone = [](EditorRig &rig) {
        arrange(rig, Start::Both);
        rig.editor.undo();
        rig.editor.redo();
    };
    const Command allUndone = [](EditorRig &rig) {
        arrange(rig, Start::Both);
        rig.editor.undo();
        rig.editor.undo();
    };
    const Command newStepAfterUndo = [](EditorRig &rig) {
        arrange(rig, Start::Both);
        rig.editor.newDestSet();
        rig.editor.undo();
        rig.left.current = 0;
        rig.editor.moveDown(Side::Left);
    };
    QTest::newRow("fresh, undo") << none << true;
    QTest::newRow("fresh, redo") << none << false;
    QTest::newRow("everything redone") << undoneAndRedone << false;
    QTest::newRow("everything undone") << allUndone << true;
    QTest::newRow("new step after an undo") << newStepAfterUndo << false;
}

void TestEditHistory::nothingToUndoOrRedo()
{
    QFETCH(Command, steps);
    QFETCH(bool, undo);

    EditorRig rig;
    steps(rig);
    if (undo) {
        QVERIFY(!rig.editor.canUndo());
    } else {
        QVERIFY(!rig.editor.canRedo());
    }
    // A selection and a current line that any refresh would reset.
    for (FakeSideView *view : {&rig.left, &rig.right}) {
        view->select({1});
        view->current = int(view->lines.size()) - 1;
    }
    const QStringList before = screen(rig);

    if (undo) {
        rig.editor.undo();
    } else {
        rig.editor.redo();
    }

    QCOMPARE(screen(rig), before);
    for (FakeSideView *view : {&rig.left, &rig.right}) {
        QCOMPARE(view->selectedLines(), view->lines.size() > 1 ? QList<int>{1} : QList<int>{});
        QCOMPARE(view->current, int(view->lines.size()) - 1);
    }
}

// Run with both sides loaded; an undo afterwards must take back the DEST load, since what
// the command leaves behind is no step.
void TestEditHistory::nonStepsAreNotUndone_data()
{
    QTest::addColumn<Command>("command");

    QTest::newRow("save noted") << Command([](EditorRig &rig) {
        rig.editor.noteDestSaved(QStringLiteral("/sets/saved.tvr"), fileTime(11));
        QCOMPARE(rig.right.fileText, QStringLiteral("/sets/saved.tvr"));
    });
    QTest::newRow("delete, no DEST line selected") << Command([](EditorRig &rig) {
        rig.left.select({0});
        rig.editor.deleteSelectedDest();
    });
    QTest::newRow("move past the end") << Command([](EditorRig &rig) {
        rig.right.current = 2;
        rig.editor.moveDown(Side::Right);
    });
    QTest::newRow("select all, clear selection") << Command([](EditorRig &rig) {
        rig.editor.selectAll(Side::Right);
        QCOMPARE(rig.right.selectedLines(), QList<int>({0, 1, 2}));
        rig.editor.clearSelection(Side::Right);
    });
    QTest::newRow("NEW twice") << Command([](EditorRig &rig) {
        rig.editor.newDestSet();
        rig.editor.newDestSet();
        rig.editor.undo(); // the first NEW
    });
    QTest::newRow("NEW undone, dropped by a move") << Command([](EditorRig &rig) {
        rig.editor.newDestSet();
        rig.editor.undo();
        rig.left.current = 0;
        rig.editor.moveDown(Side::Left);
        rig.editor.undo(); // the move; the NEW must not come back
    });
}

void TestEditHistory::nonStepsAreNotUndone()
{
    QFETCH(Command, command);

    EditorRig rig;
    loadSrc(rig);
    const QStringList srcOnly = screen(rig);
    loadDest(rig);
    command(rig);

    rig.editor.undo();

    QCOMPARE(screen(rig), srcOnly);
}

// SRC is {a, b}; DEST lists b, x and b again. SRC b and the first DEST b differ in their
// description, in one text of data slot 1, in parameter 2, and each uses a data slot the
// other does not (7 on SRC, 9 on DEST); the second DEST b is a copy of the first.
void TestEditHistory::takeIsOneStep_data()
{
    QTest::addColumn<Side>("side");         // whose current line is compared with its namesake
    QTest::addColumn<int>("line");          // that current line
    QTest::addColumn<QStringList>("taken"); // the labels of the rows taken
    QTest::addColumn<int>("into");          // the DEST line that changed, -1 for none
    QTest::addColumn<QStringList>("left");  // the rows that differ afterwards

    const QStringList all = {"Description", "Data slot 1", "Data slot 7", "Data slot 9",
                             "Parameter 2"};
    const auto allBut = [&all](const QString &row) {
        QStringList rows = all;
        rows.removeOne(row);
        return rows;
    };
    // clang-format off
    QTest::newRow("a field") << Side::Left << 1 << QStringList{"Description"} << 0
                             << allBut("Description");
    QTest::newRow("a slot only in SRC is added") << Side::Left << 1 << QStringList{"Data slot 7"}
                                                 << 0 << allBut("Data slot 7");
    QTest::newRow("a slot only in DEST goes") << Side::Left << 1 << QStringList{"Data slot 9"}
                                              << 0 << allBut("Data slot 9");
    QTest::newRow("a slot that differs, whole") << Side::Left << 1 << QStringList{"Data slot 1"}
                                                << 0 << allBut("Data slot 1");
    QTest::newRow("a parameter, whole") << Side::Left << 1 << QStringList{"Parameter 2"} << 0
                                        << allBut("Parameter 2");
    QTest::newRow("every row") << Side::Left << 1 << all + QStringList{"Name", "RequiresRemap"}
                               << 0 << QStringList();
    QTest::newRow("seen from DEST") << Side::Right << 0 << QStringList{"Data slot 9"} << 0
                                    << allBut("Data slot 9");
    QTest::newRow("into the DEST line seen") << Side::Right << 2 << all << 2 << QStringList();
    QTest::newRow("Name is never taken") << Side::Left << 1 << QStringList{"Name"} << -1 << all;
    QTest::newRow("rows that are the same") << Side::Left << 1 << QStringList{"RequiresRemap"}
                                            << -1 << all;
    QStringList alone; // every row of an entry without a namesake is its side's alone
    for (const EntryField &field : EntryFields::members) {
        alone.append(valueName(field));
    }
    QTest::newRow("no namesake") << Side::Left << 0 << QStringList{"Description"} << -1 << alone;
    // clang-format on
}

void TestEditHistory::takeIsOneStep()
{
    QFETCH(Side, side);
    QFETCH(int, line);
    QFETCH(QStringList, taken);
    QFETCH(int, into);
    QFETCH(QStringList, left);

    EditorRig rig;
    PatchTable src = entriesNamed({"a", "b"});
    src[1].Description = "src b";
    setDataSlot(src[1], 1, {"0010", "AA", "BB", "CC"});
    setDataSlot(src[1], 7, {"0070", "", "77", ""});
    setParameterSlot(src[1], 2, {1, "0200", "12", "Width", 2});
    PatchTable dest = entriesNamed({"b", "x", "b"});
    setDataSlot(dest[0], 1, {"0010", "AA", "BX", "CC"});
    setDataSlot(dest[0], 9, {"0090", "99", "", ""});
    setParameterSlot(dest[0], 2, {1, "0200", "15", "Width", 2});
    dest[2] = dest[0];
    rig.load(Side::Left, src);
    rig.load(Side::Right, dest);
    // A selection and current lines that a refresh would reset.
    rig.left.select({0});
    rig.right.select({1});
    rig.left.current = 1;
    rig.right.current = 1;
    rig.view(side).current = line;
    const QStringList before = screen(rig);
    const int changes = rig.changes;

    const auto differing = [&rig, side] {
        QStringList rows;
        for (const ComparedRow &row : rig.editor.compareCurrent(side).rows()) {
            if (row.state != RowState::Same) {
                rows.append(row.label());
            }
        }
        return rows;
    };
    QList<RowKey> keys;
    for (const ComparedRow &row : rig.editor.compareCurrent(side).rows()) {
        if (taken.contains(row.label())) {
            keys.append(row.key);
        }
    }
    QCOMPARE(keys.size(), taken.size());

    rig.editor.takeFromSrc(side, keys);

    QCOMPARE(differing(), left);
    if (into < 0) {
        QCOMPARE(screen(rig), before);
        QCOMPARE(rig.changes, changes);
        QVERIFY(rig.details.isEmpty());
        return;
    }
    // As after a copy: the changed entry's line is current and its detail shown.
    QCOMPARE(rig.right.current, into);
    QCOMPARE(rig.details, QByteArrayList({"b"}));
    QCOMPARE(rig.changes, changes + 1);
    // A save before the undo: the set stays on the saved file, and the undo shows that it
    // differs from what was saved.
    rig.editor.noteDestSaved(QStringLiteral("/sets/saved.tvr"), fileTime(11));
    const QStringList after = screen(rig);
    // The undo shows the entry as it was, on the saved file, which the set now differs from.
    QStringList undone = before;
    for (const char *ofFile : {"DEST status ", "DEST file ", "DEST version ", "DEST path "}) {
        const auto isOfFile = [ofFile](const QString &line) { return line.startsWith(ofFile); };
        *std::find_if(undone.begin(), undone.end(), isOfFile) =
            *std::find_if(after.cbegin(), after.cend(), isOfFile);
    }
    undone.replace(undone.indexOf(QStringLiteral("DEST changed ")),
                   QStringLiteral("DEST changed changed since saved"));

    // One step, whose undo and redo leave the lines, their selection and current line alone.
    for (const bool undo : {true, false}) {
        if (undo) {
            rig.editor.undo();
        } else {
            rig.editor.redo();
        }
        QCOMPARE(screen(rig), undo ? undone : after);
        QCOMPARE(rig.left.selectedLines(), QList<int>{0});
        QCOMPARE(rig.right.selectedLines(), QList<int>{1});
        QCOMPARE(rig.right.current, into);
    }
    rig.editor.undo();
    rig.editor.undo(); // the DEST load
    QVERIFY(rig.sets.DestTable.isEmpty());
}

// Both sides loaded, then `steps`; DEST's status, path, notes and changed mark must then say
// the same of one file. A save writes "/sets/saved.tvr" at day 20, or DEST's own file at 21.
void TestEditHistory::changedMarkFollowsTheSet_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("srcChanged");
    QTest::addColumn<QString>("destChanged");
    QTest::addColumn<QString>("destStatus");
    QTest::addColumn<int>("destNotes");

    const QString loaded = loadedSetStatus("0.2", fileTime(2));
    const QString saved = loadedSetStatus("0.3", fileTime(20));
    const QString sinceLoaded = QStringLiteral("changed since loaded");
    const QString sinceSaved = QStringLiteral("changed since saved");
    const QString notSaved = QStringLiteral("new set, not saved");
    // clang-format off
    QTest::newRow("loaded") << "" << "" << "" << loaded << 1;
    QTest::newRow("deleted") << "delete" << "" << sinceLoaded << loaded << 1;
    QTest::newRow("deleted, undone") << "delete, undo" << "" << "" << loaded << 1;
    QTest::newRow("deleted, redone") << "delete, undo, redo" << "" << sinceLoaded << loaded << 1;
    QTest::newRow("SRC moved") << "move SRC" << sinceLoaded << "" << loaded << 1;
    QTest::newRow("SRC moved, undone") << "move SRC, undo" << "" << "" << loaded << 1;
    QTest::newRow("taken") << "take" << "" << sinceLoaded << loaded << 1;
    QTest::newRow("taken, undone") << "take, undo" << "" << "" << loaded << 1;
    QTest::newRow("saved") << "delete, save" << "" << "" << saved << 1;
    QTest::newRow("saved, undone") << "delete, save, undo" << "" << sinceSaved << saved << 1;
    QTest::newRow("saved, redone") << "delete, save, undo, redo" << "" << "" << saved << 1;
    QTest::newRow("saved, moved") << "delete, save, move DEST" << "" << sinceSaved << saved << 1;
    QTest::newRow("NEW") << "NEW" << "" << notSaved << newSetStatus() << 0;
    QTest::newRow("NEW, saved") << "NEW, save" << "" << "" << saved << 0;
    QTest::newRow("NEW, saved, undone") << "NEW, save, undo" << "" << "" << loaded << 1;
    QTest::newRow("NEW, saved, redone") << "NEW, save, undo, redo" << "" << "" << saved << 0;
    QTest::newRow("load undone") << "delete, load, undo" << "" << sinceLoaded << loaded << 1;
    // The first set was on the file saved over: none of its states is what the file holds.
    QTest::newRow("set of a file saved over") << "reload, delete, save own, undo, undo"
                                              << "" << sinceSaved
                                              << loadedSetStatus("0.3", fileTime(21)) << 1;
    // clang-format on
}

void TestEditHistory::changedMarkFollowsTheSet()
{
    QFETCH(QString, steps);
    QFETCH(QString, srcChanged);
    QFETCH(QString, destChanged);
    QFETCH(QString, destStatus);
    QFETCH(int, destNotes);
    EditorRig rig;
    arrange(rig, Start::Both);
    for (const QString &step : steps.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        rig.left.current = rig.right.current = 0;
        if (step == QLatin1String("delete")) {
            rig.right.select({0});
            rig.editor.deleteSelectedDest();
        } else if (step.startsWith(QLatin1String("save"))) {
            const bool own = step.endsWith(QLatin1String("own"));
            rig.editor.noteDestSaved(own ? DestPath : QStringLiteral("/sets/saved.tvr"),
                                     fileTime(own ? 21 : 20));
        } else if (step == QLatin1String("take")) {
            rig.right.current = 1; // b, whose description differs from SRC's
            rig.editor.takeFromSrc(Side::Right, {{RowKey::Kind::Field, 2}});
        } else if (step.startsWith(QLatin1String("move"))) {
            rig.editor.moveDown(step.endsWith(QLatin1String("SRC")) ? Side::Left : Side::Right);
        } else if (step == QLatin1String("load")) {
            rig.editor.installLoadedSet(Side::Right, entriesNamed({"o"}), "0.3",
                                        QStringLiteral("/sets/other.tvr"), fileTime(3));
        } else if (step == QLatin1String("reload")) {
            loadDest(rig);
        } else if (step == QLatin1String("NEW")) {
            rig.editor.newDestSet();
        } else {
            step == QLatin1String("undo") ? rig.editor.undo() : rig.editor.redo();
        }
    }
    QCOMPARE(rig.marks.left.changed, srcChanged);
    QCOMPARE(rig.marks.right.changed, destChanged);
    QCOMPARE(rig.right.status, destStatus);
    QCOMPARE(rig.right.fileText, sideFileText(true, rig.sets.DestPath));
    QCOMPARE(rig.sets.DestPath.isEmpty(), destStatus == newSetStatus());
    QCOMPARE(rig.sets.DestVersion, destStatus.section(QLatin1Char(' '), 0, 0).mid(2).toLatin1());
    QCOMPARE(rig.marks.right.notes.count(), destNotes);
}

QTEST_GUILESS_MAIN(TestEditHistory)
#include "TestEditHistory.moc"
