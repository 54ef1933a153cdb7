// The patch entry record: one patch of a set, as the file describes it.
// A value: copying an entry gives an independent copy. Copies are cheap, since the texts
// of the data and parameter slots sit in one block that copies share until one of them
// changes (see SlotTexts.h). Texts are the file's bytes exactly; the window decodes them.
// Used by the reader and writer, the editing commands and the window's detail panel.
#pragma once

#include "SlotTexts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class PatchEntry
{
public:
    static constexpr int DataSlotCount = SlotTexts::DataSlotCount;
    static constexpr int ParameterSlotCount = SlotTexts::ParameterSlotCount;

    // The texts come first so that the record packs without holes: undo snapshots and table
    // moves copy it whole.
    QByteArray Name;
    QByteArray Description;
    QByteArray Dependencies;
    // 1: listed; 0: absent, removed by the next refresh of its side; other values are kept
    // and saved but never listed.
    quint8 Omnipresence = 0;
    quint8 RequiresRemap = 0;
    quint8 RequiresYiff = 0;
    quint8 RequiresPart = 0;
    quint8 RequiresSave = 0;
    quint8 CondBehave = 0;

    // The slots behave as fixed arrays of 100 data slots (0..99) and 30 parameter slots
    // (0..29); a slot never written reads as empty. Texts are read in place: a view stays
    // valid until this entry is changed or destroyed.
    QByteArrayView Offffset(int slot) const { return dataText(slot, DataText::Offffset); }
    QByteArrayView DeflData(int slot) const { return dataText(slot, DataText::DeflData); }
    QByteArrayView ModNData(int slot) const { return dataText(slot, DataText::ModNData); }
    QByteArrayView ModRData(int slot) const { return dataText(slot, DataText::ModRData); }
    quint8 existence(int slot) const { return parameterNumber(slot, ParameterNumber::existence); }
    QByteArrayView offsetka(int slot) const { return parameterText(slot, ParameterText::offsetka); }
    QByteArrayView parametervalka(int slot) const
    {
        return parameterText(slot, ParameterText::parametervalka);
    }
    QByteArrayView parameternamka(int slot) const
    {
        return parameterText(slot, ParameterText::parameternamka);
    }
    quint8 parametertypka(int slot) const
    {
        return parameterNumber(slot, ParameterNumber::parametertypka);
    }
    QByteArrayView dataText(int slot, DataText field) const;
    QByteArrayView parameterText(int slot, ParameterText field) const;
    quint8 parameterNumber(int slot, ParameterNumber field) const;

    // Every change to the slots comes through here: `change` gets a builder holding them
    // (see SlotTexts::edit). To change several slot fields, set them all in one edit.
    template<typename Change>
    void editSlots(Change change)
    {
        m_slots.edit(std::move(change));
    }

    // All slots at once, for the reader and the writer.
    const SlotTexts &slotTexts() const { return m_slots; }
    void setSlotTexts(SlotTexts texts) { m_slots = std::move(texts); }

    // Compares as fixed arrays: entries that share their slot block are equal at once.
    friend bool operator==(const PatchEntry &a, const PatchEntry &b);
    friend bool operator!=(const PatchEntry &a, const PatchEntry &b) { return !(a == b); }

private:
    SlotTexts m_slots;
};

// Every member moves as plain bytes, so tables grow and reorder with memmove.
Q_DECLARE_TYPEINFO(PatchEntry, Q_RELOCATABLE_TYPE);

// Tables are copied whole (a detached list, a snapshot of a side): each entry copied costs
// this much and no text, so it stays small.
static_assert(sizeof(PatchEntry) <= 88, "a patch entry grew");

// A patch set table: positions from 0, the order of the list and of the saved file.
using PatchTable = QList<PatchEntry>;
