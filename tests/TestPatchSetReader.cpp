// What the reader makes of a file's lines: the header and its version, every kind of line end,
// a file read in any pieces, text and number values, high bytes as they are shown, every field
// and data key, the parameter syntax each version reads, pipe values, blocks and the highest
// block number. How it stands up to failing, hostile or huge input is TestReaderLimits's room,
// and what it notes about a file that loads all the same is TestLoadNotes's.
#include "Fixtures.h"
#include "SlotEdits.h"

#include "AnsiText.h"
#include "PatchSetReader.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum Outcome { Loads, HeaderRejected, LoadFails };

} // namespace

class TestPatchSetReader : public QObject
{
    Q_OBJECT

private slots:
    void header_data();
    void header();
    void missingFileMessage();
    void loadsFileFromDisk();
    void acceptsEveryLineEnd_data();
    void acceptsEveryLineEnd();
    void readsInAnyPieces_data();
    void readsInAnyPieces();
    void textValues_data();
    void textValues();
    void highBytesDecodeForDisplay_data();
    void highBytesDecodeForDisplay();
    void numberValues_data();
    void numberValues();
    void everyFieldKey();
    void dataKeys_data();
    void dataKeys();
    void parameterSyntaxByVersion_data();
    void parameterSyntaxByVersion();
    void pipeValues_data();
    void pipeValues();
    void blocks_data();
    void blocks();
    void highestBlockNumber();
};

void TestPatchSetReader::header_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("version");

    QTest::newRow("capitals") << QByteArray("TAVRO=0.3\r\n") << int(Loads) << QByteArray("0.3");
    QTest::newRow("lower case") << QByteArray("tavro=0.3\r\n") << int(Loads) << QByteArray("0.3");
    QTest::newRow("no line end") << QByteArray("TAVRO=0.3") << int(Loads) << QByteArray("0.3");
    QTest::newRow("version as it stands")
        << QByteArray("TAVRO= 0.3 x\r\n") << int(Loads) << QByteArray(" 0.3 x");
    QTest::newRow("version cut to ten")
        << QByteArray("TAVRO=0.123456789ABC\r\n") << int(Loads) << QByteArray("0.12345678");
    QTest::newRow("empty version") << QByteArray("TAVRO=\r\n") << int(Loads) << QByteArray("");
    QTest::newRow("empty file") << QByteArray() << int(LoadFails) << QByteArray();
    QTest::newRow("empty first line")
        << QByteArray("\r\nTAVRO=0.3\r\n") << int(HeaderRejected) << QByteArray();
    QTest::newRow("byte-order mark")
        << fixture("header-with-bom.tvr") << int(HeaderRejected) << QByteArray();
    QTest::newRow("no equals sign")
        << QByteArray("TAVRO 0.3\r\n") << int(HeaderRejected) << QByteArray();
    QTest::newRow("leading space")
        << QByteArray(" TAVRO=0.3\r\n") << int(HeaderRejected) << QByteArray();
    QTest::newRow("too short") << QByteArray("TAVR") << int(HeaderRejected) << QByteArray();
}

void TestPatchSetReader::header()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    QFETCH(QByteArray, version);

    const ReadResult result = readBytes(bytes);
    switch (outcome) {
    case Loads:
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(result.version, version);
        QVERIFY(result.entries.isEmpty());
        break;
    case HeaderRejected:
        QCOMPARE(result.message, headerNotFound());
        break;
    default:
        QCOMPARE(result.message, errorLoading());
        break;
    }
    if (outcome != Loads) {
        QVERIFY(result.entries.isEmpty());
        QVERIFY(result.version.isEmpty());
    }
}

void TestPatchSetReader::missingFileMessage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("gone.tvr"));
    ReadResult result = LoadPatchSet(missing);
    QCOMPARE(result.message, QStringLiteral("Can't find patch set file (") + missing + ")");
    QVERIFY(result.entries.isEmpty());

    // A directory cannot be read as a file either.
    result = LoadPatchSet(dir.path());
    QCOMPARE(result.message, QStringLiteral("Can't find patch set file (") + dir.path() + ")");
}

