// The undo history of the editing commands: the steps a user can take back and take again.
// PatchSetEditor records one step per command that changed what the window shows, and asks
// for the step to undo or redo; putting a state back on screen is the editor's work, the
// history touches no table and no view. States hold tables by value, sharing storage with
// the live tables and with each other, so a step costs what it changed, not a whole set.
#pragma once

#include "PatchSets.h"

#include <QString>

#include <cstddef>
#include <deque>

// Everything a step can change: both tables, versions and paths, both status and count
// texts and the two command switches. Selections and current lines are not part of it.
struct EditState
{
    PatchSets sets;
    QString srcStatus;
    QString destStatus;
    QString srcCount; // empty until the side is first listed, even when it holds nothing
    QString destCount;
    bool copyEnabled = false; // "copy >>"
    bool saveEnabled = false; // "save"

    QString &status(Side side) { return side == Side::Left ? srcStatus : destStatus; }
    const QString &status(Side side) const { return side == Side::Left ? srcStatus : destStatus; }
};

bool operator==(const EditState &a, const EditState &b);
inline bool operator!=(const EditState &a, const EditState &b)
{
    return !(a == b);
}

class EditHistory
{
public:
    // Steps kept; once more are recorded, the oldest is forgotten.
    static constexpr std::size_t Depth = 100;

    struct Step
    {
        // A move only exchanges two records of one side, so it keeps just their positions
        // and is taken back by exchanging them again: a run of moves then copies a table
        // at most once instead of once per move. Every other step keeps both states.
        bool isSwap = false;
        Side side = Side::Left;
        int first = 0;
        int second = 0;
        EditState before;
        EditState after;
    };

    // Records a step from `before` to `after` and drops the steps that could have been
    // redone. Equal states are no step: nothing is recorded and nothing dropped.
    void record(const EditState &before, const EditState &after);
    // Records a move that exchanged the records at `first` and `second` of `side`.
    void recordSwap(Side side, int first, int second);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The step to take back (put its `before` on screen, or swap again), or nullptr when
    // there is nothing to undo.
    const Step *undo();
    // The step to take again (put its `after` on screen, or swap again), or nullptr when
    // there is nothing to redo.
    const Step *redo();

private:
    void push(Step &&step);

    std::deque<Step> m_steps; // oldest first
    std::size_t m_done = 0;   // steps in effect; the ones after them can be redone
};
