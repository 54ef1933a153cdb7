// The real dialog seam's boxes, answered as a user would: the overwrite question's five
// answers and their accelerators, Escape meaning No, texts (the question's detail too) shown
// as written whatever markup a name or a path holds, and the save dialog's default suffix.
#include "Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
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
    void boxesShowTextsAsWritten_data();
    void boxesShowTextsAsWritten();
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

    const OverwriteAnswer given = dialogs.askOverwrite(&window, QStringLiteral("Confirm"),
                                                       QStringLiteral("Overwrite?"), QString());

    QVERIFY(!stuck);
    QCOMPARE(given, answer);
    QCOMPARE(title, QStringLiteral("Confirm"));
    QCOMPARE(text, QStringLiteral("Overwrite?"));
    buttons.sort();
    QCOMPARE(buttons, QStringList({"&Cancel", "&No", "&Yes", "N&o to all", "Yes to &all"}));
}

// Qt takes a text whose first line holds a tag for rich text: an image named there would be
// opened (a FIFO blocks the window for good, /dev/zero fills memory), a wide one pushes the
// buttons off the screen, and a name with tags would read as another name.
void TestDialogs::boxesShowTextsAsWritten_data()
{
    QTest::addColumn<bool>("question"); // the overwrite question, or else a message
    QTest::addColumn<QString>("text");
    const QString asked = QStringLiteral("Patch with name ''%1'' already exists. Overwrite?");
    const QString missing = QStringLiteral("Can't find patch set file (%1)");
    const QString wide = QStringLiteral("<img width=\"30000\" height=\"30000\" src=\"x\">");
    // Laid out by hand: the formatter would give every text of a row a line of its own.
    // clang-format off
    QTest::newRow("question, image") << true
                                     << asked.arg("Fix <img src=\"/nonexistent/a-fifo\">");
    QTest::newRow("question, wide image") << true << asked.arg("Fix " + wide);
    QTest::newRow("question, bold, entity") << true << asked.arg("Fix <b>bold</b> &amp;");
    QTest::newRow("message, underlined path") << false << missing.arg("/tmp/<u>x.tvr");
    QTest::newRow("message, wide image") << false << missing.arg("/tmp/" + wide + ".tvr");
    // clang-format on
}

void TestDialogs::boxesShowTextsAsWritten()
{
    QFETCH(bool, question);
    QFETCH(QString, text);
    NativeDialogs dialogs;
    bool stuck = false;
    // The question's detail stands under its text, in a label of its own.
    const QString detail = question ? QStringLiteral("Question 1 of 2\n") + text : QString();
    QString shown;
    QString shownDetail;
    QList<Qt::TextFormat> formats; // of every label that shows a text
    QSize size;
    whenOpen<QMessageBox>(
        [&](QMessageBox &box) {
            shown = box.text();
            shownDetail = box.informativeText();
            formats.append(box.textFormat());
            for (const QLabel *label : box.findChildren<QLabel *>()) {
                if (!label->text().isEmpty()) {
                    formats.append(label->textFormat());
                }
            }
            size = box.size();
            QTest::keyClick(&box, Qt::Key_Escape);
        },
        stuck);

    if (question) {
        QCOMPARE(dialogs.askOverwrite(nullptr, QStringLiteral("Confirm"), text, detail),
                 OverwriteAnswer::No);
    } else {
        dialogs.message(nullptr, text);
    }
    QVERIFY(!stuck);
    QCOMPARE(shown, text);
    QCOMPARE(shownDetail, detail);
    // The buttons stay on the screen.
    QVERIFY2(size.width() < 1280 && size.height() < 1024, qPrintable(QDebug::toString(size)));
    QCOMPARE(formats, QList<Qt::TextFormat>(question ? 3 : 2, Qt::PlainText));
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
