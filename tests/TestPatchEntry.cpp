#include "Fixtures.h"

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
    void equalityNoticesEveryMember();
    void slotEditsInAnyOrder_data();
    void slotEditsInAnyOrder();
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
    source.setOffffset(3, "10");
    source.setParametervalka(4, "v");
    PatchTable src{source};
    PatchTable dest;
    dest.append(src.at(0));

    dest[0].Name = "Changed";
    dest[0].setOffffset(3, "20");
    dest[0].setDeflData(50, "new");
    dest[0].setParametervalka(4, "w");

    QCOMPARE(src.at(0), source);
    QCOMPARE(src.at(0).Name, QByteArray("Source"));
    QCOMPARE(src.at(0).data(3).Offffset, QByteArray("10"));
    QVERIFY(src.at(0).data(50).isEmpty());
    QCOMPARE(src.at(0).parameter(4).parametervalka, QByteArray("v"));
}

void TestPatchEntry::slotNumbersStay()
{
    PatchEntry entry;
    entry.setOffffset(5, "500");
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
    // Slots written and emptied again leave nothing behind that would tell them apart.
    PatchEntry touched;
    touched.setModRData(dataSlot, "x");
    touched.setExistence(parameterSlot, 1);
    touched.setModRData(dataSlot, "");
    touched.setExistence(parameterSlot, 0);
    QCOMPARE(touched, PatchEntry());
    QCOMPARE(PatchEntry(), touched);

    touched.setModRData(dataSlot, "x");
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
        [](PatchEntry &e) { e.setOffffset(1, "o"); },
        [](PatchEntry &e) { e.setDeflData(1, "o"); },
        [](PatchEntry &e) { e.setModNData(1, "o"); },
        [](PatchEntry &e) { e.setModRData(1, "o"); },
        [](PatchEntry &e) { e.setExistence(1, 1); },
        [](PatchEntry &e) { e.setOffsetka(1, "o"); },
        [](PatchEntry &e) { e.setParametervalka(1, "o"); },
        [](PatchEntry &e) { e.setParameternamka(1, "o"); },
        [](PatchEntry &e) { e.setParametertypka(1, 1); },
    };
    for (int index = 0; index < changes.size(); ++index) {
        PatchEntry changed;
        changes.at(index)(changed);
        QVERIFY2(changed != PatchEntry(), qPrintable(QString::number(index)));
    }
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
        [](PatchEntry &e) { e.setOffffset(7, "0700"); },
        [](PatchEntry &e) { e.setDeflData(2, "AABB"); },
        [](PatchEntry &e) { e.setModRData(99, "FF"); },
        [](PatchEntry &e) { e.setOffffset(2, "0200"); },
        [](PatchEntry &e) { e.setExistence(4, 1); },
        [](PatchEntry &e) { e.setParameternamka(0, "zero"); },
        [](PatchEntry &e) { e.setParametervalka(29, "last"); },
        [](PatchEntry &e) { e.setParametertypka(4, 3); },
        [&](PatchEntry &e) { e.setModNData(50, longText); },
        [](PatchEntry &e) { e.setModNData(50, ""); },
        [](PatchEntry &e) { e.setOffsetka(10, e.DeflData(2)); }, // a text of the entry itself
        [](PatchEntry &e) { e.setParametervalka(29, ""); },
        [](PatchEntry &e) { e.setDeflData(2, ""); },
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
        expected.setOffsetka(10, "");
    }
    QCOMPARE(entry, expected);
    QCOMPARE(entry.DeflData(2), QByteArrayView("AABB"));
    QCOMPARE(entry.parameternamka(0), QByteArrayView("zero"));
    QCOMPARE(halfway, halfwayBefore);
}

QTEST_GUILESS_MAIN(TestPatchEntry)
#include "TestPatchEntry.moc"
