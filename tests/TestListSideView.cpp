// The list view the editing routines write through: the program's own changes of lines,
// selection and current line never look like a click, a big list is built at once, a marked
// line shows its mark whether it is selected or not, and a preview of a copy shows on the
// selected lines alone. The view shows SRC and a fake shows DEST, both for an editor.
#include "AnchoredLabel.h"
#include "EntryList.h"
#include "FakeSideView.h"
#include "ListSideView.h"
#include "ToolTipText.h"
#include "WindowLook.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <memory>

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
    void nearNameShowsAsWritten();

private:
    // `side` lists `names`, as a load leaves it.
    void load(Side side, const QByteArrayList &names, const QByteArray &about = "about ")
    {
        m_editor->installLoadedSet(side, entriesNamed(names, about), "0.3", QString(), {});
    }
    QString text(int line) const { return m_list->model()->index(line, 0).data().toString(); }
    QList<int> selected() const { return ListSideView::selectedLines(m_list); }

    QWidget *m_window = nullptr;
    EntryList *m_list = nullptr;
    AnchoredLabel *m_count = nullptr;
    AnchoredLabel *m_status = nullptr;
    ListSideView *m_view = nullptr;
    PatchSets m_sets;
    FakeSideView m_dest;
    FakeSwitches m_switches;
    std::unique_ptr<PatchSetEditor> m_editor;
};

void TestListSideView::init()
{
    m_window = new QWidget;
    m_list = new EntryList(m_window);
    m_count = new AnchoredLabel(QRect(0, 300, 15, 58), AnchoredLabel::Anchor::Left, m_window);
    m_status = new AnchoredLabel(QRect(222, 8, 3, 13), AnchoredLabel::Anchor::Right, m_window);
    m_view = new ListSideView(m_list, m_count, m_status);
    m_sets = PatchSets();
    m_editor = std::make_unique<PatchSetEditor>(m_sets, *m_view, m_dest, m_switches);
}

void TestListSideView::cleanup()
{
    m_editor.reset();
    delete m_view;
    delete m_window;
}

void TestListSideView::changesByTheProgramRaiseNoClick()
{
    QSignalSpy currentChanges(m_list, &EntryList::currentLineChanged);
    QByteArrayList lines;
    for (int i = 0; i < 1000; ++i) {
        lines.append("entry " + QByteArray::number(i));
    }
    load(Side::Left, lines);
    m_view->setCurrentLine(0);
    m_view->selectLines({3});
    m_view->setCurrentLine(999);
    // A moved block's first line must be seen, shown window or not.
    QVERIFY(m_list->viewport()->rect().contains(m_list->visualRect(m_list->currentIndex())));
    m_view->setCurrentLine(-1);
    QCOMPARE(m_list->model()->rowCount(), 1000);
    QCOMPARE(text(999), QStringLiteral("entry 999"));
    QCOMPARE(currentChanges.count(), 0);
}

void TestListSideView::selectionAndCurrentLineStayApart()
{
    load(Side::Left, {"a", "b", "c", "d"});
    QCOMPARE(m_view->currentLine(), 0);
    m_view->selectLines({1, 3});
    m_view->setCurrentLine(2);
    QCOMPARE(m_view->currentLine(), 2);
    QCOMPARE(selected(), QList<int>({1, 3}));
    m_view->selectLines({3});
    QCOMPARE(m_view->currentLine(), 2);
    QCOMPARE(m_view->selectedLineCount(), 1);

    // Adjacent lines are one run, however many: Qt walks every run on each query.
    m_view->selectLines({0, 1, 2, 3});
    QCOMPARE(m_list->selectionModel()->selection().size(), 1);
    m_view->selectLines({1, 3});
    QCOMPARE(m_view->selectedLines(), QList<int>({1, 3}));
    QCOMPARE(m_view->currentLine(), 2);

    load(Side::Left, {"x", "y"});
    QCOMPARE(m_view->currentLine(), 0);
    QVERIFY(selected().isEmpty());
}

void TestListSideView::linesOutsideTheListAreIgnored()
{
    load(Side::Left, {"a", "b"});
    m_view->setCurrentLine(1);
    m_view->setCurrentLine(2);
    m_view->setCurrentLine(-2);
    QCOMPARE(m_view->currentLine(), 1);
    m_view->selectLines({5});
    QVERIFY(m_view->selectedLines().isEmpty());
    QVERIFY(selected().isEmpty());
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
    QTest::addColumn<int>("preview"); // the ListSideView::CopyEffect shown meanwhile
    const int none = int(LineMark::None);
    const int identical = int(LineMark::Identical);
    const int differs = int(LineMark::Differs);
    const int copied = int(ListSideView::CopyEffect::Copied);
    const int deleted = int(ListSideView::CopyEffect::Deleted);
    QTest::newRow("unmarked") << none << false << 0;
    QTest::newRow("identical") << identical << false << 0;
    QTest::newRow("differs") << differs << false << 0;
    QTest::newRow("identical, selected") << identical << true << 0;
    QTest::newRow("differs, selected") << differs << true << 0;
    // A preview changes a selected line, over its mark, and no other line.
    QTest::newRow("copied, selected") << differs << true << copied;
    QTest::newRow("deleted, selected") << identical << true << deleted;
}

void TestListSideView::marksShowOnSelectedLinesToo()
{
    QFETCH(int, mark);
    QFETCH(bool, selected);
    QFETCH(int, preview);
    m_list->resize(200, 100);
    load(Side::Left, {"a"}); // DEST has a copy of "a", another "a", or none
    load(Side::Right, {LineMark(mark) == LineMark::None ? "b" : "a"},
         LineMark(mark) == LineMark::Differs ? "other " : "about ");
    m_view->selectLines(selected ? QList<int>{0} : QList<int>{});

    // Right of the text, where only the line's background is painted.
    const QRect line = m_list->visualRect(m_list->model()->index(0, 0));
    const QColor painted =
        m_list->viewport()->grab().toImage().pixelColor(line.right() - 2, line.center().y());
    if (LineMark(mark) == LineMark::None) {
        QCOMPARE(painted, m_list->palette().color(QPalette::Base));
    } else {
        const WindowLook::MarkColours colours = WindowLook::markColours(LineMark(mark));
        QCOMPARE(painted, selected ? colours.selected : colours.line);
    }
    const QImage unchanged = m_list->viewport()->grab().toImage();
    m_view->previewCopy(ListSideView::CopyEffect(preview));
    QCOMPARE(m_list->viewport()->grab().toImage() != unchanged, selected && preview != 0);
}

// A name nearly the other side's says so, as written whatever markup it holds.
void TestListSideView::nearNameShowsAsWritten()
{
    load(Side::Left, {"<b>Fix</b> lives"});
    load(Side::Right, {"<b>FIX</b> lives "});
    const QString tip = m_list->model()->index(0, 0).data(Qt::ToolTipRole).toString();
    QCOMPARE(toolTipAsShown(tip), QStringLiteral("nearly the name of DEST's '<b>FIX</b> lives '"));
}

QTEST_MAIN(TestListSideView)
#include "TestListSideView.moc"
