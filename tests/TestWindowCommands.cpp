// The wiring of the window's commands: each button reaches its command on the right side,
// the copy asks through the seam, the detail label fades in, and save writes the file.
#include "AnchoredLabel.h"
#include "DetailPanel.h"
#include "Form1.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"
#include "WindowLook.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestWindowCommands : public QObject, private WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void copyAsksBeforeOverwriting_data();
    void copyAsksBeforeOverwriting();
    void moveButtonsMoveTheirSide_data();
    void moveButtonsMoveTheirSide();
    void sideCommandsClearTheirSide_data();
    void sideCommandsClearTheirSide();
    void newStartsAnEmptyDestSet();
    void detailFadesInAfterAClick();
    void changesByTheProgramShowNoDetail();
    void saveWritesTheChosenFile();
    void failingSaveShowsItsMessage();
    void cancelledSaveWritesNothing();

private:
    void loadBoth(const QStringList &src, const QStringList &dest)
    {
        m_dialogs->fileNames.append(writeFile(*m_folder, "src.tvr", patchSetBytes(src)));
        click("Command2");
        m_dialogs->fileNames.append(writeFile(*m_folder, "dest.tvr", patchSetBytes(dest)));
        click("Command3");
        QVERIFY(m_dialogs->shown.isEmpty());
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

void TestWindowCommands::initTestCase()
{
    WindowLook::registerFonts();
}

void TestWindowCommands::init()
{
    openWindow();
}

void TestWindowCommands::cleanup()
{
    closeWindow();
}

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

void TestWindowCommands::saveWritesTheChosenFile()
{
    loadBoth({"a"}, {"x", "y"});
    const QString path = m_folder->filePath("saved.tvr");
    m_dialogs->fileNames = {path, QString()};
    click("Command4");
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.startsWith("TAVRO=0.3\r\n\r\n/bgn 000\r\n"));
    QVERIFY(bytes.contains("Name=y\r\n"));
    QVERIFY(m_dialogs->shown.isEmpty());

    // The saved name is offered by the next dialog.
    click("Command2");
    QCOMPARE(m_dialogs->fileDialogs.last().initialName, path);
    QCOMPARE(m_dialogs->fileDialogs.at(2).title, QStringLiteral("Save DEST Patch Set"));
    QVERIFY(m_dialogs->fileDialogs.at(2).save);
}

void TestWindowCommands::failingSaveShowsItsMessage()
{
    loadBoth({"a"}, {"x"});
    const PatchTable before = m_form->sets().DestTable;
    const QString path = m_folder->filePath("no such folder/saved.tvr");
    m_dialogs->fileNames = {path};
    click("Command4");
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown.first().title, QStringLiteral("Tolvane"));
    QVERIFY(!m_dialogs->shown.first().text.isEmpty());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(m_form->sets().DestTable, before);
    QVERIFY(control<QPushButton>("Command4")->isEnabled());
}

void TestWindowCommands::cancelledSaveWritesNothing()
{
    loadBoth({"a"}, {"x"});
    m_dialogs->fileNames = {QString()};
    click("Command4");
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList({"dest.tvr", "src.tvr"}));
    QVERIFY(m_dialogs->shown.isEmpty());
}

QTEST_MAIN(TestWindowCommands)
#include "TestWindowCommands.moc"
