// Slots one field or one whole slot at a time, for tests and tools that build or inspect
// entries by hand: each set makes a new slot block, which only they can afford. The program
// sets every slot field of a change in one PatchEntry::editSlots. Named after what they set.
#pragma once

#include "EntryFields.h"

// One data slot as a value of its own: an offset and the three data texts that go with it.
struct DataSlot
{
    QByteArray Offffset;
    QByteArray DeflData;
    QByteArray ModNData;
    QByteArray ModRData;

    bool isEmpty() const { return *this == DataSlot(); }
    friend bool operator==(const DataSlot &a, const DataSlot &b)
    {
        return a.Offffset == b.Offffset && a.DeflData == b.DeflData && a.ModNData == b.ModNData
            && a.ModRData == b.ModRData;
    }
};

// One parameter slot as a value of its own; member names are those of the file's syntax.
struct PatchParameter
{
    quint8 existence = 0;
    QByteArray offsetka;
    QByteArray parametervalka;
    QByteArray parameternamka;
    quint8 parametertypka = 0;

    bool isEmpty() const { return *this == PatchParameter(); }
    friend bool operator==(const PatchParameter &a, const PatchParameter &b)
    {
        return a.existence == b.existence && a.parametertypka == b.parametertypka
            && a.offsetka == b.offsetka && a.parametervalka == b.parametervalka
            && a.parameternamka == b.parameternamka;
    }
};

// Whole slots, copied out and in. Setting an empty slot (DataSlot(), PatchParameter()) takes
// it out of use.
inline DataSlot dataSlot(const PatchEntry &entry, int slot)
{
    return {entry.Offffset(slot).toByteArray(), entry.DeflData(slot).toByteArray(),
            entry.ModNData(slot).toByteArray(), entry.ModRData(slot).toByteArray()};
}

inline void setDataSlot(PatchEntry &entry, int slot, const DataSlot &data)
{
    Q_ASSERT(slot >= 0 && slot < PatchEntry::DataSlotCount);
    // `data` outlives the edit, so its texts are lent rather than copied twice.
    constexpr auto lent = SlotTextsBuilder::Storage::Borrow;
    entry.editSlots([&](SlotTextsBuilder &builder) {
        builder.setData(slot, DataText::Offffset, data.Offffset, lent);
        builder.setData(slot, DataText::DeflData, data.DeflData, lent);
        builder.setData(slot, DataText::ModNData, data.ModNData, lent);
        builder.setData(slot, DataText::ModRData, data.ModRData, lent);
    });
}

inline PatchParameter parameterSlot(const PatchEntry &entry, int slot)
{
    return {entry.existence(slot), entry.offsetka(slot).toByteArray(),
            entry.parametervalka(slot).toByteArray(), entry.parameternamka(slot).toByteArray(),
            entry.parametertypka(slot)};
}

inline void setParameterSlot(PatchEntry &entry, int slot, const PatchParameter &parameter)
{
    Q_ASSERT(slot >= 0 && slot < PatchEntry::ParameterSlotCount);
    constexpr auto lent = SlotTextsBuilder::Storage::Borrow;
    entry.editSlots([&](SlotTextsBuilder &builder) {
        builder.setParameterNumber(slot, ParameterNumber::existence, parameter.existence);
        builder.setParameter(slot, ParameterText::offsetka, parameter.offsetka, lent);
        builder.setParameter(slot, ParameterText::parametervalka, parameter.parametervalka, lent);
        builder.setParameter(slot, ParameterText::parameternamka, parameter.parameternamka, lent);
        builder.setParameterNumber(slot, ParameterNumber::parametertypka, parameter.parametertypka);
    });
}

// Any field of the list: of the entry itself, or of data or parameter slot `slot`.
inline void setField(PatchEntry &entry, const EntryField &field, FieldValue value, int slot = -1)
{
    if (!field.inSlot()) {
        field.write(entry, value);
        return;
    }
    entry.editSlots([&](SlotTextsBuilder &builder) { field.write(builder, slot, value); });
}

template<DataText field>
void setDataText(PatchEntry &entry, int slot, QByteArrayView text)
{
    entry.editSlots([&](SlotTextsBuilder &builder) { builder.setData(slot, field, text); });
}
template<ParameterText field>
void setParameterText(PatchEntry &entry, int slot, QByteArrayView text)
{
    entry.editSlots([&](SlotTextsBuilder &builder) { builder.setParameter(slot, field, text); });
}
template<ParameterNumber field>
void setParameterNumber(PatchEntry &entry, int slot, quint8 value)
{
    entry.editSlots(
        [&](SlotTextsBuilder &builder) { builder.setParameterNumber(slot, field, value); });
}

// Called as setOffffset(entry, slot, text), and so on.
inline constexpr auto setOffffset = &setDataText<DataText::Offffset>;
inline constexpr auto setDeflData = &setDataText<DataText::DeflData>;
inline constexpr auto setModNData = &setDataText<DataText::ModNData>;
inline constexpr auto setModRData = &setDataText<DataText::ModRData>;
inline constexpr auto setExistence = &setParameterNumber<ParameterNumber::existence>;
inline constexpr auto setOffsetka = &setParameterText<ParameterText::offsetka>;
inline constexpr auto setParametervalka = &setParameterText<ParameterText::parametervalka>;
inline constexpr auto setParameternamka = &setParameterText<ParameterText::parameternamka>;
inline constexpr auto setParametertypka = &setParameterNumber<ParameterNumber::parametertypka>;
