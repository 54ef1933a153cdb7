// What the lists' lines show and take as the user works on them: the marks of shared entries
// through copies and undo, lines dragged within a list or from SRC onto DEST, what copy >>
// shows on the lines before it acts, the user's place in a long list, the list's menu and the
// count's breakdown, and the current line framed from the find box.
#include "Form1.h"
#include "LineMarks.h"
#include "ListGestures.h"
#include "ListSideView.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"
#include "WindowLook.h"

#include <QAccessible>
#include <QDrag>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QToolTip>

Q_DECLARE_METATYPE(OverwriteAnswer)

namespace {

// Keeps what the last drag carried. The platform here ends a drag as soon as it starts and
// deletes it at the next turn of the event loop, which a gesture given to the window runs
// before the test goes on; so the data is copied as the drag goes.
class DragWatch : public QObject
{
public:
    DragWatch() { QCoreApplication::instance()->installEventFilter(this); }
    QByteArray carried;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (const auto *drag = qobject_cast<QDrag *>(watched);
            drag != nullptr && event->type() == QEvent::DeferredDelete) {
            carried = drag->mimeData()->data(ListGestures::MimeType);
        }
        return false;
    }
};

} // namespace

class TestListLines : public WindowTest
{
    Q_OBJECT

private slots:
    void marksFollowCopyAndUndo_data();
    void marksFollowCopyAndUndo();
    void dragsMoveAndCopyLines_data();
    void dragsMoveAndCopyLines();
    void copySaysWhatItWillDo_data();
    void copySaysWhatItWillDo();
    void longListKeepsTheUsersPlace_data();
    void longListKeepsTheUsersPlace();
    void listMenuOffersItsCommands_data();
    void listMenuOffersItsCommands();
    void findBoxFramesTheCurrentLine();

private:
    // Each line's mark as assistive technology reads it ('.', '=' or '~', as in the marks
    // tables), checked against the line's tooltip and colour; the text stays the entry's name.
    void readMarks(QListView *list, Side side, QString &marks)
    {
        marks.clear();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list);
        QVERIFY(accessible != nullptr);
        for (int line = 0; line < list->model()->rowCount(); ++line) {
            const QModelIndex item = list->model()->index(line, 0);
            const QString description = accessible->child(line)->text(QAccessible::Description);
            LineMark mark = LineMark::None;
            for (const LineMark shown : {LineMark::Identical, LineMark::Differs}) {
                if (description == lineMarkText(side, shown)) {
                    mark = shown;
                }
            }
            marks += mark == LineMark::None ? '.' : mark == LineMark::Identical ? '=' : '~';
            // A differing line's tooltip also names what differs: here, always the description.
            QCOMPARE(item.data(Qt::ToolTipRole).toString(),
                     mark == LineMark::Differs ? description + QStringLiteral(" in Description")
                                               : description);
            const QBrush tint = lineTint(list, line);
            if (mark == LineMark::None) {
                QVERIFY2(description.isEmpty(), qPrintable(description));
                QCOMPARE(tint.style(), Qt::NoBrush);
            } else {
                QCOMPARE(tint.color(), WindowLook::markColours(mark).line);
            }
            QVERIFY(!item.data().toString().contains(QLatin1String("also")));
        }
    }
};

void TestListLines::marksFollowCopyAndUndo_data()
{
    // One mark per line: '.' none, '=' identical, '~' differs.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("srcMarks");
    QTest::addColumn<QString>("destMarks");
    QTest::addColumn<QString>("asked"); // "SRC | DEST" marks while the first question is open
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("loaded") << "" << ".~=" << "~=." << "";
    QTest::newRow("copy") << "Alt+Right" << "=~=" << "~=.=" << "";
    QTest::newRow("copy undone") << "Alt+Right, Ctrl+Z" << ".~=" << "~=." << "";
    QTest::newRow("copy redone") << "Alt+Right, Ctrl+Z, Ctrl+Y" << "=~=" << "~=.=" << "";
    // The question about b comes after DEST's lines were rebuilt; they keep their marks.
    QTest::newRow("while asked") << "Ctrl+A, Alt+Right" << "=~=" << "~=.=" << ".~= | ~=.";
    // clang-format on
}

