#include "PictureBox.h"

#include "WindowLook.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

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
    m_lineDrawings.clear();
    m_columnKinds.clear();
    m_kindColumns.clear();
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
    m_dirtyTop = 0;
    m_dirtyBottom = -1;

    const auto sameColumn = [this](int left, int right) {
        for (int row = 0; row < m_bare.height(); ++row) {
            const auto *line = reinterpret_cast<const QRgb *>(m_bare.constScanLine(row));
            if (line[left] != line[right]) {
                return false;
            }
        }
        return true;
    };
    for (int column = 0; column < m_bare.width(); ++column) {
        const auto kind = std::find_if(m_kindColumns.cbegin(), m_kindColumns.cend(),
                                       [&](int other) { return sameColumn(column, other); });
        m_columnKinds.push_back(int(kind - m_kindColumns.cbegin()));
        if (kind == m_kindColumns.cend()) {
            m_kindColumns.push_back(column);
        }
    }
}

void PictureBox::Cls()
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    for (int row = m_dirtyTop; row <= m_dirtyBottom; ++row) {
        std::memcpy(m_surface.scanLine(row), m_bare.constScanLine(row),
                    std::size_t(m_bare.bytesPerLine()));
    }
    m_dirtyTop = 0;
    m_dirtyBottom = -1;
}

bool PictureBox::sameBareAs(const PictureBox &source)
{
    const std::pair<qint64, qint64> bares{m_bare.cacheKey(), source.m_bare.cacheKey()};
    if (bares != m_comparedBares) {
        m_comparedBares = bares;
        const int rows = std::min(m_bare.height(), source.m_bare.height());
        const auto bytes = std::size_t(std::min(m_bare.width(), source.m_bare.width()))
            * std::size_t(m_bare.depth() / 8);
        m_bareMatches = m_bare.height() == source.m_bare.height();
        for (int row = 0; m_bareMatches && row < rows; ++row) {
            m_bareMatches =
                std::memcmp(m_bare.constScanLine(row), source.m_bare.constScanLine(row), bytes)
                == 0;
        }
    }
    return m_bareMatches;
}