void TestPatchSetReader::loadsFileFromDisk()
{
    const QString path = fixturePath(QStringLiteral("two-entries.tvr"));
    const ReadResult loaded = LoadPatchSet(path);
    QVERIFY2(loaded.ok(), qPrintable(loaded.message));
    QCOMPARE(loaded.entries, readBytes(fixture("two-entries.tvr")).entries);
    QCOMPARE(loaded.entries.size(), 2);
    QCOMPARE(loaded.entries.at(1).Name, QByteArray("Second \xe9t\xe9"));
    QCOMPARE(loaded.entries.at(1).Description, QByteArray("caf\xe9 \x80"));
    QCOMPARE(loaded.modified, QFileInfo(path).lastModified());

    // The path of a failing load is the one in the message.
    const QString empty = fixturePath(QStringLiteral("empty.tvr"));
    QCOMPARE(LoadPatchSet(empty).message, errorLoading(empty));
}

void TestPatchSetReader::acceptsEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("lone CR") << QByteArray("\r");
    QTest::newRow("LF CR reads as two") << QByteArray("\n\r");
}

void TestPatchSetReader::acceptsEveryLineEnd()
{
    QFETCH(QByteArray, lineEnd);
    const QByteArray original = fixture("two-entries.tvr"); // written with CR LF
    QByteArray changed = original;
    changed.replace("\r\n", lineEnd);
    const ReadResult actual = readBytes(changed);
    QVERIFY2(actual.ok(), qPrintable(actual.message));
    const ReadResult expected = readBytes(original);
    QCOMPARE(actual.entries, expected.entries);
    QCOMPARE(actual.entries.size(), 2);
    QCOMPARE(dataSlot(actual.entries.at(0), 0).DeflData, QByteArray("90 90"));
}

void TestPatchSetReader::readsInAnyPieces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("piece");
    QTest::addColumn<bool>("pipe"); // no size to plan the reads by
    const QStringList names{"two-entries.tvr", "lone-cr.tvr", "comments-and-blanks.tvr",
                            "mistyped-key-and-hidden-entries.tvr"};
    for (const QString &name : names) {
        for (int piece : {1, 2, 3, 7}) {
            const QByteArray row = QStringLiteral("%1 by %2").arg(name).arg(piece).toUtf8();
            QTest::newRow(row.constData()) << name << piece << false;
        }
        const QByteArray row = QStringLiteral("%1 by 5 from a pipe").arg(name).toUtf8();
        QTest::newRow(row.constData()) << name << 5 << true;
    }
}

void TestPatchSetReader::readsInAnyPieces()
{
    QFETCH(QString, name);
    QFETCH(int, piece);
    QFETCH(bool, pipe);
    const QByteArray bytes = fixture(name);
    const ReadResult whole = readBytes(bytes);
    QVERIFY2(whole.ok(), qPrintable(whole.message));

    TricklingReader trickle(bytes, piece,
                            pipe ? TricklingReader::Access::Sequential
                                 : TricklingReader::Access::RandomAccess);
    const ReadResult pieces = readPatchSet(trickle, QStringLiteral("test.tvr"));
    QVERIFY2(pieces.ok(), qPrintable(pieces.message));
    QCOMPARE(pieces.entries, whole.entries);
    // The same number of lines: a CR LF split between two reads is still one line end.
    QCOMPARE(pieces.line, whole.line);
    QCOMPARE(pieces.notes, whole.notes);
}

