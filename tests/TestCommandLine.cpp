// The command line: paths given to the program load into the real window as the LOAD buttons
// would load them, and the options answer from the built program without opening a window.
#include "AnchoredLabel.h"
#include "CommandLine.h"
#include "Form1.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"

#include <QCoreApplication>
#include <QListView>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

class TestCommandLine : public WindowTest
{
    Q_OBJECT

private slots:
    void pathsLoadIntoTheirSides_data();
    void pathsLoadIntoTheirSides();
    void optionsAnswerWithoutAWindow_data();
    void optionsAnswerWithoutAWindow();
};

void TestCommandLine::pathsLoadIntoTheirSides_data()
{
    QTest::addColumn<QStringList>("paths"); // relative to the working directory; and options
    QTest::addColumn<QString>("src");       // the file SRC holds afterwards, or ""
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QString>("failing"); // the file whose load shows `message`, or ""
    QTest::addColumn<QString>("message"); // %1 is its absolute path
    QTest::addColumn<QString>("details");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("two") << QStringList{"a.tvr", "b.tvr"} << "a.tvr" << "b.tvr" << "" << ""
                         << "";
    QTest::newRow("one goes to DEST") << QStringList{"a.tvr"} << "" << "a.tvr" << "" << "" << "";
    QTest::newRow("more than two") << QStringList{"a.tvr", "b.tvr", "c.tvr"} << "a.tvr"
                                   << "b.tvr" << "" << "" << "";
    QTest::newRow("toolkit options between") << QStringList{"-style", "fusion", "a.tvr",
                                                            "-reverse", "--platform=offscreen",
                                                            "b.tvr"}
                                             << "a.tvr" << "b.tvr" << "" << "" << "";
    QTest::newRow("missing SRC") << QStringList{"missing.tvr", "b.tvr"} << "" << "b.tvr"
                                 << "missing.tvr" << LoadFailure::Missing
                                 << LoadFailure::MissingDetail;
    QTest::newRow("bad DEST") << QStringList{"a.tvr", "bad.tvr"} << "a.tvr" << ""
                              << "bad.tvr" << LoadFailure::BadHeader
                              << LoadFailure::BadHeaderDetail;
    // clang-format on
}

void TestCommandLine::pathsLoadIntoTheirSides()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, src);
    QFETCH(QString, dest);
    QFETCH(QString, failing);
    QFETCH(QString, message);
    QFETCH(QString, details);
    const QHash<QString, QStringList> lines = {
        {"a.tvr", {"alpha", "beta"}}, {"b.tvr", {"gamma"}}, {"c.tvr", {"delta"}}};
    for (auto file = lines.cbegin(); file != lines.cend(); ++file) {
        writeFile(*m_folder, file.key(), patchSetBytes(file.value()));
    }
    writeFile(*m_folder, "bad.tvr", "TAVRA=0.3\r\n");

    const CommandLine commandLine =
        parseCommandLine(QStringList{"tolvane"} + paths, m_folder->path());
    QCOMPARE(commandLine.request, CommandLine::Request::Open);
    openCommandLinePaths(*m_form, commandLine);
    QVERIFY(m_form->sets().DestPath.isEmpty()); // nothing loads before the event loop runs
    QCoreApplication::processEvents();

    QCOMPARE(listLines(control<QListView>("List1")), lines.value(src));
    QCOMPARE(listLines(control<QListView>("List2")), lines.value(dest));
    QCOMPARE(m_form->sets().SrcPath, src.isEmpty() ? QString() : m_folder->filePath(src));
    QCOMPARE(m_form->sets().DestPath, dest.isEmpty() ? QString() : m_folder->filePath(dest));
    QCOMPARE(control<AnchoredLabel>("Label6")->caption().isEmpty(), src.isEmpty());
    QCOMPARE(control<AnchoredLabel>("Label7")->caption().isEmpty(), dest.isEmpty());
    QList<ShownText> expected;
    if (!failing.isEmpty()) {
        expected.append({"Tolvane", message.arg(m_folder->filePath(failing)), details});
    }
    QCOMPARE(m_dialogs->shown, expected);
}

void TestCommandLine::optionsAnswerWithoutAWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display"); // false: no display and no platform chosen at all
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // expected on standard output: its start
    QTest::addColumn<QString>("error");  // expected on standard error: a part of it, or ""
    const QString usage =
        QStringLiteral("Usage: " TOLVANE_PROGRAM " [options] [SRC.tvr] [DEST.tvr]");
    // clang-format off
    QTest::newRow("help") << QStringList{"--help"} << true << 0 << usage << QString();
    QTest::newRow("-h, no display") << QStringList{"-h"} << false << 0 << usage << QString();
    QTest::newRow("version") << QStringList{"--version", "a.tvr"} << true << 0
                             << QStringLiteral("tolvane " TOLVANE_VERSION "\n") << QString();
    QTest::newRow("version, no display") << QStringList{"--version"} << false << 0
                                         << QStringLiteral("tolvane " TOLVANE_VERSION "\n")
                                         << QString();
    QTest::newRow("unknown") << QStringList{"--bogus", "a.tvr"} << true << 2 << QString()
                             << "tolvane: Unknown option 'bogus'.\n\n" + usage;
    QTest::newRow("unknown, no display") << QStringList{"--bogus"} << false << 2 << QString()
                                         << "tolvane: Unknown option 'bogus'.\n\n" + usage;
    // The toolkit's own options are no mistake, and their values are no paths.
    QTest::newRow("toolkit options, then -h") << QStringList{"-platform", "offscreen", "-reverse",
                                                             "-style=fusion", "a.tvr", "-h"}
                                              << false << 0 << usage << QString();
    QTest::newRow("toolkit option, then unknown") << QStringList{"-display", ":0", "-x"} << false
                                                  << 2 << QString()
                                                  << "tolvane: Unknown option 'x'.\n\n" + usage;
    // clang-format on
}

void TestCommandLine::optionsAnswerWithoutAWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (display) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            environment.remove(name);
        }
    }
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(m_folder->path());
    program.start(TOLVANE_PROGRAM, arguments);
    // A program that opened its window would never end on its own.
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString standardOutput = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString standardError = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(standardOutput.startsWith(output), qPrintable(standardOutput));
    QCOMPARE(standardOutput.isEmpty(), output.isEmpty());
    // Qt may warn on standard error, so only the usage is looked for there.
    QVERIFY2(error.isEmpty() ? !standardError.contains("Usage:") : standardError.contains(error),
             qPrintable(standardError));
}

QTEST_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
