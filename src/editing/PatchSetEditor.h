// The set-editing routines and commands: the side refresh that keeps each table, its list
// and its count in step, the copy-and-delete command, the four moves, the new DEST set,
// the two side commands and the installing of a freshly loaded set; it alone writes a side's
// status label once the side holds a set. The window owns one editor and wires its buttons
// to it; the editor works on PatchSets and on the views only.
// Lines map to records explicitly, so a record that is kept but not listed (Omnipresence
// other than 0 and 1) never makes a command act on the wrong entry.
#pragma once

#include "PatchSets.h"
#include "SideView.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class PatchSetEditor
{
public:
    // Returns true for Yes; asked before a DEST entry of the same name is overwritten.
    // Without a question set, nothing is ever overwritten.
    using OverwriteQuestion = std::function<bool(const QString &title, const QString &text)>;
    // Shows the detail of the current DEST line; the copy command calls it at its end.
    using DetailHandler = std::function<void()>;

    PatchSetEditor(PatchSets &sets, SideView &left, SideView &right, CommandSwitches &switches);

    void setOverwriteQuestion(OverwriteQuestion question);
    void setDestDetailHandler(DetailHandler handler);

    const PatchSets &sets() const { return m_sets; }
    SideView &view(Side side) { return side == Side::Left ? m_left : m_right; }

    // The table position of the record shown on `line`, or -1 when the line does not exist.
    int recordOfLine(Side side, int line) const;
    // The record of the side's current line, or nullptr when there is none.
    const PatchEntry *currentEntry(Side side) const;

    // Removes every record whose Omnipresence is 0 (in one stable pass, the last position
    // included, so a table may become empty), rebuilds the list from the records whose
    // Omnipresence is 1, keeps each selection with its record (records added since the last
    // refresh come unselected), makes the first line current and writes the count label.
    void RefreshSide(Side side);
    // Unselects every line, then refreshes.
    void DeselectSide(Side side);
    // Replaces the side's table by the single placeholder "Empty patch entry", then refreshes.
    void MakeEmptySet(Side side);

    // A load that read the whole file: replaces the side's table, version and path, refreshes
    // both sides, unselects the side, writes its status label (the version and `modified`,
    // the file's last change) and enables "copy >>" and "save" when the other side holds a
    // set too.
    void installLoadedSet(Side side, const PatchTable &table, const QByteArray &version,
                          const QString &path, const QDateTime &modified);

    // "copy >>": deletes the selected DEST entries, then copies the selected SRC entries
    // into DEST in SRC order, asking before an entry of the same name is overwritten.
    // Afterwards the last copied entry is the current DEST line (line 0 after a No to the
    // last one), the detail handler runs, and "save" is enabled exactly when DEST has a
    // line. A press that copies nothing leaves "save" as it was.
    // Does nothing when no line of either list is selected.
    void copyIntoDest();
    // Marks DEST record `record` deleted; the next refresh removes it.
    void KillRiteEntry(int record);
    // Copies SRC record `record` into DEST: appended, or over the first DEST entry named `ID`
    // after a Yes to the overwrite question. Returns the DEST position that received it, or
    // nothing after a No, when DEST is left as it was.
    std::optional<int> CopyMassive(int record, const QByteArray &ID);

    // Move the current line's record one line up or down, carrying its selected state.
    // Do nothing without a current line or at the end of the list.
    void moveUp(Side side);
    void moveDown(Side side);

    // "NEW": a new DEST set holding the placeholder; enables "copy >>" and "save" when a
    // SRC set is present.
    void newDestSet();
    // The side commands: clear the side's selection, only while the side holds a set.
    void clearSelection(Side side);

private:
    void FillSideList(Side side);
    // The line showing table position `record`, or -1 when it is not listed.
    int lineOfRecord(Side side, int record) const;
    // Swaps the current line's record with its neighbour `step` lines away (-1 above, +1
    // below), selected states included, and makes the neighbour's line current.
    void swapCurrentWithNeighbour(Side side, int step);
    QList<int> &lineRecords(Side side) { return side == Side::Left ? m_leftLines : m_rightLines; }
    const QList<int> &lineRecords(Side side) const
    {
        return side == Side::Left ? m_leftLines : m_rightLines;
    }

    PatchSets &m_sets;
    SideView &m_left;
    SideView &m_right;
    CommandSwitches &m_switches;
    OverwriteQuestion m_question;
    DetailHandler m_destDetail;
    QList<int> m_leftLines; // line -> table position, rebuilt by every refresh
    QList<int> m_rightLines;
};