void TestPatchSetReader::textValues_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("plain") << QByteArray("Name=Example") << QByteArray("Example");
    QTest::newRow("any case key") << QByteArray("nAmE=Example") << QByteArray("Example");
    QTest::newRow("leading spaces removed") << QByteArray("Name=   x") << QByteArray("x");
    QTest::newRow("trailing spaces kept") << QByteArray("Name=x  ") << QByteArray("x  ");
    QTest::newRow("comment cut") << QByteArray("Name=first part ; a comment")
                                 << QByteArray("first part");
    QTest::newRow("only a comment") << QByteArray("Name=  ; x") << QByteArray("");
    QTest::newRow("tab is no space") << QByteArray("Name=\tx\t") << QByteArray("\tx\t");
    QTest::newRow("second equals kept") << QByteArray("Name=a=b") << QByteArray("a=b");
    QTest::newRow("spaced key is no key") << QByteArray("Name = x") << QByteArray("");
    QTest::newRow("later wins") << QByteArray("Name=a\r\nName=b") << QByteArray("b");
    QTest::newRow("bare key empties") << QByteArray("Name=a\r\nname") << QByteArray("");
    QTest::newRow("bracket line ignored") << QByteArray("Name=a\r\n[Name=b") << QByteArray("a");
    QTest::newRow("comment line ignored") << QByteArray("Name=a\r\n;Name=b") << QByteArray("a");
    QTest::newRow("space line ignored") << QByteArray("Name=a\r\n   \r\n") << QByteArray("a");
    QTest::newRow("begin line inside block") << QByteArray("/bgn 004\r\nName=a") << QByteArray("a");
    QTest::newRow("high bytes kept")
        << QByteArray("Name=\x80\xff\x01") << QByteArray("\x80\xff\x01");
    QTest::newRow("NUL kept") << QByteArray("Name=a\0b", 8) << QByteArray("a\0b", 3);
    // The longest value counts from the "=", before leading spaces are removed.
    QTest::newRow("limit before spaces go")
        << "Name=" + repeated(' ', 10) + repeated('n', 60000) << repeated('n', 59990);
    // Without an "=" among the first 255 characters the key is those characters and the
    // value starts one character later: no key the reader knows.
    QTest::newRow("key cut at 255") << "name" + repeated('x', 251) + "-value" << QByteArray();
}

void TestPatchSetReader::textValues()
{
    QFETCH(QByteArray, lines);
    QFETCH(QByteArray, name);
    const ReadResult result = readBlock(lines);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.entries.size(), 1);
    QCOMPARE(result.entries.at(0).Name, name);
}

void TestPatchSetReader::highBytesDecodeForDisplay_data()
{
    QTest::addColumn<QByteArray>("bytes"); // as read, kept unchanged in the entry
    QTest::addColumn<QString>("shown");

    // Windows-1252 from 0x80 to 0x9F; its five undefined bytes show as the control character
    // of the same value, so no two bytes ever look alike.
    // clang-format off
    const struct { uchar byte; char16_t shown; } bytes[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E},
        {0x85, 0x2026}, {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030},
        {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D},
        {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C},
        {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC},
        {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
        {0x9E, 0x017E}, {0x9F, 0x0178},
        // Around them the code page is Latin-1.
        {0x00, 0x0000}, {0x41, 0x0041}, {0x7F, 0x007F}, {0xA0, 0x00A0}, {0xE9, 0x00E9},
        {0xFF, 0x00FF},
    };
    // clang-format on
    for (const auto &row : bytes) {
        QTest::addRow("0x%02X", row.byte)
            << QByteArray(1, char(row.byte)) << QString(QChar(row.shown));
    }
    QTest::newRow("mixed") << QByteArray("caf\xe9 \x80\x00\x9f", 8)
                           << QStringLiteral("caf\u00e9 \u20ac") + QChar(0) + QChar(0x178);
}

void TestPatchSetReader::highBytesDecodeForDisplay()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(decodeAnsi(bytes), shown);
}

