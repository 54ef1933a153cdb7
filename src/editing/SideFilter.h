// What a side's list shows of its listed entries, and the states a line can be selected by:
// the lines whose name holds a text, ignoring case, and those of one state of their mark
// (differing from the other side's namesake, identical, either, or only on this side).
// SideListing keeps one filter per side and lists only the records it keeps; the editor sets
// it for the user, and Differences selects lines by the same states. A filter is only a view
// of the set: it changes no table and nothing that is saved.
#pragma once

#include "LineMarks.h"

#include <QString>

// A state of a line, by its mark; Any takes every line.
enum class MarkState {
    Any,
    Differing, // its namesake on the other side differs
    Identical, // its namesake on the other side is equal in every field
    Shared,    // it has a namesake on the other side, equal or not
    OnlyHere,  // no listed entry on the other side has its name
};

// Whether a line marked `mark` is in `state`.
bool inState(LineMark mark, MarkState state);
// The state as the window names the lines of `side` in it: "differing", "identical",
// "shared", "only in SRC"; empty for Any.
QString stateName(MarkState state, Side side);

struct SideFilter
{
    // Kept: names that contain it, compared as the list shows them and ignoring case; empty
    // keeps every name. Any text, however long or odd, is only looked for.
    QString text;
    MarkState state = MarkState::Any;

    // Whether the filter keeps every line, so that the list shows its whole side.
    bool keepsAll() const { return text.isEmpty() && state == MarkState::Any; }
    // Whether it keeps the line of a record named `name` (decoded) whose mark is `mark`.
    bool keeps(const QString &name, LineMark mark) const;

    friend bool operator==(const SideFilter &a, const SideFilter &b)
    {
        return a.text == b.text && a.state == b.state;
    }
    friend bool operator!=(const SideFilter &a, const SideFilter &b) { return !(a == b); }
};