void TestListLines::marksFollowCopyAndUndo()
{
    QFETCH(QString, keys);
    QFETCH(QString, srcMarks);
    QFETCH(QString, destMarks);
    QFETCH(QString, asked);
    QByteArray dest = patchSetBytes({"b", "c", "d"});
    dest.replace("Description=b described", "Description=b changed");
    m_dialogs->fileNames << writeFile(*m_folder, "src.tvr", patchSetBytes({"a", "b", "c"}))
                         << writeFile(*m_folder, "dest.tvr", dest);
    click("Command2");
    click("Command3");
    auto *srcList = control<QListView>("List1");
    clickLine(srcList, 0);
    // The lines' tints alone, as a user sees them while the question is open.
    const auto tints = [](const QListView *list) {
        QString marks;
        for (int line = 0; line < list->model()->rowCount(); ++line) {
            const QBrush tint = lineTint(list, line);
            const bool same = tint.color() == WindowLook::markColours(LineMark::Identical).line;
            marks += tint.style() == Qt::NoBrush ? '.' : same ? '=' : '~';
        }
        return marks;
    };
    QString askedMarks;
    m_dialogs->whileAsking = [&] {
        if (askedMarks.isEmpty()) {
            askedMarks =
                tints(srcList) + QStringLiteral(" | ") + tints(control<QListView>("List2"));
        }
    };
    if (!asked.isEmpty()) {
        m_dialogs->answers << OverwriteAnswer::NoToAll;
    }

    pressKeys(keys);

    QCOMPARE(askedMarks, asked);
    QString marks;
    readMarks(srcList, Side::Left, marks);
    QCOMPARE(marks, srcMarks);
    readMarks(control<QListView>("List2"), Side::Right, marks);
    QCOMPARE(marks, destMarks);
}

// A press on line `pressed` of one list moves on until a drag starts; what it carries is
// entered, moved and dropped before line `place` of a list (its line count: below its last).
void TestListLines::dragsMoveAndCopyLines_data()
{
    QTest::addColumn<QString>("before"); // as arrange() takes it
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<QString>("onto");
    QTest::addColumn<int>("place");
    QTest::addColumn<QList<OverwriteAnswer>>("answers"); // to the overwrite questions, one each
    QTest::addColumn<Qt::DropAction>("action");
    QTest::addColumn<QString>("after"); // as picture() gives it
    QTest::addColumn<bool>("forged");   // dropped as another program could make it
    const QList<OverwriteAnswer> none;
    const QList<OverwriteAnswer> yes = {OverwriteAnswer::Yes};
    // Laid out by hand: the formatter would give every value of a row a line of its own.
    // clang-format off
    QTest::newRow("a line within DEST") << "a | >x, [y], z" << "List2" << 0 << "List2" << 3 << none
                                        << Qt::MoveAction << ">a | [y], z, >x" << false;
    QTest::newRow("the selection within SRC") << "[a], b, >[c], d | x" << "List1" << 2 << "List1"
                                              << 4 << none << Qt::MoveAction
                                              << "b, d, >[a], [c] | >x" << false;
    QTest::newRow("SRC onto DEST, one question") << "a, [b~], >[c] | x, b" << "List1" << 1
                                                 << "List2" << 0 << yes << Qt::CopyAction
                                                 << "a, [b], >[c] | >c, x, b" << false;
    QTest::newRow("DEST onto SRC refused") << "a | >x, [y]" << "List2" << 1 << "List1" << 0 << none
                                           << Qt::IgnoreAction << ">a | >x, [y]" << false;
    QTest::newRow("SRC onto DEST without a set") << "a, b | -" << "List1" << 0 << "List2" << 0
                                                 << none << Qt::IgnoreAction << ">a, b | -"
                                                 << false;
    QTest::newRow("forged, within DEST") << "a | >x, [y], z" << "List2" << 1 << "List2" << 3
                                         << none << Qt::IgnoreAction << ">a | >x, [y], z" << true;
    // clang-format on
}

