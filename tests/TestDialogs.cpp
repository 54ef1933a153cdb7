// The real dialog seam's boxes, answered as a user would: the overwrite question's five
// answers and their accelerators, Escape meaning No, and the save dialog's default suffix.
#include "Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(OverwriteAnswer)

namespace {

// Runs `act` on the dialog once it is open; a dialog still open after a generous while is
// closed, and `stuck` says so, rather than leaving the test to hang.
template<typename Dialog>
void whenOpen(const std::function<void(Dialog &)> &act, bool &stuck)
{
    QTimer::singleShot(0, [act, &stuck] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QTimer::singleShot(10000, dialog, [dialog, &stuck] {
            stuck = true;
            static_cast<QDialog *>(dialog)->done(-1);
        });
        act(*dialog);
    });
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void overwriteQuestionAnswers_data();
    void overwriteQuestionAnswers();
    void saveAddsTheSuffix_data();
    void saveAddsTheSuffix();
};

void TestDialogs::overwriteQuestionAnswers_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<OverwriteAnswer>("answer");
    QTest::newRow("Enter: the default") << int(Qt::Key_Return) << OverwriteAnswer::Yes;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << OverwriteAnswer::No;
    QTest::newRow("Y") << int(Qt::Key_Y) << OverwriteAnswer::Yes;
    QTest::newRow("N") << int(Qt::Key_N) << OverwriteAnswer::No;
    QTest::newRow("A") << int(Qt::Key_A) << OverwriteAnswer::YesToAll;
    QTest::newRow("O") << int(Qt::Key_O) << OverwriteAnswer::NoToAll;
    QTest::newRow("C") << int(Qt::Key_C) << OverwriteAnswer::Cancel;
}

void TestDialogs::overwriteQuestionAnswers()
{
    QFETCH(int, key);
    QFETCH(OverwriteAnswer, answer);
    NativeDialogs dialogs;
    QWidget window;
    window.show();
    bool stuck = false;
    QStringList buttons;
    QString title;
    QString text;
    whenOpen<QMessageBox>(
        [&](QMessageBox &box) {
            title = box.windowTitle();
            text = box.text();
            for (const QAbstractButton *button : box.buttons()) {
                buttons.append(button->text());
            }
            QTest::keyClick(&box, Qt::Key(key));
        },
        stuck);

    const OverwriteAnswer given =
        dialogs.askOverwrite(&window, QStringLiteral("Confirm"), QStringLiteral("Overwrite?"));

    QVERIFY(!stuck);
    QCOMPARE(given, answer);
    QCOMPARE(title, QStringLiteral("Confirm"));
    QCOMPARE(text, QStringLiteral("Overwrite?"));
    buttons.sort();
    QCOMPARE(buttons, QStringList({"&Cancel", "&No", "&Yes", "N&o to all", "Yes to &all"}));
}

void TestDialogs::saveAddsTheSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "merged"
                                  << "merged.tvr";
    QTest::newRow("an extension of its own") << "merged.txt"
                                             << "merged.txt";
}

void TestDialogs::saveAddsTheSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    const QTemporaryDir folder;
    NativeDialogs dialogs;
    dialogs.setFileName(folder.filePath(typed)); // the name the user typed stands in the box
    bool stuck = false;
    // Accepting is what the Save button does with the name in the box.
    whenOpen<QDialog>([](QDialog &dialog) { dialog.accept(); }, stuck);
    const QString chosen =
        dialogs.saveFileName(nullptr, QStringLiteral("Save"), QStringLiteral("Sets (*.tvr)|*.tvr"),
                             QStringLiteral("tvr"));
    QVERIFY(!stuck);
    QCOMPARE(chosen, folder.filePath(saved));
    QCOMPARE(dialogs.fileName(), chosen);
}

QTEST_MAIN(TestDialogs)
#include "TestDialogs.moc"
