// Working through the differences of two sets on DEST: selecting lines by their marks, the
// next and previous difference, and the filter, which every command acts within and which
// every command applies again; moves within a list are refused while it hides lines.
#include "FakeSideView.h"

#include <QRegularExpression>
#include <QTest>

class TestDifferences : public QObject
{
    Q_OBJECT

private slots:
    void actsOnTheShownLines_data();
    void actsOnTheShownLines();
};

namespace {

// Entries from a side's picture, "a, >[b~], c": b is described otherwise than its namesake.
PatchTable tableOf(const QString &picture)
{
    PatchTable table;
    for (QString line : picture.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        line.remove(QRegularExpression(QStringLiteral("[>\\[\\]]")));
        PatchEntry entry;
        entry.Omnipresence = 1;
        entry.Name = line.remove(QLatin1Char('~')).toLatin1();
        entry.Description =
            (picture.contains(line + QLatin1Char('~')) ? "changed " : "about ") + entry.Name;
        table.append(entry);
    }
    return table;
}

void arrange(FakeSideView &view, const QString &picture)
{
    const QStringList lines = picture.split(QStringLiteral(", "), Qt::SkipEmptyParts);
    QList<int> selected;
    for (int line = 0; line < lines.size(); ++line) {
        if (lines.at(line).contains(QLatin1Char('['))) {
            selected.append(line);
        }
        if (lines.at(line).startsWith(QLatin1Char('>'))) {
            view.current = line;
        }
    }
    view.select(selected);
}

// The side as arrange() takes it, its count after it: "x, >[b] (3)".
QString pictureOf(const FakeSideView &view)
{
    QStringList lines;
    for (int line = 0; line < view.lineCount(); ++line) {
        QString text = view.lines.at(line);
        if (view.selected.at(line)) {
            text = QLatin1Char('[') + text + QLatin1Char(']');
        }
        lines.append(line == view.current ? QLatin1Char('>') + text : text);
    }
    return lines.join(QStringLiteral(", ")) + QStringLiteral(" (%1)").arg(view.countText);
}

MarkState stateNamed(const QString &name)
{
    const QStringList names = {"all", "differing", "identical", "shared", "only"};
    return MarkState(names.indexOf(name));
}

} // namespace

// SRC and DEST as pictures; the steps act on DEST, one after the other.
void TestDifferences::actsOnTheShownLines_data()
{
    QTest::addColumn<QString>("src");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("after"); // DEST as pictureOf() gives it
    QTest::addColumn<bool>("changes");  // whether the steps change DEST's table
    const QString src = QStringLiteral("a, b~, c, d~, e");
    const QString dest = QStringLiteral("x, a, b, y, c, d");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("select differing adds") << src << "[x], >a, b, y, c, d" << "select differing"
                                           << "[x], >a, [b], y, c, [d] (6)" << false;
    QTest::newRow("select identical") << src << dest << "select identical"
                                      << ">x, [a], b, y, [c], d (6)" << false;
    QTest::newRow("select shared") << src << dest << "select shared"
                                   << ">x, [a], [b], y, [c], [d] (6)" << false;
    QTest::newRow("select only here") << src << dest << "select only"
                                      << ">[x], a, b, [y], c, d (6)" << false;
    QTest::newRow("invert") << src << "[x], >a, [b], y, c, d" << "invert"
                            << "x, >[a], b, [y], [c], [d] (6)" << false;
    QTest::newRow("next difference") << src << dest << "F7" << "x, a, >b, y, c, d (6)" << false;
    QTest::newRow("next, wrapping") << src << "x, a, b, y, c, >d" << "F7"
                                    << "x, a, >b, y, c, d (6)" << false;
    QTest::newRow("previous, wrapping") << src << "x, a, >b, y, c, d" << "Shift+F7"
                                        << "x, a, b, y, c, >d (6)" << false;
    QTest::newRow("next, none current") << src << "x, a, b" << "none current, F7"
                                        << "x, a, >b (3)" << false;
    QTest::newRow("no difference") << "a, c" << "x, >a, c" << "F7, Shift+F7" << "x, >a, c (3)"
                                   << false;
    QTest::newRow("the only difference") << src << "x, >b" << "F7" << "x, >b (2)" << false;
    // A filter hides lines, which lose their selection, and the current line goes to the next
    // line shown; the count goes on counting the whole side.
    QTest::newRow("find") << src << "x, a, [b], >y, [c], d" << "find C" << ">[c] (6)" << false;
    QTest::newRow("find nothing") << src << dest << "find zz" << " (6)" << false;
    QTest::newRow("find ends") << src << "x, [a], >b, y, [c], d" << "find a, find "
                               << "x, >[a], b, y, c, d (6)" << false;
    QTest::newRow("show differing") << src << "[x], a, [b], y, c, >d" << "show differing"
                                    << "[b], >d (6)" << false;
    QTest::newRow("show only here") << src << "x, >a, b, y" << "show only" << "x, >y (4)"
                                    << false;
    QTest::newRow("show all") << src << "x, >[a], b, y, c, d" << "show shared, show all"
                              << "x, >[a], b, y, c, d (6)" << false;
    QTest::newRow("select differing, filtered") << src << dest << "find d, select differing"
                                                << ">[d] (6)" << false;
    QTest::newRow("next difference, filtered") << src << dest << "show shared, F7, F7"
                                               << "a, b, c, >d (6)" << false;
    // Odd texts are only looked for; names are compared as shown, ignoring case.
    QTest::newRow("long text") << src << dest << "find " + QString(10000, QLatin1Char('x'))
                               << " (6)" << false;
    QTest::newRow("control characters") << src << dest << QStringLiteral("find \t\x01\x7f")
                                        << " (6)" << false;
    QTest::newRow("code page") << src << QStringLiteral("x, \u00ffes, y")
                               << QStringLiteral("find \u0178") << QStringLiteral(">\u00ffes (3)")
                               << false;
    // Moves within a filtered list would move hidden lines too.
    QTest::newRow("moves refused") << src << "x, >[a], b, [y], c" << "find y, up, down, top, drop"
                                   << ">[y] (5)" << false;
    QTest::newRow("moves once shown") << src << "x, a, >y" << "find y, show all, up"
                                      << "x, >y, a (3)" << true;
    // Commands act on the shown lines and apply the filter again.
    QTest::newRow("delete shown") << src << "[x], a, [b], y, c, >d"
                                  << "show differing, select shared, delete, show all"
                                  << ">x, a, y, c (4)" << true;
    QTest::newRow("take moves on") << src << "x, >b, y, d" << "show differing, take"
                                   << ">d (4)" << true;
    QTest::newRow("take, last one") << src << "x, b, y, >d" << "show differing, take"
                                    << ">b (4)" << true;
    QTest::newRow("take undone") << src << "x, b, y, >d" << "show differing, take, undo"
                                 << ">b, d (4)" << false;
    QTest::newRow("copy") << "a, b~, [c]" << "x, >a~, b" << "show differing, copy"
                          << "a, >b (4)" << true;
    QTest::newRow("copy dropped") << "[a], b~, [e]" << "x, >b, y" << "find y, drop, show all"
                                  << "x, b, a, e, >y (5)" << true;
    // clang-format on
}