void TestListLines::dragsMoveAndCopyLines()
{
    QFETCH(QString, before);
    QFETCH(QString, from);
    QFETCH(int, pressed);
    QFETCH(QString, onto);
    QFETCH(int, place);
    QFETCH(QList<OverwriteAnswer>, answers);
    QFETCH(Qt::DropAction, action);
    QFETCH(QString, after);
    QFETCH(bool, forged);
    arrange(before);
    m_dialogs->answers = answers;
    const PatchSets arranged = m_form->sets();
    const QString arrangedPicture = picture();

    // The press and the move go through the window, so the drag starts as a user's would.
    auto *source = control<QListView>(qPrintable(from));
    QWindow *window = m_form->windowHandle();
    const QPoint grip = lineInWindow(source, pressed);
    const DragWatch watch;
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(0, QApplication::startDragDistance()));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grip + QPoint(0, 20));
    QVERIFY(!watch.carried.isEmpty());
    QMimeData carried;
    // What another program could write: the lines named, and the process by its number.
    carried.setData(ListGestures::MimeType,
                    forged ? QByteArray::number(QCoreApplication::applicationPid())
                            + watch.carried.mid(watch.carried.indexOf(' '))
                           : watch.carried);
    QCOMPARE(picture(), arrangedPicture); // a drag changes no selection and no current line

    auto *target = control<QListView>(qPrintable(onto));
    const int count = target->model()->rowCount();
    const QRect line = target->visualRect(target->model()->index(std::min(place, count - 1), 0));
    const QPoint point =
        place < count ? line.topLeft() + QPoint(10, 2) : line.bottomLeft() + QPoint(10, 8);
    // While the drag waits there, an insertion line shows where the lines would go.
    QDragEnterEvent hover(point, Qt::MoveAction | Qt::CopyAction, &carried, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target->viewport(), &hover);
    const auto *dropLine = target->viewport()->findChild<QWidget *>(QStringLiteral("dropLine"));
    QCOMPARE(dropLine->isVisible(), action != Qt::IgnoreAction);
    const int edge = place < count ? line.top() : line.bottom() + 1;
    QVERIFY(!dropLine->isVisible() || qAbs(dropLine->geometry().center().y() - edge) <= 1);
    QCOMPARE(dropLine->palette().color(dropLine->backgroundRole()),
             target->palette().color(QPalette::Text));

    const QList<Qt::DropAction> answered =
        dragOnto(target->viewport(), carried, point, Qt::MoveAction | Qt::CopyAction);
    QCOMPARE(answered, QList<Qt::DropAction>(3, action));
    QCoreApplication::processEvents(); // the drop acts once it is over

    QCOMPARE(picture(), after);
    QCOMPARE(m_dialogs->shown.size(), answers.size());
    QCOMPARE(m_form->sets().SrcPath, arranged.SrcPath); // dragged lines are never a file
    QCOMPARE(m_form->sets().DestPath, arranged.DestPath);
    QVERIFY(!dropLine->isVisible());
}

void TestListLines::copySaysWhatItWillDo_data()
{
    QTest::addColumn<QString>("before");  // as arrange() takes it
    QTest::addColumn<QString>("keys");    // pressed on SRC, with the pointer on "copy >>"
    QTest::addColumn<QString>("preview"); // the lines shown copied (+) and deleted (-) meanwhile
    QTest::addColumn<QString>("effect");  // what the tooltip says a press does
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("SRC alone") << "[a] | -" << "" << ""
                               << "does nothing until SRC and DEST both hold a set";
    QTest::newRow("nothing selected") << "a | x" << "" << ""
                                      << "does nothing, since no SRC or DEST entry is selected";
    QTest::newRow("one SRC entry") << "[a], b | x" << "" << "+a" << "copies 1 selected SRC entry";
    QTest::newRow("DEST entries") << "a | [x], y, [z]" << "" << "-x, -z"
                                  << "deletes 2 selected DEST entries";
    QTest::newRow("both") << "[a], [b] | [x], [y], [z]" << "" << "+a, +b, -x, -y, -z"
                          << "deletes 3 selected DEST entries, then copies 2 selected SRC entries";
    QTest::newRow("select all") << "a, b | [x]" << "Ctrl+A" << "+a, +b, -x"
                                << "deletes 1 selected DEST entry, then copies 2 selected SRC "
                                   "entries";
    // An identical namesake stays as it is, unless it is deleted first.
    QTest::newRow("identical namesakes") << "[a], [b~], [c], [d] | a, b, [c], d" << ""
                                         << "+a, +b, +c, +d, -c"
                                         << "deletes 1 selected DEST entry, then copies 4 "
                                            "selected SRC entries; 2 identical namesakes stay "
                                            "as they are";
    QTest::newRow("after the copy") << "[a] | [x]" << "Alt+Right" << ""
                                    << "does nothing, since no SRC or DEST entry is selected";
    // clang-format on
}

