#include "PatchEntry.h"

namespace {

const DataSlot emptyDataSlot;
const PatchParameter emptyParameter;

} // namespace

bool PatchParameter::isEmpty() const
{
    return *this == emptyParameter;
}

bool operator==(const PatchParameter &a, const PatchParameter &b)
{
    return a.existence == b.existence && a.parametertypka == b.parametertypka
        && a.offsetka == b.offsetka && a.parametervalka == b.parametervalka
        && a.parameternamka == b.parameternamka;
}

bool DataSlot::isEmpty() const
{
    return Offffset.isEmpty() && DeflData.isEmpty() && ModNData.isEmpty() && ModRData.isEmpty();
}

bool operator==(const DataSlot &a, const DataSlot &b)
{
    return a.Offffset == b.Offffset && a.DeflData == b.DeflData && a.ModNData == b.ModNData
        && a.ModRData == b.ModRData;
}

const DataSlot &PatchEntry::data(int slot) const
{
    Q_ASSERT(slot >= 0 && slot < DataSlotCount);
    return slot < m_data.size() ? m_data.at(slot) : emptyDataSlot;
}

DataSlot &PatchEntry::data(int slot)
{
    Q_ASSERT(slot >= 0 && slot < DataSlotCount);
    if (slot >= m_data.size()) {
        // Files list slots in ascending order, so an entry that uses one slot tends to use
        // many: grow once to the full count instead of a step at a time.
        m_data.reserve(DataSlotCount);
        m_data.resize(slot + 1);
    }
    return m_data[slot];
}

const PatchParameter &PatchEntry::parameter(int slot) const
{
    Q_ASSERT(slot >= 0 && slot < ParameterSlotCount);
    return slot < m_parameters.size() ? m_parameters.at(slot) : emptyParameter;
}

PatchParameter &PatchEntry::parameter(int slot)
{
    Q_ASSERT(slot >= 0 && slot < ParameterSlotCount);
    if (slot >= m_parameters.size()) {
        m_parameters.reserve(ParameterSlotCount);
        m_parameters.resize(slot + 1);
    }
    return m_parameters[slot];
}

bool operator==(const PatchEntry &a, const PatchEntry &b)
{
    if (a.Omnipresence != b.Omnipresence || a.Name != b.Name || a.Description != b.Description
        || a.RequiresRemap != b.RequiresRemap || a.RequiresYiff != b.RequiresYiff
        || a.RequiresPart != b.RequiresPart || a.RequiresSave != b.RequiresSave
        || a.Dependencies != b.Dependencies || a.CondBehave != b.CondBehave) {
        return false;
    }
    const qsizetype dataSlots = std::max(a.m_data.size(), b.m_data.size());
    for (int slot = 0; slot < dataSlots; ++slot) {
        if (a.data(slot) != b.data(slot)) {
            return false;
        }
    }
    const qsizetype parameterSlots = std::max(a.m_parameters.size(), b.m_parameters.size());
    for (int slot = 0; slot < parameterSlots; ++slot) {
        if (a.parameter(slot) != b.parameter(slot)) {
            return false;
        }
    }
    return true;
}
