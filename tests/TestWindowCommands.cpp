// The wiring of the window's commands: each button and each key reaches its command on the
// right side, the copy asks through the seam, the detail label fades in after a click and
// follows its entry, save writes only the chosen file, and the changed mark follows the set.
#include "AnchoredLabel.h"
#include "CommandTexts.h"
#include "Form1.h"
#include "ScriptedDialogs.h"
#include "ToolTipText.h"
#include "TypeAhead.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(OverwriteAnswer)

class TestWindowCommands : public WindowTest
{
    Q_OBJECT

private slots:
    void copyAsksBeforeOverwriting_data();
    void copyAsksBeforeOverwriting();
    void newStartsAnEmptyDestSet();
    void detailFadesInAfterAClick();
    void detailFollowsItsEntry_data();
    void detailFollowsItsEntry();
    void saveWritesOnlyTheChosenFile_data();
    void saveWritesOnlyTheChosenFile();
    void saveDialogStartsAtDestsFile_data();
    void saveDialogStartsAtDestsFile();
    void keysAndClicksRunTheirCommands_data();
    void keysAndClicksRunTheirCommands();
    void changedMarkSaysWhatDiffers_data();
    void changedMarkSaysWhatDiffers();


private:
    QStringList names(const PatchTable &table)
    {
        QStringList all;
        for (const PatchEntry &entry : table) {
            all.append(QString::fromLatin1(entry.Name));
        }
        return all;
    }
};


// SRC is {alpha, beta, gamma}, DEST {gamma, beta}, both namesakes differing in their
// description: a copy of all three appends alpha, then asks about beta and, unless an answer
// holds for all, about gamma. A Cancel keeps SRC's selection for another try.
void TestWindowCommands::copyAsksBeforeOverwriting_data()
{
    QTest::addColumn<QList<OverwriteAnswer>>("answers");
    QTest::addColumn<QStringList>("overwritten"); // the DEST entries that are SRC's now
    QTest::newRow("Yes, No") << QList<OverwriteAnswer>{OverwriteAnswer::Yes, OverwriteAnswer::No}
                             << QStringList{"beta"};
    QTest::newRow("Yes to all") << QList<OverwriteAnswer>{OverwriteAnswer::YesToAll}
                                << QStringList{"beta", "gamma"};
    QTest::newRow("No to all") << QList<OverwriteAnswer>{OverwriteAnswer::NoToAll} << QStringList{};
    QTest::newRow("Cancel") << QList<OverwriteAnswer>{OverwriteAnswer::Cancel} << QStringList{};
}

void TestWindowCommands::copyAsksBeforeOverwriting()
{
    QFETCH(QList<OverwriteAnswer>, answers);
    QFETCH(QStringList, overwritten);
    arrange("[alpha], [beta~], [gamma~] | gamma, beta");
    const PatchSets loaded = m_form->sets();
    m_dialogs->answers = answers;
    click("Command1");

    QList<ShownText> asked;
    for (const char *name : {"beta", "gamma"}) {
        asked.append(
            {"Confirm patch overwrite",
             QStringLiteral("Patch with name ''%1'' already exists. Overwrite?")
                 .arg(QLatin1String(name)),
             QStringLiteral("Question %1 of 2\nDiffers in Description").arg(asked.size() + 1)});
    }
    QCOMPARE(m_dialogs->shown, asked.first(answers.size()));
    const PatchTable &dest = m_form->sets().DestTable;
    QCOMPARE(names(dest), QStringList({"gamma", "beta", "alpha"}));
    for (int position = 0; position < 2; ++position) {
        const QString name = names(dest).at(position);
        const PatchTable &from = overwritten.contains(name) ? loaded.SrcTable : loaded.DestTable;
        QCOMPARE(dest.at(position), from.at(names(from).indexOf(name)));
    }
    QCOMPARE(dest.at(2), loaded.SrcTable.at(0));
    QCOMPARE(listLines(control<QListView>("List2")), QStringList({"gamma", "beta", "alpha"}));
    const QList<int> srcSelected =
        answers.constLast() == OverwriteAnswer::Cancel ? QList<int>{0, 1, 2} : QList<int>();
    QCOMPARE(selectedLines(control<QListView>("List1")), srcSelected);
    QVERIFY(control<QPushButton>("Command4")->isEnabled());
    // The copy shows the detail of the DEST line it made current.
    QVERIFY(control<QTimer>("Timer2")->isActive());
    m_form->tickFade();
    QVERIFY(control<AnchoredLabel>("Label5")->caption().startsWith(QLatin1String(">>")));

    // Whatever the answers, the copy was one step.
    pressKeys(QStringLiteral("Ctrl+Z"));
    QCOMPARE(m_form->sets().DestTable, loaded.DestTable);
    QCOMPARE(listLines(control<QListView>("List2")), QStringList({"gamma", "beta"}));
}

