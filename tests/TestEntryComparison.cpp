// Two namesakes compared field by field, as the entry view shows them: the rows in file order,
// the state of each, the stretch of every differing text, and the sentence above them; the
// short texts of what differs and of what a side's marks add up to, and a name nearly another's.
#include "EntryComparison.h"
#include "FakeSideView.h"
#include "Fixtures.h"
#include "LineMarks.h"
#include "SlotEdits.h"

#include <QTest>

namespace {

// A row as text: "label: state", then for each value that differs its name (for a slot row)
// and the differing stretches of the SRC and the DEST text, "Description: differs 10-16/10-15".
QStringList rowsText(const EntryComparison &comparison)
{
    QStringList rows;
    for (const ComparedRow &row : comparison.rows()) {
        QString text = row.label() + QStringLiteral(": ") + rowStateText(row.state);
        for (const ComparedValue &value : row.values) {
            if (!value.differs()) {
                continue;
            }
            if (row.key.kind != RowKey::Kind::Field) {
                text += QLatin1Char(' ') + valueName(*value.field);
            }
            if (value.isNumber()) {
                continue; // it differs whole
            }
            text += QStringLiteral(" %1-%2/%3-%4")
                        .arg(value.differing.left.begin)
                        .arg(value.differing.left.end)
                        .arg(value.differing.right.begin)
                        .arg(value.differing.right.end);
        }
        rows.append(text);
    }
    return rows;
}

// The nine rows of the entry's own fields, "same" but for those given as "Field: rest".
QStringList fieldRows(const QStringList &changed = {}, const QString &state = "same")
{
    QStringList rows;
    for (const EntryField &field : EntryFields::members) {
        QString row = valueName(field) + QStringLiteral(": ") + state;
        for (const QString &change : changed) {
            if (change.startsWith(valueName(field) + QLatin1Char(':'))) {
                row = change;
            }
        }
        rows.append(row);
    }
    return rows;
}

PatchEntry namedEntry()
{
    PatchEntry entry;
    entry.Omnipresence = 1;
    entry.Name = "Widescreen fix";
    entry.Description = "fixes the camera";
    setDataSlot(entry, 3, {"00401000", "AABBCC", "AABBDD", "AABBEE"});
    setParameterSlot(entry, 4, {1, "00402000", "12", "Width", 2});
    return entry;
}

PatchTable one(const PatchEntry &entry)
{
    return {entry};
}

} // namespace

Q_DECLARE_METATYPE(Side)

class TestEntryComparison : public QObject
{
    Q_OBJECT

private slots:
    void comparesFieldByField_data();
    void comparesFieldByField();
    void breakdownCountsTheMarks_data();
    void breakdownCountsTheMarks();
    void nearNamesSaySo_data();
    void nearNamesSaySo();
};