void TestPatchSetReader::numberValues_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // -1: the load fails

    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("largest") << QByteArray("255") << 255;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
    QTest::newRow("trailing space") << QByteArray("1 ") << 1;
    QTest::newRow("spaces and comment") << QByteArray("  2  ; flag") << 2;
    QTest::newRow("half down to even") << QByteArray("2.5") << 2;
    QTest::newRow("half up to even") << QByteArray("3.5") << 4;
    QTest::newRow("above half") << QByteArray("2.51") << 3;
    QTest::newRow("below half") << QByteArray("2.49") << 2;
    QTest::newRow("half of zero") << QByteArray("0.5") << 0;
    QTest::newRow("fraction only") << QByteArray(".6") << 1;
    QTest::newRow("trailing point") << QByteArray("9.") << 9;
    QTest::newRow("rounds into range") << QByteArray("254.5") << 254;
    QTest::newRow("rounds out of range") << QByteArray("255.5") << -1;
    QTest::newRow("too large") << QByteArray("256") << -1;
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
    QTest::newRow("only spaces") << QByteArray("   ") << -1;
    QTest::newRow("negative") << QByteArray("-1") << -1;
    QTest::newRow("plus sign") << QByteArray("+1") << -1;
    QTest::newRow("exponent") << QByteArray("1e2") << -1;
    QTest::newRow("hexadecimal") << QByteArray("0x10") << -1;
    QTest::newRow("two numbers") << QByteArray("1 2") << -1;
    QTest::newRow("tab") << QByteArray("1\t") << -1;
    QTest::newRow("point only") << QByteArray(".") << -1;
    QTest::newRow("word") << QByteArray("yes") << -1;
}

void TestPatchSetReader::numberValues()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const ReadResult result = readBlock("RequiresRemap=" + value);
    if (expected < 0) {
        QCOMPARE(result.message, errorLoading());
        QVERIFY(result.entries.isEmpty());
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(int(result.entries.at(0).RequiresRemap), expected);
}

void TestPatchSetReader::everyFieldKey()
{
    // Every field of the list under its key in capitals, each with a value of its own, in
    // slot 7 where it belongs to a slot: the reader stores each where the list says.
    QByteArray lines;
    PatchEntry expected;
    quint8 number = 0;
    for (const EntryField &field : EntryFields::all) {
        ++number;
        const bool numeric =
            field.kind == FieldKind::Number || field.kind == FieldKind::ParameterNumber;
        const QByteArray value = (numeric ? "" : "text ") + QByteArray::number(number);
        lines += QByteArray(field.key).toUpper() + (field.kind == FieldKind::DataText ? "07=" : "=")
            + (field.kind >= FieldKind::ParameterText ? "7|" : "") + value + "\r\n";
        setField(expected, field, {numeric ? QByteArrayView() : value, number}, 7);
    }
    const ReadResult result = readBlock(lines);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.entries, PatchTable{expected});

    // Every number key of the entry itself checks its value.
    for (const EntryField &field : EntryFields::members) {
        if (field.kind == FieldKind::Number) {
            QCOMPARE(readBlock(QByteArray(field.key) + "=x").message, errorLoading());
            QCOMPARE(readBlock(QByteArray(field.key)).message, errorLoading());
        }
    }
}

void TestPatchSetReader::dataKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("slot"); // -1: the load fails

    QTest::newRow("two digits") << QByteArray("Offffset07") << 7;
    QTest::newRow("one digit") << QByteArray("Offffset5") << 5;
    QTest::newRow("no digits") << QByteArray("Offffset") << 0;
    QTest::newRow("third digit ignored") << QByteArray("Offffset100") << 10;
    QTest::newRow("highest") << QByteArray("Offffset99") << 99;
    QTest::newRow("capitals") << QByteArray("OFFFFSET12") << 12;
    QTest::newRow("space before digit") << QByteArray("Offffset 7") << 7;
    QTest::newRow("text after digit") << QByteArray("Offffset7x") << 7;
    QTest::newRow("not a number") << QByteArray("Offffsetxy") << 0;
    QTest::newRow("fraction rounds") << QByteArray("Offffset.9") << 1;
    QTest::newRow("negative") << QByteArray("Offffset-1") << -1;
    // Stretched to the longest key, the key still takes its slot from characters 9-10.
    QTest::newRow("longest key") << "Offffset12" + repeated('x', 245) << 12;
}

