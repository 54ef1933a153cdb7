#include "DetailPanel.h"
#include "Fixtures.h" // declares PatchEntry to QtTest's tables, once for every test
#include "SlotEdits.h"

#include <QtTest>

Q_DECLARE_METATYPE(Side)

namespace {

// A data slot with an offset and data texts of the given lengths.
void useSlot(PatchEntry &entry, int slot, int defl, int modN, int modR)
{
    setDataSlot(entry, slot,
                {"00401000", QByteArray(defl, 'A'), QByteArray(modN, 'B'), QByteArray(modR, 'C')});
}

QString summary(const char *marker, int offsets, int params, qint64 size)
{
    return QStringLiteral("%1\r\nOffsets: %2\r\nParams: %3\r\nSize: %4")
        .arg(QLatin1String(marker))
        .arg(offsets)
        .arg(params)
        .arg(size);
}

} // namespace

class TestDetailPanel : public QObject
{
    Q_OBJECT

private slots:
    void summaryOfEntry_data();
    void summaryOfEntry();
    void summaryOfHugeTextsDoesNotWrap();
    void fadeDarkensThenStops();
    void clickDuringFadeRestartsFromTheTop();
    void tickWithoutStartDoesNothing();
};

void TestDetailPanel::summaryOfEntry_data()
{
    QTest::addColumn<PatchEntry>("entry");
    QTest::addColumn<Side>("side");
    QTest::addColumn<QString>("expected");

    PatchEntry unused;
    unused.Omnipresence = 1;
    unused.Name = "unused";
    setExistence(unused, 3, 1); // in use, but without an offset: not counted
    QTest::newRow("no used slot") << unused << Side::Left << summary("<<", 0, 0, 0);

    PatchEntry emptyTexts;
    useSlot(emptyTexts, 0, 0, 0, 0);
    QTest::newRow("offset, empty texts") << emptyTexts << Side::Right << summary(">>", 1, 0, 0);

    PatchEntry odd;
    useSlot(odd, 0, 5, 0, 0);
    QTest::newRow("odd length") << odd << Side::Right << summary(">>", 1, 0, 2);

    PatchEntry longest;
    useSlot(longest, 0, 4, 8, 0);
    QTest::newRow("longest of three") << longest << Side::Right << summary(">>", 1, 0, 4);

    PatchEntry longestLast;
    useSlot(longestLast, 0, 2, 0, 12);
    QTest::newRow("longest is ModR") << longestLast << Side::Left << summary("<<", 1, 0, 6);

    PatchEntry ends;
    useSlot(ends, 0, 2, 0, 0);
    useSlot(ends, 99, 2, 0, 0);
    QTest::newRow("slots 0 and 99") << ends << Side::Left << summary("<<", 2, 0, 2);

    PatchEntry noOffset;
    setDeflData(noOffset, 7, "AABBCCDD"); // data without an offset is skipped entirely
    QTest::newRow("data without offset") << noOffset << Side::Left << summary("<<", 0, 0, 0);

    PatchEntry placeholder; // what a new DEST set holds
    placeholder.Omnipresence = 1;
    QTest::newRow("placeholder") << placeholder << Side::Right << summary(">>", 0, 0, 0);

    PatchEntry example;
    useSlot(example, 0, 8, 2, 0);
    useSlot(example, 1, 0, 4, 4);
    useSlot(example, 4, 1, 5, 3);
    setOffsetka(example, 0, "10");
    QTest::newRow("three slots, one param") << example << Side::Right << summary(">>", 3, 1, 8);

    PatchEntry params;
    setOffsetka(params, 0, "1"); // existence 0, but it has an offset: counted
    setOffsetka(params, 29, "2");
    setExistence(params, 29, 1);
    setExistence(params, 12, 1);
    setParametervalka(params, 12, "5");
    QTest::newRow("param offsets only") << params << Side::Left << summary("<<", 0, 2, 0);
}

void TestDetailPanel::summaryOfEntry()
{
    QFETCH(PatchEntry, entry);
    QFETCH(Side, side);
    QFETCH(QString, expected);
    QCOMPARE(detailSummary(entry, side), expected);
}

void TestDetailPanel::summaryOfHugeTextsDoesNotWrap()
{
    // Texts longer than a 16-bit length, in every slot: the sum must be exact, not wrapped.
    PatchEntry entry;
    const QByteArray text(65536, 'F');
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        setOffffset(entry, slot, "1");
        setModNData(entry, slot, text);
    }
    QCOMPARE(detailSummary(entry, Side::Left), summary("<<", 100, 0, 100 * 32768));
}

void TestDetailPanel::fadeDarkensThenStops()
{
    DetailFade fade;
    fade.start(QStringLiteral("text"));
    QList<int> greys;
    while (const std::optional<int> grey = fade.tick()) {
        greys.append(*grey);
        QVERIFY(greys.size() <= 16);
    }
    QList<int> expected;
    for (int grey = 245; grey >= 95; grey -= 10) {
        expected.append(grey);
    }
    QCOMPARE(greys, expected);
    QCOMPARE(fade.fadeLevel(), 85); // the seventeenth tick stopped it
    QCOMPARE(fade.detailText(), QStringLiteral("text"));
    QCOMPARE(fade.tick(), std::optional<int>()); // a late tick changes nothing
    QCOMPARE(fade.fadeLevel(), 85);
}

void TestDetailPanel::clickDuringFadeRestartsFromTheTop()
{
    DetailFade fade;
    fade.start(QStringLiteral("first"));
    for (int i = 0; i < 5; ++i) {
        QVERIFY(fade.tick().has_value());
    }
    fade.start(QStringLiteral("second"));
    QCOMPARE(fade.detailText(), QStringLiteral("second"));
    QCOMPARE(fade.tick(), std::optional<int>(245));

    // Once stopped, the same text restarts the fade just the same.
    while (fade.tick()) {}
    fade.start(QStringLiteral("second"));
    QCOMPARE(fade.tick(), std::optional<int>(245));
}

void TestDetailPanel::tickWithoutStartDoesNothing()
{
    DetailFade fade;
    QCOMPARE(fade.tick(), std::optional<int>());
    QVERIFY(fade.detailText().isEmpty());
}

QTEST_GUILESS_MAIN(TestDetailPanel)
#include "TestDetailPanel.moc"
