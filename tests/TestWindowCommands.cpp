// The wiring of the window's commands: each button and each key reaches its command on the
// right side, the copy asks through the seam, the detail label fades in, save writes the file,
// and the lines show which entries the other side has too.
#include "AnchoredLabel.h"
#include "DetailPanel.h"
#include "Form1.h"
#include "LineMarks.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"
#include "WindowLook.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestWindowCommands : public WindowTest
{
    Q_OBJECT

private slots:
    void copyAsksBeforeOverwriting_data();
    void copyAsksBeforeOverwriting();
    void moveButtonsMoveTheirSide_data();
    void moveButtonsMoveTheirSide();
    void sideCommandsClearTheirSide_data();
    void sideCommandsClearTheirSide();
    void newStartsAnEmptyDestSet();
    void detailFadesInAfterAClick();
    void changesByTheProgramShowNoDetail();
    void saveWritesOnlyTheChosenFile_data();
    void saveWritesOnlyTheChosenFile();
    void keysRunTheirCommands_data();
    void keysRunTheirCommands();
    void marksFollowCopyAndUndo_data();
    void marksFollowCopyAndUndo();

private:
    void loadBoth(const QStringList &src, const QStringList &dest)
    {
        m_dialogs->fileNames.append(writeFile(*m_folder, "src.tvr", patchSetBytes(src)));
        click("Command2");
        m_dialogs->fileNames.append(writeFile(*m_folder, "dest.tvr", patchSetBytes(dest)));
        click("Command3");
        QVERIFY(m_dialogs->shown.isEmpty());
    }
    // Both sides from a picture, "a, [b], >c | -": SRC lists a, b and c with b selected and c
    // current, DEST holds no set. Each side's lines are loaded from a file, then clicked.
    void arrange(const QString &picture)
    {
        const QStringList sides = picture.split(QStringLiteral(" | "));
        QCOMPARE(sides.size(), 2);
        for (int side = 0; side < 2; ++side) {
            if (sides.at(side) == QLatin1String("-")) {
                continue;
            }
            QStringList lines = sides.at(side).split(QStringLiteral(", "));
            QStringList names = lines;
            names.replaceInStrings(QRegularExpression(QStringLiteral("[>\\[\\]]")), QString());
            const QString name = side == 0 ? QStringLiteral("src.tvr") : QStringLiteral("dest.tvr");
            m_dialogs->fileNames.append(writeFile(*m_folder, name, patchSetBytes(names)));
            click(side == 0 ? "Command2" : "Command3");
        }
        for (int side = 0; side < 2; ++side) {
            auto *list = control<QListWidget>(side == 0 ? "List1" : "List2");
            const QStringList lines = sides.at(side).split(QStringLiteral(", "));
            for (int line = 0; line < lines.size(); ++line) {
                if (lines.at(line).contains(QLatin1Char('['))) {
                    clickLine(list, line);
                }
            }
            for (int line = 0; line < lines.size(); ++line) {
                if (lines.at(line).startsWith(QLatin1Char('>'))) {
                    list->setCurrentRow(line, QItemSelectionModel::NoUpdate);
                }
            }
        }
    }
    // The two lists as arrange() takes them; a list without lines is "-".
    QString picture()
    {
        QStringList sides;
        for (const char *name : {"List1", "List2"}) {
            const auto *list = control<QListWidget>(name);
            QStringList lines;
            for (int line = 0; line < list->count(); ++line) {
                QString text = list->item(line)->text();
                if (list->item(line)->isSelected()) {
                    text = QLatin1Char('[') + text + QLatin1Char(']');
                }
                lines.append(line == list->currentRow() ? QLatin1Char('>') + text : text);
            }
            sides.append(lines.isEmpty() ? QStringLiteral("-") : lines.join(QStringLiteral(", ")));
        }
        return sides.join(QStringLiteral(" | "));
    }
    // Each line's mark as assistive technology reads it ('.', '=' or '~', as in the marks
    // tables), checked against the line's tooltip and colour; the text stays the entry's name.
    void readMarks(QListWidget *list, Side side, QString &marks)
    {
        marks.clear();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list);
        QVERIFY(accessible != nullptr);
        for (int line = 0; line < list->count(); ++line) {
            const QListWidgetItem *item = list->item(line);
            const QString description = accessible->child(line)->text(QAccessible::Description);
            LineMark mark = LineMark::None;
            for (const LineMark shown : {LineMark::Identical, LineMark::Differs}) {
                if (description == lineMarkText(side, shown)) {
                    mark = shown;
                }
            }
            marks += mark == LineMark::None ? '.' : mark == LineMark::Identical ? '=' : '~';
            QCOMPARE(item->toolTip(), description);
            if (mark == LineMark::None) {
                QVERIFY2(description.isEmpty(), qPrintable(description));
                QCOMPARE(item->background().style(), Qt::NoBrush);
            } else {
                QCOMPARE(item->background().color(), WindowLook::markColours(mark).line);
            }
            QVERIFY(!item->text().contains(QLatin1String("also")));
        }
    }
    QStringList names(const PatchTable &table)
    {
        QStringList all;
        for (const PatchEntry &entry : table) {
            all.append(QString::fromLatin1(entry.Name));
        }
        return all;
    }
};

