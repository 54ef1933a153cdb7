#include "Differences.h"

#include "PatchSetEditor.h"
#include "SideListing.h"

#include <algorithm>
#include <iterator>

QList<int> linesInState(const SideListing &listing, MarkState state)
{
    QList<int> lines;
    for (int line = 0; line < listing.lineCount(); ++line) {
        if (inState(listing.markOfLine(line), state)) {
            lines.append(line);
        }
    }
    return lines;
}

int nextLineInState(const SideListing &listing, int from, int step, MarkState state)
{
    const int count = listing.lineCount();
    int line = from >= 0 && from < count ? from : step > 0 ? count - 1 : 0;
    for (int tried = 0; tried < count; ++tried) {
        line = (line + step + count) % count;
        if (inState(listing.markOfLine(line), state)) {
            return line;
        }
    }
    return -1;
}

QList<int> otherLines(const QList<int> &selected, int count)
{
    QList<int> others;
    auto next = selected.cbegin();
    for (int line = 0; line < count; ++line) {
        while (next != selected.cend() && *next < line) {
            ++next;
        }
        if (next == selected.cend() || *next != line) {
            others.append(line);
        }
    }
    return others;
}

void PatchSetEditor::selectByState(Side side, MarkState state)
{
    SideListing &listing = m_sides[side].listing;
    const QList<int> selected = listing.selectedLines();
    const QList<int> added = linesInState(listing, state);
    QList<int> lines;
    lines.reserve(selected.size() + added.size());
    std::set_union(selected.cbegin(), selected.cend(), added.cbegin(), added.cend(),
                   std::back_inserter(lines));
    if (lines != selected) {
        listing.select(lines);
    }
}

void PatchSetEditor::invertSelection(Side side)
{
    SideListing &listing = m_sides[side].listing;
    listing.select(otherLines(listing.selectedLines(), listing.lineCount()));
}

void PatchSetEditor::goToDifference(Side side, int step)
{
    SideListing &listing = m_sides[side].listing;
    const int current = listing.currentLine();
    const int line = nextLineInState(listing, current, step, MarkState::Differing);
    if (line < 0 || line == current) {
        return;
    }
    listing.setCurrentLine(line);
    // The entry view and the summary follow the current line, which the user did not click.
    if (m_changed) {
        m_changed();
    }
}

void PatchSetEditor::setFilter(Side side, const SideFilter &filter)
{
    SideListing &listing = m_sides[side].listing;
    if (listing.filter() == filter) {
        return;
    }
    listing.setFilter(filter);
    if (m_changed) {
        m_changed();
    }
}

QString PatchSetEditor::countBreakdown(Side side) const
{
    return marksBreakdown(side, m_marks.listedMarks(side));
}
