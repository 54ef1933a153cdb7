// The windows the window benchmarks drive: one whose open dialog picks the maximal set (1000
// entries with every slot in use), and one whose sides hold 32768 small entries of the same
// names, every line marked. Shared by BenchWindow.cpp and BenchDifferences.cpp.
#pragma once

#include "Dialogs.h"
#include "Form1.h"
#include "MaximalSet.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <utility>

// Every open dialog answers with the same file; nothing else is expected.
class FixedDialogs : public Dialogs
{
public:
    explicit FixedDialogs(QString path) : m_path(std::move(path)) {}

    QString openFileName(QWidget *, const QString &, const QString &) override { return m_path; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    void message(QWidget *, const QString &, const QString & = QString()) override { std::abort(); }
    OverwriteAnswer askOverwrite(QWidget *, const QString &, const QString &,
                                 const QString &) override
    {
        return OverwriteAnswer::No;
    }

private:
    QString m_path;
};

// A benchmark without its files would measure nothing: it stops at once.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::abort();
    }
}

// A shown window whose open dialog always picks the maximal set, written as a file.
struct MaximalWindow
{
    MaximalWindow()
    {
        writeFile(path, maximal::fileBytes());
        form.show();
        QApplication::processEvents();
    }

    template<typename Control>
    Control *control(const char *name)
    {
        return form.findChild<Control *>(QLatin1String(name));
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("maximal.tvr"));
    FixedDialogs dialogs{path};
    Form1 form{dialogs};
};

inline int lineCount(const QAbstractItemView *list)
{
    return list->model()->rowCount();
}

inline QString lineData(const QAbstractItemView *list, int line, int role = Qt::DisplayRole)
{
    return list->model()->index(line, 0).data(role).toString();
}

// The bytes of a set of `count` small entries named "entry 00000" on: a name and a
// description each, the description ending in `about`.
inline QByteArray smallSetBytes(int count, const QByteArray &about)
{
    QByteArray bytes = "TAVRO=0.3\r\n\r\n";
    for (int position = 0; position < count; ++position) {
        const QByteArray number = QByteArray::number(position);
        const QByteArray name = "entry " + number.rightJustified(5, '0');
        bytes += "/bgn " + number + "\r\nOmnipresence=1\r\nName=" + name + "\r\nDescription=" + name
            + ' ' + (position % 2 == 0 ? QByteArray("as loaded") : about) + "\r\n/end " + number
            + "\r\n\r\n";
    }
    return bytes;
}

// A shown, active window with SRC and DEST holding 32768 small entries of the same names,
// every second one differing, so that every line of both lists is marked (or other sets); the
// DEST list has the focus, as the keys of its commands need.
struct LargeSetsWindow
{
    static constexpr int Count = 32768;

    LargeSetsWindow()
        : LargeSetsWindow(smallSetBytes(Count, "in SRC"), smallSetBytes(Count, "in DEST"))
    {
    }
    // Sides loaded from these bytes instead.
    LargeSetsWindow(const QByteArray &srcBytes, const QByteArray &destBytes)
    {
        writeFile(srcPath, srcBytes);
        writeFile(destPath, destBytes);
        writeFile(otherPath, smallSetBytes(Count, "in another DEST"));
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form)) {
            std::abort(); // the keys would reach no command
        }
        form.loadPath(Side::Left, srcPath);
        form.loadPath(Side::Right, destPath);
        dest->setFocus();
        QApplication::processEvents();
    }

    void press(QKeyCombination key) { QTest::keyClick(dest, key.key(), key.keyboardModifiers()); }

    // What the window does once a command is over, as the event loop would run it (the
    // tooltips it works out then, for one), and both lists painted.
    void paint()
    {
        QApplication::processEvents();
        src->repaint();
        dest->repaint();
    }

    // Selects DEST line `line` alone and makes it current, as a click on it would.
    void selectDestLine(int line)
    {
        QItemSelectionModel *selection = dest->selectionModel();
        const QModelIndex index = dest->model()->index(line, 0);
        selection->select(index, QItemSelectionModel::ClearAndSelect);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }

    int destLines() const { return lineCount(dest); }
    QString destText(int line) const { return lineData(dest, line); }

    QTemporaryDir folder;
    QString srcPath = folder.filePath(QStringLiteral("src.tvr"));
    QString destPath = folder.filePath(QStringLiteral("dest.tvr"));
    QString otherPath = folder.filePath(QStringLiteral("other.tvr"));
    FixedDialogs dialogs{otherPath};
    Form1 form{dialogs};
    QAbstractItemView *src = form.findChild<QAbstractItemView *>(QStringLiteral("List1"));
    QAbstractItemView *dest = form.findChild<QAbstractItemView *>(QStringLiteral("List2"));
};

