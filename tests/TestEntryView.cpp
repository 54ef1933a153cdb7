// The entry view in the real window: F3 or a double-click opens it on the focused list's
// current line, a double-click leaves the line's selection alone, the view's keys take,
// undo and filter, and the view follows the list's arrow keys until F3 closes it.
#include "EntryView.h"
#include "Form1.h"
#include "WindowFixture.h"

#include <QAbstractItemModel>
#include <QClipboard>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QTest>

class TestEntryView : public WindowTest
{
    Q_OBJECT

private slots:
    void opensOnTheCurrentLineAndFollows_data();
    void opensOnTheCurrentLineAndFollows();

private:
    EntryView *entryView() const { return m_form->findChild<EntryView *>("EntryView"); }
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
    auto *lines = control<QListWidget>(qPrintable(list));
    const int line = list == QLatin1String("List1") ? 1 : 0;
    if (selected) {
        clickLine(lines, line);
    }
    lines->setFocus();
    lines->setCurrentRow(line, QItemSelectionModel::NoUpdate);

    if (opening == QLatin1String("F3")) {
        pressKeys(QStringLiteral("F3"));
        runPosted();
    } else {
        QTest::mouseDClick(lines->window()->windowHandle(), Qt::LeftButton, {},
                           lineInWindow(lines, line));
        runPosted();
        QCOMPARE(lines->item(line)->isSelected(), selected);
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

QTEST_MAIN(TestEntryView)
#include "TestEntryView.moc"
