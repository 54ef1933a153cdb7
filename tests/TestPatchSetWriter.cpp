#include "Fixtures.h"
#include "SlotEdits.h"

#include "LimitSets.h"
#include "PatchSetReader.h"
#include "PatchSetWriter.h"
#include "WhatASaveKeeps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The table that written-three-entries.tvr holds, with a few things the writer must leave out.
PatchTable goldenTable()
{
    PatchEntry first;
    first.Omnipresence = 1;
    first.Name = "Example patch";
    first.Description = "Sets one byte";
    first.RequiresSave = 1;
    setDataSlot(first, 0, {"120", "00", "01", "02"});
    setParameterSlot(first, 0, {1, "121", "5", "Value", 1});

    PatchEntry second;
    second.Omnipresence = 2;
    second.Name = "Second; with a semicolon";
    second.RequiresRemap = 255;
    second.RequiresYiff = 1;
    second.RequiresPart = 2;
    second.Dependencies = "Example patch";
    second.CondBehave = 7;
    setDataSlot(second, 3, {"", "AA", "BB", "CC"}); // no offset: not written
    setDataSlot(second, 7, {"1A2B", "", "FF", ""});
    setDataSlot(second, 99, {"FFFF", "0102", "0304", "0506"});
    setParameterSlot(second, 5, {0, "50", "unused", "Off", 3}); // not in use: not written
    setParameterSlot(second, 6, {2, "60", "odd", "Two", 3});    // only 1 means in use
    setParameterSlot(second, 12, {1, "", "x|y", "Twelve", 255});
    setParameterSlot(second, 29, {1, "7F", "0", "Last", 0});

    return {first, second, PatchEntry()};
}

QString savingError(const QString &path, const QString &reason)
{
    return QStringLiteral("Error saving patch set (") + path + QStringLiteral(").\r\n") + reason;
}

} // namespace

class TestPatchSetWriter : public QObject
{
    Q_OBJECT

private slots:
    void writesGoldenFile();
    void writesFieldsInListOrder();
    void goldenRoundTrip();
    void roundTrips_data();
    void roundTrips();
    void numbersBlocksByPosition();
    void largeSetsSurvive();
    void limitsSurviveSaving_data();
    void limitsSurviveSaving();
    void padWithZeros_data();
    void padWithZeros();
    void writeErrorIsReported_data();
    void writeErrorIsReported();
    void closedDeviceIsReported();
    void saveDestSetWritesFile();
    void saveDestSetFailureKeepsTarget();
};

void TestPatchSetWriter::writesGoldenFile()
{
    const QByteArray actual = writeBytes(goldenTable());
    const QByteArray expected = fixture("written-three-entries.tvr");
    if (actual != expected) {
        // Show the first differing line rather than two 1 KB blobs.
        const QList<QByteArray> actualLines = actual.split('\n');
        const QList<QByteArray> expectedLines = expected.split('\n');
        for (int line = 0; line < std::min(actualLines.size(), expectedLines.size()); ++line) {
            QCOMPARE(actualLines.at(line), expectedLines.at(line));
        }
    }
    QCOMPARE(actual, expected);
}

void TestPatchSetWriter::writesFieldsInListOrder()
{
    // Views of an entry show its fields in the order of the list, which is the file's.
    PatchEntry entry;
    QByteArrayList expected;
    for (const EntryField &field : EntryFields::all) {
        setField(entry, field, {"x", 1}, 7);
        expected += field.key + QByteArray(field.kind == FieldKind::DataText ? "07" : "");
    }
    QByteArrayList keys;
    const QByteArrayList lines = writeBytes({entry}).split('\n');
    for (const QByteArray &line : lines.mid(1)) {
        if (line.contains('=')) {
            keys += line.left(line.indexOf('='));
        }
    }
    QCOMPARE(keys, expected);
}

void TestPatchSetWriter::goldenRoundTrip()
{
    const ReadResult loaded = readBytes(fixture("written-three-entries.tvr"));
    QVERIFY2(loaded.ok(), qPrintable(loaded.message));
    PatchTable expected = whatASaveKeeps(goldenTable());
    // A ";" starts a comment on reading, so that text comes back shorter.
    expected[1].Name = "Second";
    QCOMPARE(loaded.entries, expected);
}

