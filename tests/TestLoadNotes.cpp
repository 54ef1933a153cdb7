// What the reader notes about a file that loads all the same: each line it reads otherwise than
// the line says, at its line number and in the words the window shows, and nothing for a clean
// file. Of a flood of notes the first thousand are kept and the rest only counted.
#include "Fixtures.h"

#include "PatchSetReader.h"

#include <QStringList>
#include <QTest>

class TestLoadNotes : public QObject
{
    Q_OBJECT

private slots:
    void notes_data();
    void notes();
};

// Each row gives one thing the reader reads otherwise than the lines say, where the file loads
// all the same; clean rows give no note.
void TestLoadNotes::notes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    const auto file = [](const QByteArray &body, const QByteArray &version = "0.3") {
        return "TAVRO=" + version + "\r\n" + body;
    };
    // A listed entry whose `lines` start at line 4.
    const auto block = [&file](const QByteArray &lines, const QByteArray &version = "0.3") {
        return file("/bgn 000\r\nOmnipresence=1\r\n" + lines + "\r\n/end 000\r\n", version);
    };
    const QString dropped = "only an entry whose Omnipresence is 1 is listed, and this one's is ";

    QTest::newRow("clean") << fixture("two-entries.tvr") << QStringList();
    QTest::newRow("mistyped key, hidden and dropped entries")
        << fixture("mistyped-key-and-hidden-entries.tvr")
        << QStringList{"line 6: Offffset1X is read as data slot 1",
                       "line 7: this block gives data slot 11 data but no offset (Offffset11), "
                       "and a slot without an offset is left out of every save",
                       "line 12: block 1 (\"Hidden helper\") is not listed, yet kept and saved "
                       "back: "
                           + dropped + "2",
                       "line 17: block 2 (\"Retired\") is dropped: " + dropped + "0"};
    QTest::newRow("no Omnipresence line")
        << file("/bgn 000\r\n/end\r\n")
        << QStringList{"line 2: block 0 is dropped: " + dropped + "0"};
    QTest::newRow("unknown key")
        << block("Name = x")
        << QStringList{"line 4: \"Name \" is not a key of a patch entry, so this line is ignored"};
    QTest::newRow("value cut") << block("Description=" + repeated('d', 60001))
                               << QStringList{"line 4: the value of Description is cut to 60000 "
                                              "characters"};
    QTest::newRow("value at the limit")
        << block("Description=" + repeated('d', 60000) + ";x") << QStringList();
    QTest::newRow("parameter text cut") << block("faline=2|" + repeated('f', 51))
                                        << QStringList{"line 4: the text of faline is cut to 50 "
                                                       "characters"};
    QTest::newRow("key given twice")
        << block("Name=a\r\nname=b")
        << QStringList{"line 5: name is given again in this block; this later value is the one "
                       "kept"};
    QTest::newRow("slot given twice")
        << block("Offffset07=1\r\nOffffset07=2")
        << QStringList{
               "line 5: Offffset07 is given again in this block; this later value is the one kept"};
    QTest::newRow("missing end") << file("/bgn 000\r\nOmnipresence=1\r\n/bgn 001\r\n/end\r\n")
                                 << QStringList{"line 4: this /bgn line comes before block 0 has "
                                                "its /end line, so it is ignored and the lines "
                                                "after it still go into block 0"};
    QTest::newRow("no parameters in 0.10")
        << block("bambi=0|1", "0.10")
        << QStringList{"line 4: bambi is ignored, since a file of version \"0.10\" does not read "
                       "it"};
    QTest::newRow("pipe key in 0.1")
        << block("ronno=0|1", "0.1")
        << QStringList{"line 4: ronno is ignored, since a file of version \"0.1\" does not read "
                       "it"};
    QTest::newRow("pipe value without bar")
        << block("ronno=abc")
        << QStringList{"line 4: ronno has no \"|\" after a slot number, so this line is ignored"};
    QTest::newRow("same name")
        << file("/bgn 000\r\nOmnipresence=1\r\nName=Twin\r\n/end\r\n"
                "/bgn 001\r\nOmnipresence=1\r\nName=Twin\r\n/end\r\n")
        << QStringList{"line 6: \"Twin\" is also the name of the entry at line 2; copying and the "
                       "\"also in\" marks use only that first one"};
    QTest::newRow("lower block number")
        << file("/bgn 005\r\nOmnipresence=1\r\n/end\r\n/bgn 002\r\nOmnipresence=1\r\n/end\r\n")
        << QStringList{"line 5: block 2 comes after block 5, so the entry read under a higher "
                       "number is dropped"};
    // Keys the earlier block gave are not given twice in this one.
    QTest::newRow("repeated block number")
        << file("/bgn 001\r\nOmnipresence=1\r\nOffffset03=1\r\n/end\r\n"
                "/bgn 001\r\nOmnipresence=1\r\nOffffset03=2\r\n/end\r\n")
        << QStringList{"line 6: block 1 was begun before, at line 2: this block adds to that "
                       "entry, and its values win"};
    QTest::newRow("key outside a block")
        << file("/bng 000\r\nName=Lost\r\n")
        << QStringList{"line 3: Name stands outside any block, so this line is ignored (a block "
                       "starts with a /bgn line)"};
    QTest::newRow("block number by a guess")
        << file("/bgn12\r\nOmnipresence=1\r\n/end\r\n")
        << QStringList{"line 2: \"/bgn12\" is read as block 2"};

    // Notes past the first thousand are counted, not kept.
    QStringList many;
    for (int line = 5; line < 5 + ReadResult::MaxNotes; ++line) {
        many << QStringLiteral("line %1: Name is given again in this block; this later value is "
                               "the one kept")
                    .arg(line);
    }
    many << "... and 499 more notes";
    QTest::newRow("a thousand kept") << block(QByteArray("Name=x\r\n").repeated(1500)) << many;
}

void TestLoadNotes::notes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    const ReadResult result = readBytes(bytes);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.noteLines(), expected);
}

QTEST_GUILESS_MAIN(TestLoadNotes)
#include "TestLoadNotes.moc"
