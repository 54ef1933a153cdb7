// Files dropped on the window: one local file on a list loads into its side as its LOAD
// button would, always taken as a copy; every other drop is refused and changes nothing.
// The events go through the application as the platform's would, so a drop only arrives
// where a drag enter was accepted.
#include "Form1.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QUrl>

class TestFileDrop : public WindowTest
{
    Q_OBJECT

private slots:
    void dropLoadsOneLocalFileAsACopy_data();
    void dropLoadsOneLocalFileAsACopy();
};

void TestFileDrop::dropLoadsOneLocalFileAsACopy_data()
{
    QTest::addColumn<QString>("target");      // a list (its viewport) or another control
    QTest::addColumn<QStringList>("dragged"); // file names in the test folder, or URLs
    QTest::addColumn<Qt::DropActions>("offered");
    QTest::addColumn<Qt::DropAction>("proposed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("loads"); // the side that then holds a.tvr, or ""
    QTest::addColumn<QString>("message");
    const Qt::DropActions copyOrMove = Qt::CopyAction | Qt::MoveAction;
    const Qt::DropActions moveOnly = Qt::MoveAction;
    const QStringList one = {"a.tvr"};
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("on SRC") << "List1" << one << copyOrMove << Qt::CopyAction << true << "SRC"
                            << "";
    QTest::newRow("on DEST") << "List2" << one << copyOrMove << Qt::CopyAction << true << "DEST"
                             << "";
    QTest::newRow("on SRC's find box") << "srcFind" << one << copyOrMove << Qt::CopyAction << true
                                       << "SRC" << "";
    QTest::newRow("move becomes copy") << "List2" << one << copyOrMove << Qt::MoveAction << true
                                       << "DEST" << "";
    QTest::newRow("bad file") << "List2" << QStringList{"bad.tvr"} << copyOrMove << Qt::CopyAction
                              << true << "" << LoadFailure::BadHeader;
    QTest::newRow("move only") << "List2" << one << moveOnly << Qt::MoveAction << false << "" << "";
    QTest::newRow("two files") << "List1" << QStringList{"a.tvr", "b.tvr"} << copyOrMove
                               << Qt::CopyAction << false << "" << "";
    QTest::newRow("web URL") << "List1" << QStringList{"http://example.org/a.tvr"} << copyOrMove
                             << Qt::CopyAction << false << "" << "";
    QTest::newRow("text") << "List1" << QStringList() << copyOrMove << Qt::CopyAction << false
                          << "" << "";
    QTest::newRow("folder") << "List1" << QStringList{"."} << copyOrMove << Qt::CopyAction << false
                            << "" << "";
    QTest::newRow("window") << "Form1" << one << copyOrMove << Qt::CopyAction << false << "" << "";
    QTest::newRow("LOAD SRC") << "Command2" << one << copyOrMove << Qt::CopyAction << false << ""
                              << "";
    // clang-format on
}

void TestFileDrop::dropLoadsOneLocalFileAsACopy()
{
    QFETCH(QString, target);
    QFETCH(QStringList, dragged);
    QFETCH(Qt::DropActions, offered);
    QFETCH(Qt::DropAction, proposed);
    QFETCH(bool, accepted);
    QFETCH(QString, loads);
    QFETCH(QString, message);
    const QString good = writeFile(*m_folder, "a.tvr", patchSetBytes({"alpha", "beta"}));
    writeFile(*m_folder, "b.tvr", patchSetBytes({"gamma"}));
    const QString bad = writeFile(*m_folder, "bad.tvr", "TAVRA=0.3\r\n");

    QMimeData data;
    QList<QUrl> urls;
    for (const QString &name : dragged) {
        const QUrl url(name);
        urls.append(url.isRelative() ? QUrl::fromLocalFile(m_folder->filePath(name)) : url);
    }
    if (urls.isEmpty()) {
        data.setText(good); // a path as text is no file
    } else {
        data.setUrls(urls);
    }
    QWidget *widget =
        target == QLatin1String("Form1") ? m_form : control<QWidget>(qPrintable(target));
    if (auto *list = qobject_cast<QListView *>(widget)) {
        widget = list->viewport();
    }
    // A source proposes a move while the user holds Shift.
    const Qt::KeyboardModifiers keys =
        proposed == Qt::MoveAction ? Qt::ShiftModifier : Qt::NoModifier;
    QCOMPARE(QDropEvent(QPointF(), offered, &data, Qt::LeftButton, keys).proposedAction(),
             proposed);
    const QList<Qt::DropAction> answers =
        dragOnto(widget, data, widget->rect().center(), offered, keys);
    QCOMPARE(answers, QList<Qt::DropAction>(3, accepted ? Qt::CopyAction : Qt::IgnoreAction));
    QCoreApplication::processEvents(); // the load runs once the drop is over

    const QStringList lines = {"alpha", "beta"};
    QCOMPARE(listLines(control<QListView>("List1")), loads == "SRC" ? lines : QStringList());
    QCOMPARE(listLines(control<QListView>("List2")), loads == "DEST" ? lines : QStringList());
    QCOMPARE(m_form->sets().SrcPath, loads == "SRC" ? good : QString());
    QCOMPARE(m_form->sets().DestPath, loads == "DEST" ? good : QString());
    QList<ShownText> expected;
    if (!message.isEmpty()) {
        // The one file that fails here is bad.tvr, whose first line is no header.
        expected.append({"Tolvane", message, LoadFailure::BadHeaderDetail});
    }
    QCOMPARE(m_dialogs->shown, expected);
    // As after its LOAD button, the next dialog offers the name that failed.
    QCOMPARE(m_dialogs->fileName(), message.isEmpty() ? QString() : bad);
    for (const char *name : {"List1", "List2"}) {
        QCOMPARE(control<QListView>(name)->dragDropMode(), QAbstractItemView::NoDragDrop);
    }
}

QTEST_MAIN(TestFileDrop)
#include "TestFileDrop.moc"