void TestWindowCommands::newStartsAnEmptyDestSet()
{
    click("Command13");
    QCOMPARE(listLines(control<QListView>("List2")), QStringList({"Empty patch entry"}));
    QCOMPARE(control<AnchoredLabel>("Label7")->caption(), QStringLiteral("v.0.3 / [new]"));
    QCOMPARE(control<AnchoredLabel>("Label9")->caption(), QStringLiteral("1"));
    QVERIFY(!control<QPushButton>("Command1")->isEnabled());
    QVERIFY(control<QPushButton>("Command4")->isEnabled()); // a new set saves without SRC

    m_dialogs->fileNames.append(writeFile(*m_folder, "src.tvr", patchSetBytes({"a"})));
    click("Command2");
    QVERIFY(control<QPushButton>("Command1")->isEnabled());
    QVERIFY(control<QPushButton>("Command4")->isEnabled());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestWindowCommands::detailFadesInAfterAClick()
{
    arrange("a, b | x");
    auto *label = control<AnchoredLabel>("Label5");
    auto *timer = control<QTimer>("Timer2");
    clickLine(control<QListView>("List1"), 1);
    QVERIFY(timer->isActive());
    QVERIFY(label->caption().isEmpty()); // the text comes with the first tick

    const QString expected = detailSummary(m_form->sets().SrcTable.at(1), Side::Left);
    QVERIFY(expected.startsWith(QLatin1String("<<\r\n")));
    for (int grey = 245; grey >= 95; grey -= 10) {
        m_form->tickFade();
        QCOMPARE(label->caption(), expected);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(grey, grey, grey));
        QVERIFY(timer->isActive());
    }
    m_form->tickFade();
    QVERIFY(!timer->isActive());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(95, 95, 95));

    clickLine(control<QListView>("List2"), 0);
    m_form->tickFade();
    QVERIFY(label->caption().startsWith(QLatin1String(">>\r\n")));
}

void TestWindowCommands::detailFollowsItsEntry_data()
{
    QTest::addColumn<QString>("clicked"); // lines the user clicks first: "List2 0, List1 0"
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("detail"); // the summary's marker and offsets at the end, or ""
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("nothing clicked") << "" << "Ctrl+N" << "";
    QTest::newRow("NEW") << "List2 0" << "Ctrl+N" << ">> 0";
    QTest::newRow("load") << "List2 0" << "Ctrl+Shift+O" << ">> 3";
    QTest::newRow("undo") << "List2 0" << "Ctrl+Z" << "";
    QTest::newRow("delete") << "List2 0" << "Delete" << ">> 2";
    QTest::newRow("move") << "List2 0" << "Ctrl+Down" << ">> 1";
    QTest::newRow("SRC, DEST deleted") << "List2 0, List1 0" << "Delete" << "<< 0";
    // clang-format on
}

