// The entry view in the real window: F3 or a double-click opens it on the focused list's
// current line, a double-click leaves the line's selection alone, the view's keys take,
// undo and filter, and the view follows the list's arrow keys until F3 closes it.
#include "EntryRowsModel.h"
#include "EntryView.h"
#include "Form1.h"
#include "LimitSets.h"
#include "LineMarks.h"
#include "SlotEdits.h"
#include "WindowFixture.h"
#include "WindowLook.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QWindow>

#include <algorithm>

class TestEntryView : public WindowTest
{
    Q_OBJECT

private slots:
    void opensOnTheCurrentLineAndFollows_data();
    void opensOnTheCurrentLineAndFollows();
    void paintsEveryRowAtEveryWidth_data();
    void paintsEveryRowAtEveryWidth();
    void showsTextsAsWrittenOnTheScreen_data();
    void showsTextsAsWrittenOnTheScreen();
    void walksTheDifferencesOfItsList_data();
    void walksTheDifferencesOfItsList();

private:
    // Loads `src` and `dest` and opens the view with F3 on line `line` of `list`.
    EntryView *openOn(const PatchTable &src, const PatchTable &dest, const char *list, int line)
    {
        m_dialogs->fileNames << writeFile(*m_folder, "src.tvr", limits::fileText(src))
                             << writeFile(*m_folder, "dest.tvr", limits::fileText(dest));
        click("Command2");
        click("Command3");
        auto *lines = control<QListView>(list);
        lines->setFocus();
        setCurrentLine(lines, line);
        pressKeys(QStringLiteral("F3"));
        runPosted();
        return entryView();
    }
    EntryView *entryView() const { return m_form->findChild<EntryView *>("EntryView"); }
    // The tooltip on screen, Qt's own label.
    static const QLabel *tipLabel()
    {
        for (const QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("qtooltip_label") && window->isVisible()) {
                return static_cast<const QLabel *>(window);
            }
        }
        return nullptr;
    }
    // What the view shows: its title, then its headline and how many rows it lists.
    QString shown() const
    {
        const EntryView *view = entryView();
        if (view == nullptr) {
            return QStringLiteral("closed");
        }
        return view->windowTitle() + QStringLiteral(" | ")
            + view->findChild<QLabel *>("headline")->text()
            + QStringLiteral(" | %1 rows")
                  .arg(view->findChild<QTableView *>("rows")->model()->rowCount());
    }
    // The window deletes a closed view once its events run.
    static void runPosted()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// SRC lists a, b and c; DEST lists b, described otherwise, and x.
void TestEntryView::opensOnTheCurrentLineAndFollows_data()
{
    QTest::addColumn<QString>("list");    // where the view is opened, on line 1 of SRC or 0 of DEST
    QTest::addColumn<QString>("opening"); // "F3", or a double-click on that line
    QTest::addColumn<bool>("selected");   // whether that line is selected before
    QTest::addColumn<QString>("viewKeys"); // pressed in the view once it is open
    QTest::addColumn<QString>("inView");   // what the view shows then
    QTest::addColumn<QString>("copied");   // and what the clipboard holds
    QTest::addColumn<QString>("followed"); // and after Down in the list

    const QString differs = QStringLiteral("Entry: b | SRC: 1 of 9 fields differ | 9 rows");
    const QString followed =
        QStringLiteral("Entry: c | SRC: no entry of this name in DEST | 9 rows");
    const QString destDiffers = QStringLiteral("Entry: b | DEST: 1 of 9 fields differ | 9 rows");
    const QString destFollowed =
        QStringLiteral("Entry: x | DEST: no entry of this name in SRC | 9 rows");
    // clang-format off
    QTest::newRow("F3 in SRC") << "List1" << "F3" << false << "" << differs << "" << followed;
    QTest::newRow("F3 in DEST") << "List2" << "F3" << true << "" << destDiffers << ""
                                << destFollowed;
    QTest::newRow("double-click an unselected line") << "List1" << "double-click" << false << ""
                                                     << differs << "" << followed;
    QTest::newRow("double-click a selected line") << "List1" << "double-click" << true << ""
                                                  << differs << "" << followed;
    QTest::newRow("double-click in DEST") << "List2" << "double-click" << false << ""
                                          << destDiffers << "" << destFollowed;
    // Only differences stays on while the view is open.
    QTest::newRow("Ctrl+D, Ctrl+C") << "List1" << "F3" << false << "Ctrl+D, Ctrl+C"
                                    << "Entry: b | SRC: 1 of 9 fields differ | 1 rows"
                                    << "Description\tb described\tb changed"
                                    << "Entry: c | SRC: no entry of this name in DEST | 9 rows";
    QTest::newRow("Alt+Right takes every row")
        << "List1" << "F3" << false << "Ctrl+A, Alt+Right"
        << "Entry: b | SRC: identical to its namesake in DEST | 9 rows" << "" << followed;
    QTest::newRow("Ctrl+Z in the view undoes it") << "List1" << "F3" << false
                                                  << "Ctrl+A, Ctrl+Right, Ctrl+Z" << differs << ""
                                                  << followed;
    QTest::newRow("Escape closes") << "List1" << "F3" << false << "Escape" << "closed" << ""
                                   << "closed";
    // clang-format on
}

