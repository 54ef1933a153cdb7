// The dialog seam for window tests: file dialogs answer from a queue of names (an empty
// name is a cancel), overwrite questions from a queue of answers, and every text shown is
// recorded with its title and details. A test ends with QVERIFY(dialogs.allUsed()) (WindowTest
// does it) and one QCOMPARE of `shown`, so an extra or a missing message box fails the test.
#pragma once

#include "Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct ShownText
{
    QString title;
    QString text;
    QString details = {}; // a message's "Show Details" text, or an overwrite question's detail

    friend bool operator==(const ShownText &a, const ShownText &b)
    {
        return a.title == b.title && a.text == b.text && a.details == b.details;
    }
};

// QCOMPARE prints both lists on a mismatch.
namespace QTest {
inline char *toString(const ShownText &shown)
{
    return qstrdup(qPrintable(shown.title + QLatin1String(": ") + shown.text
                              + (shown.details.isEmpty()
                                     ? QString()
                                     : QLatin1String(" [") + shown.details + QLatin1Char(']'))));
}
} // namespace QTest

class ScriptedDialogs : public Dialogs
{
public:
    // What one file dialog was opened with.
    struct FileDialog
    {
        bool save = false;
        QString title;
        QString filter;
        QString initialName;        // the shared file name when the dialog opened
        QString defaultSuffix = {}; // a save dialog's

        friend bool operator==(const FileDialog &a, const FileDialog &b)
        {
            return a.save == b.save && a.title == b.title && a.filter == b.filter
                && a.initialName == b.initialName && a.defaultSuffix == b.defaultSuffix;
        }
    };

    QStringList fileNames;          // answers of the file dialogs, in order; "" cancels
    QList<OverwriteAnswer> answers; // answers of the overwrite questions, in order
    QList<ShownText> shown;
    QList<FileDialog> fileDialogs;
    int unexpected = 0; // dialogs or questions that found their queue empty
    // Runs as each overwrite question is asked, before it is answered: what the window shows
    // while the user reads the question.
    std::function<void()> whileAsking;

    QString openFileName(QWidget *, const QString &title, const QString &filter) override
    {
        return fileDialog(false, title, filter, QString());
    }
    QString saveFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &defaultSuffix) override
    {
        return fileDialog(true, title, filter, defaultSuffix);
    }
    void message(QWidget *, const QString &text, const QString &details = QString()) override
    {
        shown.append({QStringLiteral("Tolvane"), text, details});
    }
    OverwriteAnswer askOverwrite(QWidget *, const QString &title, const QString &text,
                                 const QString &detail) override
    {
        shown.append({title, text, detail});
        if (whileAsking) {
            whileAsking();
        }
        if (answers.isEmpty()) {
            ++unexpected;
            return OverwriteAnswer::No;
        }
        return answers.takeFirst();
    }

    bool allUsed() const { return fileNames.isEmpty() && answers.isEmpty() && unexpected == 0; }

private:
    QString fileDialog(bool save, const QString &title, const QString &filter,
                       const QString &defaultSuffix)
    {
        fileDialogs.append({save, title, filter, fileName(), defaultSuffix});
        if (fileNames.isEmpty()) {
            ++unexpected;
            return {};
        }
        const QString chosen = fileNames.takeFirst();
        if (!chosen.isEmpty()) {
            setFileName(chosen);
        }
        return chosen;
    }
};
