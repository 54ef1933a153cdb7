#include "EntryViewHost.h"

#include "EntryView.h"

#include <QAbstractItemView>
#include <QEvent>

EntryViewHost::EntryViewHost(PatchSetEditor &editor, QAbstractItemView *srcList,
                             QAbstractItemView *destList, QWidget *window)
    : m_editor(editor), m_lists{srcList, destList}, m_window(window)
{
    for (const Side side : {Side::Left, Side::Right}) {
        QAbstractItemView *lines = m_lists[side];
        lines->installEventFilter(this); // its focus
        connect(lines, &QAbstractItemView::doubleClicked, this, [this, side] { open(side); });
    }
}

EntryViewHost::~EntryViewHost()
{
    delete m_view; // before the editor it reads goes
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

void EntryViewHost::followCurrentLine(Side side)
{
    if (m_view && m_view->side() == side) {
        m_view->refresh();
    }
}

bool EntryViewHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        follow(watched == m_lists.left ? Side::Left : Side::Right);
    }
    return QObject::eventFilter(watched, event);
}
