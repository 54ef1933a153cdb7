// "LOAD SRC" and "LOAD DEST" through the real window and the scripted dialogs: what a
// completed load shows and enables, and that a cancel or a failed load changes nothing.
#include "AnchoredLabel.h"
#include "Form1.h"
#include "ScriptedDialogs.h"
#include "ToolTipText.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>

namespace {
const QString filter = QStringLiteral("TAVRO Patch Set (*.tvr)|*.tvr|All Files (*.*)|*.*");
}

class TestLoadCommands : public WindowTest
{
    Q_OBJECT

private slots:
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void secondSideEnablesCopyAndSave_data();
    void secondSideEnablesCopyAndSave();
    void statusShowsVersionAndFileTime();
    void farFutureFileTimeLoads_data();
    void farFutureFileTimeLoads();
    void failedLoadLeavesTheWindowAsItWas_data();
    void failedLoadLeavesTheWindowAsItWas();
    void loadingAgainReplacesTheSide();
    void notesMarkListsWhatTheLoadNoted_data();
    void notesMarkListsWhatTheLoadNoted();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        return writeFile(*m_folder, name, bytes);
    }
    // One press of a load button answered with `path`.
    void load(const char *button, const QString &path)
    {
        m_dialogs->fileNames.append(path);
        click(button);
    }
};

void TestLoadCommands::cancelChangesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("list");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("SRC") << "Command2" << "Load SRC Patch Set" << "Label6" << "List1";
    QTest::newRow("DEST") << "Command3" << "Load DEST Patch Set" << "Label7" << "List2";
    // clang-format on
}

void TestLoadCommands::cancelChangesNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, title);
    QFETCH(QString, status);
    QFETCH(QString, list);
    // A side that holds a set, then a cancelled dialog over it.
    load(qPrintable(button), write("first.tvr", patchSetBytes({"one", "two"})));
    clickLine(control<QListView>(qPrintable(list)), 1);
    const QString statusBefore = control<AnchoredLabel>(qPrintable(status))->caption();
    const PatchSets before = m_form->sets();

    load(qPrintable(button), QString());
    QCOMPARE(control<AnchoredLabel>(qPrintable(status))->caption(), statusBefore);
    QCOMPARE(listLines(control<QListView>(qPrintable(list))), QStringList({"one", "two"}));
    QCOMPARE(selectedLines(control<QListView>(qPrintable(list))), QList<int>({1}));
    QCOMPARE(m_form->sets().SrcTable, before.SrcTable);
    QCOMPARE(m_form->sets().DestTable, before.DestTable);
    QVERIFY(!control<QPushButton>("Command1")->isEnabled());
    QCOMPARE(control<QPushButton>("Command4")->isEnabled(), status == QLatin1String("Label7"));

    const QList<ScriptedDialogs::FileDialog> expected = {{false, title, filter, QString()},
                                                         {false, title, filter, QString()}};
    QCOMPARE(m_dialogs->fileDialogs, expected);
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestLoadCommands::secondSideEnablesCopyAndSave_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("firstFile"); // the file the first button loads
    QTest::addColumn<QString>("secondFile");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("SRC, then DEST") << "Command2" << "Command3" << "first.tvr" << "second.tvr";
    QTest::newRow("DEST, then SRC") << "Command3" << "Command2" << "first.tvr" << "second.tvr";
    // The tooltips show the paths as written: no markup, no image opened.
    QTest::newRow("names with markup") << "Command2" << "Command3" << "<u>x.tvr"
                                       << "Fix <img src=\"a-fifo\"> <b>bold &amp;.tvr";
    // clang-format on
}