void TestEntryComparison::comparesFieldByField_data()
{
    // Each side holds its entry, or none (an empty table).
    QTest::addColumn<PatchTable>("src");
    QTest::addColumn<PatchTable>("dest");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("fromSrc");  // the sentence above the rows, seen from SRC
    QTest::addColumn<QString>("fromDest"); // and from DEST

    const PatchEntry entry = namedEntry();
    const QStringList slotRows = {"Data slot 3: same", "Parameter 4: same"};
    QTest::newRow("equal entries")
        << one(entry) << one(entry) << fieldRows() + slotRows << "identical to its namesake in DEST"
        << "identical to its namesake in SRC";

    PatchEntry description = entry;
    description.Description = "fixes the timer";
    QTest::newRow("only the description differs")
        << one(entry) << one(description)
        << fieldRows({"Description: differs 10-16/10-15"}) + slotRows << "1 of 11 fields differ"
        << "1 of 11 fields differ";

    PatchEntry extraSlot = entry;
    setDataSlot(extraSlot, 7, {"0040", "", "01", ""});
    QTest::newRow("a data slot only in SRC") << one(extraSlot) << one(entry)
                                             << fieldRows() + slotRows.mid(0, 1)
            + QStringList{"Data slot 7: only in SRC Offffset 0-4/0-0 ModNData 0-2/0-0"}
            + slotRows.mid(1) << "1 of 12 fields differ"
                                             << "1 of 12 fields differ";
    QTest::newRow("a data slot only in DEST") << one(entry) << one(extraSlot)
                                              << fieldRows() + slotRows.mid(0, 1)
            + QStringList{"Data slot 7: only in DEST Offffset 0-0/0-4 ModNData 0-0/0-2"}
            + slotRows.mid(1) << "1 of 12 fields differ"
                                              << "1 of 12 fields differ";

    PatchEntry parameter = entry;
    setParametervalka(parameter, 4, "15");
    QTest::newRow("a parameter differs in one member") << one(entry) << one(parameter)
                                                       << fieldRows() + slotRows.mid(0, 1)
            + QStringList{"Parameter 4: differs parametervalka 1-2/1-2"}
                                                       << "1 of 11 fields differ"
                                                       << "1 of 11 fields differ";
    PatchEntry number = entry;
    setParametertypka(number, 4, 3);
    number.RequiresSave = 1;
    QTest::newRow("numbers differ whole") << one(entry) << one(number)
                                          << fieldRows({"RequiresSave: differs"})
            + slotRows.mid(0, 1) + QStringList{"Parameter 4: differs parametertypka"}
                                          << "2 of 11 fields differ"
                                          << "2 of 11 fields differ";

    // A data text changes by whole byte pairs; an inserted digit spoils the pair it lands in.
    PatchEntry pairs = entry;
    setDeflData(pairs, 3, "AABXBCC");
    setModNData(pairs, 3, "AAB0DD");
    QTest::newRow("data texts by byte pairs") << one(entry) << one(pairs)
                                              << fieldRows()
            + QStringList{"Data slot 3: differs DeflData 2-4/2-4 ModNData 2-4/2-4"}
            + slotRows.mid(1) << "1 of 11 fields differ"
                                              << "1 of 11 fields differ";
    // The common end is sought only after the common start: "aXa" against "aa" is one X.
    PatchEntry repeat = entry;
    repeat.Dependencies = "aXa";
    PatchEntry shorter = entry;
    shorter.Dependencies = "aa";
    QTest::newRow("start and end never overlap")
        << one(repeat) << one(shorter) << fieldRows({"Dependencies: differs 1-2/1-1"}) + slotRows
        << "1 of 11 fields differ"
        << "1 of 11 fields differ";

    // At the format's limit and past it: one byte pair in the middle of a 60000-digit data
    // text, and a description longer than any file gives that differs in its last byte.
    PatchEntry longTexts = entry;
    QByteArray data(PatchSetFormat::MaxValueLength, 'A');
    setDeflData(longTexts, 3, data);
    longTexts.Description = QByteArray(70000, 'x');
    PatchEntry longChanged = longTexts;
    data[30001] = 'B';
    setDeflData(longChanged, 3, data);
    longChanged.Description += 'y';
    QTest::newRow("long texts") << one(longTexts) << one(longChanged)
                                << fieldRows({"Description: differs 70000-70000/70000-70001"})
            + QStringList{"Data slot 3: differs DeflData 30000-30002/30000-30002"} + slotRows.mid(1)
                                << "2 of 11 fields differ"
                                << "2 of 11 fields differ";

    // Every data and parameter slot in use; the last of each differs.
    PatchEntry full = entry;
    full.editSlots([](SlotTextsBuilder &builder) {
        for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
            builder.setData(slot, DataText::Offffset, QByteArray::number(slot));
        }
        for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
            builder.setParameter(slot, ParameterText::offsetka, QByteArray::number(slot));
        }
    });
    PatchEntry fullChanged = full;
    setOffffset(fullChanged, 99, "0099");
    setOffsetka(fullChanged, 29, "2A");
    QStringList fullRows = fieldRows();
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        fullRows.append(QStringLiteral("Data slot %1: same").arg(slot));
    }
    fullRows.last() = QStringLiteral("Data slot 99: differs Offffset 0-0/0-2");
    for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
        fullRows.append(QStringLiteral("Parameter %1: same").arg(slot));
    }
    fullRows.last() = QStringLiteral("Parameter 29: differs offsetka 1-2/1-2");
    QTest::newRow("every slot in use")
        << one(full) << one(fullChanged) << fullRows << "2 of 139 fields differ"
        << "2 of 139 fields differ";

    // The short text names five rows at most and counts the rest.
    PatchEntry seven = entry;
    seven.Description = "x";
    seven.RequiresRemap = seven.RequiresYiff = seven.RequiresPart = seven.RequiresSave = 1;
    seven.Dependencies = "d";
    seven.CondBehave = 2;
    QTest::newRow("seven rows differ")
        << one(entry) << one(seven)
        << fieldRows({"Description: differs 0-16/0-1", "RequiresRemap: differs",
                      "RequiresYiff: differs", "RequiresPart: differs", "RequiresSave: differs",
                      "Dependencies: differs 0-0/0-1", "CondBehave: differs"})
            + slotRows
        << "7 of 11 fields differ"
        << "7 of 11 fields differ";

    // Without a namesake every row is its side's alone, each text differing whole.
    const QStringList aloneRows =
        fieldRows({"Name: only in SRC 0-14/0-0", "Description: only in SRC 0-16/0-0"},
                  "only in SRC")
        + QStringList{"Data slot 3: only in SRC Offffset 0-8/0-0 DeflData 0-6/0-0 "
                      "ModNData 0-6/0-0 ModRData 0-6/0-0",
                      "Parameter 4: only in SRC existence offsetka 0-8/0-0 "
                      "parametervalka 0-2/0-0 parameternamka 0-5/0-0 parametertypka"};
    QTest::newRow("an entry against no namesake")
        << one(entry) << PatchTable() << aloneRows << "no entry of this name in DEST"
        << "";
    QTest::newRow("no entry at all") << PatchTable() << PatchTable() << QStringList() << ""
                                     << "";
}

