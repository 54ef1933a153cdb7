// A picture with a drawing surface that keeps what is drawn on it until Cls(), like a picture
// box of the classic toolkits. The marquee draws each frame on one of them (Picture2, never
// seen) and shows it by one copy into another (Picture1, the visible strip). Form1 creates
// both; marqueeTick() in Marquee.h is their one user.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class QPainter;

// The surface covers the widget at its device pixel ratio, so text stays sharp on scaled
// screens; it is rebuilt (as the bare picture) when the widget's size or ratio changes.
// Drawing on the surface does not repaint the widget: copyFrom() is the one call that shows a
// frame, which keeps a hidden buffer from ever being painted. An idle window spends its time
// on the marquee's frames, so each costs as little as it can: the surface is an image in
// memory, clearing it and copying it are plain copies of its bytes, and a line of text is
// drawn once and then copied into each frame (see printText()).
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    // The widget starts at the picture's size, with grey text; the window may change either.
    explicit PictureBox(const QPixmap &picture, QWidget *parent = nullptr);

    // The surface shows the bare picture again (white where the picture does not reach).
    void Cls();
    // Draws `text` as one line in the widget's font and its palette's window text colour, its
    // top-left corner at (xTwips, yTwips), 15 twips to a logical pixel, placed as
    // devicePixels() says. Parts outside the surface are dropped. On a surface cleared by Cls()
    // at a whole device pixel ratio, the line is drawn once over each kind of column the bare
    // picture has and its pixels are copied from there: text over a column depends on nothing
    // but that column, so the pixels are exactly those drawing would give, and moving the line
    // costs no drawing at all.
    void printText(const QString &text, int xTwips, int yTwips);
    // This surface becomes a copy of `source`'s (from their top-left corners), and the widget
    // repaints at once, when it is visible, the rows that changed.
    void copyFrom(const PictureBox &source);

    // Where printText() puts a position in twips: the nearest whole device pixel, in steps of
    // the ratio's whole part. On a screen of ratio 2 a moving text thus steps one logical pixel
    // (two device pixels) at a time: as fast, as sharp, and half the frames.
    int devicePixels(int twips) const;

    // The surface as it stands, at the device pixel ratio; for tests.
    QImage surface() const { return m_surface; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void ensureSurface();
    void layOutLine(const QString &text);
    // Draws the glyphs of the laid-out line whose positions lie within [first, last].
    void drawGlyphs(QPainter &painter, const QPointF &origin, qreal first, qreal last);
    // Draws the laid-out line, its top at device row `top`, over each kind of column; false,
    // drawing nothing, where the drawings would take too much memory.
    bool drawLineOverColumns(int top, const QColor &colour);

    QPixmap m_picture;
    QImage m_bare; // the picture rendered once at the surface's size and ratio
    QImage m_surface;
    // The rows that may differ from the bare picture, m_dirtyTop to m_dirtyBottom: a frame
    // reads and writes only those, so its memory stays as small as its text.
    int m_dirtyTop = 0;
    int m_dirtyBottom = -1;
    bool isBare() const { return m_dirtyBottom < m_dirtyTop; }
    void markDirty(int top, int bottom);
    // Whether `source`'s bare picture is this one's where the two meet; worked out once for
    // each pair of bare pictures.
    bool sameBareAs(const PictureBox &source);
    std::pair<qint64, qint64> m_comparedBares{0, 0}; // the cache keys of the pair worked out
    bool m_bareMatches = false;

    // The bare picture's columns by kind: those of one kind are the same, pixel for pixel.
    std::vector<int> m_columnKinds; // the kind of each device column
    std::vector<int> m_kindColumns; // one column of each kind

    // The line drawn over each kind of column, in device pixels, made for one top row and one
    // colour; empty when there is none.
    std::vector<QImage> m_lineDrawings;
    int m_drawingLeft = 0; // the column of the drawings where the line starts
    int m_drawingTop = 0;  // the line's top row
    int m_inkTop = 0;      // the drawings' rows with ink: m_inkTop to m_inkBottom
    int m_inkBottom = -1;
    QColor m_drawingColour;

    // One run of glyphs of the line printed last, laid out once rather than once per frame.
    struct LineRun
    {
        QGlyphRun slice; // the run's font and flags, drawing the glyphs printText() picks
        QList<quint32> glyphs;
        QList<QPointF> positions;
        bool inOrder; // positions from left to right, as a line of the marquee's texts has them
    };
    QString m_lineText;
    QFont m_lineFont;
    std::vector<LineRun> m_lineRuns;
    qreal m_lineWidth = 0;  // logical pixels, from the line's start to its last advance
    qreal m_glyphReach = 0; // how far, in logical pixels, a glyph's ink may lie from its position
    bool m_laidOut = false;
};
