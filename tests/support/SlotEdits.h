// One slot field at a time, for tests that build entries by hand: each call makes a new slot
// block, which only tests can afford. The program sets every slot field of a change in one
// PatchEntry::editSlots. Named after the fields they set.
#pragma once

#include "EntryFields.h"

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
