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
    for (PatchEntry &entry : table) {
        for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
            const DataSlot &data = std::as_const(entry).data(slot);
            if (data.Offffset.isEmpty() && !data.isEmpty()) {
                entry.data(slot) = DataSlot();
            }
        }
        for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
            if (std::as_const(entry).parameter(slot).isEmpty()) {
                continue;
            }
            PatchParameter &kept = entry.parameter(slot);
            if (kept.existence != 1) {
                kept = PatchParameter();
                continue;
            }
            kept.offsetka.truncate(50);
            kept.parametervalka.truncate(50);
            kept.parameternamka.truncate(50);
        }
    }
    return table;
}
