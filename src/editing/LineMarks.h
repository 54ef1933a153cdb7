// Marks for entries both sets share: whether a listed entry's name also names a listed
// entry on the other side and, if so, whether the two entries are equal. The editor works
// them out after every change of either table and hands them to each side's listing, which
// gives each line the mark of its record; the window shows them and takes its tooltip texts
// from lineMarkText(), differenceText() and marksBreakdown().
#pragma once

#include "PatchSets.h"

#include <QList>
#include <QString>

enum class LineMark {
    None,      // no listed entry of that name on the other side
    Identical, // every field equals the other side's first listed entry of that name
    Differs,
};

// One mark per record of each side's table, by table position: what a line showing the
// record is marked with. A record that is not listed (Omnipresence other than 1) has None.
using SharedEntryMarks = BySide<QList<LineMark>>;

// Marks every listed entry against the first listed entry of the same Name (byte for
// byte) on the other side. Marks go by record rather than by line, so which records have
// lines, and in which order, is the listing's alone to say.
SharedEntryMarks sharedEntryMarks(const PatchTable &src, const PatchTable &dest);

// The position in `table` of the first listed entry named `name`, byte for byte: the
// namesake a line of the other side is marked against. -1 when there is none.
int firstListedNamed(const PatchTable &table, const QByteArray &name);

// The text a marked line of `side` carries (tooltip and accessible description); empty for
// LineMark::None.
QString lineMarkText(Side side, LineMark mark);

// The rows two namesakes differ in, in few words: "Description, Data slot 11", at most five
// labels, then "and 4 more". Empty when the two are equal. The overwrite question and a
// differing line say it alike.
QString differingRowsText(const PatchEntry &src, const PatchEntry &dest);
// A differing line's text: "differs in Description, Data slot 11"; empty for equal entries.
QString differenceText(const PatchEntry &src, const PatchEntry &dest);

// What the lines of `side` are, from their marks in line order: "301 entries: 40 also in DEST
// (30 differ, 10 identical), 261 only in SRC"; parts that count nothing are left out.
QString marksBreakdown(Side side, const QList<LineMark> &marks);
