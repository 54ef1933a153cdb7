// Helpers for tests that drive the real window: patch set files written into a temporary
// folder, and clicks on list lines by their number.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTemporaryDir>

// A patch set text with one listed entry per name, blocks numbered from 0.
inline QByteArray patchSetBytes(const QStringList &names, const QByteArray &version = "0.3")
{
    QByteArray bytes = "TAVRO=" + version + "\r\n\r\n";
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray number = QByteArray::number(i).rightJustified(3, '0');
        bytes += "/bgn " + number + "\r\nOmnipresence=1\r\nName=" + names.at(i).toLatin1()
                 + "\r\nDescription=" + names.at(i).toLatin1() + " described\r\n/end " + number
                 + "\r\n\r\n";
    }
    return bytes;
}

inline QString writeFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

inline QStringList listLines(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        lines.append(list->item(i)->text());
    }
    return lines;
}

inline QList<int> selectedLines(const QListWidget *list)
{
    QList<int> lines;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            lines.append(i);
        }
    }
    return lines;
}

// A user's click on a line: toggles its selection and makes it current.
inline void clickLine(QListWidget *list, int line)
{
    if (list->item(line) == nullptr) {
        qFatal("%s has no line %d", qPrintable(list->objectName()), line);
    }
    list->scrollToItem(list->item(line));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(line)).center());
}
