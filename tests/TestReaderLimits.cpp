// How the reader stands up to input that fails, is hostile or is huge: a device that stops
// reading part way, a failure that stops at its line and hands out nothing it read, lines
// longer than any single read, and loads of FIFOs, devices, sockets and files of many megabytes
// up to 8 GB that end at once and hold no more of a line than the format keeps. Those loads run
// in a child process, so one that hangs or floods memory fails its row instead of the run.
#include "Fixtures.h"

#include "PatchSetReader.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A load that blocks or fills memory would hang or sink the test run itself, so these loads
// run in a child process (this test program, started with childOption) that a watchdog ends.

const char childOption[] = "--load-in-child";

// A "Vm..." figure of /proc/<pid>/status in kilobytes: VmRSS is the memory a process holds
// now, VmHWM the most it ever held (counted from its start, unlike getrusage's figure, which
// a child inherits from the process that started it).
qint64 statusKilobytes(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':')) {
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
        }
    }
    return 0;
}

// The child: loads `path` and prints how far its peak memory rose above what it held before,
// the line where reading stopped and the message.
int loadInChild(const char *path)
{
    const qint64 before = statusKilobytes(getpid(), "VmRSS");
    const ReadResult result = LoadPatchSet(QString::fromLocal8Bit(path));
    const qint64 growth = statusKilobytes(getpid(), "VmHWM") - before;
    std::printf("%lld\n%d\n%s", static_cast<long long>(growth), result.line,
                result.message.toUtf8().constData());
    return 0;
}

struct WatchedLoad
{
    bool finished = false; // false: the watchdog ended it
    qint64 growthKilobytes = 0;
    int line = 0;
    QString message;
};

// Far beyond any sane load: a child past either limit is stuck or filling memory.
constexpr int watchdogMilliseconds = 30000;
constexpr qint64 watchdogKilobytes = 1024 * 1024;

WatchedLoad loadWatched(const QString &path)
{
    WatchedLoad load;
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QLatin1String(childOption), path});
    if (!child.waitForStarted()) {
        return load;
    }
    const QDeadlineTimer deadline(watchdogMilliseconds);
    while (!child.waitForFinished(20)) {
        if (deadline.hasExpired()
            || statusKilobytes(child.processId(), "VmRSS") > watchdogKilobytes) {
            child.kill();
            child.waitForFinished();
            return load;
        }
    }
    // The message may hold line breaks of its own; it comes last.
    const QByteArray output = child.readAllStandardOutput();
    const qsizetype first = output.indexOf('\n');
    const qsizetype second = output.indexOf('\n', first + 1);
    load.finished = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 && first > 0
        && second > first;
    if (load.finished) {
        load.growthKilobytes = output.left(first).toLongLong();
        load.line = output.mid(first + 1, second - first - 1).toInt();
        load.message = QString::fromUtf8(output.mid(second + 1));
    }
    return load;
}

} // namespace

class TestReaderLimits : public QObject
{
    Q_OBJECT

private slots:
    void readErrorFails_data();
    void readErrorFails();
    void failureStopsAtItsLine_data();
    void failureStopsAtItsLine();
    void longLinesAcrossReads_data();
    void longLinesAcrossReads();
    void loadsOnlyWhatItCanRead_data();
    void loadsOnlyWhatItCanRead();

private:
    QTemporaryDir m_dir;
};

// The device fails from byte 100 on; a header is judged by its start, before that.
void TestReaderLimits::readErrorFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("headerRejected");
    QTest::addColumn<int>("line");

    QTest::newRow("inside a block") << fixture("two-entries.tvr") << false << 8;
    QTest::newRow("long first line") << "TAVRA=0.3" + repeated('x', 1000) << true << 1;
    QTest::newRow("long header line") << "TAVRO=0.3" + repeated('x', 1000) << false << 1;
}

void TestReaderLimits::readErrorFails()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, headerRejected);
    QFETCH(int, line);
    TricklingReader failing(bytes, 16, TricklingReader::Access::RandomAccess, 100);
    const ReadResult result = readPatchSet(failing, QStringLiteral("disk.tvr"));
    QCOMPARE(result.line, line);
    if (headerRejected) {
        QCOMPARE(result.message, headerNotFound());
        return;
    }
    QCOMPARE(result.message, errorLoading(QStringLiteral("disk.tvr")));
    QCOMPARE(result.detail,
             QStringLiteral("line %1: the file cannot be read past this line").arg(line));
    QVERIFY(result.entries.isEmpty());
}

