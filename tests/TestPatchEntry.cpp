#include "Fixtures.h"

#include "PatchEntry.h"

#include <QTest>

class TestPatchEntry : public QObject
{
    Q_OBJECT

private slots:
    void freshEntryIsAbsent();
    void copiesAreIndependent();
    void slotNumbersStay();
    void equalityIgnoresStorage_data();
    void equalityIgnoresStorage();
    void equalityNoticesEveryMember();
};

void TestPatchEntry::freshEntryIsAbsent()
{
    const PatchEntry entry;
    QCOMPARE(entry.Omnipresence, quint8(0));
    QVERIFY(entry.Name.isEmpty());
    QVERIFY(entry.data(99).isEmpty());
    QVERIFY(entry.parameter(29).isEmpty());

    // Growing a table gives fresh entries too.
    PatchTable table;
    table.resize(3);
    QCOMPARE(table.at(2), PatchEntry());
    QCOMPARE(table.at(2).Omnipresence, quint8(0));
}

void TestPatchEntry::copiesAreIndependent()
{
    PatchEntry source;
    source.Omnipresence = 1;
    source.Name = "Source";
    source.data(3).Offffset = "10";
    source.parameter(4).parametervalka = "v";
    PatchTable src{source};
    PatchTable dest;
    dest.append(src.at(0));

    dest[0].Name = "Changed";
    dest[0].data(3).Offffset = "20";
    dest[0].data(50).DeflData = "new";
    dest[0].parameter(4).parametervalka = "w";

    QCOMPARE(src.at(0), source);
    QCOMPARE(src.at(0).Name, QByteArray("Source"));
    QCOMPARE(src.at(0).data(3).Offffset, QByteArray("10"));
    QVERIFY(src.at(0).data(50).isEmpty());
    QCOMPARE(src.at(0).parameter(4).parametervalka, QByteArray("v"));
}

void TestPatchEntry::slotNumbersStay()
{
    PatchEntry entry;
    entry.data(5).Offffset = "500";
    for (int slot = 0; slot < 5; ++slot) {
        QVERIFY(entry.data(slot).isEmpty());
    }
    QCOMPARE(entry.data(5).Offffset, QByteArray("500"));

    // And in the saved file, under its own number.
    const QByteArray saved = writeBytes({entry});
    QVERIFY(saved.contains("\r\nOffffset05=500\r\n"));
    QVERIFY(!saved.contains("Offffset00"));
    const ReadResult reloaded = readBytes(saved);
    QVERIFY2(reloaded.ok(), qPrintable(reloaded.message));
    QCOMPARE(reloaded.entries.at(0).data(5).Offffset, QByteArray("500"));
    QVERIFY(reloaded.entries.at(0).data(4).isEmpty());
}

void TestPatchEntry::equalityIgnoresStorage_data()
{
    QTest::addColumn<int>("dataSlot");
    QTest::addColumn<int>("parameterSlot");
    QTest::newRow("first slots") << 0 << 0;
    QTest::newRow("last slots") << 99 << 29;
}

void TestPatchEntry::equalityIgnoresStorage()
{
    QFETCH(int, dataSlot);
    QFETCH(int, parameterSlot);
    PatchEntry touched;
    touched.data(dataSlot);           // storage grows, the slot stays empty
    touched.parameter(parameterSlot); // likewise
    QCOMPARE(touched, PatchEntry());
    QCOMPARE(PatchEntry(), touched);

    touched.data(dataSlot).ModRData = "x";
    QVERIFY(touched != PatchEntry());
    QVERIFY(PatchEntry() != touched);
}

void TestPatchEntry::equalityNoticesEveryMember()
{
    const QList<void (*)(PatchEntry &)> changes{
        [](PatchEntry &e) { e.Omnipresence = 1; },
        [](PatchEntry &e) { e.Name = "n"; },
        [](PatchEntry &e) { e.Description = "d"; },
        [](PatchEntry &e) { e.RequiresRemap = 1; },
        [](PatchEntry &e) { e.RequiresYiff = 1; },
        [](PatchEntry &e) { e.RequiresPart = 1; },
        [](PatchEntry &e) { e.RequiresSave = 1; },
        [](PatchEntry &e) { e.Dependencies = "x"; },
        [](PatchEntry &e) { e.CondBehave = 1; },
        [](PatchEntry &e) { e.data(1).Offffset = "o"; },
        [](PatchEntry &e) { e.data(1).DeflData = "o"; },
        [](PatchEntry &e) { e.data(1).ModNData = "o"; },
        [](PatchEntry &e) { e.data(1).ModRData = "o"; },
        [](PatchEntry &e) { e.parameter(1).existence = 1; },
        [](PatchEntry &e) { e.parameter(1).offsetka = "o"; },
        [](PatchEntry &e) { e.parameter(1).parametervalka = "o"; },
        [](PatchEntry &e) { e.parameter(1).parameternamka = "o"; },
        [](PatchEntry &e) { e.parameter(1).parametertypka = 1; },
    };
    for (int index = 0; index < changes.size(); ++index) {
        PatchEntry changed;
        changes.at(index)(changed);
        QVERIFY2(changed != PatchEntry(), qPrintable(QString::number(index)));
    }
}

QTEST_GUILESS_MAIN(TestPatchEntry)
#include "TestPatchEntry.moc"
