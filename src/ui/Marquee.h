// The marquee: a line of text scrolling right to left through the small strip in the middle
// column, rotating through four texts. Owns the texts, the tick arithmetic, the width
// measurement and PictureBox, the picture with a persistent drawing surface that serves as
// both the off-screen buffer (Picture2) and the visible strip (Picture1). Form1 calls
// startMarquee() at start-up and marqueeTick() from Timer1, every 10 ms for the whole run.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QStaticText>
#include <QString>
#include <QWidget>

#include <array>

// The four texts in the order they are shown: 384, 174, 195 and 180 characters.
const std::array<QString, 4> &marqueeTexts();

// A picture with a drawing surface that keeps what is drawn on it until Cls(). The surface
// covers the widget at its device pixel ratio, so text stays sharp on scaled screens; it is
// rebuilt (as the bare picture) when the widget's size or ratio changes. Drawing on the
// surface does not repaint the widget: copyFrom() is the one call that shows a frame, which
// keeps a hidden buffer from ever being painted.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    // The widget starts at the picture's size; the window may give it another geometry.
    explicit PictureBox(const QPixmap &picture, QWidget *parent = nullptr);

    // The surface shows the bare picture again (white where the picture does not reach).
    void Cls();
    // Draws `text` as one line in the widget's font and textColor(), its top-left corner at
    // (xTwips, yTwips), 15 twips to a logical pixel, rounded to the nearest device pixel.
    // Parts outside the surface are dropped.
    void printText(const QString &text, int xTwips, int yTwips);
    // This surface becomes a copy of `source`'s (from their top-left corners), then repaints.
    void copyFrom(const PictureBox &source);

    void setTextColor(const QColor &color) { m_textColor = color; }
    QColor textColor() const { return m_textColor; }

    // Where printText() puts a position in twips: whole device pixels.
    int devicePixels(int twips) const;

    // The surface as it stands, at the device pixel ratio; for tests.
    QImage surface() const { return m_surface.toImage(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void ensureSurface();

    QPixmap m_picture;
    QPixmap m_bare;    // the picture rendered once at the surface's size and ratio
    QPixmap m_surface;
    QColor m_textColor = QColor(128, 128, 128);
    QStaticText m_printed; // laid out once per text, not once per frame
};

struct MarqueeState
{
    int marqueeX = 0;          // twips; where the text is drawn
    int marqueeTextIndex = 0;  // which text the next wrap loads, 0..3
    QString text;              // the text scrolling now

    // Width cache for marqueeTick(): the text is measured once, not on every tick.
    QString measuredText;
    QFont measuredFont;
    int measuredWidthTwips = 0;
    bool measured = false;

    // The frame Picture1 shows, so a tick that would draw the same pixels again is skipped:
    // a step is 0.4 pixels, and each frame shown costs a trip to the window system.
    QString shownText;
    QFont shownFont;
    int shownDeviceX = 0;
    qreal shownRatio = 0;
    bool shown = false;
};

// marqueeX 1500, text 1, index 0.
void startMarquee(MarqueeState &state);

// The tick arithmetic: six twips to the left; once x has reached -textWidthTwips (the width
// of the text now scrolling, which has just left on the left), the next text starts at 1600.
// The texts run 1, 2, 3, 4, 1, ...
void advanceMarquee(MarqueeState &state, int textWidthTwips);

// The rendered width of `text` in `font`, in twips (15 to a logical pixel), rounded.
int textWidthTwips(const QString &text, const QFont &font);

// One Timer1 tick: measure the current text in `label3Font`, advance, compose the frame on
// Picture2 (clear, print at marqueeX) and show it by one copy into Picture1. When the text
// would land on the same device pixel as in the frame shown, nothing is drawn.
void marqueeTick(MarqueeState &state, const QFont &label3Font, PictureBox &Picture2,
                 PictureBox &Picture1);