void TestPatchSetWriter::roundTrips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("firstSaveIsFinal");
    for (const char *name : {"two-entries.tvr", "block-gap.tvr", "block-shrink.tvr",
                             "version-0.1.tvr", "comments-and-blanks.tvr", "lone-cr.tvr",
                             "lower-case-header.tvr", "written-three-entries.tvr"}) {
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    }
    // Its "0.1" parameter texts are longer than a pipe line keeps: the first save writes
    // them whole, the reload cuts them, and only the second save is final.
    QTest::newRow("version-0.1-long-parameter.tvr")
        << QStringLiteral("version-0.1-long-parameter.tvr") << false;
}

void TestPatchSetWriter::roundTrips()
{
    QFETCH(QString, name);
    QFETCH(bool, firstSaveIsFinal);
    const ReadResult loaded = readBytes(fixture(name));
    QVERIFY2(loaded.ok(), qPrintable(loaded.message));
    const QByteArray saved = writeBytes(loaded.entries);
    const ReadResult reloaded = readBytes(saved);
    QVERIFY2(reloaded.ok(), qPrintable(reloaded.message));
    QCOMPARE(reloaded.version, QByteArray("0.3"));
    QCOMPARE(reloaded.entries, whatASaveKeeps(loaded.entries));
    // From the second save on, a set reads back and saves to the very same bytes.
    const QByteArray resaved = writeBytes(reloaded.entries);
    QCOMPARE(readBytes(resaved).entries, reloaded.entries);
    QCOMPARE(writeBytes(readBytes(resaved).entries), resaved);
    QCOMPARE(resaved == saved, firstSaveIsFinal);
}

void TestPatchSetWriter::numbersBlocksByPosition()
{
    const ReadResult loaded = readBody("/bgn 007\r\nOmnipresence=1\r\nName=Seven\r\n/end 007\r\n");
    QVERIFY2(loaded.ok(), qPrintable(loaded.message));
    const PatchTable onlySeven{loaded.entries.at(7)};
    const QByteArray saved = writeBytes(onlySeven);
    QVERIFY(saved.contains("\r\n/bgn 000\r\nOmnipresence=1\r\nName=Seven\r\n"));
    QVERIFY(saved.endsWith("/end 000\r\n\r\n"));
    QVERIFY(!saved.contains("007"));

    // Absent entries are saved too, whatever their Omnipresence.
    const QByteArray gaps = writeBytes(loaded.entries);
    QCOMPARE(gaps.count("/bgn "), 8);
    QCOMPARE(gaps.count("Omnipresence=0\r\n"), 7);
}

void TestPatchSetWriter::largeSetsSurvive()
{
    PatchTable table(1001);
    for (int index = 0; index < table.size(); ++index) {
        table[index].Omnipresence = 1;
        table[index].Name = "Entry " + QByteArray::number(index);
    }
    const QByteArray saved = writeBytes(table);
    QVERIFY(saved.contains("\r\n/bgn 999\r\n"));
    QVERIFY(saved.contains("\r\n/bgn 1000\r\n"));
    QVERIFY(saved.contains("\r\n/end 1000\r\n"));
    const ReadResult reloaded = readBytes(saved);
    QVERIFY2(reloaded.ok(), qPrintable(reloaded.message));
    QCOMPARE(reloaded.entries, table);
}

void TestPatchSetWriter::limitsSurviveSaving_data()
{
    QTest::addColumn<int>("set");   // in limits::limitSets()
    QTest::addColumn<int>("piece"); // bytes the device takes per write; 0: a file, as "save" does
    for (int set = 0; set < int(limits::limitSets().size()); ++set) {
        const QByteArray name = limits::limitSets().at(set).name;
        QTest::newRow(name.constData()) << set << 0;
        QTest::newRow((name + " by 3 bytes").constData()) << set << 3;
    }
}