void TestLoadCommands::secondSideEnablesCopyAndSave()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, firstFile);
    QFETCH(QString, secondFile);
    auto *copy = control<QPushButton>("Command1");
    auto *save = control<QPushButton>("Command4");

    load(qPrintable(first), write(firstFile, patchSetBytes({"alpha", "beta"})));
    const bool srcFirst = first == QLatin1String("Command2");
    QVERIFY(!copy->isEnabled());
    // DEST alone can be saved.
    QCOMPARE(save->isEnabled(), !srcFirst);
    QCOMPARE(m_dialogs->fileName(), QString()); // a completed load clears the shared name

    load(qPrintable(second), write(secondFile, patchSetBytes({"gamma"})));
    QVERIFY(copy->isEnabled());
    QVERIFY(save->isEnabled());

    auto *srcList = control<QListView>("List1");
    auto *destList = control<QListView>("List2");
    QCOMPARE(listLines(srcList),
             srcFirst ? QStringList({"alpha", "beta"}) : QStringList({"gamma"}));
    QCOMPARE(listLines(destList),
             srcFirst ? QStringList({"gamma"}) : QStringList({"alpha", "beta"}));
    QCOMPARE(control<AnchoredLabel>("Label8")->caption(), srcFirst ? "2" : "1");
    QCOMPARE(control<AnchoredLabel>("Label9")->caption(), srcFirst ? "1" : "2");
    for (const QListView *list : {srcList, destList}) {
        QVERIFY(selectedLines(list).isEmpty());
        QCOMPARE(list->currentIndex().row(), 0);
    }
    QVERIFY(control<AnchoredLabel>("Label6")->caption().startsWith(QLatin1String("v.0.3 / ")));
    QVERIFY(control<AnchoredLabel>("Label7")->caption().startsWith(QLatin1String("v.0.3 / ")));
    QCOMPARE(m_form->sets().SrcPath, m_folder->filePath(srcFirst ? firstFile : secondFile));
    QCOMPARE(m_form->sets().DestPath, m_folder->filePath(srcFirst ? secondFile : firstFile));
    // Each status label's tooltip names its side's file.
    QCOMPARE(toolTipAsShown(control<AnchoredLabel>("Label6")->toolTip()), m_form->sets().SrcPath);
    QCOMPARE(toolTipAsShown(control<AnchoredLabel>("Label7")->toolTip()), m_form->sets().DestPath);
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestLoadCommands::statusShowsVersionAndFileTime()
{
    // A version byte outside ASCII shows as its Windows-1252 character.
    const QString path = write("dated.tvr", patchSetBytes({"one"}, "0.3\xe9"));
    const QDateTime modified(QDate(2007, 1, 25), QTime(13, 4, 5));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    load("Command3", path);
    const QLocale locale;
    const QString expected = QStringLiteral("v.0.3\u00e9 / ")
        + locale.toString(QDate(2007, 1, 25), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(QTime(13, 4, 5), QLocale::LongFormat);
    QCOMPARE(control<AnchoredLabel>("Label7")->caption(), expected);
    QCOMPARE(control<AnchoredLabel>("Label6")->caption(), QString());
    QCOMPARE(control<QLabel>("Label7")->x(), 320); // anchored left at the DEST list
    QVERIFY(m_dialogs->shown.isEmpty());
}

// A file system such as tmpfs keeps any 64-bit time a tool sets, far beyond what a date can
// show in some time zones, or in milliseconds at all; such a file still loads.
void TestLoadCommands::farFutureFileTimeLoads_data()
{
    QTest::addColumn<qint64>("seconds");  // the file's last change, since 1970
    QTest::addColumn<QByteArray>("zone"); // the time zone while it loads
    QTest::newRow("past a date east of UTC")
        << qint64(9223372036854775) << QByteArray("Asia/Tokyo");
    QTest::newRow("past 64-bit milliseconds")
        << std::numeric_limits<qint64>::max() << QByteArray("UTC");
}

void TestLoadCommands::farFutureFileTimeLoads()
{
    QFETCH(qint64, seconds);
    QFETCH(QByteArray, zone);
    const QTemporaryDir memory(QStringLiteral("/dev/shm/TestLoadCommands-XXXXXX"));
    if (!memory.isValid()) {
        QSKIP("no tmpfs at /dev/shm");
    }
    const QString path = writeFile(memory, "far.tvr", patchSetBytes({"one"}));
    const timespec times[2] = {{0, 0}, {time_t(seconds), 0}};
    struct stat info = {};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0
        || ::stat(QFile::encodeName(path).constData(), &info) != 0
        || info.st_mtim.tv_sec != time_t(seconds)) {
        QSKIP("the file system does not keep such a time");
    }
    const std::optional<QByteArray> zoneBefore =
        qEnvironmentVariableIsSet("TZ") ? std::optional(qgetenv("TZ")) : std::nullopt;
    qputenv("TZ", zone);
    load("Command2", path);
    zoneBefore ? qputenv("TZ", *zoneBefore) : qunsetenv("TZ");

    QVERIFY(m_dialogs->shown.isEmpty());
    QCOMPARE(m_form->sets().SrcPath, path);
    const QString status = control<AnchoredLabel>("Label6")->caption();
    QVERIFY2(status.startsWith(QLatin1String("v.0.3 / ")) && status.size() > 12,
             qPrintable(status));
}

