#include "KeyMap.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

KeyMap::KeyMap(QWidget *window) : QObject(window), m_window(window) {}

void KeyMap::bindButton(QPushButton *button, const QList<QKeySequence> &keys, const QWidget *focus)
{
    if (keys.isEmpty()) {
        return;
    }
    button->setShortcut(keys.first());
    button->installEventFilter(this); // its shortcut comes to press(), see eventFilter()
    m_heard.insert(keys.first());
    for (const QKeySequence &key : keys) {
        bind(key, focus, [button] { button->click(); });
    }
}

void KeyMap::bind(const QKeySequence &key, std::function<void()> action)
{
    bind(key, nullptr, std::move(action));
}

void KeyMap::bind(const QKeySequence &key, const QWidget *focus, std::function<void()> action)
{
    if (key.count() == 1 && key[0].key() == Qt::Key_Enter) {
        bind(QKeySequence(key[0].keyboardModifiers() | Qt::Key_Return), focus, action);
    }
    m_bindings.append({key, focus, std::move(action)});
    listen(key);
}

void KeyMap::bindUndoAndRedo(std::function<void()> undo, std::function<void()> redo)
{
    for (const QKeySequence &key : undoKeys()) {
        bind(key, undo);
    }
    for (const QKeySequence &key : redoKeys()) {
        bind(key, redo);
    }
}

void KeyMap::listen(const QKeySequence &key)
{
    if (m_heard.contains(key)) {
        return;
    }
    m_heard.insert(key);
    auto *shortcut = new QShortcut(key, m_window);
    // A key held by a button too is ambiguous to Qt, which then reports it this way.
    connect(shortcut, &QShortcut::activated, this, [this, key] { press(key); });
    connect(shortcut, &QShortcut::activatedAmbiguously, this, [this, key] { press(key); });
}

bool KeyMap::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Shortcut) {
        return QObject::eventFilter(watched, event);
    }
    // A button would animate its click and run the command a tenth of a second later, so a
    // quick next key (Ctrl+Z right after a copy) would act first; and when two buttons share a
    // key, as the chevrons of both sides do, Qt calls the key ambiguous and the button only
    // takes the focus. So whichever button gets the key, the binding decides, at once.
    press(static_cast<QShortcutEvent *>(event)->key());
    return true;
}

void KeyMap::press(const QKeySequence &key)
{
    for (const Binding &binding : std::as_const(m_bindings)) {
        if (binding.key == key && (binding.focus == nullptr || binding.focus->hasFocus())) {
            binding.action();
            return;
        }
    }
}

QList<QKeySequence> undoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
}

QList<QKeySequence> redoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
}
