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

// The surface covers the widget at its device pixel ratio, so text stays sharp on scaled
// screens; it is rebuilt (as the bare picture) when the widget's size or ratio changes.
// Drawing on the surface does not repaint the widget: copyFrom() is the one call that shows a
// frame, which keeps a hidden buffer from ever being painted.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    // The widget starts at the picture's size, with grey text; the window may change either.
    explicit PictureBox(const QPixmap &picture, QWidget *parent = nullptr);

    // The surface shows the bare picture again (white where the picture does not reach).
    void Cls();
    // Draws `text` as one line in the widget's font and its palette's window text colour, its
    // top-left corner at (xTwips, yTwips), 15 twips to a logical pixel, rounded to the nearest
    // device pixel. Parts outside the surface are dropped; only the glyphs that can reach the
    // surface are drawn, so a long line costs no more than a short one.
    void printText(const QString &text, int xTwips, int yTwips);
    // This surface becomes a copy of `source`'s (from their top-left corners), and the widget
    // repaints its own rectangle at once when it is visible.
    void copyFrom(const PictureBox &source);

    // Where printText() puts a position in twips: whole device pixels.
    int devicePixels(int twips) const;

    // The surface as it stands, at the device pixel ratio; for tests.
    QImage surface() const { return m_surface.toImage(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void ensureSurface();
    void layOutLine(const QString &text);

    QPixmap m_picture;
    QPixmap m_bare; // the picture rendered once at the surface's size and ratio
    QPixmap m_surface;

    // The line printed last, laid out once rather than once per frame.
    QString m_lineText;
    QFont m_lineFont;
    QList<QGlyphRun> m_lineRuns;
    qreal m_glyphReach = 0; // how far, in logical pixels, a glyph's ink may lie from its position
    bool m_laidOut = false;
};