void TestDifferences::actsOnTheShownLines()
{
    QFETCH(QString, src);
    QFETCH(QString, dest);
    QFETCH(QString, steps);
    QFETCH(QString, after);
    QFETCH(bool, changes);
    EditorRig rig;
    rig.load(Side::Left, tableOf(src));
    rig.load(Side::Right, tableOf(dest));
    arrange(rig.left, src);
    arrange(rig.right, dest);
    PatchSetEditor &editor = rig.editor;
    const PatchSets arranged = rig.sets;

    SideFilter filter;
    for (const QString &step : steps.split(QStringLiteral(", "))) {
        const QString word = step.section(QLatin1Char(' '), 0, 0);
        const QString rest = step.section(QLatin1Char(' '), 1);
        if (word == QLatin1String("select")) {
            editor.selectByState(Side::Right, stateNamed(rest));
        } else if (word == QLatin1String("invert")) {
            editor.invertSelection(Side::Right);
        } else if (word == QLatin1String("F7") || word == QLatin1String("Shift+F7")) {
            editor.goToDifference(Side::Right, word == QLatin1String("F7") ? +1 : -1);
        } else if (word == QLatin1String("none")) {
            rig.right.current = -1;
        } else if (word == QLatin1String("find") || word == QLatin1String("show")) {
            if (word == QLatin1String("find")) {
                filter.text = step.mid(5);
            } else {
                filter = SideFilter{rest == QLatin1String("all") ? QString() : filter.text,
                                    stateNamed(rest)};
            }
            editor.setFilter(Side::Right, filter);
        } else if (word == QLatin1String("up")) {
            editor.moveUp(Side::Right);
        } else if (word == QLatin1String("down")) {
            editor.moveDown(Side::Right);
        } else if (word == QLatin1String("top")) {
            editor.moveBlockToTop(Side::Right);
        } else if (word == QLatin1String("drop")) {
            // SRC's selection, or DEST's within DEST, before DEST's first line.
            const bool fromSrc = !rig.left.selectedLines().isEmpty();
            const Side from = fromSrc ? Side::Left : Side::Right;
            editor.dropLines(from, Side::Right, rig.view(from).selectedLines(), 0);
        } else if (word == QLatin1String("delete")) {
            editor.deleteSelectedDest();
        } else if (word == QLatin1String("take")) {
            QList<RowKey> rows;
            for (const ComparedRow &row : editor.compareCurrent(Side::Right).rows()) {
                rows.append(row.key);
            }
            editor.takeFromSrc(Side::Right, rows);
        } else if (word == QLatin1String("copy")) {
            editor.copyIntoDest();
        } else if (word == QLatin1String("undo")) {
            editor.undo();
        } else {
            QFAIL(qPrintable(QStringLiteral("no step ") + step));
        }
    }
    QCOMPARE(pictureOf(rig.right), after);
    // Selecting, walking and filtering never change a table, nor does a refused move.
    if (!changes) {
        QCOMPARE(rig.sets.DestTable, arranged.DestTable);
    }
    QCOMPARE(rig.sets.SrcTable, arranged.SrcTable);
}

QTEST_GUILESS_MAIN(TestDifferences)
#include "TestDifferences.moc"
