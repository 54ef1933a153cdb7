#include "EntryFields.h"

#include <bitset>

FieldValue EntryField::read(const PatchEntry &entry, int slot) const
{
    switch (kind) {
    case FieldKind::Text:
        return {entry.*text};
    case FieldKind::Number:
        return {{}, entry.*number};
    case FieldKind::DataText:
        return {entry.dataText(slot, dataText)};
    case FieldKind::ParameterText:
        return {entry.parameterText(slot, parameterText)};
    case FieldKind::ParameterNumber:
        return {{}, entry.parameterNumber(slot, parameterNumber)};
    }
    return {};
}

void EntryField::write(PatchEntry &entry, FieldValue value) const
{
    Q_ASSERT(!inSlot());
    if (kind == FieldKind::Text) {
        entry.*text = value.text.toByteArray();
    } else {
        entry.*number = value.number;
    }
}

void EntryField::write(SlotTextsBuilder &builder, int slot, FieldValue value) const
{
    Q_ASSERT(inSlot());
    switch (kind) {
    case FieldKind::DataText:
        builder.setData(slot, dataText, value.text);
        break;
    case FieldKind::ParameterText:
        builder.setParameter(slot, parameterText, value.text);
        break;
    default:
        builder.setParameterNumber(slot, parameterNumber, value.number);
        break;
    }
}

namespace {

// Slot numbers of `a` and `b` merged, through a bit per slot, ascending and each once.
static_assert(PatchEntry::ParameterSlotCount <= PatchEntry::DataSlotCount, "one size of bits");
template<typename Count, typename Number>
QList<int> slotsInUse(const SlotTexts &a, const SlotTexts &b, Count count, Number number)
{
    std::bitset<PatchEntry::DataSlotCount> used;
    for (const SlotTexts *texts : {&a, &b}) {
        for (int index = 0; index < (texts->*count)(); ++index) {
            used.set(size_t((texts->*number)(index)));
        }
    }
    QList<int> numbers;
    numbers.reserve(int(used.count()));
    for (size_t slot = 0; slot < used.size(); ++slot) {
        if (used.test(slot)) {
            numbers.append(int(slot));
        }
    }
    return numbers;
}

} // namespace

namespace EntryFields {

QList<int> dataSlotsInUse(const PatchEntry &a, const PatchEntry &b)
{
    return slotsInUse(a.slotTexts(), b.slotTexts(), &SlotTexts::dataSlotsUsed,
                      &SlotTexts::dataSlotNumber);
}

QList<int> parameterSlotsInUse(const PatchEntry &a, const PatchEntry &b)
{
    return slotsInUse(a.slotTexts(), b.slotTexts(), &SlotTexts::parameterSlotsUsed,
                      &SlotTexts::parameterSlotNumber);
}

} // namespace EntryFields
