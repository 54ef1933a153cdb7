// Helpers for tests that drive the real window: the window itself with the scripted dialog
// seam (WindowTest, the base of their test classes, which also sets both lists up from a
// picture of their lines and reads them back as one), patch set files written into a temporary
// folder, clicks on list lines by number, a list's menu, and keys pressed where the focus is.
#pragma once

#include "Form1.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QBrush>
#include <QByteArray>
#include <QDropEvent>
#include <QFile>
#include <QKeySequence>
#include <QListView>
#include <QMenu>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>

// What a failed load shows, the message (%1 is the path) and its details, for the two failures
// the window tests meet most: a file that is not there, and one whose first line is no header.
namespace LoadFailure {
inline const QString Missing = QStringLiteral("Can't find patch set file (%1)");
inline const QString MissingDetail =
    QStringLiteral("no readable file there: it is missing, a folder, or not open to this user");
inline const QString BadHeader =
    QStringLiteral("Patch set header not found! Must be ''TAVRO=[version]''");
inline const QString BadHeaderDetail = QStringLiteral("line 1: no TAVRO= header");
} // namespace LoadFailure

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

// A list's lines, its current line and its selection, as its model and selection model hold them.
inline QString lineText(const QAbstractItemView *list, int line)
{
    return list->model()->index(line, 0).data().toString();
}

// The colour behind a line: no brush for an unmarked line.
inline QBrush lineTint(const QAbstractItemView *list, int line)
{
    return list->model()->index(line, 0).data(Qt::BackgroundRole).value<QBrush>();
}

inline QStringList listLines(const QAbstractItemView *list)
{
    QStringList lines;
    for (int i = 0; i < list->model()->rowCount(); ++i) {
        lines.append(lineText(list, i));
    }
    return lines;
}

// Makes `line` current without selecting it, as a key that moves the current line does.
inline void setCurrentLine(QAbstractItemView *list, int line)
{
    list->selectionModel()->setCurrentIndex(list->model()->index(line, 0),
                                            QItemSelectionModel::NoUpdate);
}

inline bool isLineSelected(const QAbstractItemView *list, int line)
{
    return list->selectionModel()->isSelected(list->model()->index(line, 0));
}

inline QList<int> selectedLines(const QAbstractItemView *list)
{
    QList<int> lines;
    for (int i = 0; i < list->model()->rowCount(); ++i) {
        if (isLineSelected(list, i)) {
            lines.append(i);
        }
    }
    return lines;
}

// Where line `line` of `list` shows, in the coordinates of the list's window; scrolls it into
// sight first. Gestures go to the window, so Qt's own double-click detection sees them.
inline QPoint lineInWindow(QAbstractItemView *list, int line)
{
    const QModelIndex index = list->model()->index(line, 0);
    if (!index.isValid()) {
        qFatal("%s has no line %d", qPrintable(list->objectName()), line);
    }
    list->scrollTo(index);
    return list->viewport()->mapTo(list->window(), list->visualRect(index).center());
}

// A user's click on a line: toggles its selection and makes it current; with Shift, selects
// from the current line to it.
inline void clickLine(QAbstractItemView *list, int line, Qt::KeyboardModifiers keys = {})
{
    QTest::mouseClick(list->window()->windowHandle(), Qt::LeftButton, keys,
                      lineInWindow(list, line));
}

// The menu of `list`, opened as `how` says: "right click" on its current line (or its first
// line) through the window, or keys pressed on the list ("Menu", "Shift+F10"). nullptr when
// none opened.
inline QMenu *openListMenu(QAbstractItemView *list, const QString &how)
{
    list->setFocus();
    if (how == QLatin1String("right click")) {
        const int line = std::max(list->currentIndex().row(), 0);
        QTest::mouseClick(list->window()->windowHandle(), Qt::RightButton, {},
                          lineInWindow(list, line));
    } else {
        const QKeySequence key = QKeySequence::fromString(how, QKeySequence::PortableText);
        QTest::keyClick(list, key[0].key(), key[0].keyboardModifiers());
    }
    for (QMenu *menu : list->findChildren<QMenu *>(QStringLiteral("listMenu"))) {
        if (menu->isVisible()) {
            return menu;
        }
    }
    return nullptr;
}

// Clicks the item of `menu` named `item`, as the user would; false when it has none.
inline bool chooseFromMenu(QMenu *menu, const QString &item)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == item) {
            QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                              menu->actionGeometry(action).center());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return true;
        }
    }
    return false;
}

// A drag of `data` that enters `widget` at `point`, moves there and drops, as the platform
// would send it; `keys` are the modifiers held. All three are sent before any is checked, so
// a failing test ends the drag it began. Gives each event's answer: its drop action when it
// was accepted, IgnoreAction when not.
inline QList<Qt::DropAction> dragOnto(QWidget *widget, const QMimeData &data, const QPoint &point,
                                      Qt::DropActions offered, Qt::KeyboardModifiers keys = {})
{
    QDragEnterEvent enter(point, offered, &data, Qt::LeftButton, keys);
    QDragMoveEvent move(point, offered, &data, Qt::LeftButton, keys);
    QDropEvent drop(point, offered, &data, Qt::LeftButton, keys);
    QList<Qt::DropAction> answers;
    for (QDropEvent *event :
         {static_cast<QDropEvent *>(&enter), static_cast<QDropEvent *>(&move), &drop}) {
        QCoreApplication::sendEvent(widget, event);
        answers.append(event->isAccepted() ? event->dropAction() : Qt::IgnoreAction);
    }
    return answers;
}

// The user pressing `keys` ("Alt+Right, Ctrl+Z": one after the other, as many as needed) on
// whatever has the focus, so window shortcuts compete with the focused control's own keys as
// they do for real. Shortcuts act only in the active window.
inline void pressKeys(const QString &keys)
{
    // One sequence per key: a QKeySequence holds four keys at most.
    for (const QString &name : keys.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const QKeySequence key = QKeySequence::fromString(name, QKeySequence::PortableText);
        if (key.count() != 1) {
            qFatal("cannot read the key %s", qPrintable(name));
        }
        if (QApplication::focusWidget() == nullptr) {
            qFatal("no widget has the focus: is the window active?");
        }
        QTest::keyClick(QApplication::focusWidget(), key[0].key(), key[0].keyboardModifiers());
    }
}

// The base of every window test class: each test function gets a fresh window with its own
// scripted dialogs and temporary folder, shown and active as a user's window would be. A test
// that passed must have used every scripted answer. The slots are protected, so QtTest runs
// them as the harness (it finds them by name) and never as test functions.
class WindowTest : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    template<typename T>
    T *control(const char *name) const
    {
        T *found = m_form->findChild<T *>(QLatin1String(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }
    void click(const char *button) const
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    // Both sides from a picture, "a, [b], >c~ | -": SRC lists a, b and c with b selected and c
    // current, DEST holds no set. Each side's lines are loaded from a file, then clicked; an
    // entry marked '~' is described otherwise, so it differs from its namesake, and one marked
    // '!' holds a key the reader notes.
    void arrange(const QString &picture);
    // The two lists as arrange() takes them; a list without lines is "-".
    QString picture() const;

    QTemporaryDir *m_folder = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    Form1 *m_form = nullptr;
};
