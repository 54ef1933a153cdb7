#include "Fixtures.h"
#include "SlotEdits.h"

#include "PatchEntry.h"

#include <QTest>

#include <functional>

namespace {

// The rows of two entries compared field by field: the fields of the entries themselves
// that differ, then a row for each data and parameter slot in use on either side, naming
// the fields of the slot that differ.
QByteArrayList differingRows(const PatchEntry &a, const PatchEntry &b)
{
    QByteArrayList rows;
    for (const EntryField &field : EntryFields::members) {
        if (field.read(a) != field.read(b)) {
            rows += field.key;
        }
    }
    const auto slotRows = [&](const char *name, const QList<int> &numbers,
                              EntryFields::Range fields) {
        for (const int slot : numbers) {
            QByteArray row = name + QByteArray::number(slot) + ':';
            for (const EntryField &field : fields) {
                if (field.read(a, slot) != field.read(b, slot)) {
                    row += ' ' + QByteArray(field.key);
                }
            }
            rows += row;
        }
    };
    slotRows("data ", EntryFields::dataSlotsInUse(a, b), EntryFields::dataSlot);
    slotRows("parameter ", EntryFields::parameterSlotsInUse(a, b), EntryFields::parameterSlot);
    return rows;
}

// Takes every row of `from` into `to`, as a view of two entries takes them one by one.
void takeEveryRow(PatchEntry &to, const PatchEntry &from)
{
    for (const EntryField &field : EntryFields::members) {
        field.write(to, field.read(from));
    }
    for (const int slot : EntryFields::dataSlotsInUse(to, from)) {
        to.setData(slot, from.data(slot));
    }
    for (const int slot : EntryFields::parameterSlotsInUse(to, from)) {
        to.setParameter(slot, from.parameter(slot));
    }
}

} // namespace

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
    void fieldsCompareRowByRow_data();
    void fieldsCompareRowByRow();
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
    QCOMPARE(src.at(0).data(3).Offffset, QByteArray("10"));
    QVERIFY(src.at(0).data(50).isEmpty());
    QCOMPARE(src.at(0).parameter(4).parametervalka, QByteArray("v"));
}

void TestPatchEntry::slotNumbersStay()
{
    PatchEntry entry;
    setOffffset(entry, 5, "500");
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

void TestPatchEntry::fieldsCompareRowByRow_data()
{
    QTest::addColumn<QByteArray>("change"); // lines read after the first entry's, into the second
    QTest::addColumn<QByteArrayList>("rows");

    const QByteArrayList alike{"data 3:", "data 99:", "parameter 0:", "parameter 29:"};
    const auto with = [&alike](qsizetype at, const QByteArray &row) {
        QByteArrayList rows = alike;
        rows.insert(at, row);
        return rows;
    };
    const auto changed = [&alike](qsizetype at, const QByteArray &row) {
        QByteArrayList rows = alike;
        rows[at] = row;
        return rows;
    };
    QTest::newRow("alike") << QByteArray() << alike;
    QTest::newRow("text") << QByteArray("Name=Other") << with(0, "Name");
    QTest::newRow("number") << QByteArray("CondBehave=2") << with(0, "CondBehave");
    QTest::newRow("data text") << QByteArray("DeflData99=BB") << changed(1, "data 99: DeflData");
    QTest::newRow("data slot on one side")
        << QByteArray("ModNData50=x") << with(1, "data 50: ModNData");
    QTest::newRow("data slot emptied")
        << QByteArray("Offffset03=\r\nDeflData03=") << changed(0, "data 3: Offffset DeflData");
    QTest::newRow("parameter number")
        << QByteArray("mena=29|4") << changed(3, "parameter 29: mena");
    QTest::newRow("parameter on one side")
        << QByteArray("ronno=12|x") << with(3, "parameter 12: ronno");
}

void TestPatchEntry::fieldsCompareRowByRow()
{
    // Each row lists what differs, and taking every row from the first entry makes the
    // second equal to it, slots emptied or added included.
    QFETCH(QByteArray, change);
    QFETCH(QByteArrayList, rows);
    const QByteArray first = "Name=Base\r\nCondBehave=1\r\nOffffset03=0300\r\nDeflData03=AA\r\n"
                             "Offffset99=FF\r\nbambi=0|1\r\nfaline=29|last\r\n";
    const ReadResult read =
        readBody("/bgn 0\r\n" + first + "/end\r\n/bgn 1\r\n" + first + change + "\r\n/end\r\n");
    QVERIFY2(read.ok(), qPrintable(read.message));
    const PatchEntry &a = read.entries.at(0);
    PatchEntry b = read.entries.at(1);
    QCOMPARE(differingRows(a, b), rows);

    takeEveryRow(b, a);
    QCOMPARE(b, a);
}

QTEST_GUILESS_MAIN(TestPatchEntry)
#include "TestPatchEntry.moc"