void TestLoadCommands::failedLoadLeavesTheWindowAsItWas_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("loadedBefore");
    QTest::addColumn<QByteArray>("bytes"); // empty: the file does not exist
    QTest::addColumn<QString>("message");  // %1 is the path
    QTest::addColumn<QString>("details");  // where and why reading stopped
    const QString body = QStringLiteral(
        "Error loading custom patch set (%1).\r\nMake sure file is not corrupted or empty.");
    const QByteArray badHeader = "TAVRA=0.3\r\n\r\n/bgn 000\r\nOmnipresence=1\r\n/end 000\r\n";
    const QByteArray badBody =
        "TAVRO=0.3\r\n\r\n/bgn 000\r\nOmnipresence=1\r\nName=bad\r\nRequiresSave=300\r\n"
        "/end 000\r\n";
    const QString bodyDetail =
        QStringLiteral("line 6: RequiresSave needs a number from 0 to 255, not \"300\"");
    for (const bool before : {false, true}) {
        const char *state = before ? "loaded" : "empty";
        for (const char *button : {"Command2", "Command3"}) {
            const char *side = QByteArray(button) == "Command2" ? "SRC" : "DEST";
            QTest::addRow("%s %s, missing file", state, side)
                << button << before << QByteArray() << LoadFailure::Missing
                << LoadFailure::MissingDetail;
            QTest::addRow("%s %s, bad header", state, side)
                << button << before << badHeader << LoadFailure::BadHeader
                << LoadFailure::BadHeaderDetail;
            QTest::addRow("%s %s, error in the body", state, side)
                << button << before << badBody << body << bodyDetail;
        }
    }
}

void TestLoadCommands::failedLoadLeavesTheWindowAsItWas()
{
    QFETCH(QString, button);
    QFETCH(bool, loadedBefore);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(QString, details);
    const bool src = button == QLatin1String("Command2");
    auto *list = control<QListView>(src ? "List1" : "List2");
    auto *status = control<AnchoredLabel>(src ? "Label6" : "Label7");
    auto *count = control<AnchoredLabel>(src ? "Label8" : "Label9");

    // The other side holds a set, so a completed load would enable copy and save.
    load(src ? "Command3" : "Command2", write("other.tvr", patchSetBytes({"other"})));
    if (loadedBefore) {
        load(qPrintable(button), write("good.tvr", patchSetBytes({"kept", "also kept"}, "0.2")));
        clickLine(list, 1);
    }
    const PatchSets before = m_form->sets();
    const QStringList linesBefore = listLines(list);
    const QList<int> selectedBefore = selectedLines(list);
    const int currentBefore = list->currentIndex().row();
    const QString statusBefore = status->caption();
    const QString fileBefore = status->toolTip();
    const QString countBefore = count->caption();
    const bool copyBefore = control<QPushButton>("Command1")->isEnabled();
    const bool saveBefore = control<QPushButton>("Command4")->isEnabled();
    m_dialogs->shown.clear();

    const QString path =
        bytes.isEmpty() ? m_folder->filePath("missing.tvr") : write("failing.tvr", bytes);
    load(qPrintable(button), path);

    QCOMPARE(m_dialogs->shown, QList<ShownText>({{"Tolvane", message.arg(path), details}}));
    QCOMPARE(status->caption(), statusBefore);
    QCOMPARE(status->toolTip(), fileBefore);
    QCOMPARE(count->caption(), countBefore);
    QCOMPARE(listLines(list), linesBefore);
    QCOMPARE(selectedLines(list), selectedBefore);
    QCOMPARE(list->currentIndex().row(), currentBefore);
    QCOMPARE(m_form->sets().SrcTable, before.SrcTable);
    QCOMPARE(m_form->sets().DestTable, before.DestTable);
    QCOMPARE(m_form->sets().SrcVersion, before.SrcVersion);
    QCOMPARE(m_form->sets().DestVersion, before.DestVersion);
    QCOMPARE(m_form->sets().SrcPath, before.SrcPath);
    QCOMPARE(m_form->sets().DestPath, before.DestPath);
    QCOMPARE(control<QPushButton>("Command1")->isEnabled(), copyBefore);
    QCOMPARE(control<QPushButton>("Command4")->isEnabled(), saveBefore);
    // The next dialog offers the name that failed.
    QCOMPARE(m_dialogs->fileName(), path);
}

