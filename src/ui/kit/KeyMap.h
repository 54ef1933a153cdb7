// The window's keys, every one of them: the shortcuts of its command buttons, and keys of
// commands that have no button. Form1 binds a button's keys from its row of the control table
// and the other keys in connectControls(), or hands the map to a list's SideTools and
// ListGestures, which bind the list's own. A key acts while the window is active, whatever has
// the focus, and runs the first of its bindings that applies now: a binding may need one widget
// to have the focus, so one key can serve the SRC list and the DEST list. Commands run at once.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QSet>

#include <functional>

class QPushButton;
class QWidget;

class KeyMap : public QObject
{
    Q_OBJECT

public:
    // The keys of top-level `window`, which owns the map.
    explicit KeyMap(QWidget *window);

    // Each of `keys` clicks `button`, which does nothing while it is disabled. The first key
    // becomes the button's own shortcut, which assistive technology reports as its keyboard
    // shortcut. With `focus`, the keys click the button only while `focus` has the focus.
    void bindButton(QPushButton *button, const QList<QKeySequence> &keys,
                    const QWidget *focus = nullptr);
    // `key` runs `action`, wherever the focus is. A binding of Enter binds Return too: users
    // take the main block's Return and the keypad's Enter for one key.
    void bind(const QKeySequence &key, std::function<void()> action);
    // `key` runs `action` while `focus` has the focus.
    void bind(const QKeySequence &key, const QWidget *focus, std::function<void()> action);
    // The undo and redo keys, wherever the focus is: every window of the program takes back
    // and takes again the same steps with the same keys.
    void bindUndoAndRedo(std::function<void()> undo, std::function<void()> redo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding
    {
        QKeySequence key;
        const QWidget *focus; // nullptr: wherever the focus is
        std::function<void()> action;
    };

    // Makes sure a press of `key` reaches press(); a button's own shortcut already does.
    void listen(const QKeySequence &key);
    void press(const QKeySequence &key);

    QWidget *m_window;
    QList<Binding> m_bindings; // in the order they were bound; the first that applies acts
    QSet<QKeySequence> m_heard;
};

// Undo and redo: the same keys in every window of the program, and in the tooltips of the
// buttons whose steps they take back.
QList<QKeySequence> undoKeys();
QList<QKeySequence> redoKeys();
