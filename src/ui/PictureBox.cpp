#include "PictureBox.h"

#include "WindowLook.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

PictureBox::PictureBox(const QPixmap &picture, QWidget *parent)
    : QWidget(parent), m_picture(picture)
{
    WindowLook::setTextColour(this, QColor(128, 128, 128));
    // Every paint covers the whole widget, so nothing beneath need be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
    ensureSurface();
}

QSize PictureBox::sizeHint() const
{
    return m_picture.deviceIndependentSize().toSize();
}

void PictureBox::ensureSurface()
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize = (QSizeF(size()) * ratio).toSize();
    if (!m_surface.isNull() && m_surface.size() == deviceSize
        && m_surface.devicePixelRatio() == ratio) {
        return;
    }
    if (deviceSize.isEmpty()) {
        m_bare = QPixmap();
        m_surface = QPixmap();
        return;
    }
    m_bare = QPixmap(deviceSize);
    m_bare.setDevicePixelRatio(ratio);
    m_bare.fill(Qt::white);
    {
        QPainter painter(&m_bare);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QPointF(0, 0), m_picture);
    }
    m_surface = m_bare;
    m_surface.detach(); // the surface is drawn on; the bare picture must stay as it is
}

void PictureBox::Cls()
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    QPainter painter(&m_surface);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, m_bare);
}

void PictureBox::layOutLine(const QString &text)
{
    if (m_laidOut && text == m_lineText && font() == m_lineFont) {
        return;
    }
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e6); // any width: the line does not wrap
        line.setPosition(QPointF(0, 0));
    }
    layout.endLayout();
    m_lineRuns = layout.glyphRuns();
    m_lineText = text;
    m_lineFont = font();
    // Twice the widest advance covers any overhang of a glyph's ink beyond its advance.
    m_glyphReach = 2 * QFontMetricsF(font()).maxWidth();
    m_laidOut = true;
}

void PictureBox::printText(const QString &text, int xTwips, int yTwips)
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    layOutLine(text);
    const qreal ratio = m_surface.devicePixelRatio();
    const QPointF origin(devicePixels(xTwips) / ratio, devicePixels(yTwips) / ratio);
    const qreal first = -origin.x() - m_glyphReach;
    const qreal last = -origin.x() + m_surface.deviceIndependentSize().width() + m_glyphReach;

    QPainter painter(&m_surface);
    painter.setPen(palette().color(QPalette::WindowText));
    // A glyph is drawn at the same place whether or not its neighbours are, so drawing only
    // those within reach of the surface gives exactly the pixels of the whole line.
    for (const QGlyphRun &run : std::as_const(m_lineRuns)) {
        const QList<QPointF> positions = run.positions();
        const QList<quint32> glyphs = run.glyphIndexes();
        QList<QPointF> nearPositions;
        QList<quint32> nearGlyphs;
        for (qsizetype i = 0; i < positions.size(); ++i) {
            const qreal x = positions.at(i).x();
            if (x >= first && x <= last) {
                nearPositions.append(positions.at(i));
                nearGlyphs.append(glyphs.at(i));
            }
        }
        if (nearGlyphs.isEmpty()) {
            continue;
        }
        QGlyphRun near = run;
        near.setGlyphIndexes(nearGlyphs);
        near.setPositions(nearPositions);
        painter.drawGlyphRun(origin, near);
    }
}

int PictureBox::devicePixels(int twips) const
{
    return int(std::lround(double(twips) / WindowLook::TwipsPerPixel * devicePixelRatioF()));
}

void PictureBox::copyFrom(const PictureBox &source)
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    {
        QPainter painter(&m_surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, source.m_surface);
    }
    // At once rather than at the next pass of the event loop: the frame is due now, and the
    // loop need not wake a second time for it.
    repaint();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_surface);
}