void TestEntryView::opensOnTheCurrentLineAndFollows()
{
    QFETCH(QString, list);
    QFETCH(QString, opening);
    QFETCH(bool, selected);
    QFETCH(QString, viewKeys);
    QFETCH(QString, inView);
    QFETCH(QString, copied);
    QFETCH(QString, followed);
    QGuiApplication::clipboard()->clear();
    QByteArray dest = patchSetBytes({"b", "x"});
    dest.replace("Description=b described", "Description=b changed");
    m_dialogs->fileNames << writeFile(*m_folder, "src.tvr", patchSetBytes({"a", "b", "c"}))
                         << writeFile(*m_folder, "dest.tvr", dest);
    click("Command2");
    click("Command3");
    auto *lines = control<QListView>(qPrintable(list));
    const int line = list == QLatin1String("List1") ? 1 : 0;
    if (selected) {
        clickLine(lines, line);
    }
    lines->setFocus();
    setCurrentLine(lines, line);

    if (opening == QLatin1String("F3")) {
        pressKeys(QStringLiteral("F3"));
        runPosted();
    } else {
        QTest::mouseDClick(lines->window()->windowHandle(), Qt::LeftButton, {},
                           lineInWindow(lines, line));
        runPosted();
        QCOMPARE(isLineSelected(lines, line), selected);
    }
    QPointer<EntryView> view = entryView();
    QVERIFY(view != nullptr);
    runPosted();
    QCOMPARE(QApplication::activeWindow(), view.data());
    pressKeys(viewKeys);
    runPosted();
    QCOMPARE(shown(), inView);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);

    m_form->activateWindow();
    runPosted();
    QCOMPARE(QApplication::activeWindow(), m_form);
    lines->setFocus();
    pressKeys(QStringLiteral("Down"));
    QCOMPARE(shown(), followed);
    pressKeys(QStringLiteral("F3"));
    runPosted();
    QVERIFY(view == nullptr || followed == QLatin1String("closed"));
}

// SRC lists a, b, c and d, of which a, c and d differ from their DEST namesakes, and shows
// only the differing ones; the view opens on a.
void TestEntryView::walksTheDifferencesOfItsList_data()
{
    QTest::addColumn<QString>("viewKeys");
    QTest::addColumn<QString>("entry"); // the view's title then
    QTest::addColumn<int>("lines");     // the SRC lines shown
    QTest::newRow("F7") << "F7" << "Entry: c" << 3;
    QTest::newRow("F7, wrapping") << "F7, F7, F7" << "Entry: a" << 3;
    QTest::newRow("Shift+F7") << "Shift+F7" << "Entry: d" << 3;
    // The entry taken is the same on both sides now, so the list moves on to the next one.
    QTest::newRow("take moves on") << "Ctrl+A, Alt+Right" << "Entry: c" << 2;
    QTest::newRow("take undone") << "Ctrl+A, Alt+Right, Ctrl+Z" << "Entry: c" << 3;
}

