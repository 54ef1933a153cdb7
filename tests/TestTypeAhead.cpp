// Typing on a list: letters find a line and never select it, a Space inside a search is part
// of the name sought, and a Space on its own toggles the current line. The clock is stepped by
// hand, so a pause is exact and no test waits.
#include "TypeAhead.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

class TestTypeAhead : public QObject
{
    Q_OBJECT

private slots:
    void typingFindsAndNeverSelects_data();
    void typingFindsAndNeverSelects();
};

void TestTypeAhead::typingFindsAndNeverSelects_data()
{
    QTest::addColumn<QString>("typed"); // one key per character; '|' is a pause instead
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("selected");
    // The list is {apple, banana, Skip 100, Skip 900, skip 950, sun}, line 0 current. The key
    // table of TestWindowCommands searches with and without a space, TestForm1 toggles a line.
    QTest::newRow("capitals") << "SKI" << 2 << QList<int>{};
    QTest::newRow("on past the space") << "skip 95" << 4 << QList<int>{};
    QTest::newRow("space twice on its own") << " | " << 0 << QList<int>{};
    QTest::newRow("space after a pause") << "skip|| " << 2 << QList<int>{2};
    QTest::newRow("a pause starts afresh") << "sk|b" << 1 << QList<int>{};
    QTest::newRow("one letter again moves on") << "sss" << 4 << QList<int>{};
    QTest::newRow("a new search starts below") << "a" << 0 << QList<int>{};
    QTest::newRow("no match stays") << "skip 2" << 2 << QList<int>{};
}

void TestTypeAhead::typingFindsAndNeverSelects()
{
    QFETCH(QString, typed);
    QFETCH(int, current);
    QFETCH(QList<int>, selected);
    QListWidget list;
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.addItems({"apple", "banana", "Skip 100", "Skip 900", "skip 950", "sun"});
    list.setCurrentRow(0, QItemSelectionModel::NoUpdate);
    auto *typeAhead = new TypeAhead(&list);
    qint64 now = 1000;
    typeAhead->setClock([&now] { return now; });

    for (const QChar key : typed) {
        if (key == QLatin1Char('|')) {
            now += QApplication::keyboardInputInterval() + 1;
            continue;
        }
        now += 1;
        QTest::keyClick(&list, key.toLatin1());
    }

    QCOMPARE(list.currentRow(), current);
    QList<int> selectedLines;
    for (const QListWidgetItem *item : list.selectedItems()) {
        selectedLines.append(list.row(item));
    }
    QCOMPARE(selectedLines, selected);
}

QTEST_MAIN(TestTypeAhead)
#include "TestTypeAhead.moc"
