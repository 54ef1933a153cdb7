// Marks for entries both sets share: whether a listed entry's name also names a listed
// entry on the other side and, if so, whether the two entries are equal. The editor has the
// marks follow the tables after every change of either one; each side's listing gives its
// lines the marks of their records, and the window shows them and takes its tooltip texts from
// lineMarkText(), differingRowsText(), marksBreakdown() and, for a name that is nearly another's,
// SharedMarks::nearNameText().
#pragma once

#include "PatchSets.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

// Whether `entry` is listed, and so has a line and can be a namesake: Omnipresence 1. Other
// non-zero values come from hand-made files and are kept and saved as they are, but have no
// line.
inline bool isListed(const PatchEntry &entry)
{
    return entry.Omnipresence == 1;
}

enum class LineMark {
    None,      // no listed entry of that name on the other side
    Identical, // every field equals the other side's first listed entry of that name
    Differs,
};

// The marks of both sides' records, worked out as they are asked for. Only the namesakes are
// kept, each side's first listed entry of each name, and they are worked out again only for a
// side whose table changed: a command costs the marks one pass over the names of the tables it
// changed, and a line costs a lookup and at most one comparison, when a view shows it, or when a
// filter, a select by state or the count's breakdown asks for every line. Each mark is kept
// once worked out, until the tables change, so those ask for them again at the cost of a read.
class SharedMarks
{
public:
    // `sets` lives as long as the marks.
    explicit SharedMarks(const PatchSets &sets);

    // Takes both tables as they are now: the marks are theirs until the next call, whatever
    // happens to the tables meanwhile. A table that still shares its storage with the one
    // taken before is unchanged, since a change would have detached it, and keeps its
    // namesakes.
    void follow();
    // The mark of the record at `position` of `side`'s table as follow() took it: against the
    // other side's first listed entry of the same Name, byte for byte. None for a record that
    // is not listed (Omnipresence other than 1) and for a position outside that table.
    LineMark markOf(Side side, int position) const;
    // The other side's first listed entry of the name of the record at `position` of `side`'s
    // table, as follow() took them: the entry markOf() compares with. nullptr when markOf()
    // gives None. Valid until the next follow().
    const PatchEntry *namesakeOf(Side side, int position) const;
    // The marks of `side`'s listed records, in table order: what the side's count is made of.
    QList<LineMark> listedMarks(Side side) const;
    // For a listed record of `side` with no namesake on the other side, whose Name reads as
    // the Name of a listed entry there but for letter case or trailing spaces: "nearly the
    // name of DEST's 'Fix lives'", naming the first such entry. Empty otherwise, as for a
    // position outside the table. Copies compare names byte for byte, so such a pair are two
    // entries, and this is what tells the user so.
    QString nearNameText(Side side, int position) const;
    // Whether `side`'s table, as follow() took it, holds a record named `name` that is not
    // listed before the first listed one of that name. A copy meets the first record of a
    // name, listed or not, so a line marked against that listed one says nothing of the copy.
    bool unlistedFirst(Side side, QByteArrayView name) const
    {
        return m_unlistedFirst[side].contains(name);
    }

private:
    // A mark not worked out since the tables were taken.
    static constexpr qint8 Unknown = -1;

    // The record at `position` of `side`'s table as follow() took it, when it is listed;
    // nullptr for one that is not, and for a position outside the table.
    const PatchEntry *listedAt(Side side, int position) const;
    // The position of the namesake markOf() compares with, or -1.
    int namesakePosition(Side side, int position) const;

    const PatchSets &m_sets;
    // The tables as follow() took them, sharing the sets' storage, and for each name the
    // position of its first listed entry there. The names are read in place: a table that
    // shares its storage never changes, and the tables here are never changed.
    BySide<PatchTable> m_tables;
    BySide<QHash<QByteArrayView, int>> m_first;
    // The names unlistedFirst() answers for, read in place as those of m_first; rarely any, as
    // only a hand-made file holds records that are kept but not listed.
    BySide<QSet<QByteArrayView>> m_unlistedFirst;
    // Each record's mark as an int of LineMark once worked out, Unknown before; a change of
    // either table can change the marks of both sides, so both start afresh then.
    mutable BySide<std::vector<qint8>> m_known;
    // The same for the names folded (foldedName() in the source), made when first asked for.
    mutable BySide<std::optional<QHash<QString, int>>> m_firstFolded;
};

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

// What the lines of `side` are, from their marks in line order: "301 entries: 40 also in DEST
// (30 differ, 10 identical), 261 only in SRC"; parts that count nothing are left out.
QString marksBreakdown(Side side, const QList<LineMark> &marks);
