#include "CopyPreview.h"

#include "ListSideView.h"

#include <QAbstractButton>
#include <QEvent>

CopyPreview::CopyPreview(QAbstractButton *copy, ListSideView &src, ListSideView &dest)
    : m_copy(copy), m_src(src), m_dest(dest)
{
    m_copy->installEventFilter(this);
}

bool CopyPreview::eventFilter(QObject *watched, QEvent *event)
{
    // The events say it, rather than underMouse() and hasFocus(), which Qt may not have
    // brought up to date when a filter sees them.
    switch (event->type()) {
    case QEvent::Enter:
        m_pointerOn = true;
        break;
    case QEvent::Leave:
        m_pointerOn = false;
        break;
    case QEvent::FocusIn:
        m_focused = true;
        break;
    case QEvent::FocusOut:
        m_focused = false;
        break;
    case QEvent::EnabledChange:
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    const bool shown = m_copy->isEnabled() && (m_pointerOn || m_focused);
    m_src.previewCopy(shown ? ListSideView::CopyEffect::Copied : ListSideView::CopyEffect::None);
    m_dest.previewCopy(shown ? ListSideView::CopyEffect::Deleted : ListSideView::CopyEffect::None);
    return QObject::eventFilter(watched, event);
}