void TestEntryView::walksTheDifferencesOfItsList()
{
    QFETCH(QString, viewKeys);
    QFETCH(QString, entry);
    QFETCH(int, lines);
    QByteArray src = patchSetBytes({"a", "b", "c", "d"});
    for (const char *name : {"a", "c", "d"}) {
        const QByteArray described = QByteArray("Description=") + name;
        src.replace(described + " described", described + " changed");
    }
    m_dialogs->fileNames << writeFile(*m_folder, "src.tvr", src)
                         << writeFile(*m_folder, "dest.tvr", patchSetBytes({"a", "b", "c", "d"}));
    click("Command2");
    click("Command3");
    auto *list = control<QListView>("List1");
    QMenu *menu = openListMenu(list, QStringLiteral("right click"));
    QVERIFY(menu != nullptr);
    QVERIFY(chooseFromMenu(menu, QStringLiteral("Show only differing")));
    QCOMPARE(listLines(list), QStringList({"a", "c", "d"}));
    pressKeys(QStringLiteral("F3"));
    runPosted();
    QVERIFY(entryView() != nullptr);

    pressKeys(viewKeys);
    runPosted();
    QCOMPARE(entryView()->windowTitle(), entry);
    QCOMPARE(list->model()->rowCount(), lines);
    QCOMPARE(list->currentIndex().data().toString(), entry.section(QLatin1Char(' '), 1));
    QVERIFY(selectedLines(list).isEmpty()); // the keys move the current line, select nothing
}

// SRC lists a pair's SRC entry and one alone; DEST the pair's DEST entry and one alone. The
// pair differs in the middle of a 60000-character text, a data text and a parameter, and
// holds a data slot that only DEST uses.
void TestEntryView::paintsEveryRowAtEveryWidth_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("marked"); // whether differing stretches are painted in the mark
    QTest::newRow("pair seen from SRC") << "List1" << 0 << true;
    QTest::newRow("pair seen from DEST") << "List2" << 0 << true;
    QTest::newRow("alone in SRC") << "List1" << 1 << false;
    QTest::newRow("alone in DEST") << "List2" << 1 << false;
}

void TestEntryView::paintsEveryRowAtEveryWidth()
{
    QFETCH(QString, list);
    QFETCH(int, line);
    QFETCH(bool, marked);
    using namespace PatchSetFormat;
    PatchEntry src = limits::entryWithLong(KeyDeflData, MaxValueLength);
    src.Description = limits::text("Described at length. ", MaxValueLength);
    PatchEntry dest = src;
    dest.Description[MaxValueLength / 2] = '!';
    setDataSlot(
        dest, 42,
        {"1A2B3C", dataSlot(src, 42).DeflData.replace(MaxValueLength / 2, 2, "00"), {}, {}});
    setDataSlot(dest, 5, {"10", "EE", {}, {}});
    setParameterSlot(dest, 7, {1, "7F", "4", "Lives and more", 1});
    EntryView *view = openOn({src, limits::entryWithLong(KeyName, 12)},
                             {dest, limits::entryWithLong(KeyName, 14)}, qPrintable(list), line);
    QVERIFY(view != nullptr);
    auto *table = view->findChild<QTableView *>("rows");

    // Each cell through its delegate at every width from one pixel on, selected and not, on
    // a surface as dense as the window's screen.
    const qreal ratio = table->devicePixelRatioF();
    const QRgb mark = WindowLook::markColours(LineMark::Differs).selected.rgb();
    bool sawMark = false;
    for (int width = 1; width <= 600; ++width) {
        QImage surface(QSize(width, 200) * ratio, QImage::Format_RGB32);
        surface.setDevicePixelRatio(ratio);
        QPainter painter(&surface);
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            for (const int column : {EntryRowsModel::SrcColumn, EntryRowsModel::DestColumn}) {
                QStyleOptionViewItem option;
                option.initFrom(table);
                option.rect = QRect(0, 0, width, table->rowHeight(row));
                option.state.setFlag(QStyle::State_Selected, row % 2 == 1);
                painter.fillRect(option.rect, Qt::white);
                table->itemDelegateForColumn(column)->paint(&painter, option,
                                                            table->model()->index(row, column));
                const auto *pixels = reinterpret_cast<const QRgb *>(surface.constBits());
                const auto end = pixels + surface.width() * qRound(option.rect.height() * ratio);
                sawMark = sawMark || (width == 600 && std::find(pixels, end, mark) != end);
            }
        }
    }
    QCOMPARE(sawMark, marked);
    // And the real window, narrowed as far as it goes.
    for (const int width : {1, 300}) {
        view->resize(width, view->height());
        view->grab();
    }
}

