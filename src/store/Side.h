// The two sides the program holds a set on: Left is SRC, shown on the left, Right is DEST.
// Everything kept once per side is a BySide, and the other side and a side's name are worked
// out here only, so the store, the editing rules and the window all speak of sides alike.
// Included by PatchSets.h; code that only needs the sides includes this alone.
#pragma once

#include <QLatin1String>

enum class Side { Left, Right };

constexpr Side otherSide(Side side)
{
    return side == Side::Left ? Side::Right : Side::Left;
}

// The side's name as the window and every message spell it: "SRC" or "DEST".
constexpr QLatin1String sideName(Side side)
{
    return side == Side::Left ? QLatin1String("SRC") : QLatin1String("DEST");
}

// One value for each side, taken by side, for what is kept the same way for both.
template<typename T>
struct BySide
{
    T left;
    T right;

    T &operator[](Side side) { return side == Side::Left ? left : right; }
    const T &operator[](Side side) const { return side == Side::Left ? left : right; }
    friend bool operator==(const BySide &a, const BySide &b)
    {
        return a.left == b.left && a.right == b.right;
    }
};
