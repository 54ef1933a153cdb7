#include "Marquee.h"

#include "WindowLook.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int StartX = 1500;
constexpr int WrapX = 1600;
constexpr int StepTwips = 6;

void measureText(MarqueeState &state, const QFont &label3Font)
{
    if (!state.measured || state.measuredText != state.text || state.measuredFont != label3Font) {
        state.measuredWidthTwips = textWidthTwips(state.text, label3Font);
        state.measuredText = state.text;
        state.measuredFont = label3Font;
        state.measured = true;
    }
}

} // namespace

const std::array<QString, 4> &marqueeTexts()
{
    static const std::array<QString, 4> texts = {
        QStringLiteral("tolvane merges patch sets. load one set into src on the left and another "
                       "into dest on the right, pick the entries you want and copy them over. an "
                       "entry with the same name as one in dest is only overwritten after you say "
                       "yes. put dest in order with the small arrows, then save it as a tavro 0.3 "
                       "file. tolvane never applies a patch: it only reads, sorts and writes the "
                       "sets you give it."),
        QStringLiteral("a patch set is a plain text file ending in tvr. each entry has a name, a "
                       "description, up to a hundred data slots and up to thirty parameters that "
                       "the user of a patch can set."),
        QStringLiteral("click any entry in either list to see a summary in the middle column: how "
                       "many offsets it uses, how many of its parameters have an offset, and how "
                       "many bytes of data it has. the set is unchanged."),
        QStringLiteral("new starts a fresh dest set with one placeholder entry. entries selected "
                       "in dest are removed when you press copy. nothing gets written until you "
                       "press save, and only dest is saved."),
    };
    return texts;
}

void startMarquee(MarqueeState &state)
{
    state.marqueeX = StartX;
    state.marqueeTextIndex = 0;
    state.text = marqueeTexts()[0];
}

void advanceMarquee(MarqueeState &state, int textWidthTwips)
{
    state.marqueeX -= StepTwips;
    if (-textWidthTwips < state.marqueeX) {
        return;
    }
    state.marqueeX = WrapX;
    const int shown = state.marqueeTextIndex;
    state.marqueeTextIndex = shown + 1;
    // Index i has been showing text i + 1; the wrap loads the one after it.
    if (shown >= 0 && shown < 3) {
        state.text = marqueeTexts()[shown + 1];
    } else {
        // After the last text (or from any stray index) the rotation begins again.
        state.text = marqueeTexts()[0];
        state.marqueeTextIndex = 0;
    }
}

int textWidthTwips(const QString &text, const QFont &font)
{
    const double twips = QFontMetricsF(font).horizontalAdvance(text) * WindowLook::TwipsPerPixel;
    return int(std::lround(std::min(twips, double(std::numeric_limits<int>::max()))));
}

void marqueeTick(MarqueeState &state, const QFont &label3Font, PictureBox &Picture2,
                 PictureBox &Picture1)
{
    measureText(state, label3Font);
    advanceMarquee(state, state.measuredWidthTwips);
    // A text that has just come in is measured now, so its first wake can be worked out.
    measureText(state, label3Font);
    const int deviceX = Picture2.devicePixels(state.marqueeX);
    const qreal ratio = Picture2.devicePixelRatioF();
    if (state.shown && state.shownDeviceX == deviceX && state.shownRatio == ratio
        && state.shownText == state.text && state.shownFont == Picture2.font()) {
        return;
    }
    state.shown = true;
    state.shownDeviceX = deviceX;
    state.shownRatio = ratio;
    state.shownText = state.text;
    state.shownFont = Picture2.font();
    Picture2.Cls();
    Picture2.printText(state.text, state.marqueeX, 0);
    Picture1.copyFrom(Picture2);
}

int ticksUntilNextFrame(const MarqueeState &state, const PictureBox &Picture2)
{
    if (!state.shown || !state.measured || state.measuredText != state.text) {
        return 1;
    }
    // The arithmetic is cheap; walking it forward finds the due tick without drawing anything.
    // Within the bound the text has always moved a pixel or wrapped, at any sane pixel ratio.
    constexpr int Bound = 1000;
    MarqueeState ahead = state;
    for (int ticks = 1; ticks < Bound; ++ticks) {
        advanceMarquee(ahead, state.measuredWidthTwips);
        if (ahead.marqueeTextIndex != state.marqueeTextIndex
            || Picture2.devicePixels(ahead.marqueeX) != state.shownDeviceX) {
            return ticks;
        }
    }
    return Bound;
}

Marquee::Marquee(QLabel *textLabel, PictureBox *buffer, PictureBox *strip, QObject *parent)
    : QObject(parent), m_textLabel(textLabel), m_buffer(buffer), m_strip(strip),
      m_timer(new QTimer(this))
{
    startMarquee(m_state);
    m_textLabel->setText(m_state.text);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TickInterval);
    // Woken only when the strip is due to change, on the tick itself.
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &Marquee::runDueTicks);
}

void Marquee::setRest(Rest rest, bool holds)
{
    const unsigned rests = holds ? m_rests | rest : m_rests & ~unsigned(rest);
    if (rests == m_rests) {
        return;
    }
    const bool wasMoving = isMoving();
    m_rests = rests;
    if (isMoving() == wasMoving) {
        return;
    }
    if (isMoving()) {
        schedule();
    } else {
        // The ticks of the coming wake are dropped: the strip stays at the frame it shows.
        m_timer->stop();
        m_clock.invalidate();
    }
}

void Marquee::tick()
{
    marqueeTick(m_state, m_textLabel->font(), *m_buffer, *m_strip);
    if (m_textLabel->text() != m_state.text) {
        m_textLabel->setText(m_state.text);
    }
}

void Marquee::runDueTicks()
{
    for (int tick = 0; tick < m_ticksDue; ++tick) {
        this->tick();
    }
    m_ticksRun += m_ticksDue;
    schedule();
}

void Marquee::schedule()
{
    m_ticksDue = ticksUntilNextFrame(m_state, *m_buffer);
    // The wake is set on the clock of the ticks, not from now: waking a little late each
    // time would slow the strip down. A wake more than a tick late (a busy or suspended
    // machine) starts the clock afresh rather than rushing through the ticks it missed; so
    // does the first wake after a rest, which resumes from where the strip stood.
    const qint64 due = (m_ticksRun + m_ticksDue) * TickInterval;
    if (!m_clock.isValid() || m_clock.elapsed() > due + TickInterval) {
        m_clock.start();
        m_ticksRun = 0;
    }
    const qint64 wait = (m_ticksRun + m_ticksDue) * TickInterval - m_clock.elapsed();
    m_timer->start(int(std::max<qint64>(wait, 0)));
}