// `detail` is what the window shows under "Show Details": the line and, in a few words, why.
void TestReaderLimits::failureStopsAtItsLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("detail");

    QTest::newRow("empty file") << QByteArray() << 0 << "the file is empty";
    QTest::newRow("header") << QByteArray("TAVRA=0.3\r\n/bgn 000\r\n") << 1
                            << "line 1: no TAVRO= header";
    QTest::newRow("negative block") << QByteArray("TAVRO=0.3\r\n\r\n/bgn -1\r\n/end\r\n") << 3
                                    << "line 3: the block number -1 is below 0";
    QTest::newRow("block too high")
        << QByteArray("TAVRO=0.3\r\n/bgn 0\r\n/end\r\n/bgn 40000 ; far\r\n/end\r\n") << 4
        << "line 4: the block number 40000 is above 32767";
    QTest::newRow("block far too high")
        << QByteArray("TAVRO=0.3\r\n/bgn 99999999999999999999\r\n/end\r\n") << 2
        << "line 2: the block number 99999999999999999999 is above 32767";
    QTest::newRow("bad number") << QByteArray(
        "TAVRO=0.3\r\n/bgn 0\r\nName=a\r\nCondBehave=z ; note\r\n/end\r\n")
                                << 4
                                << "line 4: CondBehave needs a number from 0 to 255, not \"z\"";
    QTest::newRow("long bad number")
        << QByteArray("TAVRO=0.3\r\n/bgn 0\r\nRequiresSave=" + repeated('9', 70000) + "\r\n") << 3
        << "line 3: RequiresSave needs a number from 0 to 255, not "
           "\"999999999999999999999999...\"";
    QTest::newRow("bare omnipresence")
        << QByteArray("TAVRO=0.3\r\n/bgn 0\r\nomnipresence\r\n/end\r\n") << 3
        << "line 3: omnipresence needs a number from 0 to 255 and has none";
    QTest::newRow("no such data slot")
        << QByteArray("TAVRO=0.3\r\n/bgn 0\r\nOffffset-1=00\r\n/end\r\n") << 3
        << "line 3: Offffset-1 names no data slot from 0 to 99";
    QTest::newRow("no such parameter slot")
        << QByteArray("TAVRO=0.3\r\n/bgn 0\r\nbambi=30|1\r\n/end\r\n") << 3
        << "line 3: bambi names no parameter slot from 0 to 29 in \"30|1\"";
    QTest::newRow("missing end") << fixture("missing-end.tvr") << 8
                                 << "line 8: the file ends inside block 1, which has no /end line";
    QTest::newRow("missing end, one line") << QByteArray("TAVRO=0.3\r\n/bgn 000") << 2
                                           << "line 2: the file ends inside block 0, which has "
                                              "no /end line";
}

void TestReaderLimits::failureStopsAtItsLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(QString, detail);
    const ReadResult result = readBytes(bytes);
    QVERIFY(!result.ok());
    QCOMPARE(result.line, line);
    QCOMPARE(result.detail, detail);
    // Nothing read before the failure is handed out: the side keeps the set it had.
    QVERIFY(result.entries.isEmpty());
    QVERIFY(result.version.isEmpty());
}

void TestReaderLimits::longLinesAcrossReads_data()
{
    QTest::addColumn<qint64>("piece"); // bytes per read of the device; 0: read in place
    QTest::newRow("in place") << qint64(0);
    QTest::newRow("whole reads") << (qint64(1) << 30);
    QTest::newRow("by 65536") << qint64(65536);
    QTest::newRow("by 4093") << qint64(4093);
}

void TestReaderLimits::longLinesAcrossReads()
{
    // Lines longer than any single read, and a CR LF that falls on every possible offset of
    // a read boundary somewhere in the file. The rest of a line beyond what the format keeps
    // is skipped, however the reads fall.
    QFETCH(qint64, piece);
    QByteArray bytes = "TAVRO=0.3\r\n";
    for (int length : {300000, 262140, 262141, 262142, 262143, 262144, 5}) {
        bytes += "/bgn 0\r\nName=" + repeated('n', length) + "\r\nOmnipresence=1\r\n/end\r\n";
    }
    bytes += "/bgn 1\r\nDescription=" + repeated('d', 70000) + ";x\r\nCondBehave=2\r\n/end\r\n";
    ReadResult result;
    if (piece == 0) {
        result = readBytes(bytes);
    } else {
        TricklingReader device(bytes, piece);
        result = readPatchSet(device, QStringLiteral("test.tvr"));
    }
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.entries.size(), 2);
    QCOMPARE(result.entries.at(0).Name, repeated('n', 5));
    QCOMPARE(result.entries.at(0).Omnipresence, quint8(1));
    QCOMPARE(result.entries.at(1).Description, repeated('d', 60000));
    QCOMPARE(result.entries.at(1).CondBehave, quint8(2));
    QCOMPARE(result.line, 1 + 7 * 4 + 4);
}