void TestPatchSetReader::dataKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(int, slot);
    const ReadResult result = readBlock(key + "=1200");
    if (slot < 0) {
        QCOMPARE(result.message, errorLoading());
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.message));
    PatchEntry expected;
    setOffffset(expected, slot, "1200");
    QCOMPARE(result.entries, PatchTable{expected});
}

void TestPatchSetReader::parameterSyntaxByVersion_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("value"); // parametervalka of the slot; empty: nothing stored

    QTest::newRow("0.1 single key")
        << QByteArray("0.1") << QByteArray("parametervalue=7") << 0 << QByteArray("7");
    QTest::newRow("0.3 single key")
        << QByteArray("0.3") << QByteArray("parametervalue=7") << 0 << QByteArray();
    QTest::newRow("0.1 pipe key") << QByteArray("0.1") << QByteArray("gprince=2|7") << 2
                                  << QByteArray();
    QTest::newRow("0.3 pipe key") << QByteArray("0.3") << QByteArray("gprince=2|7") << 2
                                  << QByteArray("7");
    QTest::newRow("0.2") << QByteArray("0.2") << QByteArray("gprince=2|7") << 2 << QByteArray("7");
    QTest::newRow("1.0") << QByteArray("1.0") << QByteArray("gprince=2|7") << 2 << QByteArray("7");
    QTest::newRow("2") << QByteArray("2") << QByteArray("gprince=2|7") << 2 << QByteArray("7");
    QTest::newRow(".5") << QByteArray(".5") << QByteArray("gprince=2|7") << 2 << QByteArray("7");
    QTest::newRow("0.11") << QByteArray("0.11") << QByteArray("gprince=2|7") << 2
                          << QByteArray("7");
    QTest::newRow("0.1000001") << QByteArray("0.1000001") << QByteArray("gprince=2|7") << 2
                               << QByteArray("7");
    QTest::newRow("leading space")
        << QByteArray(" 0.3") << QByteArray("gprince=2|7") << 2 << QByteArray("7");
    QTest::newRow("0.10 pipe") << QByteArray("0.10") << QByteArray("gprince=2|7") << 2
                               << QByteArray();
    QTest::newRow("0.10 single") << QByteArray("0.10") << QByteArray("parametervalue=7") << 0
                                 << QByteArray();
    QTest::newRow("0.1 space pipe")
        << QByteArray("0.1 ") << QByteArray("gprince=2|7") << 2 << QByteArray();
    QTest::newRow("0.1 space single")
        << QByteArray("0.1 ") << QByteArray("parametervalue=7") << 0 << QByteArray();
    QTest::newRow("0.05") << QByteArray("0.05") << QByteArray("gprince=2|7") << 2 << QByteArray();
    QTest::newRow("negative") << QByteArray("-0.3") << QByteArray("gprince=2|7") << 2
                              << QByteArray();
    QTest::newRow("word") << QByteArray("beta") << QByteArray("gprince=2|7") << 2 << QByteArray();
    QTest::newRow("empty") << QByteArray("") << QByteArray("gprince=2|7") << 2 << QByteArray();
}

void TestPatchSetReader::parameterSyntaxByVersion()
{
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, line);
    QFETCH(int, slot);
    QFETCH(QByteArray, value);
    const ReadResult result = readBlock(line, version);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.version, version);
    PatchEntry expected;
    if (!value.isEmpty()) {
        setParametervalka(expected, slot, value);
    }
    QCOMPARE(result.entries, PatchTable{expected});
}

