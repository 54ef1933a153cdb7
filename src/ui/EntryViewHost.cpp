#include "EntryViewHost.h"

#include "EntryView.h"

#include <QListWidget>
#include <QMouseEvent>

EntryViewHost::EntryViewHost(PatchSetEditor &editor, QListWidget *srcList, QListWidget *destList,
                             QWidget *window)
    : m_editor(editor), m_srcList(srcList), m_destList(destList), m_window(window)
{
    for (const Side side : {Side::Left, Side::Right}) {
        QListWidget *lines = list(side);
        lines->installEventFilter(this);             // its focus
        lines->viewport()->installEventFilter(this); // the mouse on its lines
        // The user's moves only: the editor's own come with the signals blocked and are
        // reported as changes.
        connect(lines, &QListWidget::currentRowChanged, this, [this, side] {
            if (m_view && m_view->side() == side) {
                m_view->refresh();
            }
        });
    }
}

EntryViewHost::~EntryViewHost()
{
    delete m_view; // before the editor it reads goes
}

EntryView *EntryViewHost::view() const
{
    return m_view;
}

void EntryViewHost::toggle(Side side)
{
    if (m_view) {
        m_view->close();
        return;
    }
    open(side);
}

void EntryViewHost::open(Side side)
{
    if (!m_view) {
        m_view = new EntryView(m_editor, m_window);
    }
    follow(side);
    m_view->show();
    m_view->raise();
    m_view->activateWindow();
}

void EntryViewHost::follow(Side side)
{
    if (m_view && (m_view->side() != side || !m_view->isVisible())) {
        m_view->follow(side);
    }
}

void EntryViewHost::refresh()
{
    if (m_view) {
        m_view->refresh();
    }
}

bool EntryViewHost::eventFilter(QObject *watched, QEvent *event)
{
    for (const Side side : {Side::Left, Side::Right}) {
        if (watched == list(side) && event->type() == QEvent::FocusIn) {
            follow(side);
        } else if (watched == list(side)->viewport()) {
            mouseOnLines(side, event);
        }
    }
    return QObject::eventFilter(watched, event);
}

void EntryViewHost::mouseOnLines(Side side, QEvent *event)
{
    QListWidget *lines = list(side);
    const auto lineAt = [lines](QEvent *mouseEvent) {
        const QPoint place = static_cast<QMouseEvent *>(mouseEvent)->position().toPoint();
        const QListWidgetItem *item = lines->itemAt(place);
        return item ? Press{lines->row(item), item->isSelected()} : Press{};
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressBefore = m_lastPress;
        m_lastPress = lineAt(event);
        m_pressedSinceRelease = true;
        break;
    case QEvent::MouseButtonDblClick: {
        // Platforms send the second click's press before the double-click, or not at all;
        // either way the first click's press holds the selection from before.
        const Press first = m_pressedSinceRelease ? m_pressBefore : m_lastPress;
        const Press clicked = lineAt(event);
        if (clicked.line >= 0) {
            m_doubleClicked = first.line == clicked.line ? first : clicked;
            m_doubleClick = true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressedSinceRelease = false;
        if (m_doubleClick) {
            m_doubleClick = false;
            // Queued, so it runs after the list has handled this release too.
            const Press restore = m_doubleClicked;
            QMetaObject::invokeMethod(
                this,
                [this, side, restore] {
                    QListWidgetItem *item = list(side)->item(restore.line);
                    if (item != nullptr && item->isSelected() != restore.wasSelected) {
                        item->setSelected(restore.wasSelected);
                    }
                    open(side);
                },
                Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
}
