// The marquee: a line of text scrolling right to left through the small strip in the middle
// column, rotating through four texts. Owns the texts, the tick arithmetic and the width
// measurement; it draws on two PictureBoxes, the off-screen buffer (Picture2) and the visible
// strip (Picture1). Form1 calls startMarquee() at start-up and marqueeTick() once per 10 ms
// tick while the window is shown, waking only when ticksUntilNextFrame() says a frame is due.
#pragma once

#include "PictureBox.h"

#include <QFont>
#include <QString>

#include <array>

// The four texts in the order they are shown: 384, 174, 195 and 180 characters.
const std::array<QString, 4> &marqueeTexts();

struct MarqueeState
{
    int marqueeX = 0;         // twips; where the text is drawn
    int marqueeTextIndex = 0; // which text the next wrap loads, 0..3
    QString text;             // the text scrolling now

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

// How many ticks from now until marqueeTick() shows another frame: the first tick that puts
// the text on another device pixel of `Picture2`, or starts the next text. The ticks before it
// draw nothing, so they may run together when it is due. 1 while no frame has been shown.
int ticksUntilNextFrame(const MarqueeState &state, const PictureBox &Picture2);
