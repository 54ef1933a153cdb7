#include "PatchEntry.h"

QByteArrayView PatchEntry::dataText(int slot, DataText field) const
{
    Q_ASSERT(slot >= 0 && slot < DataSlotCount);
    const int index = m_slots.findDataSlot(slot);
    return index < 0 ? QByteArrayView() : m_slots.dataText(index, field);
}

QByteArrayView PatchEntry::parameterText(int slot, ParameterText field) const
{
    Q_ASSERT(slot >= 0 && slot < ParameterSlotCount);
    const int index = m_slots.findParameterSlot(slot);
    return index < 0 ? QByteArrayView() : m_slots.parameterText(index, field);
}

quint8 PatchEntry::parameterNumber(int slot, ParameterNumber field) const
{
    Q_ASSERT(slot >= 0 && slot < ParameterSlotCount);
    const int index = m_slots.findParameterSlot(slot);
    return index < 0 ? 0 : m_slots.parameterNumber(index, field);
}

bool operator==(const PatchEntry &a, const PatchEntry &b)
{
    return a.Omnipresence == b.Omnipresence && a.RequiresRemap == b.RequiresRemap
        && a.RequiresYiff == b.RequiresYiff && a.RequiresPart == b.RequiresPart
        && a.RequiresSave == b.RequiresSave && a.CondBehave == b.CondBehave
        && a.m_slots == b.m_slots && a.Name == b.Name && a.Description == b.Description
        && a.Dependencies == b.Dependencies;
}