// The tooltip says what a press would do; resting the pointer on the button or tabbing to it
// shows it on the lines, and changes nothing.
void TestListLines::copySaysWhatItWillDo()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, preview);
    QFETCH(QString, effect);
    arrange(before);
    const auto previewed = [this] {
        QStringList lines;
        for (const char *name : {"List1", "List2"}) {
            const auto *list = control<QListView>(name);
            for (int line = 0; line < list->model()->rowCount(); ++line) {
                const QModelIndex index = list->model()->index(line, 0);
                const int shown = index.data(ListSideView::CopyEffectRole).toInt();
                const auto copied = int(ListSideView::CopyEffect::Copied);
                lines << (shown == 0 ? "" : shown == copied ? "+" : "-") + index.data().toString();
            }
        }
        return lines.filter(QRegularExpression(QStringLiteral("^[+-]"))).join(QStringLiteral(", "));
    };
    const QString arranged = picture();
    auto *copy = control<QPushButton>("Command1");
    QWindow *window = copy->window()->windowHandle();
    QTest::mouseMove(window, copy->mapTo(copy->window(), copy->rect().center()));
    QCOMPARE(picture(), arranged);
    control<QListView>("List1")->setFocus();
    pressKeys(keys);
    QCoreApplication::processEvents(); // the text is written once the change is over

    const QString expected = QStringLiteral("copy >>: ") + effect
        + QStringLiteral(" (Alt+Right, Ctrl+Right)\nCtrl+Z undoes it, Ctrl+Shift+Z or Ctrl+Y "
                         "redoes it");
    QCOMPARE(copy->toolTip(), expected);
    QCOMPARE(copy->accessibleDescription(), expected);
    QCOMPARE(previewed(), preview);
    QTest::mouseMove(window, QPoint(2, 2));
    QCOMPARE(previewed(), QString());
    control<QWidget>("Command8")->setFocus();
    pressKeys(QStringLiteral("Tab"));
    QCOMPARE(previewed(), preview);
    pressKeys(QStringLiteral("Tab"));
    QCOMPARE(previewed(), QString());
}

// DEST lists 300 entries; the user's place is line 150, current, and the list must show
// the lines around it after the command rather than its top.
void TestListLines::longListKeepsTheUsersPlace_data()
{
    QTest::addColumn<bool>("selected"); // whether line 150 is selected too
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<OverwriteAnswer>>("answers");
    QTest::addColumn<QString>("current"); // the current DEST line's text afterwards
    QTest::newRow("Delete") << true << "Delete" << QList<OverwriteAnswer>{} << "d151";
    QTest::newRow("copy, declined")
        << false << "Alt+Right" << QList<OverwriteAnswer>{OverwriteAnswer::No} << "d150";
    QTest::newRow("copy, cancelled after a delete")
        << true << "Alt+Right" << QList<OverwriteAnswer>{OverwriteAnswer::Cancel} << "d151";
}

void TestListLines::longListKeepsTheUsersPlace()
{
    QFETCH(bool, selected);
    QFETCH(QString, keys);
    QFETCH(QList<OverwriteAnswer>, answers);
    QFETCH(QString, current);
    QStringList dest;
    for (int line = 0; line < 300; ++line) {
        dest.append(QStringLiteral("d%1").arg(line, 3, 10, QLatin1Char('0')));
    }
    arrange(QStringLiteral("d200~ | ") + dest.join(QStringLiteral(", ")));
    auto *list = control<QListView>("List2");
    clickLine(list, 150);
    if (!selected) {
        clickLine(list, 150);
    }
    if (!answers.isEmpty()) {
        clickLine(control<QListView>("List1"), 0);
    }
    m_dialogs->answers = answers;
    pressKeys(keys);

    QCOMPARE(list->currentIndex().data().toString(), current);
    const QRect sight = list->viewport()->rect();
    QVERIFY(sight.contains(list->visualRect(list->currentIndex())));
    // Around it, not at an edge: the line in the middle of the list is that line or a neighbour.
    const int middle = list->indexAt(sight.center()).row();
    QVERIFY2(qAbs(middle - list->currentIndex().row()) <= 1, qPrintable(QString::number(middle)));
}