void TestPatchSetReader::pipeValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("slot");
    QTest::addColumn<PatchParameter>("expected");

    const auto with = [](auto member, auto value) {
        PatchParameter parameter;
        parameter.*member = value;
        return parameter;
    };
    const PatchParameter nothing;

    QTest::newRow("bambi") << QByteArray("bambi=29|1") << true << 29
                           << with(&PatchParameter::existence, quint8(1));
    QTest::newRow("bambi slot 30") << QByteArray("bambi=30|1") << false << 0 << nothing;
    QTest::newRow("bambi not a number") << QByteArray("bambi=3|x") << false << 0 << nothing;
    QTest::newRow("bambi too large") << QByteArray("bambi=3|256") << false << 0 << nothing;
    QTest::newRow("bambi without bar") << QByteArray("bambi=1") << true << 0 << nothing;
    QTest::newRow("mena") << QByteArray("mena=2|7") << true << 2
                          << with(&PatchParameter::parametertypka, quint8(7));
    QTest::newRow("mena not a number") << QByteArray("mena=3|x") << false << 0 << nothing;
    QTest::newRow("mena empty text") << QByteArray("mena=3|") << false << 0 << nothing;
    QTest::newRow("mena without bar") << QByteArray("mena=3") << true << 0 << nothing;
    QTest::newRow("faline") << QByteArray("faline=3|x") << true << 3
                            << with(&PatchParameter::parameternamka, QByteArray("x"));
    QTest::newRow("faline second bar") << QByteArray("faline=3|a|b") << true << 3
                                       << with(&PatchParameter::parameternamka, QByteArray("a|b"));
    QTest::newRow("faline leading space")
        << QByteArray("faline=3| a") << true << 3
        << with(&PatchParameter::parameternamka, QByteArray(" a"));
    QTest::newRow("faline comment") << QByteArray("faline=3|a ; note") << true << 3
                                    << with(&PatchParameter::parameternamka, QByteArray("a"));
    QTest::newRow("gprince cut to 50") << QByteArray("gprince=4|" + repeated('v', 60)) << true << 4
                                       << with(&PatchParameter::parametervalka, repeated('v', 50));
    QTest::newRow("ronno") << QByteArray("RONNO=0|1F00") << true << 0
                           << with(&PatchParameter::offsetka, QByteArray("1F00"));
    QTest::newRow("ronno slot rounds") << QByteArray("ronno=2.5|a") << true << 2
                                       << with(&PatchParameter::offsetka, QByteArray("a"));
    QTest::newRow("ronno spaced slot") << QByteArray("ronno= 3 |a") << true << 3
                                       << with(&PatchParameter::offsetka, QByteArray("a"));
    QTest::newRow("ronno empty slot") << QByteArray("ronno=|abc") << false << 0 << nothing;
    QTest::newRow("ronno word slot") << QByteArray("ronno=x|abc") << false << 0 << nothing;
    QTest::newRow("ronno negative slot") << QByteArray("ronno=-1|abc") << false << 0 << nothing;
    QTest::newRow("ronno empty value") << QByteArray("ronno=") << true << 0 << nothing;
    QTest::newRow("ronno without bar") << QByteArray("ronno=abc") << true << 0 << nothing;
    QTest::newRow("gprince without bar") << QByteArray("gprince=abc") << true << 0 << nothing;
}

void TestPatchSetReader::pipeValues()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, loads);
    QFETCH(int, slot);
    QFETCH(PatchParameter, expected);
    const ReadResult result = readBlock(line);
    if (!loads) {
        QCOMPARE(result.message, errorLoading());
        return;
    }
    QVERIFY2(result.ok(), qPrintable(result.message));
    PatchEntry entry;
    setParameterSlot(entry, slot, expected);
    QCOMPARE(result.entries, PatchTable{entry});
}