// The summary describes the current entry of its side after every change, or nothing.
void TestWindowCommands::detailFollowsItsEntry()
{
    QFETCH(QString, clicked);
    QFETCH(QString, keys);
    QFETCH(QString, detail);
    // DEST's x and y, and z of the file loaded later, have one, two and three data slots.
    QByteArray dest = patchSetBytes({"x", "y"});
    dest.replace("Name=x\r\n", "Name=x\r\nOffffset00=1\r\n");
    dest.replace("Name=y\r\n", "Name=y\r\nOffffset00=1\r\nOffffset01=1\r\n");
    const QByteArray other = patchSetBytes({"z"}).replace(
        "Name=z\r\n", "Name=z\r\nOffffset00=1\r\nOffffset01=1\r\nOffffset02=1\r\n");
    m_dialogs->fileNames << writeFile(*m_folder, "src.tvr", patchSetBytes({"a"}))
                         << writeFile(*m_folder, "dest.tvr", dest);
    click("Command2");
    click("Command3");
    if (keys.contains(QLatin1String("Shift+O"))) {
        m_dialogs->fileNames << writeFile(*m_folder, "other.tvr", other);
    }

    for (const QString &line : clicked.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        clickLine(control<QListView>(qPrintable(line.section(QLatin1Char(' '), 0, 0))),
                  line.section(QLatin1Char(' '), 1).toInt());
    }
    pressKeys(keys);
    for (int tick = 0; tick < 20; ++tick) {
        m_form->tickFade();
    }

    const QString expected = detail.isEmpty()
        ? QString()
        : detail.section(QLatin1Char(' '), 0, 0) + QStringLiteral("\r\nOffsets: ")
            + detail.section(QLatin1Char(' '), 1) + QStringLiteral("\r\nParams: 0\r\nSize: 0");
    QCOMPARE(control<AnchoredLabel>("Label5")->caption(), expected);
    QVERIFY(!control<QTimer>("Timer2")->isActive());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestWindowCommands::saveWritesOnlyTheChosenFile_data()
{
    QTest::addColumn<QString>("chosen"); // the save dialog's answer in the test folder; "" cancels
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("failureShown");
    QTest::newRow("saved") << "saved.tvr" << true << false;
    QTest::newRow("folder missing") << "no such folder/saved.tvr" << false << true;
    QTest::newRow("cancelled") << "" << false << false;
}

// DEST alone, so "save" must be enabled without SRC. `start` is the name the save dialog
// opens with, `file` the DEST status label's tooltip, both relative to the test's folder.
void TestWindowCommands::saveDialogStartsAtDestsFile_data()
{
    QTest::addColumn<QString>("steps"); // how DEST came to be what it is; "save" alone cancels
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("file");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("loaded") << "LOAD DEST" << "dest.tvr" << "dest.tvr";
    QTest::newRow("command line or drop") << "path" << "dest.tvr" << "dest.tvr";
    QTest::newRow("saved before") << "LOAD DEST, save saved.tvr" << "saved.tvr" << "saved.tvr";
    // A new set is offered no file it would replace, but a free name in the last folder.
    QTest::newRow("NEW after a load") << "LOAD DEST, NEW" << "new set.tvr" << "new set, not saved";
    QTest::newRow("NEW after a cancelled save") << "LOAD DEST, save, NEW" << "new set.tvr"
                                                << "new set, not saved";
    QTest::newRow("NEW after a save elsewhere") << "LOAD DEST, save sub/saved.tvr, NEW"
                                                << "sub/new set.tvr" << "new set, not saved";
    QTest::newRow("NEW, names taken") << "write new set.tvr, write new set 2.tvr, path, NEW"
                                      << "new set 3.tvr" << "new set, not saved";
    // clang-format on
}

void TestWindowCommands::saveDialogStartsAtDestsFile()
{
    QFETCH(QString, steps);
    QFETCH(QString, start);
    QFETCH(QString, file);
    const QString destPath = writeFile(*m_folder, "dest.tvr", patchSetBytes({"x"}));
    int undoSteps = 0;
    for (const QString &step : steps.split(QStringLiteral(", "))) {
        const QString name = step.section(QLatin1Char(' '), 1);
        if (step == QLatin1String("path")) {
            m_form->loadPath(Side::Right, destPath);
        } else if (step == QLatin1String("LOAD DEST")) {
            m_dialogs->fileNames << destPath;
            click("Command3");
        } else if (step == QLatin1String("NEW")) {
            click("Command13");
        } else if (step.startsWith(QLatin1String("write "))) {
            writeFile(*m_folder, name, patchSetBytes({"taken"}));
        } else if (step.startsWith(QLatin1String("save"))) {
            QDir(m_folder->path()).mkpath(QFileInfo(name).path());
            m_dialogs->fileNames << (name.isEmpty() ? QString() : m_folder->filePath(name));
            click("Command4");
            QVERIFY(name.isEmpty() || QFile::exists(m_folder->filePath(name)));
        }
        undoSteps += QStringList({"path", "LOAD DEST", "NEW"}).contains(step);
    }
    const auto inFolder = [this](const QString &name) {
        return name.endsWith(QLatin1String(".tvr")) ? m_folder->filePath(name) : name;
    };
    QCOMPARE(toolTipAsShown(control<AnchoredLabel>("Label7")->toolTip()), inFolder(file));

    m_dialogs->fileNames << QString(); // this save is cancelled
    click("Command4");
    const ScriptedDialogs::FileDialog expected{true, "Save DEST Patch Set",
                                               "TAVRO Patch Set (*.tvr)|*.tvr|All Files (*.*)|*.*",
                                               inFolder(start), "tvr"};
    QCOMPARE(m_dialogs->fileDialogs.last().initialName, expected.initialName);
    QCOMPARE(m_dialogs->fileDialogs.last(), expected);
    QVERIFY(m_dialogs->shown.isEmpty());

    // An undo to before DEST held a set takes its file away again.
    pressKeys(QStringList(undoSteps, QStringLiteral("Ctrl+Z")).join(QStringLiteral(", ")));
    QCOMPARE(control<AnchoredLabel>("Label7")->toolTip(), QString());
    QVERIFY(!control<QPushButton>("Command4")->isEnabled());
}

void TestWindowCommands::saveWritesOnlyTheChosenFile()
{
    QFETCH(QString, chosen);
    QFETCH(bool, written);
    QFETCH(bool, failureShown);
    arrange("a | x, y");
    // DEST's file is years old, so the time a save shows is the saved file's.
    {
        QFile dest(m_folder->filePath("dest.tvr"));
        QVERIFY(dest.open(QIODevice::ReadWrite));
        QVERIFY(dest.setFileTime(QDateTime(QDate(2007, 1, 25), QTime(13, 4, 5)),
                                 QFileDevice::FileModificationTime));
    }
    m_form->loadPath(Side::Right, m_folder->filePath("dest.tvr"));
    const PatchTable before = m_form->sets().DestTable;
    const QString statusBefore = control<AnchoredLabel>("Label7")->caption();
    const QString path = chosen.isEmpty() ? QString() : m_folder->filePath(chosen);
    m_dialogs->fileNames = {path};
    click("Command4");

    QCOMPARE(m_dialogs->fileDialogs.last().title, QStringLiteral("Save DEST Patch Set"));
    QVERIFY(m_dialogs->fileDialogs.last().save);
    QCOMPARE(m_dialogs->shown.size(), failureShown ? 1 : 0);
    if (failureShown) {
        QCOMPARE(m_dialogs->shown.first().title, QStringLiteral("Tolvane"));
        QVERIFY(!m_dialogs->shown.first().text.isEmpty());
    }
    QCOMPARE(m_form->sets().DestTable, before);
    QVERIFY(control<QPushButton>("Command4")->isEnabled());
    const QStringList files = written ? QStringList({"dest.tvr", "saved.tvr", "src.tvr"})
                                      : QStringList({"dest.tvr", "src.tvr"});
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), files);
    if (written) {
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QVERIFY(bytes.startsWith("TAVRO=0.3\r\n\r\n/bgn 000\r\n"));
        QVERIFY(bytes.contains("Name=y\r\n"));
    }
    // The status shows the file as written, as a load of it would.
    QCOMPARE(control<AnchoredLabel>("Label7")->caption(),
             written ? loadedSetStatus("0.3", QFileInfo(path).lastModified()) : statusBefore);

    // The name chosen is offered by the next dialog; a cancel leaves the name the save
    // dialog opened with, DEST's file.
    m_dialogs->fileNames = {QString()};
    click("Command2");
    QCOMPARE(m_dialogs->fileDialogs.last().initialName,
             path.isEmpty() ? m_folder->filePath("dest.tvr") : path);
}