void TestEntryComparison::comparesFieldByField()
{
    QFETCH(PatchTable, src);
    QFETCH(PatchTable, dest);
    QFETCH(QStringList, rows);
    QFETCH(QString, fromSrc);
    QFETCH(QString, fromDest);

    const EntryComparison comparison(src.isEmpty() ? nullptr : &src.first(),
                                     dest.isEmpty() ? nullptr : &dest.first());

    QCOMPARE(rowsText(comparison), rows);
    QCOMPARE(comparison.headline(Side::Left), fromSrc);
    QCOMPARE(comparison.headline(Side::Right), fromDest);

    // The short text, worked out without the comparison, names the rows it lists as differing.
    if (comparison.isPair()) {
        QStringList differing;
        for (const ComparedRow &row : comparison.rows()) {
            if (row.state != RowState::Same) {
                differing.append(row.label());
            }
        }
        QString text = differing.mid(0, 5).join(QStringLiteral(", "));
        if (differing.size() > 5) {
            text += QStringLiteral(" and %1 more").arg(differing.size() - 5);
        }
        QCOMPARE(differingRowsText(src.first(), dest.first()), text);
    }
}

void TestEntryComparison::breakdownCountsTheMarks_data()
{
    QTest::addColumn<Side>("side");
    QTest::addColumn<QString>("marks"); // one per line: '.' none, '=' identical, '~' differs
    QTest::addColumn<QString>("breakdown");
    QTest::newRow("SRC") << Side::Left << ".=~~."
                         << "5 entries: 3 also in DEST (2 differ, 1 identical), 2 only in SRC";
    QTest::newRow("DEST") << Side::Right << "=~"
                          << "2 entries: 2 also in SRC (1 differs, 1 identical)";
    QTest::newRow("one alone") << Side::Right << "."
                               << "1 entry: 1 only in DEST";
}

void TestEntryComparison::breakdownCountsTheMarks()
{
    QFETCH(Side, side);
    QFETCH(QString, marks);
    QFETCH(QString, breakdown);
    QList<LineMark> lineMarks;
    for (const QChar mark : marks) {
        lineMarks.append(mark == '='       ? LineMark::Identical
                             : mark == '~' ? LineMark::Differs
                                           : LineMark::None);
    }
    QCOMPARE(marksBreakdown(side, lineMarks), breakdown);
}

void TestEntryComparison::nearNamesSaySo_data()
{
    QTest::addColumn<QByteArray>("src"); // the name of SRC's one entry
    QTest::addColumn<QByteArrayList>("dest");
    QTest::addColumn<QString>("note"); // on SRC's line
    const QString fixLives = QStringLiteral("nearly the name of DEST's 'Fix lives'");
    using Names = QByteArrayList;
    // Laid out by hand: the formatter would give every value of a row a line of its own.
    // clang-format off
    QTest::newRow("case") << QByteArray("Fix Lives") << Names{"x", "Fix lives"} << fixLives;
    QTest::newRow("trailing spaces") << QByteArray("Fix lives  ") << Names{"Fix lives"}
                                     << fixLives;
    QTest::newRow("both") << QByteArray("FIX LIVES ") << Names{"Fix lives", "fix lives"}
                          << fixLives;
    QTest::newRow("accented") << QByteArray("\xC9t\xE9") << Names{"\xE9T\xC9"}
                              << QStringLiteral("nearly the name of DEST's '\u00E9T\u00C9'");
    QTest::newRow("exact namesake too") << QByteArray("Fix lives")
                                        << Names{"fix lives", "Fix lives"} << QString();
    QTest::newRow("tab") << QByteArray("Fix lives\t") << Names{"Fix lives"} << QString();
    QTest::newRow("leading space") << QByteArray(" Fix lives") << Names{"Fix lives"} << QString();
    // clang-format on
}

void TestEntryComparison::nearNamesSaySo()
{
    QFETCH(QByteArray, src);
    QFETCH(QByteArrayList, dest);
    QFETCH(QString, note);
    PatchSets sets;
    sets.SrcTable = entriesNamed({src});
    sets.DestTable = entriesNamed(dest);
    SharedMarks marks(sets);
    marks.follow();
    QCOMPARE(marks.nearNameText(Side::Left, 0), note);
    // A changed DEST is folded afresh.
    sets.DestTable = entriesNamed({"y"});
    marks.follow();
    QCOMPARE(marks.nearNameText(Side::Left, 0), QString());
}

QTEST_GUILESS_MAIN(TestEntryComparison)
#include "TestEntryComparison.moc"
