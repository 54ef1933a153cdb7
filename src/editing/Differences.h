// Finding the lines of one state in a side's list: the lines to select by their mark, and the
// next differing line from the current one. The editor's commands that work through the
// differences of two sets (PatchSetEditor::selectByState(), goToDifference(), their bodies in
// Differences.cpp) ask here; they read the marks of the lines the side's filter shows, each
// worked out once until the tables change, so the largest list costs one pass.
#pragma once

#include "SideFilter.h"

#include <QList>

class SideListing;

// The lines of `listing` in `state`, ascending.
QList<int> linesInState(const SideListing &listing, MarkState state);

// The first line in `state` after line `from` (`step` +1) or before it (-1), going round past
// the end of the list; `from` itself only when no other line is in `state`. From -1 (or a line
// outside the list) the search starts at the first line, or at the last. -1 when no line is.
int nextLineInState(const SideListing &listing, int from, int step, MarkState state);

// The lines of a list of `count` lines that `selected` (ascending) leaves out.
QList<int> otherLines(const QList<int> &selected, int count);