void TestPatchSetReader::blocks_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArrayList>("names"); // one per table entry; "-" marks a fresh entry

    QTest::newRow("gap") << fixture("block-gap.tvr").mid(11) << QByteArrayList{"Zero", "-", "Two"};
    QTest::newRow("shrink") << fixture("block-shrink.tvr").mid(11)
                            << QByteArrayList{"-", "-", "Two"};
    QTest::newRow("repeated number adds")
        << QByteArray("/bgn 001\r\nName=One\r\n/end\r\n/bgn 001\r\nOmnipresence=1\r\n/end\r\n")
        << QByteArrayList{"-", "One*"};
    QTest::newRow("empty block") << QByteArray("/bgn 000\r\n/end 000\r\n") << QByteArrayList{"-"};
    QTest::newRow("no block") << QByteArray("\r\nstray\r\n/end 000\r\n") << QByteArrayList{};
    QTest::newRow("any case") << QByteArray("/BGN 001\r\nName=A\r\n/EnD\r\n")
                              << QByteArrayList{"-", "A"};
    QTest::newRow("character 5 unread")
        << QByteArray("/bgnx1\r\nName=A\r\n/end\r\n") << QByteArrayList{"-", "A"};
    QTest::newRow("text after number")
        << QByteArray("/bgn 1 old\r\nName=A\r\n/end\r\n") << QByteArrayList{"-", "A"};
    QTest::newRow("extra spaces") << QByteArray("/bgn   2\r\nName=A\r\n/end\r\n")
                                  << QByteArrayList{"-", "-", "A"};
    QTest::newRow("fraction rounds")
        << QByteArray("/bgn 1.5\r\nName=A\r\n/end\r\n") << QByteArrayList{"-", "-", "A"};
    QTest::newRow("no number") << QByteArray("/bgn abc\r\nName=A\r\n/end\r\n")
                               << QByteArrayList{"A"};
    QTest::newRow("bare begin") << QByteArray("/bgn\r\nName=A\r\n/end\r\n") << QByteArrayList{"A"};
    QTest::newRow("minus zero") << QByteArray("/bgn -0\r\nName=A\r\n/end\r\n")
                                << QByteArrayList{"A"};
    // Dropped by a lower number, then brought back by a higher one: nothing of the old
    // entry may come back with it.
    QTest::newRow("regrown entries are fresh")
        << QByteArray("/bgn 003\r\nName=Old\r\nOffffset07=12\r\nbambi=4|1\r\n/end\r\n"
                      "/bgn 001\r\nName=One\r\n/end\r\n/bgn 003\r\n/end\r\n/bgn 000\r\n/end\r\n"
                      "/bgn 002\r\nName=Two\r\n/end\r\n")
        << QByteArrayList{"-", "-", "Two"};
    QTest::newRow("missing end runs on")
        << QByteArray("/bgn 000\r\nName=A\r\n/bgn 001\r\nName=B\r\n/end 001\r\n")
        << QByteArrayList{"B"};
}

void TestPatchSetReader::blocks()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArrayList, names);
    const ReadResult result = readBody(body);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.entries.size(), names.size());
    for (int index = 0; index < names.size(); ++index) {
        const PatchEntry &entry = result.entries.at(index);
        QByteArray expected = names.at(index);
        if (expected == "-") {
            QCOMPARE(entry, PatchEntry());
            continue;
        }
        const bool listed = expected.endsWith('*') || body.contains("Omnipresence=1");
        expected.replace('*', "");
        QCOMPARE(entry.Name, expected);
        QCOMPARE(entry.Omnipresence, quint8(listed ? 1 : 0));
    }
}

void TestPatchSetReader::highestBlockNumber()
{
    ReadResult result = readBody("/bgn 32767\r\nName=Last\r\n/end 32767\r\n");
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.entries.size(), 32768);
    QCOMPARE(result.entries.last().Name, QByteArray("Last"));
    QCOMPARE(result.entries.first(), PatchEntry());

    // Every digit counts, so sets of more than 1000 entries come back whole.
    result = readBody("/bgn 1000\r\nName=Thousand\r\n/end 1000\r\n");
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.entries.size(), 1001);
    QCOMPARE(result.entries.at(1000).Name, QByteArray("Thousand"));

    for (const char *tooLarge : {"32768", "99999999999999999999", "32767.5"}) {
        result = readBody("/bgn " + QByteArray(tooLarge) + "\r\n/end\r\n");
        QCOMPARE(result.message, errorLoading());
        QVERIFY(result.entries.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestPatchSetReader)
#include "TestPatchSetReader.moc"