void TestWindowCommands::keysAndClicksRunTheirCommands_data()
{
    QTest::addColumn<QString>("before"); // as arrange() takes it
    QTest::addColumn<QString>("focus");  // the control that has the focus when the keys come
    QTest::addColumn<QString>("keys");   // clicks on buttons, "click Command7", or through the
                                         // window where a control shows, "press destEndFilter"
    QTest::addColumn<QString>("after");  // as picture() gives it
    QTest::addColumn<QString>("dialog"); // the file dialog the keys open (then cancelled), if any
    QStringList names; // more than the list shows at once
    for (int number = 0; number < 40; ++number) {
        names.append(QStringLiteral("d%1").arg(number, 2, 10, QLatin1Char('0')));
    }
    const QString longList = names.join(QStringLiteral(", "));
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("Ctrl+O") << "a | x" << "Command12" << "Ctrl+O" << ">a | >x"
                            << "Load SRC Patch Set";
    QTest::newRow("Ctrl+Shift+O") << "a | x" << "List1" << "Ctrl+Shift+O" << ">a | >x"
                                  << "Load DEST Patch Set";
    QTest::newRow("Ctrl+S") << "a | x" << "List2" << "Ctrl+S" << ">a | >x"
                            << "Save DEST Patch Set";
    QTest::newRow("Ctrl+S, save disabled") << "a | -" << "List1" << "Ctrl+S" << ">a | -" << "";
    QTest::newRow("Return") << "a | x" << "List1" << "Return" << ">a | >x" << "Save DEST Patch Set";
    QTest::newRow("keypad Enter") << "a | x" << "Command7" << "Enter" << ">a | >x"
                                  << "Save DEST Patch Set";
    QTest::newRow("Return, save disabled") << "a | -" << "List1" << "Return" << ">a | -" << "";
    QTest::newRow("Ctrl+N") << "a | x, y" << "Command12" << "Ctrl+N"
                            << ">a | >Empty patch entry" << "";
    QTest::newRow("Alt+Right") << "a, [b] | x" << "List1" << "Alt+Right" << ">a, b | x, >b" << "";
    QTest::newRow("Ctrl+Right") << "[a], b | [x]" << "List2" << "Ctrl+Right" << ">a, b | >a"
                                << "";
    QTest::newRow("Alt+Right, copy disabled") << "[a] | -" << "List1" << "Alt+Right"
                                              << ">[a] | -" << "";
    QTest::newRow("Delete") << "a | [x], y, [z]" << "List2" << "Delete" << ">a | >y" << "";
    QTest::newRow("Delete, focus on SRC") << "[a] | x, [y]" << "List1" << "Delete"
                                          << ">[a] | >x" << "";
    QTest::newRow("Delete, no DEST line selected") << "[a] | x" << "List1" << "Delete"
                                                   << ">[a] | >x" << "";
    // The chevrons and the slashed circles: a click sends the focus back to the focus rest.
    QTest::newRow("SRC up chevron") << "a, >[b], c | x" << "Command12" << "click Command7"
                                    << ">[b], a, c | >x" << "";
    QTest::newRow("SRC down chevron") << "a, >[b], c | x" << "Command12" << "click Command6"
                                      << "a, c, >[b] | >x" << "";
    QTest::newRow("DEST up chevron") << "a | x, >[y], z" << "Command12" << "click Command8"
                                     << ">a | >[y], x, z" << "";
    QTest::newRow("DEST down chevron") << "a | x, >[y], z" << "Command12" << "click Command9"
                                       << ">a | x, z, >[y]" << "";
    QTest::newRow("SRC clear") << "[a], b, [c] | x, [y], z" << "Command12" << "click Command10"
                               << ">a, b, c | x, >[y], z" << "";
    QTest::newRow("DEST clear") << "[a], b, [c] | x, [y], z" << "Command12" << "click Command11"
                                << "[a], b, >[c] | >x, y, z" << "";
    QTest::newRow("Ctrl+Up in SRC") << "a, b, >c | x" << "List1" << "Ctrl+Up" << "a, >c, b | >x"
                                    << "";
    QTest::newRow("Alt+Up in SRC") << "a, >[b] | x" << "List1" << "Alt+Up" << ">[b], a | >x"
                                   << "";
    QTest::newRow("Ctrl+Down in DEST") << "a | >x, y" << "List2" << "Ctrl+Down" << ">a | y, >x"
                                       << "";
    QTest::newRow("Alt+Down in DEST") << "a | >x, y" << "List2" << "Alt+Down" << ">a | y, >x"
                                      << "";
    QTest::newRow("Ctrl+Down, no list") << "a, b | >x, y" << "Command12" << "Ctrl+Down"
                                        << ">a, b | >x, y" << "";
    QTest::newRow("Ctrl+A in DEST") << "a, b | x, y" << "List2" << "Ctrl+A"
                                    << ">a, b | >[x], [y]" << "";
    QTest::newRow("Ctrl+A, no list") << "a, b | x" << "Command12" << "Ctrl+A" << ">a, b | >x"
                                     << "";
    QTest::newRow("Ctrl+Shift+A in SRC") << "[a], [b] | [x]" << "List1" << "Ctrl+Shift+A"
                                         << ">a, b | >[x]" << "";
    QTest::newRow("Ctrl+Z after a copy") << "a, [b] | x" << "List1" << "Alt+Right, Ctrl+Z"
                                         << ">a, b | >x" << "";
    QTest::newRow("Ctrl+Shift+Z") << "a, [b] | x" << "List1" << "Alt+Right, Ctrl+Z, Ctrl+Shift+Z"
                                  << ">a, b | >x, b" << "";
    QTest::newRow("Ctrl+Y") << "a, [b] | x" << "List1" << "Alt+Right, Ctrl+Z, Ctrl+Y"
                            << ">a, b | >x, b" << "";
    QTest::newRow("Ctrl+Z after a load") << "a | x" << "Command12" << "Ctrl+Z" << ">a | -" << "";
    QTest::newRow("Ctrl+Z, nothing to undo") << "- | -" << "Command12" << "Ctrl+Z" << "- | -"
                                             << "";
    QTest::newRow("Ctrl+Shift+Up in DEST") << "a | x, [y], >z, [w]" << "List2" << "Ctrl+Shift+Up"
                                           << ">a | >[y], [w], x, z" << "";
    QTest::newRow("Alt+Home in SRC, none selected") << "a, b, >c | x" << "List1" << "Alt+Home"
                                                    << ">c, a, b | >x" << "";
    QTest::newRow("Ctrl+Shift+Down in SRC") << "[a], b, >c | x" << "List1" << "Ctrl+Shift+Down"
                                            << "b, c, >[a] | >x" << "";
    QTest::newRow("Alt+End in DEST") << "a | >x, y, z" << "List2" << "Alt+End"
                                     << ">a | y, z, >x" << "";
    QTest::newRow("Alt+Home, no list") << "a, >b | x" << "Command12" << "Alt+Home"
                                       << "a, >b | >x" << "";
    QTest::newRow("Shift+Down twice in DEST") << "a | >x, y, z" << "List2"
                                              << "Shift+Down, Shift+Down" << ">a | x, [y], >[z]"
                                              << "";
    QTest::newRow("Shift+Up in SRC") << "a, b, >c | x" << "List1" << "Shift+Up"
                                     << "a, >[b], c | >x" << "";
    QTest::newRow("clicks toggle") << "a, [b], >c | x" << "List1" << "click 2, click 1"
                                   << "a, >b, [c] | >x" << "";
    QTest::newRow("Shift+click down in DEST") << "a | x, >y, z, w" << "List2" << "Shift+click 3"
                                              << ">a | x, [y], [z], >[w]" << "";
    QTest::newRow("Shift+click up in SRC, adding") << "[a], b, c, >d | x" << "List1"
                                                   << "Shift+click 1"
                                                   << "[a], >[b], [c], [d] | >x" << "";
    // Working through the differences: the keys act on the list that has the focus, the find
    // box keeps Enter, Down and Escape, and a filter unselects what it hides.
    QTest::newRow("Ctrl+Shift+D in DEST") << "a, b~, c | b, x, >a, c" << "List2" << "Ctrl+Shift+D"
                                          << ">a, b, c | [b], x, >a, c" << "";
    QTest::newRow("F7, wrapping, Shift+F7") << "a, b~, c~ | x, >c, b" << "List2"
                                            << "F7, F7, Shift+F7" << ">a, b, c | x, c, >b" << "";
    QTest::newRow("F7, nothing differs") << "a | x, >a" << "List2" << "F7" << ">a | x, >a" << "";
    QTest::newRow("Ctrl+F hides selected lines") << "a | alpha, >[beta], Alpine, [gamma]" << "List2"
                                                 << "Ctrl+F, A, L, Return"
                                                 << ">a | alpha, >Alpine" << "";
    QTest::newRow("Escape in the find box") << "a | alpha, >[beta], Alpine" << "List2"
                                            << "Ctrl+F, A, L, Return, Ctrl+F, Escape"
                                            << ">a | alpha, beta, >Alpine" << "";
    QTest::newRow("Down in the find box") << "a | alpha, beta, Alpine" << "List2"
                                          << "Ctrl+F, B, Down" << ">a | >beta" << "";
    QTest::newRow("keys the find box leaves") << "a | alpha, >beta, Alpine" << "List2"
                                              << "Ctrl+F, L, Shift+Up, Up, PgUp, Return"
                                              << ">a | alpha, >Alpine" << "";
    QTest::newRow("moves refused while filtered") << "a | alpha, >beta, Alpine" << "List2"
                                                  << "Ctrl+F, A, L, Return, Ctrl+Up, Alt+Home, "
                                                     "Ctrl+Shift+Down, click Command8"
                                                  << ">a | alpha, >Alpine" << "";
    QTest::newRow("Ctrl+A while filtered") << "a | alpha, beta, Alpine" << "List2"
                                           << "Ctrl+F, A, L, Return, Ctrl+A, Ctrl+F, Escape"
                                           << ">a | >[alpha], beta, [Alpine]" << "";
    QTest::newRow("Delete while filtered") << "a | alpha, beta, Alpine" << "List2"
                                           << "Ctrl+F, A, L, Return, Ctrl+A, Delete, Ctrl+F, Escape"
                                           << ">a | >beta" << "";
    // The list's scroll bar stands beside the bar, clear of its end button.
    QTest::newRow("x of a long list's find box") << "a | >" + longList + ", x" << "List2"
                                                 << "Ctrl+F, D, Return, press destEndFilter"
                                                 << ">a | >" + longList + ", x" << "";
    QTest::newRow("menu: show only differing") << "a, b~, c | b, >x, c" << "List2"
                                               << "menu Show only differing"
                                               << ">a, b, c | >b" << "";
    QTest::newRow("menu: select shared") << "a, b~, c | b, >x, c" << "List2"
                                         << "menu Select shared" << ">a, b, c | [b], >x, [c]" << "";
    QTest::newRow("menu: invert, in SRC") << "[a], b~, >c | b" << "List1" << "menu Invert selection"
                                          << "a, [b], >[c] | >b" << "";
    // Typing searches and never selects: a Space in a search is part of the name sought.
    QTest::newRow("type-ahead") << "a | x, >y, Skip 1, Skip 9" << "List2" << "S, K"
                                << ">a | x, y, >Skip 1, Skip 9" << "";
    QTest::newRow("type-ahead, a space, Delete") << "a | x, >y, Skip 1, Skip 9" << "List2"
                                                 << "S, K, I, P, Space, 9, Delete"
                                                 << ">a | x, y, Skip 1, >Skip 9" << "";
    // clang-format on
}

