#include "WindowFixture.h"

#include "WindowLook.h"

#include <QListView>
#include <QRegularExpression>

void WindowTest::initTestCase()
{
    WindowLook::registerFonts();
}

void WindowTest::init()
{
    m_folder = new QTemporaryDir;
    QVERIFY(m_folder->isValid());
    m_dialogs = new ScriptedDialogs;
    m_form = new Form1(*m_dialogs);
    m_form->show();
    // Keys reach their commands only in the active window, and the marquee runs only there.
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void WindowTest::cleanup()
{
    if (!QTest::currentTestFailed()) {
        QVERIFY(m_dialogs->allUsed());
    }
    delete m_form;
    delete m_dialogs;
    delete m_folder;
    m_form = nullptr;
    m_dialogs = nullptr;
    m_folder = nullptr;
}

void WindowTest::arrange(const QString &picture)
{
    const QStringList sides = picture.split(QStringLiteral(" | "));
    QCOMPARE(sides.size(), 2);
    for (int side = 0; side < 2; ++side) {
        if (sides.at(side) == QLatin1String("-")) {
            continue;
        }
        QStringList lines = sides.at(side).split(QStringLiteral(", "));
        QStringList names = lines;
        names.replaceInStrings(QRegularExpression(QStringLiteral("[>\\[\\]~!]")), QString());
        QByteArray bytes = patchSetBytes(names);
        for (int line = 0; line < lines.size(); ++line) {
            const QByteArray described = "Description=" + names.at(line).toLatin1();
            if (lines.at(line).contains(QLatin1Char('~'))) {
                bytes.replace(described + " described", described + " changed");
            }
            if (lines.at(line).contains(QLatin1Char('!'))) {
                bytes.replace(described + " described", described + " described\r\nColour=red");
            }
        }
        const QString name = side == 0 ? QStringLiteral("src.tvr") : QStringLiteral("dest.tvr");
        m_dialogs->fileNames.append(writeFile(*m_folder, name, bytes));
        click(side == 0 ? "Command2" : "Command3");
    }
    QVERIFY(m_dialogs->shown.isEmpty());
    for (int side = 0; side < 2; ++side) {
        auto *list = control<QListView>(side == 0 ? "List1" : "List2");
        const QStringList lines = sides.at(side).split(QStringLiteral(", "));
        for (int line = 0; line < lines.size(); ++line) {
            if (lines.at(line).contains(QLatin1Char('['))) {
                clickLine(list, line);
            }
        }
        for (int line = 0; line < lines.size(); ++line) {
            if (lines.at(line).startsWith(QLatin1Char('>'))) {
                setCurrentLine(list, line);
            }
        }
    }
}

QString WindowTest::picture() const
{
    QStringList sides;
    for (const char *name : {"List1", "List2"}) {
        const auto *list = control<QListView>(name);
        QStringList lines;
        for (int line = 0; line < list->model()->rowCount(); ++line) {
            QString text = lineText(list, line);
            if (isLineSelected(list, line)) {
                text = QLatin1Char('[') + text + QLatin1Char(']');
            }
            lines.append(line == list->currentIndex().row() ? QLatin1Char('>') + text : text);
        }
        sides.append(lines.isEmpty() ? QStringLiteral("-") : lines.join(QStringLiteral(", ")));
    }
    return sides.join(QStringLiteral(" | "));
}