void TestLoadCommands::loadingAgainReplacesTheSide()
{
    load("Command2", write("long.tvr", patchSetBytes({"a", "b", "c"})));
    clickLine(control<QListView>("List1"), 2);
    load("Command2", write("short.tvr", patchSetBytes({"d"}, "0.4")));
    QCOMPARE(listLines(control<QListView>("List1")), QStringList({"d"}));
    QVERIFY(selectedLines(control<QListView>("List1")).isEmpty());
    QCOMPARE(m_form->sets().SrcTable.size(), 1);
    QCOMPARE(m_form->sets().SrcVersion, QByteArray("0.4"));
    QVERIFY(control<AnchoredLabel>("Label6")->caption().startsWith(QLatin1String("v.0.4 / ")));
    QCOMPARE(control<AnchoredLabel>("Label8")->caption(), QStringLiteral("1"));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void TestLoadCommands::notesMarkListsWhatTheLoadNoted_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("notes"); // as the notes window lists them; none: no mark
    QTest::addColumn<QString>("summary");   // the mark's tooltip and accessible description

    QTest::newRow("clean") << "Command3" << patchSetBytes({"one", "two"}) << QStringList()
                           << QString();
    QByteArray odd = patchSetBytes({"slot", "hidden", "gone"});
    odd.replace("Name=slot\r\n", "Name=slot\r\nOffffset1X=1234\r\nColour=blue\r\n");
    odd.replace("Omnipresence=1\r\nName=hidden", "Omnipresence=2\r\nName=hidden");
    odd.replace("Omnipresence=1\r\nName=gone", "Omnipresence=0\r\nName=gone");
    const QString hidden = "line 11: block 1 (\"hidden\") is not listed, yet kept and saved back: "
                           "only an entry whose Omnipresence is 1 is listed, and this one's is 2";
    QTest::newRow("three kinds") << "Command3" << odd
                                 << QStringList{"line 6: Offffset1X is read as data slot 1",
                                                "line 7: \"Colour\" is not a key of a patch entry, "
                                                "so this line is ignored",
                                                hidden,
                                                "line 17: block 2 (\"gone\") is dropped: only an "
                                                "entry whose Omnipresence is 1 is listed, and "
                                                "this one's is 0"}
                                 << "4 load notes on notes.tvr (click to see them all):\n"
                                    "line 6: Offffset1X is read as data slot 1\n"
                                    "line 7: \"Colour\" is not a key of a patch entry, so this "
                                    "line is ignored\n"
                                 + hidden.left(79) + "\u2026\n\u2026";
    QByteArray many = patchSetBytes({"many"});
    many.replace("Name=many\r\n", "Name=many\r\n" + QByteArray("Colour=blue\r\n").repeated(1001));
    QStringList manyNotes;
    for (int line = 6; line < 1006; ++line) {
        manyNotes << QStringLiteral("line %1: \"Colour\" is not a key of a patch entry, so this "
                                    "line is ignored")
                         .arg(line);
    }
    const QString summarised = manyNotes.mid(0, 3).join('\n');
    QTest::newRow("more than kept")
        << "Command2" << many << manyNotes + QStringList{"and 1 more not kept"}
        << "1001 load notes on notes.tvr (click to see them all):\n" + summarised + "\n\u2026";
}

// A click on the mark opens the list, which copies as shown and closes with Escape; an undo
// of the load takes the notes away with the set.
void TestLoadCommands::notesMarkListsWhatTheLoadNoted()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, notes);
    QFETCH(QString, summary);
    load(qPrintable(button), write("notes.tvr", bytes));
    const bool src = button == QLatin1String("Command2");
    auto *mark = control<QAbstractButton>(src ? "srcNotesMark" : "destNotesMark");
    QCOMPARE(mark->isVisible(), !notes.isEmpty());
    QVERIFY(!control<QAbstractButton>(src ? "destNotesMark" : "srcNotesMark")->isVisible());
    if (notes.isEmpty()) {
        return;
    }
    QCOMPARE(mark->accessibleDescription(), summary);
    QCOMPARE(toolTipAsShown(mark->toolTip()), summary);
    QCOMPARE(mark->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {},
                      mark->mapTo(m_form, mark->rect().center()));
    auto *window = m_form->findChild<QDialog *>("notesWindow");
    QVERIFY(window != nullptr && window->isVisible());
    QCOMPARE(window->findChild<QTextEdit *>("notes")->toPlainText(), notes.join('\n'));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(window->findChild<QAbstractButton *>("copyNotes"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), notes.join('\n'));
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));

    pressKeys(QStringLiteral("Ctrl+Z"));
    QVERIFY(!mark->isVisible());
}

QTEST_MAIN(TestLoadCommands)
#include "TestLoadCommands.moc"
