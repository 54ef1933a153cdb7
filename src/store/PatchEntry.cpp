#include "PatchEntry.h"

bool PatchParameter::isEmpty() const
{
    return *this == PatchParameter();
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

DataSlot PatchEntry::data(int slot) const
{
    return {Offffset(slot).toByteArray(), DeflData(slot).toByteArray(),
            ModNData(slot).toByteArray(), ModRData(slot).toByteArray()};
}

void PatchEntry::setData(int slot, const DataSlot &data)
{
    Q_ASSERT(slot >= 0 && slot < DataSlotCount);
    // `data` outlives the edit, so its texts are lent rather than copied twice.
    constexpr auto lent = SlotTextsBuilder::Storage::Borrow;
    editSlots([&](SlotTextsBuilder &builder) {
        builder.setData(slot, DataText::Offffset, data.Offffset, lent);
        builder.setData(slot, DataText::DeflData, data.DeflData, lent);
        builder.setData(slot, DataText::ModNData, data.ModNData, lent);
        builder.setData(slot, DataText::ModRData, data.ModRData, lent);
    });
}

PatchParameter PatchEntry::parameter(int slot) const
{
    return {existence(slot), offsetka(slot).toByteArray(), parametervalka(slot).toByteArray(),
            parameternamka(slot).toByteArray(), parametertypka(slot)};
}

void PatchEntry::setParameter(int slot, const PatchParameter &parameter)
{
    Q_ASSERT(slot >= 0 && slot < ParameterSlotCount);
    constexpr auto lent = SlotTextsBuilder::Storage::Borrow;
    editSlots([&](SlotTextsBuilder &builder) {
        builder.setParameterNumber(slot, ParameterNumber::existence, parameter.existence);
        builder.setParameter(slot, ParameterText::offsetka, parameter.offsetka, lent);
        builder.setParameter(slot, ParameterText::parametervalka, parameter.parametervalka, lent);
        builder.setParameter(slot, ParameterText::parameternamka, parameter.parameternamka, lent);
        builder.setParameterNumber(slot, ParameterNumber::parametertypka, parameter.parametertypka);
    });
}

bool operator==(const PatchEntry &a, const PatchEntry &b)
{
    return a.Omnipresence == b.Omnipresence && a.RequiresRemap == b.RequiresRemap
        && a.RequiresYiff == b.RequiresYiff && a.RequiresPart == b.RequiresPart
        && a.RequiresSave == b.RequiresSave && a.CondBehave == b.CondBehave
        && a.m_slots == b.m_slots && a.Name == b.Name && a.Description == b.Description
        && a.Dependencies == b.Dependencies;
}
