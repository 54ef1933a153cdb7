// Texts that say what a command would do now, or which file a side holds, for tooltips and
// assistive technology. The window shows them and keeps them current; they are worked out
// here from plain counts and paths, so the editing tests pin every wording.
#pragma once

#include <QString>

// What a press of "copy >>" does with `destSelected` selected DEST lines and `srcSelected`
// selected SRC lines, e.g. "deletes 3 selected DEST entries, then copies 2 selected SRC
// entries". Says that it does nothing while it is disabled or no line is selected.
QString copyCommandEffect(bool enabled, int destSelected, int srcSelected);

// The file a side holds, as its status label's tooltip names it: the full path of the file
// it was loaded from or saved to, "new set, not saved" for a set started with NEW, and an
// empty text while the side holds no set.
QString sideFileText(bool holdsSet, const QString &path);
