// The undo history of the editing commands: the steps a user can take back and take again.
// PatchSetEditor records one step per command that changed what the window shows, and asks
// for the step to undo or redo; putting a state back on screen is the editor's work, the
// history touches no table and no view. States hold tables by value, sharing storage with
// the live tables and with each other, so a step costs what it changed, not a whole set; what
// only the history still holds is weighed, and the oldest steps go when it weighs too much.
// Weighing a step costs what it changed too: only the stretch of a table between its first
// and last changed entries is looked at. A load keeps the sharing through sharingUnchanged().
#pragma once

#include "PatchSets.h"
#include "SetOrigin.h"

#include <QHash>
#include <QString>

#include <cstddef>
#include <deque>
#include <memory>
#include <variant>
#include <vector>

// What a step records of one side besides its table, version and path: where its set came
// from, which gives its status label's text, the side's revision, and its count label's text.
struct SideLabels
{
    // Null exactly while the side holds no set. Shared by every state that holds the same
    // set, so a save, which is no step, reaches all of them.
    std::shared_ptr<SetOrigin> origin;
    // A number no other state of the side had, unless it holds the same set, table, version
    // and path as the state before it: a step that changed one of them gives the side a new
    // one. The changed mark compares it with the origin's, which costs nothing per step.
    quint64 revision = 0;
    QString count; // empty until the side is first listed, even when it holds nothing

    friend bool operator==(const SideLabels &a, const SideLabels &b)
    {
        return a.origin == b.origin && a.revision == b.revision && a.count == b.count;
    }
};

// Everything a step can change: both tables, versions and paths, both sides' labels and the
// two command switches. Selections and current lines are not part of it.
struct EditState
{
    PatchSets sets;
    BySide<SideLabels> labels;
    bool copyEnabled = false; // "copy >>"
    bool saveEnabled = false; // "save"
};

bool operator==(const EditState &a, const EditState &b);
inline bool operator!=(const EditState &a, const EditState &b)
{
    return !(a == b);
}

// `loaded`, with every entry that equals one of `shown` replaced by that entry, so the two
// share its storage: the one at the same position, or else the first of the same name. An
// entry that equals neither takes from that first namesake the texts and slots it has alike.
// A load passes the table its side shows, so a reload of an unchanged file holds no second
// copy of it, on the side or in the history, and a reload of a changed one no second copy of
// what stayed. Each loaded entry is compared at most twice and names are hashed once, and only
// when a position does not match, so a reload of an unchanged set of the largest size costs
// one pass.
PatchTable sharingUnchanged(PatchTable loaded, const PatchTable &shown);

class EditHistory
{
public:
    // Steps kept at most; once more are recorded, the oldest is forgotten.
    static constexpr std::size_t Depth = 100;
    // What the tables only the history holds may weigh, the storage neither side shows any
    // more: past it the oldest steps go first, so a run of loads of large sets cannot take all
    // of the machine's memory. A hundred loads of the largest sets would hold well over 1 GB.
    static constexpr qint64 MemoryBudget = qint64(256) * 1024 * 1024;
    // The newest steps stay whatever they weigh, so the last few changes can always be undone.
    static constexpr std::size_t AlwaysKept = 10;

    // `memoryBudget` in bytes; tests pass a small one instead of hundreds of megabytes.
    explicit EditHistory(qint64 memoryBudget = MemoryBudget);

    // A step that changed what the lists show (a load, a copy or delete, a block move, NEW):
    // it keeps the whole state before and after, whose tables share their storage with the
    // live tables and with each other, and undo and redo rebuild both lists from them.
    struct ListChange
    {
        EditState before;
        EditState after;
    };
    // A move of one line only exchanges two records of one side, so it keeps just their
    // positions and is taken back by exchanging them again: a run of moves then copies a
    // table at most once instead of once per move.
    struct Swap
    {
        Side side = Side::Left;
        int first = 0;
        int second = 0;
        quint64 revisionBefore = 0; // of `side`; the other side's stays
        quint64 revisionAfter = 0;
    };
    // A change of the fields of one listed entry that changed no name and no line (a take):
    // it keeps the entry before and after, and undo and redo put it back without rebuilding
    // the lists, so the selections and the current lines stay, and so does what a user was
    // looking at. The set stays the same, and so does its file, which a save may have changed.
    struct EntryChange
    {
        Side side = Side::Left;
        int position = 0;
        PatchEntry before;
        PatchEntry after;
        quint64 revisionBefore = 0; // of `side`; the other side's stays
        quint64 revisionAfter = 0;
    };
    using Step = std::variant<ListChange, Swap, EntryChange>;

