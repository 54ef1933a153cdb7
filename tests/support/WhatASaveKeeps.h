// What a save followed by a load gives back of a table read from any file: data slots need an
// offset, parameter slots must be in use (existence 1), and parameter texts come back through
// pipe lines, which keep 50 characters. Everything else a read can produce is written back as
// it was read: read texts never hold a line break or a ";" and never start with a space.
// Shared by the round-trip tests and the fuzz target, which must agree on it.
#pragma once

#include "PatchEntry.h"

#include <utility>

inline PatchTable whatASaveKeeps(PatchTable table)
{
    for (qsizetype position = 0; position < table.size(); ++position) {
        if (std::as_const(table).at(position).slotTexts().isEmpty()) {
            continue; // nothing but members a save keeps as they are
        }
        // Walks the slots in use of the entry as read; `read` shares its texts, so changing
        // the entry in the table leaves them where the walk finds them. Only an entry that
        // changes is written to, so a table that comes back whole is not copied.
        const PatchEntry read = std::as_const(table).at(position);
        const SlotTexts &texts = read.slotTexts();
        for (int index = 0; index < texts.dataSlotsUsed(); ++index) {
            const int slot = texts.dataSlotNumber(index);
            if (read.Offffset(slot).isEmpty()) {
                table[position].setData(slot, DataSlot());
            }
        }
        for (int index = 0; index < texts.parameterSlotsUsed(); ++index) {
            const int slot = texts.parameterSlotNumber(index);
            PatchParameter kept;
            if (read.existence(slot) == 1) {
                kept = read.parameter(slot);
                kept.offsetka.truncate(50);
                kept.parametervalka.truncate(50);
                kept.parameternamka.truncate(50);
            }
            if (kept != read.parameter(slot)) {
                table[position].setParameter(slot, kept);
            }
        }
    }
    return table;
}