void PictureBox::markDirty(int top, int bottom)
{
    if (bottom < top) {
        return;
    }
    if (isBare()) {
        m_dirtyTop = top;
        m_dirtyBottom = bottom;
        return;
    }
    m_dirtyTop = std::min(m_dirtyTop, top);
    m_dirtyBottom = std::max(m_dirtyBottom, bottom);
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
    m_lineWidth = 0;
    if (line.isValid()) {
        line.setLineWidth(1e6); // any width: the line does not wrap
        line.setPosition(QPointF(0, 0));
        m_lineWidth = line.naturalTextWidth();
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
    m_lineDrawings.clear();
}

void PictureBox::drawGlyphs(QPainter &painter, const QPointF &origin, qreal first, qreal last)
{
    // A glyph is drawn at the same place whether or not its neighbours are, so drawing only
    // those within reach gives exactly the pixels of the whole line. The glyphs of a run lie
    // in order, so those within reach are one slice of it, drawn in place.
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

bool PictureBox::drawLineOverColumns(int top, const QColor &colour)
{
    // A few kinds for a picture like the strip (its middle, its rim); a picture whose every
    // column differs would make each frame cheaper at a cost in memory not worth paying.
    constexpr qint64 MostPixels = 4 << 20;
    const qreal ratio = m_surface.devicePixelRatio();
    const int left = int(std::ceil(m_glyphReach * ratio));
    const int width = left + int(std::ceil((m_lineWidth + m_glyphReach) * ratio)) + 1;
    const int height = m_surface.height();
    m_lineDrawings.clear();
    if (qint64(m_kindColumns.size()) * width * height > MostPixels) {
        return false;
    }
    m_inkTop = height;
    m_inkBottom = -1;
    for (const int column : m_kindColumns) {
        QImage drawing(width, height, m_surface.format());
        drawing.setDevicePixelRatio(ratio);
        for (int row = 0; row < height; ++row) {
            const QRgb under = reinterpret_cast<const QRgb *>(m_bare.constScanLine(row))[column];
            std::fill_n(reinterpret_cast<QRgb *>(drawing.scanLine(row)), width, under);
        }
        {
            QPainter painter(&drawing);
            painter.setPen(colour);
            drawGlyphs(painter, QPointF(left / ratio, top / ratio),
                       -std::numeric_limits<qreal>::infinity(),
                       std::numeric_limits<qreal>::infinity());
        }
        for (int row = 0; row < height; ++row) {
            const auto *line = reinterpret_cast<const QRgb *>(drawing.constScanLine(row));
            const QRgb under = reinterpret_cast<const QRgb *>(m_bare.constScanLine(row))[column];
            if (std::any_of(line, line + width, [under](QRgb pixel) { return pixel != under; })) {
                m_inkTop = std::min(m_inkTop, row);
                m_inkBottom = std::max(m_inkBottom, row);
            }
        }
        m_lineDrawings.push_back(std::move(drawing));
    }
    m_drawingLeft = left;
    m_drawingTop = top;
    m_drawingColour = colour;
    return true;
}

void PictureBox::printText(const QString &text, int xTwips, int yTwips)
{
    ensureSurface();
    if (m_surface.isNull()) {
        return;
    }
    layOutLine(text);
    const int x = devicePixels(xTwips);
    const int y = devicePixels(yTwips);
    const QColor colour = palette().color(QPalette::WindowText);
    const qreal ratio = m_surface.devicePixelRatio();
    // At a ratio with a fraction, a position divided by it and multiplied again may round to
    // another phase of a glyph than the same position in the drawing: there, glyphs are drawn.
    const bool wholeRatio = ratio == std::floor(ratio);
    const bool drawn = !m_lineDrawings.empty() && m_drawingTop == y && m_drawingColour == colour;
    if (isBare() && wholeRatio && (drawn || drawLineOverColumns(y, colour))) {
        markDirty(m_inkTop, m_inkBottom);
        for (int row = m_inkTop; row <= m_inkBottom; ++row) {
            auto *line = reinterpret_cast<QRgb *>(m_surface.scanLine(row));
            const int from = std::max(0, x - m_drawingLeft);
            const int to =
                std::min(m_surface.width(), x - m_drawingLeft + m_lineDrawings[0].width());
            for (int column = from; column < to; ++column) {
                const QImage &drawing = m_lineDrawings[std::size_t(m_columnKinds[column])];
                line[column] = reinterpret_cast<const QRgb *>(
                    drawing.constScanLine(row))[column - x + m_drawingLeft];
            }
        }
        return;
    }
    markDirty(0, m_surface.height() - 1);
    const QPointF origin(x / ratio, y / ratio);
    QPainter painter(&m_surface);
    painter.setPen(colour);
    drawGlyphs(painter, origin, -origin.x() - m_glyphReach,
               -origin.x() + m_surface.deviceIndependentSize().width() + m_glyphReach);
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
        QPainter painter(&m_surface);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, from);
        painter.end();
        markDirty(0, m_surface.height() - 1);
        repaint();
        return;
    }
    // The common top-left part, row by row, as drawing it with the Source mode would; only the
    // rows that changed are painted again, so a frame of a line of text sends only that line's
    // rows to the window system, and a frame like the last sends nothing. Rows bare in both
    // boxes are skipped: the two boxes show the same picture, and a frame touches no more
    // memory than its text needs.
    const int rows = std::min(from.height(), m_surface.height());
    const auto bytes =
        std::size_t(std::min(from.width(), m_surface.width())) * std::size_t(m_surface.depth() / 8);
    markDirty(source.m_dirtyTop, source.m_dirtyBottom);
    if (!sameBareAs(source)) {
        markDirty(0, rows - 1);
    }
    int firstChanged = rows;
    int lastChanged = -1;
    for (int row = m_dirtyTop; row <= std::min(m_dirtyBottom, rows - 1); ++row) {
        if (std::memcmp(m_surface.constScanLine(row), from.constScanLine(row), bytes) == 0) {
            continue;
        }
        std::memcpy(m_surface.scanLine(row), from.constScanLine(row), bytes);
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
