#include "EditHistory.h"

#include <utility>

bool operator==(const EditState &a, const EditState &b)
{
    // Tables go last: when a command left them alone they share storage and compare at
    // once, and when it changed them the cheap fields usually have not decided it yet.
    return a.copyEnabled == b.copyEnabled && a.saveEnabled == b.saveEnabled
        && a.srcStatus == b.srcStatus && a.destStatus == b.destStatus && a.srcCount == b.srcCount
        && a.destCount == b.destCount && a.sets.SrcVersion == b.sets.SrcVersion
        && a.sets.DestVersion == b.sets.DestVersion && a.sets.SrcPath == b.sets.SrcPath
        && a.sets.DestPath == b.sets.DestPath && a.sets.SrcTable == b.sets.SrcTable
        && a.sets.DestTable == b.sets.DestTable;
}

void EditHistory::record(const EditState &before, const EditState &after)
{
    if (before == after) {
        return;
    }
    Step step;
    step.before = before;
    step.after = after;
    push(std::move(step));
}

void EditHistory::recordSwap(Side side, int first, int second)
{
    Step step;
    step.isSwap = true;
    step.side = side;
    step.first = first;
    step.second = second;
    push(std::move(step));
}

const EditHistory::Step *EditHistory::undo()
{
    if (!canUndo()) {
        return nullptr;
    }
    --m_done;
    return &m_steps[m_done];
}

const EditHistory::Step *EditHistory::redo()
{
    if (!canRedo()) {
        return nullptr;
    }
    ++m_done;
    return &m_steps[m_done - 1];
}

void EditHistory::push(Step &&step)
{
    m_steps.erase(m_steps.begin() + std::ptrdiff_t(m_done), m_steps.end());
    m_steps.push_back(std::move(step));
    if (m_steps.size() > Depth) {
        m_steps.pop_front();
    }
    m_done = m_steps.size();
}
