#include "PictureBox.h"

#include "WindowLook.h"

#include <QPainter>

#include <cmath>

PictureBox::PictureBox(const QPixmap &picture, QWidget *parent)
    : QWidget(parent), m_picture(picture)
{
    m_printed.setTextFormat(Qt::PlainText);
    m_printed.setPerformanceHint(QStaticText::AggressiveCaching);
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

void PictureBox::printText(const QString &text, int xTwips, int yTwips)
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    if (m_printed.text() != text) {
        m_printed.setText(text);
    }
    const qreal ratio = m_surface.devicePixelRatio();
    QPainter painter(&m_surface);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(QPointF(devicePixels(xTwips) / ratio, devicePixels(yTwips) / ratio),
                           m_printed);
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
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_surface);
}