void TestWindowCommands::copyAsksBeforeOverwriting_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestWindowCommands::copyAsksBeforeOverwriting()
{
    QFETCH(bool, yes);
    loadBoth({"alpha", "beta"}, {"gamma", "beta"});
    const PatchEntry srcBeta = m_form->sets().SrcTable.at(1);
    const PatchEntry destBeta = m_form->sets().DestTable.at(1);
    const PatchEntry srcAlpha = m_form->sets().SrcTable.at(0);
    auto *srcList = control<QListWidget>("List1");
    clickLine(srcList, 0);
    clickLine(srcList, 1);
    m_dialogs->answers = {yes};
    click("Command1");

    QCOMPARE(m_dialogs->shown,
             QList<ShownText>({{"Confirm patch overwrite",
                                "Patch with name ''beta'' already exists. Overwrite?"}}));
    const PatchTable &dest = m_form->sets().DestTable;
    QCOMPARE(names(dest), QStringList({"gamma", "beta", "alpha"}));
    QCOMPARE(dest.at(1), yes ? srcBeta : destBeta);
    QCOMPARE(dest.at(2), srcAlpha);
    QCOMPARE(listLines(control<QListWidget>("List2")), QStringList({"gamma", "beta", "alpha"}));
    QVERIFY(selectedLines(srcList).isEmpty());
    QVERIFY(control<QPushButton>("Command4")->isEnabled());
    // The copy shows the detail of the DEST line it made current.
    QVERIFY(control<QTimer>("Timer2")->isActive());
    m_form->tickFade();
    QVERIFY(control<AnchoredLabel>("Label5")->caption().startsWith(QLatin1String(">>")));
}

void TestWindowCommands::moveButtonsMoveTheirSide_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("src");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("current");
    QTest::newRow("SRC up") << "Command7" << true << QStringList({"b", "a", "c"}) << 0;
    QTest::newRow("SRC down") << "Command6" << true << QStringList({"a", "c", "b"}) << 2;
    QTest::newRow("DEST up") << "Command8" << false << QStringList({"y", "x", "z"}) << 0;
    QTest::newRow("DEST down") << "Command9" << false << QStringList({"x", "z", "y"}) << 2;
}

void TestWindowCommands::moveButtonsMoveTheirSide()
{
    QFETCH(QString, button);
    QFETCH(bool, src);
    QFETCH(QStringList, order);
    QFETCH(int, current);
    const QStringList srcNames = {"a", "b", "c"};
    const QStringList destNames = {"x", "y", "z"};
    loadBoth(srcNames, destNames);
    auto *list = control<QListWidget>(src ? "List1" : "List2");
    clickLine(list, 1); // selected and current
    click(qPrintable(button));

    QCOMPARE(listLines(list), order);
    QCOMPARE(list->currentRow(), current);
    QCOMPARE(selectedLines(list), QList<int>({current})); // the selection moved with it
    QCOMPARE(names(src ? m_form->sets().SrcTable : m_form->sets().DestTable), order);
    QCOMPARE(names(src ? m_form->sets().DestTable : m_form->sets().SrcTable),
             src ? destNames : srcNames);
    QCOMPARE(m_form->focusWidget(), control<QPushButton>("Command12"));
}

void TestWindowCommands::sideCommandsClearTheirSide_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("src");
    QTest::newRow("SRC") << "Command10" << true;
    QTest::newRow("DEST") << "Command11" << false;
}

void TestWindowCommands::sideCommandsClearTheirSide()
{
    QFETCH(QString, button);
    QFETCH(bool, src);
    loadBoth({"a", "b", "c"}, {"x", "y", "z"});
    auto *srcList = control<QListWidget>("List1");
    auto *destList = control<QListWidget>("List2");
    clickLine(srcList, 0);
    clickLine(srcList, 2);
    clickLine(destList, 1);
    click(qPrintable(button));
    QCOMPARE(selectedLines(srcList), src ? QList<int>() : QList<int>({0, 2}));
    QCOMPARE(selectedLines(destList), src ? QList<int>({1}) : QList<int>());
    QCOMPARE((src ? srcList : destList)->currentRow(), 0);
}