void TestWindowCommands::keysAndClicksRunTheirCommands()
{
    QFETCH(QString, before);
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(QString, dialog);
    arrange(before);
    control<QWidget>(qPrintable(focus))->setFocus();
    // Keys a millisecond apart, however slow the run: a search is always under way.
    qint64 now = 0;
    for (const char *list : {"List1", "List2"}) {
        control<QListView>(list)->findChild<TypeAhead *>()->setClock([&now] { return ++now; });
    }
    const qsizetype dialogsBefore = m_dialogs->fileDialogs.size();
    if (!dialog.isEmpty()) {
        m_dialogs->fileNames.append(QString());
    }

    // "click N" and "Shift+click N": the user's click on line N of the list that has the focus.
    for (const QString &step : keys.split(QStringLiteral(", "))) {
        bool isLine = false;
        const int line = step.section(QLatin1Char(' '), 1).toInt(&isLine);
        if (isLine) {
            clickLine(control<QListView>(qPrintable(focus)), line,
                      step.startsWith(QLatin1String("Shift")) ? Qt::ShiftModifier : Qt::NoModifier);
        } else if (step.startsWith(QLatin1String("click "))) {
            click(qPrintable(step.section(QLatin1Char(' '), 1)));
        } else if (step.startsWith(QLatin1String("press "))) {
            // Through the window, where the control shows: what lies over it takes the click.
            const auto *target = control<QWidget>(qPrintable(step.section(QLatin1Char(' '), 1)));
            QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {},
                              target->mapTo(m_form, target->rect().center()));
        } else if (step.startsWith(QLatin1String("menu "))) {
            auto *list = control<QListView>(qPrintable(focus));
            QMenu *menu = openListMenu(list, QStringLiteral("right click"));
            QVERIFY(menu != nullptr);
            QVERIFY(chooseFromMenu(menu, step.section(QLatin1Char(' '), 1)));
        } else {
            pressKeys(step);
        }
    }

    QCOMPARE(picture(), after);
    QStringList opened;
    for (qsizetype i = dialogsBefore; i < m_dialogs->fileDialogs.size(); ++i) {
        opened.append(m_dialogs->fileDialogs.at(i).title);
    }
    QCOMPARE(opened, dialog.isEmpty() ? QStringList() : QStringList({dialog}));
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(qPrintable(focus)));
}

