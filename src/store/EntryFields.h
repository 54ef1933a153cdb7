// One description of a patch entry's fields, in the order a saved file holds them: the nine
// fields of the entry itself, then the four texts of a data slot, then the five members of a
// parameter slot. Each field carries its key, its kind and where its value lives, so code
// that walks every field (the reader's key table, comparing or taking fields between two
// entries, the tests' round trips) follows this list instead of spelling the fields out again.
// The writer keeps its own hand-laid lines, one source line per file line; its tests check
// that it writes the fields in this order.
#pragma once

#include "PatchEntry.h"
#include "PatchSetFormat.h"

#include <QByteArrayView>
#include <QList>

#include <iterator>

enum class FieldKind : quint8 {
    Text,            // a text of the entry itself
    Number,          // a number (0-255) of the entry itself
    DataText,        // one of the four texts of a data slot
    ParameterText,   // one of the three texts of a parameter slot
    ParameterNumber, // one of the two numbers of a parameter slot
};

// A field's value as read: a text, or a number for the number kinds (the other part stays
// empty or 0, so values of one field compare as a whole). A text is a view into the entry,
// valid until the entry changes.
struct FieldValue
{
    QByteArrayView text;
    quint8 number = 0;

    friend bool operator==(FieldValue a, FieldValue b)
    {
        return a.number == b.number && a.text == b.text;
    }
    friend bool operator!=(FieldValue a, FieldValue b) { return !(a == b); }
};

struct EntryField
{
    // The key as written. A data slot's key is followed by its number in two digits
    // ("Offffset07"), a parameter's value by its number and a "|" ("ronno=7|...").
    const char *key;
    FieldKind kind;
    // Where the value lives; the member that `kind` names is the one set.
    union {
        QByteArray PatchEntry::*text;
        quint8 PatchEntry::*number;
        DataText dataText;
        ParameterText parameterText;
        ParameterNumber parameterNumber;
    };

    constexpr EntryField(const char *name, QByteArray PatchEntry::*member)
        : key(name), kind(FieldKind::Text), text(member)
    {
    }
    constexpr EntryField(const char *name, quint8 PatchEntry::*member)
        : key(name), kind(FieldKind::Number), number(member)
    {
    }
    constexpr EntryField(const char *name, DataText member)
        : key(name), kind(FieldKind::DataText), dataText(member)
    {
    }
    constexpr EntryField(const char *name, ParameterText member)
        : key(name), kind(FieldKind::ParameterText), parameterText(member)
    {
    }
    constexpr EntryField(const char *name, ParameterNumber member)
        : key(name), kind(FieldKind::ParameterNumber), parameterNumber(member)
    {
    }

    constexpr bool inSlot() const { return kind >= FieldKind::DataText; }

    // The value in `entry`; `slot` picks the data or parameter slot of a slot field and is
    // not used otherwise. A slot not in use reads as empty.
    FieldValue read(const PatchEntry &entry, int slot = -1) const;

    // Sets a field of the entry itself (not a slot field). A number field takes
    // `value.number`, a text field a copy of `value.text`.
    void write(PatchEntry &entry, FieldValue value) const;
    // Sets a slot field in a builder of the entry's slots (PatchEntry::editSlots); the text
    // is copied, so it may go away once the call returns. Slots change only this way, and
    // whole: one new block per edit, however many fields it sets.
    void write(SlotTextsBuilder &builder, int slot, FieldValue value) const;
};

namespace EntryFields {

// A stretch of `all`, for range-for.
struct Range
{
    const EntryField *first;
    const EntryField *last;