void TestWindowCommands::newStartsAnEmptyDestSet()
{
    click("Command13");
    QCOMPARE(listLines(control<QListWidget>("List2")), QStringList({"Empty patch entry"}));
    QCOMPARE(control<AnchoredLabel>("Label7")->caption(), QStringLiteral("v.0.3 / [new]"));
    QCOMPARE(control<AnchoredLabel>("Label9")->caption(), QStringLiteral("1"));
    QVERIFY(!control<QPushButton>("Command1")->isEnabled());
    QVERIFY(!control<QPushButton>("Command4")->isEnabled());

    m_dialogs->fileNames.append(writeFile(*m_folder, "src.tvr", patchSetBytes({"a"})));
    click("Command2");
    QVERIFY(control<QPushButton>("Command1")->isEnabled());
    QVERIFY(control<QPushButton>("Command4")->isEnabled());
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestWindowCommands::detailFadesInAfterAClick()
{
    loadBoth({"a", "b"}, {"x"});
    auto *label = control<AnchoredLabel>("Label5");
    auto *timer = control<QTimer>("Timer2");
    clickLine(control<QListWidget>("List1"), 1);
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

    clickLine(control<QListWidget>("List2"), 0);
    m_form->tickFade();
    QVERIFY(label->caption().startsWith(QLatin1String(">>\r\n")));
}

void TestWindowCommands::changesByTheProgramShowNoDetail()
{
    loadBoth({"a", "b"}, {"x", "y"});
    click("Command13");
    click("Command10");
    QVERIFY(!control<QTimer>("Timer2")->isActive());
    QVERIFY(control<AnchoredLabel>("Label5")->caption().isEmpty());
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

void TestWindowCommands::saveWritesOnlyTheChosenFile()
{
    QFETCH(QString, chosen);
    QFETCH(bool, written);
    QFETCH(bool, failureShown);
    loadBoth({"a"}, {"x", "y"});
    const PatchTable before = m_form->sets().DestTable;
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

    // The name chosen is offered by the next dialog; a cancel leaves the name as it was.
    m_dialogs->fileNames = {QString()};
    click("Command2");
    QCOMPARE(m_dialogs->fileDialogs.last().initialName, path);
}

void TestWindowCommands::keysRunTheirCommands_data()
{
    QTest::addColumn<QString>("before"); // as arrange() takes it
    QTest::addColumn<QString>("focus");  // the control that has the focus when the keys come
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");  // as picture() gives it
    QTest::addColumn<QString>("dialog"); // the file dialog the keys open (then cancelled), if any
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
    // clang-format on
}

void TestWindowCommands::keysRunTheirCommands()
{
    QFETCH(QString, before);
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(QString, dialog);
    arrange(before);
    control<QWidget>(qPrintable(focus))->setFocus();
    const qsizetype dialogsBefore = m_dialogs->fileDialogs.size();
    if (!dialog.isEmpty()) {
        m_dialogs->fileNames.append(QString());
    }

    pressKeys(keys);

    QCOMPARE(picture(), after);
    QStringList opened;
    for (qsizetype i = dialogsBefore; i < m_dialogs->fileDialogs.size(); ++i) {
        opened.append(m_dialogs->fileDialogs.at(i).title);
    }
    QCOMPARE(opened, dialog.isEmpty() ? QStringList() : QStringList({dialog}));
    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(qPrintable(focus)));
}

void TestWindowCommands::marksFollowCopyAndUndo_data()
{
    // One mark per line: '.' none, '=' identical, '~' differs.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("srcMarks");
    QTest::addColumn<QString>("destMarks");
    QTest::newRow("loaded") << ""
                            << ".~="
                            << "~=.";
    QTest::newRow("copy") << "Alt+Right"
                          << "=~="
                          << "~=.=";
    QTest::newRow("copy undone") << "Alt+Right, Ctrl+Z"
                                 << ".~="
                                 << "~=.";
    QTest::newRow("copy redone") << "Alt+Right, Ctrl+Z, Ctrl+Y"
                                 << "=~="
                                 << "~=.=";
}

void TestWindowCommands::marksFollowCopyAndUndo()
{
    QFETCH(QString, keys);
    QFETCH(QString, srcMarks);
    QFETCH(QString, destMarks);
    QByteArray dest = patchSetBytes({"b", "c", "d"});
    dest.replace("Description=b described", "Description=b changed");
    m_dialogs->fileNames << writeFile(*m_folder, "src.tvr", patchSetBytes({"a", "b", "c"}))
                         << writeFile(*m_folder, "dest.tvr", dest);
    click("Command2");
    click("Command3");
    auto *srcList = control<QListWidget>("List1");
    clickLine(srcList, 0);

    pressKeys(keys);

    QString marks;
    readMarks(srcList, Side::Left, marks);
    QCOMPARE(marks, srcMarks);
    readMarks(control<QListWidget>("List2"), Side::Right, marks);
    QCOMPARE(marks, destMarks);
}

QTEST_MAIN(TestWindowCommands)
#include "TestWindowCommands.moc"
