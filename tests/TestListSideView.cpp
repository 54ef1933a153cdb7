// The list view the editing routines write through: the program's own changes of lines,
// selection and current line never look like a click, a big list is built at once, and a
// marked line shows its mark whether it is selected or not.
#include "AnchoredLabel.h"
#include "ListSideView.h"
#include "WindowLook.h"

#include <QImage>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

class TestListSideView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changesByTheProgramRaiseNoClick();
    void selectionAndCurrentLineStayApart();
    void linesOutsideTheListAreIgnored();
    void labelsTakeTheTexts();
    void marksShowOnSelectedLinesToo_data();
    void marksShowOnSelectedLinesToo();

private:
    QWidget *m_window = nullptr;
    QListWidget *m_list = nullptr;
    AnchoredLabel *m_count = nullptr;
    AnchoredLabel *m_status = nullptr;
    ListSideView *m_view = nullptr;
};

void TestListSideView::init()
{
    m_window = new QWidget;
    m_list = new QListWidget(m_window);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_count = new AnchoredLabel(QRect(0, 300, 15, 58), AnchoredLabel::Anchor::Left, m_window);
    m_status = new AnchoredLabel(QRect(222, 8, 3, 13), AnchoredLabel::Anchor::Right, m_window);
    m_view = new ListSideView(m_list, m_count, m_status, Side::Left);
}

void TestListSideView::cleanup()
{
    delete m_view;
    delete m_window;
}

void TestListSideView::changesByTheProgramRaiseNoClick()
{
    QSignalSpy currentChanges(m_list, &QListWidget::currentRowChanged);
    QStringList lines;
    for (int i = 0; i < 1000; ++i) {
        lines.append(QStringLiteral("entry %1").arg(i));
    }
    m_view->setLines(lines);
    m_view->setCurrentLine(0);
    m_view->setLineSelected(3, true);
    m_view->setCurrentLine(999);
    // A moved block's first line must be seen, shown window or not.
    QVERIFY(m_list->viewport()->rect().contains(m_list->visualItemRect(m_list->item(999))));
    m_view->setCurrentLine(-1);
    QCOMPARE(m_view->lineCount(), 1000);
    QCOMPARE(m_list->item(999)->text(), QStringLiteral("entry 999"));
    QCOMPARE(currentChanges.count(), 0);
}

void TestListSideView::selectionAndCurrentLineStayApart()
{
    m_view->setLines({"a", "b", "c", "d"});
    QCOMPARE(m_view->currentLine(), -1);
    m_view->setLineSelected(1, true);
    m_view->setLineSelected(3, true);
    m_view->setCurrentLine(2);
    QCOMPARE(m_view->currentLine(), 2);
    QVERIFY(!m_view->isLineSelected(0));
    QVERIFY(m_view->isLineSelected(1));
    QVERIFY(!m_view->isLineSelected(2));
    QVERIFY(m_view->isLineSelected(3));
    m_view->setLineSelected(1, false);
    QCOMPARE(m_view->currentLine(), 2);
    QCOMPARE(m_list->selectedItems().size(), 1);

    // Lines selected one by one are kept as runs: taking one out of a run keeps the others.
    for (const int line : {0, 1, 2, 3}) {
        m_view->setLineSelected(line, true);
    }
    m_view->setLineSelected(2, false);
    m_view->setLineSelected(0, false);
    QCOMPARE(m_list->selectedItems(), QList<QListWidgetItem *>({m_list->item(1), m_list->item(3)}));
    QCOMPARE(m_view->currentLine(), 2);

    m_view->setLines({"x", "y"});
    QCOMPARE(m_view->currentLine(), -1);
    QVERIFY(m_list->selectedItems().isEmpty());
}

void TestListSideView::linesOutsideTheListAreIgnored()
{
    m_view->setLines({"a", "b"});
    m_view->setCurrentLine(1);
    m_view->setCurrentLine(2);
    m_view->setCurrentLine(-2);
    QCOMPARE(m_view->currentLine(), 1);
    m_view->setLineSelected(5, true);
    QVERIFY(!m_view->isLineSelected(5));
    QVERIFY(m_list->selectedItems().isEmpty());
}

void TestListSideView::labelsTakeTheTexts()
{
    QCOMPARE(m_status->caption(), QString());
    m_view->setStatusText(QStringLiteral("LOADING"));
    m_view->setCountText(QStringLiteral("12"));
    QCOMPARE(m_status->caption(), QStringLiteral("LOADING"));
    QCOMPARE(m_count->text(), QStringLiteral("12"));
    QCOMPARE(m_status->geometry().right(), 224); // still ends where it was laid out
}

void TestListSideView::marksShowOnSelectedLinesToo_data()
{
    QTest::addColumn<int>("mark"); // a LineMark
    QTest::addColumn<bool>("selected");
    const int none = int(LineMark::None);
    const int identical = int(LineMark::Identical);
    const int differs = int(LineMark::Differs);
    QTest::newRow("unmarked") << none << false;
    QTest::newRow("identical") << identical << false;
    QTest::newRow("differs") << differs << false;
    QTest::newRow("identical, selected") << identical << true;
    QTest::newRow("differs, selected") << differs << true;
}

void TestListSideView::marksShowOnSelectedLinesToo()
{
    QFETCH(int, mark);
    QFETCH(bool, selected);
    m_list->resize(200, 100);
    m_view->setLines({"a"});
    m_view->setLineMarks({LineMark(mark)});
    m_view->setLineSelected(0, selected);

    // Right of the text, where only the line's background is painted.
    const QRect line = m_list->visualItemRect(m_list->item(0));
    const QColor painted =
        m_list->viewport()->grab().toImage().pixelColor(line.right() - 2, line.center().y());
    if (LineMark(mark) == LineMark::None) {
        QCOMPARE(painted, m_list->palette().color(QPalette::Base));
    } else {
        const WindowLook::MarkColours colours = WindowLook::markColours(LineMark(mark));
        QCOMPARE(painted, selected ? colours.selected : colours.line);
    }
}

QTEST_MAIN(TestListSideView)
#include "TestListSideView.moc"