void TestWindowCommands::changedMarkSaysWhatDiffers_data()
{
    // Pressed on DEST; "save" and "load" answer their dialogs with saved.tvr and dest.tvr.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("changed");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("loaded") << "" << "";
    QTest::newRow("deleted") << "Delete" << "changed since loaded";
    QTest::newRow("deleted, undone") << "Delete, Ctrl+Z" << "";
    QTest::newRow("deleted, loaded again") << "Delete, load" << "";
    QTest::newRow("saved") << "Delete, save" << "";
    QTest::newRow("saved, undone") << "Delete, save, Ctrl+Z" << "changed since saved";
    QTest::newRow("saved, undone, redone") << "Delete, save, Ctrl+Z, Ctrl+Y" << "";
    QTest::newRow("NEW") << "Ctrl+N" << "new set, not saved";
    QTest::newRow("NEW, saved") << "Ctrl+N, save" << "";
    // clang-format on
}

void TestWindowCommands::changedMarkSaysWhatDiffers()
{
    QFETCH(QString, keys);
    QFETCH(QString, changed);
    arrange("a | x, [y]");
    for (const QString &step : keys.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        control<QListView>("List2")->setFocus();
        const bool save = step == QLatin1String("save");
        const bool load = step == QLatin1String("load");
        if (save || load) {
            m_dialogs->fileNames << m_folder->filePath(save ? "saved.tvr" : "dest.tvr");
        }
        pressKeys(save ? QStringLiteral("Ctrl+S") : load ? QStringLiteral("Ctrl+Shift+O") : step);
    }
    const auto *mark = control<QLabel>("destChangedMark");
    QCOMPARE(mark->isVisible(), !changed.isEmpty());
    QCOMPARE(mark->accessibleName(), changed);
    QCOMPARE(toolTipAsShown(mark->toolTip()), changed);
    QVERIFY(!control<QLabel>("srcChangedMark")->isVisible());
    QVERIFY(m_dialogs->shown.isEmpty());
}

QTEST_MAIN(TestWindowCommands)
#include "TestWindowCommands.moc"