void TestPatchSetWriter::limitsSurviveSaving()
{
    QFETCH(int, set);
    QFETCH(int, piece);
    const limits::LimitSet limit = limits::limitSets().at(set).make();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("limit.tvr"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(limit.file), qint64(limit.file.size()));
    file.close();

    const ReadResult loaded = LoadPatchSet(path);
    QVERIFY2(loaded.ok() != limit.tooLong, qPrintable(loaded.message));
    QCOMPARE(loaded.entries, limit.tooLong ? PatchTable() : limit.loaded);

    const PatchTable &table = limit.tooLong ? limit.loaded : loaded.entries;
    WriteResult written;
    QByteArray saved;
    if (piece == 0) {
        written = SaveDestSet(table, path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        saved = file.readAll();
    } else {
        FewBytesWriter device(piece);
        written = writePatchSet(device, table, path);
        saved = device.bytes();
    }
    if (limit.tooLong) {
        // Refused before anything was written: the old file stays and nothing is left beside it.
        const QString reason("The set has 32769 entries; a set holds at most 32768.");
        QCOMPARE(written.message, savingError(path, reason));
        QVERIFY(saved == (piece == 0 ? limit.file : QByteArray()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("limit.tvr")});
        return;
    }
    QVERIFY2(written.ok(), qPrintable(written.message));
    // Compared as a flag: a failed compare of two 24 MB arrays would print them.
    QVERIFY(saved == limits::fileText(limit.loaded));

    const ReadResult reloaded = readBytes(saved);
    QVERIFY2(reloaded.ok(), qPrintable(reloaded.message));
    QCOMPARE(reloaded.entries, limit.loaded);
}

void TestPatchSetWriter::padWithZeros_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("padded");
    QTest::newRow("short") << QByteArray("5") << 3 << QByteArray("005");
    QTest::newRow("long enough") << QByteArray("12") << 1 << QByteArray("12");
    QTest::newRow("exact") << QByteArray("123") << 3 << QByteArray("123");
    QTest::newRow("longer") << QByteArray("1000") << 3 << QByteArray("1000");
    QTest::newRow("empty") << QByteArray() << 2 << QByteArray("00");
    QTest::newRow("zero width") << QByteArray("7") << 0 << QByteArray("7");
}

void TestPatchSetWriter::padWithZeros()
{
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    QFETCH(QByteArray, padded);
    QCOMPARE(PadWithZeros(text, quint8(width)), padded);
}

void TestPatchSetWriter::writeErrorIsReported_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("withError"); // or the write takes nothing and gives no reason
    QTest::newRow("nothing") << 0 << true;
    QTest::newRow("inside the header") << 5 << true;
    QTest::newRow("inside the first block") << 200 << true;
    QTest::newRow("after a few writes") << 150000 << true;
    QTest::newRow("one byte short") << -1 << true;
    QTest::newRow("taking nothing") << 150000 << false;
}

void TestPatchSetWriter::writeErrorIsReported()
{
    QFETCH(int, limit);
    QFETCH(bool, withError);
    PatchTable table(1000, goldenTable().at(1));
    const QByteArray whole = writeBytes(table);
    QVERIFY(whole.size() > 150000 * 2);
    FailingBuffer device(limit < 0 ? whole.size() - 1 : limit,
                         withError ? FailingBuffer::Failure::Error
                                   : FailingBuffer::Failure::NothingTaken);
    QVERIFY(device.open(QIODevice::WriteOnly));
    const WriteResult result = writePatchSet(device, table, QStringLiteral("out.tvr"));
    QCOMPARE(result.message,
             savingError(QStringLiteral("out.tvr"),
                         withError ? QStringLiteral("No space left on device")
                                   : QStringLiteral("Unknown error")));
}

void TestPatchSetWriter::closedDeviceIsReported()
{
    QBuffer closed;
    const WriteResult result = writePatchSet(closed, goldenTable(), QStringLiteral("x.tvr"));
    QVERIFY(!result.ok());
    QVERIFY(result.message.startsWith(QStringLiteral("Error saving patch set (x.tvr).\r\n")));
}

void TestPatchSetWriter::saveDestSetWritesFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("dest")); // no extension is added
    WriteResult result = SaveDestSet(goldenTable(), path);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), fixture("written-three-entries.tvr"));
    file.close();

    // Saving again replaces the file, an empty table with a file of just the header; nothing
    // else is left in the directory.
    result = SaveDestSet({}, path);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("TAVRO=0.3\r\n\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("dest")});
}

void TestPatchSetWriter::saveDestSetFailureKeepsTarget()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    const QString inMissingDirectory = dir.filePath(QStringLiteral("missing/dest.tvr"));
    WriteResult result = SaveDestSet(goldenTable(), inMissingDirectory);
    QVERIFY(result.message.startsWith(savingError(inMissingDirectory, QString())));
    QVERIFY(result.message.size() > savingError(inMissingDirectory, QString()).size());

    // A directory in the way of the target: the save fails and the directory stays.
    const QString occupied = dir.filePath(QStringLiteral("occupied.tvr"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("occupied.tvr")));
    result = SaveDestSet(goldenTable(), occupied);
    QVERIFY(result.message.startsWith(savingError(occupied, QString())));
    QVERIFY(QFileInfo(occupied).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestPatchSetWriter)
#include "TestPatchSetWriter.moc"
