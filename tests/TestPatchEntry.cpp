#include "Fixtures.h"
#include "SlotEdits.h"

#include "PatchEntry.h"

#include <QTest>

#include <functional>

class TestPatchEntry : public QObject
{
    Q_OBJECT

private slots:
    void freshEntryIsAbsent();
    void copiesAreIndependent();
    void slotNumbersStay();
    void equalityIgnoresStorage_data();
    void equalityIgnoresStorage();
    void equalityNoticesEveryField_data();
    void equalityNoticesEveryField();
    void slotEditsInAnyOrder_data();
    void slotEditsInAnyOrder();
};

void TestPatchEntry::freshEntryIsAbsent()
{
    const PatchEntry entry;
    QCOMPARE(entry.Omnipresence, quint8(0));
    QVERIFY(entry.Name.isEmpty());
    QVERIFY(dataSlot(entry, 99).isEmpty());
    QVERIFY(parameterSlot(entry, 29).isEmpty());

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
    setOffffset(source, 3, "10");
    setParametervalka(source, 4, "v");
    PatchTable src{source};
    PatchTable dest;
    dest.append(src.at(0));

    dest[0].Name = "Changed";
    setOffffset(dest[0], 3, "20");
    setDeflData(dest[0], 50, "new");
    setParametervalka(dest[0], 4, "w");

    QCOMPARE(src.at(0), source);
    QCOMPARE(src.at(0).Name, QByteArray("Source"));
    QCOMPARE(dataSlot(src.at(0), 3).Offffset, QByteArray("10"));
    QVERIFY(dataSlot(src.at(0), 50).isEmpty());
    QCOMPARE(parameterSlot(src.at(0), 4).parametervalka, QByteArray("v"));
}

void TestPatchEntry::slotNumbersStay()
{
    PatchEntry entry;
    setOffffset(entry, 5, "500");
    for (int slot = 0; slot < 5; ++slot) {
        QVERIFY(dataSlot(entry, slot).isEmpty());
    }
    QCOMPARE(dataSlot(entry, 5).Offffset, QByteArray("500"));

    // And in the saved file, under its own number.
    const QByteArray saved = writeBytes({entry});
    QVERIFY(saved.contains("\r\nOffffset05=500\r\n"));
    QVERIFY(!saved.contains("Offffset00"));
    const ReadResult reloaded = readBytes(saved);
    QVERIFY2(reloaded.ok(), qPrintable(reloaded.message));
    QCOMPARE(dataSlot(reloaded.entries.at(0), 5).Offffset, QByteArray("500"));
    QVERIFY(dataSlot(reloaded.entries.at(0), 4).isEmpty());
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
    // Slots written and emptied again leave nothing behind that would tell them apart.
    PatchEntry touched;
    setModRData(touched, dataSlot, "x");
    setExistence(touched, parameterSlot, 1);
    setModRData(touched, dataSlot, "");
    setExistence(touched, parameterSlot, 0);
    QCOMPARE(touched, PatchEntry());
    QCOMPARE(PatchEntry(), touched);

    setModRData(touched, dataSlot, "x");
    QVERIFY(touched != PatchEntry());
    QVERIFY(PatchEntry() != touched);
}

void TestPatchEntry::equalityNoticesEveryField_data()
{
    QTest::addColumn<int>("field"); // position in the list of fields
    for (int field = 0; field < int(std::size(EntryFields::all)); ++field) {
        QTest::newRow(EntryFields::all[field].key) << field;
    }
}

void TestPatchEntry::equalityNoticesEveryField()
{
    // Entries alike in every field but this one.
    QFETCH(int, field);
    PatchEntry base;
    for (const EntryField &each : EntryFields::all) {
        setField(base, each, {"same", 1}, 1);
    }
    PatchEntry changed = base;
    setField(changed, EntryFields::all[field], {"other", 2}, 1);
    QVERIFY(changed != base);
    QVERIFY(base != changed);
}

void TestPatchEntry::slotEditsInAnyOrder_data()
{
    QTest::addColumn<QList<int>>("order"); // of the edits below, by position
    QTest::newRow("ascending") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("descending") << QList<int>{7, 6, 5, 4, 3, 2, 1, 0};
    QTest::newRow("middle first") << QList<int>{3, 6, 0, 7, 1, 5, 2, 4};
    QTest::newRow("grown then shrunk") << QList<int>{8, 0, 1, 2, 9, 3, 4, 5, 6, 7, 10};
    QTest::newRow("emptied and refilled") << QList<int>{0, 1, 6, 12, 11, 2, 3, 4, 5, 1, 6, 7};
}

void TestPatchEntry::slotEditsInAnyOrder()
{
    // However the slots get filled, the entry equals the one read from its file, and a copy
    // taken halfway keeps what it had.
    QFETCH(QList<int>, order);
    const QByteArray longText(5000, 'L');
    const QList<std::function<void(PatchEntry &)>> edits{
        [](PatchEntry &e) { setOffffset(e, 7, "0700"); },
        [](PatchEntry &e) { setDeflData(e, 2, "AABB"); },
        [](PatchEntry &e) { setModRData(e, 99, "FF"); },
        [](PatchEntry &e) { setOffffset(e, 2, "0200"); },
        [](PatchEntry &e) { setExistence(e, 4, 1); },
        [](PatchEntry &e) { setParameternamka(e, 0, "zero"); },
        [](PatchEntry &e) { setParametervalka(e, 29, "last"); },
        [](PatchEntry &e) { setParametertypka(e, 4, 3); },
        [&](PatchEntry &e) { setModNData(e, 50, longText); },
        [](PatchEntry &e) { setModNData(e, 50, ""); },
        [](PatchEntry &e) { setOffsetka(e, 10, e.DeflData(2)); }, // a text of the entry itself
        [](PatchEntry &e) { setParametervalka(e, 29, ""); },
        [](PatchEntry &e) { setDeflData(e, 2, ""); },
    };
    PatchEntry entry;
    PatchEntry halfway;
    for (int step = 0; step < order.size(); ++step) {
        edits.at(order.at(step))(entry);
        if (step == order.size() / 2) {
            halfway = entry;
        }
    }
    const PatchEntry halfwayBefore = halfway;
    const ReadResult read = readBlock("Offffset07=0700\r\nDeflData02=AABB\r\nModRData99=FF\r\n"
                                      "Offffset02=0200\r\nbambi=4|1\r\nfaline=0|zero\r\n"
                                      "gprince=29|last\r\nmena=4|3\r\nronno=10|AABB");
    QVERIFY2(read.ok(), qPrintable(read.message));
    PatchEntry expected = read.entries.at(0);
    if (!order.contains(10)) {
        setOffsetka(expected, 10, "");
    }
    QCOMPARE(entry, expected);
    QCOMPARE(entry.DeflData(2), QByteArrayView("AABB"));
    QCOMPARE(entry.parameternamka(0), QByteArrayView("zero"));
    QCOMPARE(halfway, halfwayBefore);
}

QTEST_GUILESS_MAIN(TestPatchEntry)
#include "TestPatchEntry.moc"