// SRC lists a, b and c, DEST b (which differs), x (whose load left a note), c and y. The menu
// of a list opens by a right click, the Menu key or Shift+F10 on it, names every key of its
// items, and acts on its list; the DEST count tells the same breakdown whatever is shown.
void TestListLines::listMenuOffersItsCommands_data()
{
    QTest::addColumn<QString>("how"); // as openListMenu() takes it
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("item");  // chosen from the menu
    QTest::addColumn<QString>("after"); // as picture() gives it
    QTest::addColumn<QString>("sign");  // DEST's filter sign, or "" while its bar is closed
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("right click") << "right click" << "List2" << "Select differing"
                                 << ">a, b, c | [b], x, >c, y" << "";
    QTest::newRow("Menu key") << "Menu" << "List2" << "Select those only in DEST"
                              << ">a, b, c | b, [x], >c, [y]" << "";
    QTest::newRow("Shift+F10 in SRC") << "Shift+F10" << "List1" << "Select identical"
                                      << ">a, b, [c] | b, x, >c, y" << "";
    QTest::newRow("show only shared") << "right click" << "List2" << "Show only shared"
                                      << ">a, b, c | b, >c" << "2 of 4 shared";
    QTest::newRow("next difference") << "right click" << "List2" << "Next difference"
                                     << ">a, b, c | >b, x, c, y" << "";
    QTest::newRow("find") << "right click" << "List2" << "Find\u2026" << ">a, b, c | b, x, >c, y"
                          << "4 of 4";
    QTest::newRow("load notes") << "right click" << "List2" << "Load notes\u2026"
                                << ">a, b, c | b, x, >c, y" << "";
    // clang-format on
}

void TestListLines::listMenuOffersItsCommands()
{
    QFETCH(QString, how);
    QFETCH(QString, list);
    QFETCH(QString, item);
    QFETCH(QString, after);
    QFETCH(QString, sign);
    arrange("a, b~, c | b, x!, >c, y");
    auto *lines = control<QListView>(qPrintable(list));
    QMenu *menu = openListMenu(lines, how);
    QVERIFY(menu != nullptr);
    QStringList items;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator()) {
            const QString key = action->shortcut().toString(QKeySequence::NativeText);
            items.append(key.isEmpty() ? action->text() : action->text() + " (" + key + ")");
        }
    }
    const QString side = list == QLatin1String("List1") ? "SRC" : "DEST";
    QStringList expected = {"Select differing (Ctrl+Shift+D)", "Select identical",
                            "Select shared", "Select those only in " + side,
                            "Select all shown (Ctrl+A)", "Invert selection",
                            "Clear selection (Ctrl+Shift+A)", "Next difference (F7)",
                            "Previous difference (Shift+F7)", "Find\u2026 (Ctrl+F)",
                            "Show only differing", "Show only shared",
                            "Show only those only in " + side, "Show all"};
    if (side == QLatin1String("DEST")) {
        expected.append("Load notes\u2026");
    }
    QCOMPARE(items, expected);
    QVERIFY(chooseFromMenu(menu, item));

    QCOMPARE(picture(), after);
    const auto *bar = control<QWidget>("destFilterBar");
    QCOMPARE(bar->isVisible() ? control<QLabel>("destFilterSign")->text() : QString(), sign);
    QCOMPARE(control<QWidget>("destFind")->hasFocus(), item.startsWith(QLatin1String("Find")));
    const auto *notes = m_form->findChild<QWidget *>(QStringLiteral("notesWindow"));
    QCOMPARE(notes != nullptr && notes->isVisible(), item.startsWith(QLatin1String("Load")));

    // The count's breakdown, as its tooltip and as assistive technology reads it.
    auto *count = control<QLabel>("Label9");
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), count->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(count, &help);
    const QString breakdown = "4 entries: 2 also in SRC (1 differs, 1 identical), 2 only in DEST";
    QCOMPARE(QToolTip::text(), breakdown);
    QCOMPARE(QAccessible::queryAccessibleInterface(count)->text(QAccessible::Description),
             breakdown);
    QCOMPARE(QAccessible::queryAccessibleInterface(count)->text(QAccessible::Name),
             QStringLiteral("4"));
}

// F7 from the find box moves the current line of its list, which the list frames then as it
// does while it has the focus itself, and no longer once the focus is elsewhere.
void TestListLines::findBoxFramesTheCurrentLine()
{
    arrange("a, b~ | b, c, >x");
    auto *list = control<QListView>("List2");
    list->setFocus();
    pressKeys(QStringLiteral("Ctrl+F, F7"));
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("b"));
    const QRect line = list->visualRect(list->currentIndex());
    const QImage framed = list->viewport()->grab(line).toImage();
    control<QWidget>("Command12")->setFocus();
    QVERIFY(list->viewport()->grab(line).toImage() != framed);
}

QTEST_MAIN(TestListLines)
#include "TestListLines.moc"