    // Records a step from `before` to `after`, which is what the sides show now, and drops
    // the steps that could have been redone, then the oldest steps beyond the depth or the
    // memory budget. Equal states are no step: nothing is recorded and nothing dropped.
    void record(const EditState &before, const EditState &after);
    // Records a move that exchanged the records at `first` and `second` of `side`, which took
    // the side from revision `revisionBefore` to `revisionAfter`. A move adds no table to
    // weigh, so only the depth can drop old steps here.
    void recordSwap(Side side, int first, int second, quint64 revisionBefore,
                    quint64 revisionAfter);
    // Records that the entry at `position` of `side`, which was `before`, is now as `shown`
    // holds it, which is what the sides show, and that this took the side from revision
    // `revisionBefore` to `revisionAfter`; drops steps as record() does. An entry equal to
    // `before` is no step.
    void recordEntryChange(Side side, int position, const PatchEntry &before,
                           const PatchSets &shown, quint64 revisionBefore, quint64 revisionAfter);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The step to take back (put its `before` on screen, or swap again), or nullptr when
    // there is nothing to undo.
    const Step *undo();
    // The step to take again (put its `after` on screen, or swap again), or nullptr when
    // there is nothing to redo.
    const Step *redo();

    // The bytes of table and entry storage held by the history and shown on neither side, as
    // weighed when the last step that was not a move was recorded.
    qint64 heldBytes() const { return m_tally.unshownBytes(); }

private:
    // The storage the steps keep and no side shows: the lists of the tables the steps hold,
    // and the texts and slot blocks of the entries each step took off the sides, every piece
    // counted once however many steps hold it. Which pieces the sides show is followed from
    // one weighed step to the next by the stretch of each table that changed, so a step is
    // weighed by what it changed. Pieces are known by their address, which stays theirs while
    // a step or the last shown tables hold them.
    class StorageTally
    {
    public:
        // The sides show the tables of `shown` from now on. For each side whose table at the
        // last call is the one of `before`, holds the pieces that leave the sides and appends
        // them to `held`, as holdDropped() would.
        void follow(const PatchSets &shown, const PatchSets *before,
                    std::vector<const void *> &held);
        // Whether the sides showed `table` on `side` at the last follow().
        bool wasShown(const PatchTable &table, Side side) const;
        // Holds the list of `table` for a step.
        void holdList(const PatchTable &table);
        void releaseList(const PatchTable &table);
        // Holds, for a step, the pieces of the entries of `before` that no side shows, where
        // `after` differs from it, and appends them to `held` for their release.
        void holdDropped(const PatchTable &before, const PatchTable &after,
                         std::vector<const void *> &held);
        // The same for one entry that a change replaced.
        void holdDropped(const PatchEntry &before, std::vector<const void *> &held);
        void release(const std::vector<const void *> &held);
        qint64 unshownBytes() const { return m_bytes - m_shownBytes; }

    private:
        // A piece the steps hold or the sides show. One that neither does any more is idle:
        // it stays until the idle ones are many, since a large hash that takes and drops
        // thousands of keys per step spends most of its time moving the others, and a new
        // piece at an idle one's address simply takes it over.
        struct Piece
        {
            qint64 bytes = 0;
            int holders = 0; // steps
            int shown = 0;   // places in the shown tables
            bool idle() const { return holders == 0 && shown == 0; }
        };
        // The piece at `identity`, made or taken over when idle.
        Piece &piece(const void *identity);
        void becameIdle();
        void holdPiece(Piece &piece, qint64 bytes);
        void releasePiece(const void *identity);
        void show(const void *identity, qint64 bytes);
        // Holds a piece no side shows any more when `held` is given, and appends it there.
        void unshow(const void *identity, std::vector<const void *> *held);

        QHash<const void *, Piece> m_pieces;
        qsizetype m_idle = 0;           // pieces in m_pieces that are idle
        BySide<PatchTable> m_lastShown; // as the last follow() took them
        qint64 m_bytes = 0;             // every held piece
        qint64 m_shownBytes = 0;        // those of them the sides show
    };

    // A step with the pieces the tally holds for it besides its tables' lists.
    struct KeptStep
    {
        Step step;
        std::vector<const void *> dropped;
    };

    void push(Step &&step, const PatchSets *shown);
    // Holds what `kept` keeps and, unless `shown` is null (a move), weighs it against the
    // sides showing `shown`.
    void hold(KeptStep &kept, const PatchSets *shown);
    void release(const KeptStep &kept);
    void dropOldest();

    std::deque<KeptStep> m_steps; // oldest first
    std::size_t m_done = 0;       // steps in effect; the ones after them can be redone
    qint64 m_budget;
    StorageTally m_tally;
};
