// The entry detail panel: the four-line summary of one entry (side marker, used offsets,
// parameter offsets, data size) and the fade that shows it in the detail label.
// Form1 calls detailSummary() from the click handlers of both lists (and the copy command
// through the DEST handler), starts a DetailFade with the text and drives tick() from Timer2.
// Nothing here touches a widget: the window applies the grey level and the text itself.
#pragma once

#include "PatchSets.h"

#include <QString>

#include <optional>

// "<<" (Left) or ">>" (Right), then "Offsets: n", "Params: n" and "Size: n", joined by CR LF
// with no line break at the end. Offsets counts the data slots 0..99 with a non-empty
// Offffset; Params the parameter slots 0..29 with a non-empty offsetka, whatever their
// existence; Size adds, over the counted data slots only, half the length of the longest of
// DeflData, ModNData and ModRData, rounded down. Size is summed in 64 bits, so it is exact
// for any text that fits in memory; it never wraps to a negative number.
QString detailSummary(const PatchEntry &entry, Side side);

// The fade-in of the detail label: start() at level 255 with the new text; every tick lowers
// the level by 10 and, while it stays above 90, gives the grey to paint the text in (245,
// 235, ... 95: sixteen ticks). The tick that falls to 90 or below returns nothing and the
// window stops its timer; the label keeps its text and its last grey.
class DetailFade
{
public:
    // Restarts from 255 even when a fade is running or the text is unchanged.
    void start(const QString &text);

    // One timer tick. On a value g the window sets the label's colour to (g, g, g) and its
    // text to detailText() if it differs. std::nullopt means the fade is over; ticks after
    // that keep returning std::nullopt and leave the level where it stopped.
    std::optional<int> tick();

    const QString &detailText() const { return m_detailText; }
    int fadeLevel() const { return m_fadeLevel; }

private:
    static constexpr int StartLevel = 255;
    static constexpr int Step = 10;
    static constexpr int LastVisibleAbove = 90;

    int m_fadeLevel = 0;
    QString m_detailText;
};
