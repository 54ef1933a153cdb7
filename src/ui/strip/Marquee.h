// The marquee: a line of text scrolling right to left through the small strip in the middle
// column, rotating through four texts. Owns the texts, the tick arithmetic, the width
// measurement and the clock: it draws on two PictureBoxes, the off-screen buffer (Picture2) and
// the visible strip (Picture1), and wakes through Timer1 only when ticksUntilNextFrame() says a
// frame is due. Form1 creates one Marquee and tells it when the strip must rest.
#pragma once

#include "PictureBox.h"

#include <QElapsedTimer>
#include <QFont>
#include <QObject>
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

// One tick: measure the current text in `label3Font`, advance, compose the frame on
// Picture2 (clear, print at marqueeX) and show it by one copy into Picture1. When the text
// would land on the same device pixel as in the frame shown, nothing is drawn.
void marqueeTick(MarqueeState &state, const QFont &label3Font, PictureBox &Picture2,
                 PictureBox &Picture1);

// How many ticks from now until marqueeTick() shows another frame: the first tick that puts
// the text on another device pixel of `Picture2`, or starts the next text. The ticks before it
// draw nothing, so they may run together when it is due. 1 while no frame has been shown.
int ticksUntilNextFrame(const MarqueeState &state, const PictureBox &Picture2);

class QLabel;
class QTimer;

// The strip as the window runs it: its state, Timer1 and the clock of its ticks. It runs one
// tick per TickInterval on average, but wakes only when a frame is due and stands still where
// it is while any rest holds; then nothing wakes the program, and it resumes from there.
class Marquee : public QObject
{
    Q_OBJECT

public:
    static constexpr int TickInterval = 10; // ms

    // Why the strip stands still; combined with |.
    enum Rest : unsigned {
        Unseen = 1u << 0,        // the window is hidden or minimised
        Inactive = 1u << 1,      // another window has the keyboard
        NoAnimations = 1u << 2,  // the desktop asks programs not to animate
        StoppedByUser = 1u << 3, // a click on the strip stopped it
    };

    // Starts the texts at their first position and shows it in `textLabel` (Label3), whose
    // font the texts are measured in. It starts resting as Unseen and Inactive.
    Marquee(QLabel *textLabel, PictureBox *buffer, PictureBox *strip, QObject *parent);

    void setRest(Rest rest, bool holds);
    bool rests(Rest rest) const { return (m_rests & rest) != 0; }
    bool isMoving() const { return m_rests == 0; }
    const MarqueeState &state() const { return m_state; }

private:
    void tick();
    // Timer1's wake: the ticks that were due, then the wake for the next frame.
    void runDueTicks();
    void schedule();

    QLabel *m_textLabel;
    PictureBox *m_buffer;
    PictureBox *m_strip;
    QTimer *m_timer;
    MarqueeState m_state;
    unsigned m_rests = Unseen | Inactive;
    QElapsedTimer m_clock; // since the strip last started; invalid while it rests
    qint64 m_ticksRun = 0; // ticks run on that clock
    int m_ticksDue = 0;    // ticks the next wake runs
};
