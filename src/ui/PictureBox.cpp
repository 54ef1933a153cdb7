#include "PictureBox.h"

#include "WindowLook.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

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
    m_painter.reset();
    if (deviceSize.isEmpty()) {
        m_bare = QImage();
        m_surface = QImage();
        return;
    }
    // Opaque, as a picture drawn on white is: the format of the window system's own pictures.
    m_bare = QImage(deviceSize, QImage::Format_RGB32);
    m_bare.setDevicePixelRatio(ratio);
    m_bare.fill(Qt::white);
    {
        QPainter painter(&m_bare);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QPointF(0, 0), m_picture);
    }
    m_surface = m_bare.copy(); // the surface is drawn on; the bare picture must stay as it is
}

void PictureBox::Cls()
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    std::memcpy(writableSurface(0), m_bare.constBits(), std::size_t(m_bare.sizeInBytes()));
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
    m_lineRuns.clear();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        LineRun laidOut{run, run.glyphIndexes(), run.positions(), true};
        laidOut.inOrder = std::is_sorted(
            laidOut.positions.cbegin(), laidOut.positions.cend(),
            [](const QPointF &left, const QPointF &right) { return left.x() < right.x(); });
        m_lineRuns.push_back(std::move(laidOut));
    }
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

    QPainter &painter = surfacePainter();
    const QColor &colour = palette().color(QPalette::WindowText);
    if (painter.pen().color() != colour) {
        painter.setPen(colour);
    }
    // A glyph is drawn at the same place whether or not its neighbours are, so drawing only
    // those within reach of the surface gives exactly the pixels of the whole line. The glyphs
    // of a run lie in order, so those within reach are one slice of it, drawn in place.
    for (LineRun &run : m_lineRuns) {
        auto from = run.positions.cbegin();
        auto to = run.positions.cend();
        if (run.inOrder) {
            from = std::lower_bound(from, to, first,
                                    [](const QPointF &glyph, qreal x) { return glyph.x() < x; });
            to = std::upper_bound(from, to, last,
                                  [](qreal x, const QPointF &glyph) { return x < glyph.x(); });
        }
        if (from == to) {
            continue;
        }
        const qsizetype offset = from - run.positions.cbegin();
        run.slice.setRawData(run.glyphs.constData() + offset, run.positions.constData() + offset,
                             int(to - from));
        painter.drawGlyphRun(origin, run.slice);
    }
}

QPainter &PictureBox::surfacePainter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_surface);
    }
    return *m_painter;
}

uchar *PictureBox::writableSurface(int row)
{
    if (!m_surface.isDetached()) {
        m_painter.reset();
    }
    return m_surface.scanLine(row);
}

int PictureBox::devicePixels(int twips) const
{
    const qreal ratio = devicePixelRatioF();
    const int step = std::max(1, int(ratio));
    return step * int(std::lround(double(twips) / WindowLook::TwipsPerPixel * ratio / step));
}

void PictureBox::copyFrom(const PictureBox &source)
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    const QImage &from = source.m_surface;
    if (from.format() != m_surface.format()
        || from.devicePixelRatio() != m_surface.devicePixelRatio()) {
        QPainter &painter = surfacePainter();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, from);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        repaint();
        return;
    }
    // The common top-left part, row by row, as drawing it with the Source mode would; only the
    // rows that changed are painted again, so a frame of a line of text sends only that line's
    // rows to the window system, and a frame like the last sends nothing.
    const int rows = std::min(from.height(), m_surface.height());
    const auto bytes =
        std::size_t(std::min(from.width(), m_surface.width())) * std::size_t(m_surface.depth() / 8);
    int firstChanged = rows;
    int lastChanged = -1;
    for (int row = 0; row < rows; ++row) {
        if (std::memcmp(m_surface.constScanLine(row), from.constScanLine(row), bytes) == 0) {
            continue;
        }
        std::memcpy(writableSurface(row), from.constScanLine(row), bytes);
        firstChanged = std::min(firstChanged, row);
        lastChanged = row;
    }
    if (lastChanged < 0) {
        return;
    }
    // At once rather than at the next pass of the event loop: the frame is due now, and the
    // loop need not wake a second time for it.
    const qreal ratio = m_surface.devicePixelRatio();
    const int top = int(std::floor(firstChanged / ratio));
    const int bottom = int(std::ceil((lastChanged + 1) / ratio));
    repaint(QRect(0, top, width(), bottom - top));
}

void PictureBox::paintEvent(QPaintEvent *)
{
    // A widget resized since its last frame shows its bare picture at the new size, never the
    // old surface, which would leave part of it unpainted.
    ensureSurface();
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface);
}