// Names and values as a file may hold them, each read in the view as it is written: the
// window title, the tooltips and a copy of the Name row. The view and its tooltips stay on
// the screen, which the offscreen platform makes 800 pixels square at scale 1 and half that
// at scale 2, where the view's own size would not fit.
void TestEntryView::showsTextsAsWrittenOnTheScreen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("descriptionTip"); // how the Description cell's tooltip reads

    const QString image = QStringLiteral("<img src=\"/dev/zero\">");
    const QString digits =
        QString::fromLatin1(limits::text("0123456789ABCDEF", PatchSetFormat::MaxValueLength));
    // clang-format off
    QTest::newRow("image") << "Fix " + image << image + " here" << image + " here";
    QTest::newRow("bold") << "<b>x</b>" << "<b>y</b>" << "<b>y</b>";
    // A file's value ends at a semicolon, so it never holds a whole entity.
    QTest::newRow("entity") << "a &amp b" << "&lt &#65" << "&lt &#65";
    QTest::newRow("modified mark") << "Keep [*] and [*][*]" << "[*]" << "[*]";
    QTest::newRow("60000 digits") << "Long" << digits << digits.left(300) + "\u2026";
    // clang-format on
}

void TestEntryView::showsTextsAsWrittenOnTheScreen()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, descriptionTip);
    QGuiApplication::clipboard()->clear();
    PatchEntry entry;
    entry.Omnipresence = 1;
    entry.Name = name.toLatin1();
    entry.Description = description.toLatin1();
    EntryView *view = openOn({entry}, {entry}, "List1", 0);
    QVERIFY(view != nullptr);
    QCOMPARE(view->windowHandle()->title(), "Entry: " + name);
    const QRect screen = m_form->screen()->availableGeometry();
    QVERIFY(screen.contains(view->frameGeometry()));
    QCOMPARE(view->size() == QSize(760, 520), screen.width() >= 800); // its own size if it fits

    auto *table = view->findChild<QTableView *>("rows");
    QStringList toolTips;
    for (const int row : {1, 2}) { // Name, Description
        const QRect cell = table->visualRect(table->model()->index(row, EntryRowsModel::SrcColumn));
        QHelpEvent hover(QEvent::ToolTip, cell.center(), view->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(table->viewport(), &hover);
        const QLabel *tip = tipLabel();
        QVERIFY(tip != nullptr);
        QVERIFY(screen.contains(QRect(screen.topLeft(), tip->size())));
        QTextDocument read;
        read.setHtml(tip->text());
        toolTips.append(read.toPlainText().remove(QChar(0x200B)));
    }
    QCOMPARE(toolTips, QStringList({name, descriptionTip}));

    pressKeys(QStringLiteral("Down, Ctrl+C"));
    QCOMPARE(QGuiApplication::clipboard()->text(), "Name\t" + name + '\t' + name);
}

QTEST_MAIN(TestEntryView)
#include "TestEntryView.moc"
