// What a save followed by a load gives back of a table read from any file: data slots need an
// offset, parameter slots must be in use (existence 1), and parameter texts come back through
// pipe lines, which keep 50 characters. Everything else a read can produce is written back as
// it was read: read texts never hold a line break or a ";" and never start with a space.
// Shared by the round-trip tests and the fuzz target, which must agree on it.
#pragma once

#include "EntryFields.h"

#include <algorithm>
#include <utility>

// What comes back of one slot field, given the entry it was read with.
inline FieldValue whatASaveKeeps(const PatchEntry &read, const EntryField &field, int slot,
                                 FieldValue value)
{
    const bool written = field.kind == FieldKind::DataText ? !read.Offffset(slot).isEmpty()
                                                           : read.existence(slot) == 1;
    if (!written) {
        return {};
    }
    if (field.kind == FieldKind::ParameterText) {
        value.text = value.text.first(
            std::min<qsizetype>(value.text.size(), PatchSetFormat::MaxPipeTextLength));
    }
    return value;
}

inline PatchTable whatASaveKeeps(PatchTable table)
{
    for (qsizetype position = 0; position < table.size(); ++position) {
        const PatchEntry &read = std::as_const(table).at(position);
        PatchEntry kept = read; // shares its slots until one field changes
        kept.editSlots([&read](SlotTextsBuilder &builder) {
            EntryFields::forEachField(
                read, [&](const EntryField &field, int slot, FieldValue value) {
                    const FieldValue keeps =
                        field.inSlot() ? whatASaveKeeps(read, field, slot, value) : value;
                    if (keeps != value) {
                        field.write(builder, slot, keeps);
                    }
                });
        });
        // Only an entry that changes is written to, so a table that comes back whole is not
        // copied.
        if (kept != read) {
            table[position] = kept;
        }
    }
    return table;
}
