// The set-editing commands: copy and delete, the moves of one line and of a block, the drops
// of lines dragged within a list or from SRC onto DEST, NEW, the side commands, the take from
// SRC, the installing of a freshly loaded set, and undo and redo of all of these, each ending
// with the side refresh that keeps a table, its list and its count in step. The window owns
// one editor and wires its buttons and keys to it; the editor works on PatchSets and the views.
// It alone writes a side's status label once the side holds a set, and keeps where each set
// came from (SetOrigin), so whether a side holds a set is its own knowledge, never read back
// from a label; from there it tells the marks beside the labels whether a set differs from its
// file and what its load noted.
// Its rooms: each side's SideListing says which record a line shows and which lines are
// selected (the commands speak in records), CopyRules how a copy asks and when it is refused,
// LineMarks the marks of the lines, CommandTexts the labels' words, EditHistory the steps.
// The copy commands ("copy >>", Delete, SRC lines dropped on DEST) are in CopyCommands.cpp, the
// commands that work through the differences (select by state, the next difference, the
// filter) in Differences.cpp; each side's filter lives in its listing.
#pragma once

#include "CopyRules.h"
#include "EditHistory.h"
#include "EntryComparison.h"
#include "LineMarks.h"
#include "OverwriteAnswer.h"
#include "PatchSets.h"
#include "SideListing.h"
#include "SideView.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class PatchSetEditor
{
public:
    // Asked before a DEST entry of the same name is overwritten; `detail` says which question
    // of the copy it is and what differs (overwriteDetail()). Without a question set, nothing
    // is ever overwritten.
    using OverwriteQuestion = std::function<OverwriteAnswer(
        const QString &title, const QString &text, const QString &detail)>;
    // Shows the detail of the current DEST line; the copy command calls it at its end.
    using DetailHandler = std::function<void()>;
    // Runs after every command that changed a table or rebuilt a list (a load, copy, delete,
    // move, NEW, a cleared selection, a take, undo and redo, a filter), once the marks are
    // handed out, and after a move to a difference: what shows more of the sets than the
    // lists do follows through it.
    using ChangeHandler = std::function<void()>;
    // Shows one message to the user; a copy that refuses to act says why through it.
    using MessageHandler = std::function<void(const QString &text)>;

    // `historyBudget`: what the undo history may keep of tables no side shows, in bytes.
    PatchSetEditor(PatchSets &sets, SideView &left, SideView &right, CommandSwitches &switches,
                   qint64 historyBudget = EditHistory::MemoryBudget);

    void setOverwriteQuestion(OverwriteQuestion question) { m_question = std::move(question); }
    void setDestDetailHandler(DetailHandler handler) { m_destDetail = std::move(handler); }
    void setChangeHandler(ChangeHandler handler) { m_changed = std::move(handler); }
    void setMessage(MessageHandler handler) { m_message = std::move(handler); }
    // The marks beside the status labels; they are told at once, and after every change.
    void setMarksViews(SideMarksView &left, SideMarksView &right);

    // True once the side holds a set: after a load, or NEW for DEST, until an undo takes
    // that back. The status label shows the set's version and origin exactly then.
    bool holdsSet(Side side) const { return m_sides[side].labels.origin != nullptr; }

    // Which record each line of the side shows, which lines are selected, and their marks.
    const SideListing &listing(Side side) const { return m_sides[side].listing; }
    // The record of the side's current line, or nullptr when there is none.
    const PatchEntry *currentEntry(Side side) const;

    // The entry on the current line of `side` compared with its namesake, the other side's
    // first listed entry of the same name. No rows when the side has no current line.
    EntryComparison compareCurrent(Side side) const;
    // "Take from SRC": for the current line of `side` and its namesake, sets the fields that
    // `rows` name in the DEST entry of the two to those of the SRC entry (see takeRows()).
    // Afterwards that DEST entry's line is current and the detail handler runs, as after a
    // copy. One step, whose undo and redo keep the lines, their selection and the current
    // lines. Does nothing without a namesake, or when nothing would change.
    void takeFromSrc(Side side, const QList<RowKey> &rows);

    // Removes every record whose Omnipresence is 0 (in one stable pass, the last position
    // included, so a table may become empty), rebuilds the list from the records whose
    // Omnipresence is 1, keeps each selection with its record (records added since the last
    // refresh come unselected), makes the first line current and writes the count label.
    // The rebuilt lines have no marks: the commands hand out the marks of both sides once
    // they are done, since one table's change can change the other side's marks too.
    void RefreshSide(Side side);
    // Unselects every line, then refreshes.
    void DeselectSide(Side side);
    // Replaces the side's table by the single placeholder "Empty patch entry", then refreshes.
    void MakeEmptySet(Side side);

    // A load that read the whole file: replaces the side's table, version and path, refreshes
    // both sides, unselects the side, writes its status label (the version and `modified`,
    // the file's last change) and switches the commands (see switchCommands()). One step.
    // Entries of `table` equal to the side's entry at the same position, or else to its first
    // entry of the same name, are taken from the side instead, so a reload of an unchanged file
    // holds no second copy of it, here or in the history. `notes` and `notesNotKept` are
    // what the reader noted; they stay with the set, through a save, until another replaces
    // it. A load always begins a set of its own, with nothing changed since it was loaded.
    void installLoadedSet(Side side, const PatchTable &table, const QByteArray &version,
                          const QString &path, const QDateTime &modified,
                          const QList<LoadNote> &notes = {}, int notesNotKept = 0);

    // "copy >>": deletes the selected DEST entries, then copies the selected SRC entries
    // into DEST in SRC order, asking before an entry of the same name is overwritten; a
    // Cancel stops the copying there and keeps what was done. Afterwards the last entry
    // copied by the last answer is the current DEST line (after a No or a Cancel to the last
    // one, the line the delete left current; a namesake identical to the last counts as its
    // copy), the detail handler runs and SRC has no line selected, unless a Cancel ended the
    // copy: then SRC keeps its selection, so the copy can be tried again.
    // Switches nothing: both sides hold a set before and after.
    // Does nothing when no line of either list is selected. One step, deletes and copies
    // together, whatever the answers; none when the answers left everything as it was.
    // A copy that could take DEST past PatchSetFormat::MaxEntries entries does nothing at all,
    // asks nothing and is no step: the message handler says how many more DEST can take.
    void copyIntoDest();
    // The delete half of "copy >>": removes the selected DEST entries and leaves DEST with no
    // line selected, whether or not SRC holds a set. The current line stays with its entry,
    // or, when that entry was deleted, goes to the line that took the first deleted line's
    // place (the last line when none did), so a long list stays where the user was.
    // One step. Does nothing when no DEST line is selected.
    void deleteSelectedDest();
    // How many of the SRC lines `srcLines` a press of "copy >>" would leave as they are, with
    // the DEST lines `destLines` deleted first: those marked identical to their namesake whose
    // name no line to be deleted has, nor a DEST record without a line before that namesake.
    // One look per line and a set of the deleted names, never a search of a table, so
    // "copy >>" can say it on every change of a selection.
    int identicalNamesakes(const QList<int> &srcLines, const QList<int> &destLines) const;
    // Marks DEST record `record` deleted; the next refresh removes it.
    void KillRiteEntry(int record);
    // Copies SRC record `record` into DEST: appended, or over the first DEST entry named `ID`
    // after a Yes or a Yes to all to the overwrite question, which is not asked again once
    // `run` holds an answer for all. A namesake identical in every field is left as it is,
    // unasked: nothing would change. Returns the DEST position that received it (or holds it
    // already), or nothing when it was declined or `run` is cancelled (now or before), when
    // DEST is left as it was. The question is numbered from `run`'s count of questions.
    // Every copy into DEST decides here, so all of them ask and answer alike.
    std::optional<int> CopyMassive(int record, const QByteArray &ID, CopyRun &run);

    // Move the current line's record one line up or down, carrying its selected state.
    // Do nothing without a current line, at the end of the list, or while the side's filter
    // hides lines (as every move within a list). One step, unless the two entries are equal.
    void moveUp(Side side);
    void moveDown(Side side);

    // Moves the records of `lines` as one block, in their order, to just before line `before`
    // of the list as it is now (the line count: after the last line). Lines outside the list
    // are left out; a `before` outside the list does nothing. Listed records change places
    // only among the table positions listed records hold, so a record that is kept but not
    // listed never moves. Each selection stays with its record, the block's first line
    // becomes current and the list shows it. One step; a block already in its place changes
    // nothing at all and is no step.
    void moveLines(Side side, const QList<int> &lines, int before);
    // The selected lines, or the current line when none is selected, as a block to the top
    // or to the bottom of the list.
    void moveBlockToTop(Side side);
    void moveBlockToBottom(Side side);

    // Whether lines dragged from the list of `from` may be dropped on the list of `onto`:
    // within a list while its filter hides no line, SRC lines on DEST while "copy >>" is
    // enabled, DEST lines on SRC never.
    bool acceptsDrop(Side from, Side onto) const;
    // Lines of `from` dropped before line `before` of `onto`: moveLines() within a list,
    // copyIntoDestAt() from SRC to DEST; nothing when acceptsDrop() refuses.
    void dropLines(Side from, Side onto, const QList<int> &lines, int before);
    // SRC lines dropped on DEST: copies their records into DEST in SRC order with the
    // question of "copy >>", where a Yes replaces the DEST entry where it stands, and puts
    // the other copies as one block before DEST line `before`. Deletes nothing and changes no
    // selection; the copies come unselected. Afterwards the block's first line is current
    // (when there is no block, the last replaced entry's, an identical namesake counting as
    // replaced) and the detail handler runs. One step; when the answers copied nothing and
    // no namesake was identical, nothing changes. Refused as copyIntoDest() refuses a copy
    // past the entries a set holds.
    void copyIntoDestAt(const QList<int> &srcLines, int before);

    // "NEW": a new DEST set holding the placeholder, from no file (the DEST path is empty),
    // and switches the commands. One step (none when DEST already is a new set that
    // holds nothing else).
    void newDestSet();
    // DEST was just saved to `path`, whose contents last changed at `modified`: DEST's set is
    // on that file from now on, with the written version, and the status label says so. Not a
    // step: undo and redo within the set keep showing that file, the changed mark telling
    // whether the set shown is the one saved; undo of the load or NEW that began the set
    // brings back the set before it, with its own file. Any other DEST set of the history
    // that was on `path` is on the saved file now too, which holds none of its states.
    void noteDestSaved(const QString &path, const QDateTime &modified);
    // The side commands: clear the side's selection, only while the side holds a set.
    void clearSelection(Side side);
    // Selects every line of the side. A side without a set has no lines, so it needs no
    // guard. Not a step.
    void selectAll(Side side);

    // Working through the differences of the sets (Differences.h); none changes a table or is
    // a step, and all act on the lines the side's filter shows.
    // Adds every line of `side` in `state` to its selection.
    void selectByState(Side side, MarkState state);
    // Selects exactly the lines of `side` that are not selected.
    void invertSelection(Side side);
    // Makes the next differing line of `side` after the current one (`step` +1) or before it
    // (-1) current and brings it into sight, past the end round to the start; selects nothing.
    // Without a current line, the first (or the last) one counts. Nothing without another.
    void goToDifference(Side side, int step);
    // `side` shows the lines `filter` keeps from now on (see SideListing::setFilter()); the
    // count goes on counting every listed entry, and the moves within the list stop while
    // lines are hidden. The filter stays through every command and is applied again after
    // each, as the marks it may read change.
    void setFilter(Side side, const SideFilter &filter);
    // What the side's count stands for, by marks: marksBreakdown() of every listed entry.
    QString countBreakdown(Side side) const;

    // Undo takes back the last step still in effect, redo takes the last undone step
    // again; a new step drops what could have been redone, and the last 100 steps are
    // kept, fewer (never under 10) when the sets only they hold would pass the history's
    // memory budget. Afterwards both tables, sets, revisions and the two switches are those
    // right after the step returned to, both sides are refreshed with no line selected, and
    // the marks are handed out again. Nothing to undo or redo: nothing happens. Paths,
    // versions and status texts are those of each set's origin as the last save left it, so a
    // text the window shows while a file is read ("LOADING") is never part of a state. Undoing
    // the first load leaves the count labels as blank as they were at start-up.
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    void undo();
    void redo();
    const EditHistory &history() const { return m_history; }

private:
    // Passes each switch on to the window and remembers it, since only the editor
    // switches them after start-up, when both are disabled.
    class RememberedSwitches : public CommandSwitches
    {
    public:
        explicit RememberedSwitches(CommandSwitches &target) : m_target(target) {}
        void setCopyEnabled(bool enabled) override
        {
            copyEnabled = enabled;
            m_target.setCopyEnabled(enabled);
        }
        void setSaveEnabled(bool enabled) override
        {
            saveEnabled = enabled;
            m_target.setSaveEnabled(enabled);
        }
        bool copyEnabled = false;
        bool saveEnabled = false;

    private:
        CommandSwitches &m_target;
    };

    // What the editor keeps of one side besides its table: the view that shows it, the
    // listing of its lines, and the label texts as the last refresh, step, undo or redo wrote.
    struct SideState
    {
        SideView &view;
        SideListing listing;
        SideLabels labels;
    };

    // The records of the current line of `side` and of its namesake; -1 for none.
    BySide<int> currentPair(Side side) const;

    // Has the marks follow both tables and the listings show them.
    void handOutMarks();
    // Hands out the marks, then tells the change handler.
    void pushMarks();
    // "copy >>" is enabled while both sides hold a set, "save" while DEST holds one, however
    // many lines it has: an empty DEST saves as a set without entries.
    void switchCommands();
    // Copies the SRC `records` in their order through CopyMassive() as the one run `run`, whose
    // questions it counts first; a Cancel ends it. Gives, for each record copied or asked
    // about, the DEST position that received it or nothing, so the last is what the last
    // answer did; never empty for some records.
    QList<std::optional<int>> copyRecords(const QList<int> &records, CopyRun &run);
    // True, after the message handler has said why, when copying the SRC `sources` once the
    // DEST `deleted` (ascending) are gone could take DEST past the entries a saved set holds.
    bool refusesPastLimit(const QList<int> &sources, const QList<int> &deleted);
    // How every command that copies into DEST ends: the line of DEST record `record` becomes
    // current, when it is listed, and the detail handler runs.
    void landOnDest(int record);
    // Kills the records of the selected DEST lines, then refreshes DEST with no line selected
    // and makes current the line deleteSelectedDest() names.
    void removeSelectedDest();
    EditState currentState() const;
    // Hands out the marks and records the step from `before` to the state the command has
    // just left.
    void finishStep(const EditState &before);
    // Puts back what `step` had before it (after it when `forward`): the state of a list
    // change, the entry of an entry change, or, for a move, the records swapped once more.
    void returnTo(const EditHistory::Step &step, bool forward);
    // Swaps the current line's record with its neighbour `step` lines away (-1 above, +1
    // below), selected states included, as a one-line block move, and records the swap.
    void swapCurrentWithNeighbour(Side side, int step);
    // Writes the status label from the side's origin, with the side's file text.
    void showStatus(Side side);
    // The file text of the side's set and path, as sideFileText() words them.
    void showFileText(Side side);
    void showCount(Side side, const QString &text);
    // The side's set is the one of `origin` from now on (nullptr: none): its path and
    // version are the origin's, and the status label says so.
    void takeOrigin(Side side, std::shared_ptr<SetOrigin> origin);
    // Tells each side's marks whether its set differs from its file, and the notes.
    void showMarksOfOrigins();
    // Gives `side` a revision no state had before.
    void newRevision(Side side);

    PatchSets &m_sets;
    SharedMarks m_marks; // before the listings, which read it
    BySide<SideState> m_sides;
    RememberedSwitches m_switches;
    OverwriteQuestion m_question;
    DetailHandler m_destDetail;
    ChangeHandler m_changed;
    MessageHandler m_message;
    BySide<SideMarksView *> m_marksViews{nullptr, nullptr};
    SetOrigins m_origins;
    EditHistory m_history;
};
