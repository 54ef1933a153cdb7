#include "AnchoredLabel.h"

#include <QEvent>

AnchoredLabel::AnchoredLabel(const QRect &initial, Anchor anchor, QWidget *parent)
    : QLabel(parent), m_initial(initial), m_anchor(anchor)
{
    setMargin(0);
    setContentsMargins(0, 0, 0, 0);
    setTextFormat(Qt::PlainText);
    switch (anchor) {
    case Anchor::Left:
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        break;
    case Anchor::Right:
        setAlignment(Qt::AlignRight | Qt::AlignTop);
        break;
    case Anchor::Centre:
        setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        break;
    }
    setGeometry(initial);
}

void AnchoredLabel::setCaption(const QString &caption)
{
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    // A lone CR would show as a box; the caption itself keeps the CR LF it was given.
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setText(shown);
    refit();
}

void AnchoredLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        refit();
    }
}

void AnchoredLabel::refit()
{
    // An empty label stays a few pixels wide, as laid out, so it still has a place.
    const QSize size = m_caption.isEmpty() ? m_initial.size() : sizeHint();
    int left = m_initial.left();
    switch (m_anchor) {
    case Anchor::Left:
        break;
    case Anchor::Right:
        left = m_initial.left() + m_initial.width() - size.width();
        break;
    case Anchor::Centre:
        // Twice the middle, so an odd width stays centred on the same pixel grid.
        left = (2 * m_initial.left() + m_initial.width() - size.width()) / 2;
        break;
    }
    setGeometry(QRect(QPoint(left, m_initial.top()), size));
}