void TestReaderLimits::loadsOnlyWhatItCanRead_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("line"); // where reading stopped

    QVERIFY(m_dir.isValid());
    const QString fifo = m_dir.filePath(QStringLiteral("no-writer.tvr"));
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    // A socket file cannot even be opened.
    const QString socketPath = m_dir.filePath(QStringLiteral("socket.tvr"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socketPath).constData(),
                 sizeof address.sun_path - 1);
    const int socketDescriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(socketDescriptor >= 0);
    QVERIFY(::bind(socketDescriptor, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    ::close(socketDescriptor);

    // Larger than the memory a failing load may take, so holding a line whole shows.
    const QByteArray longLine = repeated('x', 40 * 1024 * 1024);
    const auto file = [this](const QString &name, const QByteArray &bytes) {
        QFile out(m_dir.filePath(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(name));
        }
        return out.fileName();
    };
    const QString noLineEnd = file(QStringLiteral("no-line-end.tvr"), longLine);
    const QString longName =
        file(QStringLiteral("long-name.tvr"), "TAVRO=0.3\r\n/bgn 000\r\nName=" + longLine);
    const QString longNameEnded =
        file(QStringLiteral("long-name-ended.tvr"),
             "TAVRO=0.3\r\n/bgn 000\r\nName=" + longLine + "\r\nOmnipresence=1\r\n/end 000\r\n");
    // Notes past the thousand kept cost no memory.
    const QString noteOnEveryLine =
        file(QStringLiteral("note-on-every-line.tvr"),
             "TAVRO=0.3\r\n/bgn 000\r\n" + QByteArray("Offffset1X=1\r\n").repeated(1000000)
                 + "/end\r\n");
    const QString longHeader = file(QStringLiteral("long-header.tvr"),
                                    "TAVRO=0.3" + longLine + "\r\n/bgn 000\r\n/end 000\r\n");
    // 8 GB without a line end, sparse on the disk: read through, it would take many seconds.
    // A file system that cannot leave holes would fill the disk instead: those rows are left
    // out there.
    const auto sparse = [this](const QString &name, const QByteArray &start) {
        QFile out(m_dir.filePath(name));
        struct stat status = {};
        if (!out.open(QIODevice::WriteOnly) || out.write(start) != start.size()
            || ::ftruncate(out.handle(), off_t(1) << 20) != 0
            || ::fstat(out.handle(), &status) != 0 || status.st_blocks > 64
            || !out.resize(qint64(8) << 30)) {
            out.remove();
            return QString();
        }
        return out.fileName();
    };
    const QString hugeNoHeader = sparse(QStringLiteral("huge.tvr"), QByteArray());
    const QString hugeAfterHeader = sparse(QStringLiteral("huge-after-header.tvr"), "TAVRO=0.3");

    QTest::newRow("FIFO without a writer") << fifo << errorLoading(fifo) << 0;
    QTest::newRow("device") << QStringLiteral("/dev/zero")
                            << errorLoading(QStringLiteral("/dev/zero")) << 0;
    QTest::newRow("socket") << socketPath << errorLoading(socketPath) << 0;
    QTest::newRow("directory") << m_dir.path()
                               << QStringLiteral("Can't find patch set file (") + m_dir.path() + ")"
                               << 0;
    QTest::newRow("no line end") << noLineEnd << headerNotFound() << 1;
    QTest::newRow("long line, no end") << longName << errorLoading(longName) << 3;
    QTest::newRow("long line, then the rest") << longNameEnded << QString() << 5;
    QTest::newRow("a note on every line") << noteOnEveryLine << QString() << 1000003;
    QTest::newRow("long header line, then a block") << longHeader << QString() << 3;
    if (hugeNoHeader.isEmpty() || hugeAfterHeader.isEmpty()) {
        qWarning("no sparse files here: the 8 GB rows are left out");
        return;
    }
    QTest::newRow("8 GB, no line end") << hugeNoHeader << headerNotFound() << 1;
    // Nothing after the header but the rest of its line, which the format ignores.
    QTest::newRow("header, then 8 GB") << hugeAfterHeader << QString() << 1;
}

void TestReaderLimits::loadsOnlyWhatItCanRead()
{
    // Each load ends at once, without waiting for a writer or reading a device, and no line
    // is held beyond what the format keeps of it.
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(int, line);
    const WatchedLoad load = loadWatched(path);
    QVERIFY2(load.finished, "the load blocked, grew without bound or crashed");
    QCOMPARE(load.message, message);
    QCOMPARE(load.line, line);
    QVERIFY2(load.growthKilobytes < 32 * 1024, qPrintable(QString::number(load.growthKilobytes)));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], childOption) == 0) {
        return loadInChild(argv[2]);
    }
    QCoreApplication application(argc, argv);
    TestReaderLimits test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "TestReaderLimits.moc"
