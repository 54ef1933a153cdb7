// A picture with a drawing surface that keeps what is drawn on it until Cls(), like a picture
// box of the classic toolkits. The marquee draws each frame on one of them (Picture2, never
// seen) and shows it by one copy into another (Picture1, the visible strip). Form1 creates
// both; marqueeTick() in Marquee.h is their one user.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

// The surface covers the widget at its device pixel ratio, so text stays sharp on scaled
// screens; it is rebuilt (as the bare picture) when the widget's size or ratio changes.
// Drawing on the surface does not repaint the widget: copyFrom() is the one call that shows a
// frame, which keeps a hidden buffer from ever being painted. The surface is an image in
// memory, so clearing it and copying it are plain copies of its bytes, and the one painter
// that draws text on it stays open from frame to frame: an idle window spends its time on the
// marquee's frames, so each costs as little as it can.
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
    // devicePixels() says. Parts outside the surface are dropped; only the glyphs that can reach
    // the surface are drawn, so a long line costs no more than a short one.
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
    // The painter that draws on the surface, opened once and kept open, since opening one
    // costs more than the few glyphs a frame draws.
    QPainter &surfacePainter();
    // The surface's bytes to write into. A surface shared with a copy handed out gets bytes of
    // its own here, and the painter, which drew on the shared ones, is closed.
    uchar *writableSurface(int row);

    QPixmap m_picture;
    QImage m_bare; // the picture rendered once at the surface's size and ratio
    QImage m_surface;
    std::unique_ptr<QPainter> m_painter; // on m_surface; closed before the surface goes

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
    qreal m_glyphReach = 0; // how far, in logical pixels, a glyph's ink may lie from its position
    bool m_laidOut = false;
};