    constexpr const EntryField *begin() const { return first; }
    constexpr const EntryField *end() const { return last; }
    constexpr int size() const { return int(last - first); }
};

// clang-format off
inline constexpr EntryField all[] = {
    {PatchSetFormat::KeyOmnipresence,  &PatchEntry::Omnipresence},
    {PatchSetFormat::KeyName,          &PatchEntry::Name},
    {PatchSetFormat::KeyDescription,   &PatchEntry::Description},
    {PatchSetFormat::KeyRequiresRemap, &PatchEntry::RequiresRemap},
    {PatchSetFormat::KeyRequiresYiff,  &PatchEntry::RequiresYiff},
    {PatchSetFormat::KeyRequiresPart,  &PatchEntry::RequiresPart},
    {PatchSetFormat::KeyRequiresSave,  &PatchEntry::RequiresSave},
    {PatchSetFormat::KeyDependencies,  &PatchEntry::Dependencies},
    {PatchSetFormat::KeyCondBehave,    &PatchEntry::CondBehave},

    {PatchSetFormat::KeyOffffset,      DataText::Offffset},
    {PatchSetFormat::KeyDeflData,      DataText::DeflData},
    {PatchSetFormat::KeyModNData,      DataText::ModNData},
    {PatchSetFormat::KeyModRData,      DataText::ModRData},

    {PatchSetFormat::KeyBambi,         ParameterNumber::existence},
    {PatchSetFormat::KeyRonno,         ParameterText::offsetka},
    {PatchSetFormat::KeyGprince,       ParameterText::parametervalka},
    {PatchSetFormat::KeyFaline,        ParameterText::parameternamka},
    {PatchSetFormat::KeyMena,          ParameterNumber::parametertypka},
};
// clang-format on

inline constexpr Range members{all, all + 9};
inline constexpr Range dataSlot{all + 9, all + 13};
inline constexpr Range parameterSlot{all + 13, std::end(all)};

constexpr bool groupsHoldTheirKinds()
{
    for (const EntryField &field : members) {
        if (field.inSlot()) {
            return false;
        }
    }
    for (const EntryField &field : dataSlot) {
        if (field.kind != FieldKind::DataText) {
            return false;
        }
    }
    for (const EntryField &field : parameterSlot) {
        if (field.kind != FieldKind::ParameterText && field.kind != FieldKind::ParameterNumber) {
            return false;
        }
    }
    return true;
}
static_assert(groupsHoldTheirKinds(), "the entry's own fields, then data, then parameter fields");
static_assert(dataSlot.size() == SlotTexts::TextsPerDataSlot, "a data slot holds four texts");
static_assert(parameterSlot.size()
                  == SlotTexts::TextsPerParameterSlot + SlotTexts::NumbersPerParameterSlot,
              "a parameter slot holds three texts and two numbers");

// Calls visit(field, slot, value) for every field of `entry` in file order: the nine fields
// of the entry itself (slot -1), then every field of each data slot in use, then of each
// parameter slot in use, slots in ascending order. Slots not in use are skipped; a slot in
// use is visited whole, with its empty fields too.
template<typename Visit>
void forEachField(const PatchEntry &entry, Visit visit)
{
    for (const EntryField &field : members) {
        visit(field, -1, field.read(entry));
    }
    const SlotTexts &texts = entry.slotTexts();
    for (int index = 0; index < texts.dataSlotsUsed(); ++index) {
        const int slot = texts.dataSlotNumber(index);
        for (const EntryField &field : dataSlot) {
            visit(field, slot, FieldValue{texts.dataText(index, field.dataText)});
        }
    }
    for (int index = 0; index < texts.parameterSlotsUsed(); ++index) {
        const int slot = texts.parameterSlotNumber(index);
        for (const EntryField &field : parameterSlot) {
            visit(field, slot,
                  field.kind == FieldKind::ParameterText
                      ? FieldValue{texts.parameterText(index, field.parameterText)}
                      : FieldValue{{}, texts.parameterNumber(index, field.parameterNumber)});
        }
    }
}

// The numbers of the data or parameter slots in use on `a`, on `b` or on both, ascending:
// one row each when two entries are compared field by field.
QList<int> dataSlotsInUse(const PatchEntry &a, const PatchEntry &b = PatchEntry());
QList<int> parameterSlotsInUse(const PatchEntry &a, const PatchEntry &b = PatchEntry());

} // namespace EntryFields
