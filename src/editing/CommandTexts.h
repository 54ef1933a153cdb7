// Texts that say what a command would do now, or which set a side holds: the status label's
// text and, for tooltips and assistive technology, the file behind it. The window shows them
// and keeps them current; they are worked out here from plain counts, versions and paths, so
// the editing tests pin every wording.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What a press of "copy >>" does with `destSelected` selected DEST lines and `srcSelected`
// selected SRC lines, `identical` of which have an identical namesake in DEST, e.g. "deletes 3
// selected DEST entries, then copies 2 selected SRC entries; 1 identical namesake stays as it
// is". Says that it does nothing while it is disabled or no line is selected.
QString copyCommandEffect(bool enabled, int destSelected, int srcSelected, int identical);

// The file a side holds, as its status label's tooltip names it: the full path of the file
// it was loaded from or saved to, "new set, not saved" for a set started with NEW, and an
// empty text while the side holds no set.
QString sideFileText(bool holdsSet, const QString &path);

// A side's status label once it holds a set: "v." + version + " / " + where the set came
// from. For a loaded set that is its file's last change, `modified` (short date, long time, in
// the user's locale); a set started with NEW is "v.0.3 / [new]", the version a save writes.
// Never empty, so an empty status tells a side without a set.
QString loadedSetStatus(const QByteArray &version, const QDateTime &modified);
QString newSetStatus();
