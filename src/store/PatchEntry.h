// The patch entry record: one patch of a set, as the file describes it.
// Owns nothing but its own values: copying an entry gives an independent copy.
// Texts are the file's bytes exactly (8-bit); the window decodes them for display.
// Data and parameter slots behave as fixed arrays of 100 and 30 slots, but are stored
// only up to the highest slot ever written, so a fresh entry stays small.
#pragma once

#include <QByteArray>
#include <QList>

// One parameter slot; member names are those of the file's parameter syntax.
struct PatchParameter
{
    quint8 existence = 0;
    QByteArray offsetka;
    QByteArray parametervalka;
    QByteArray parameternamka;
    quint8 parametertypka = 0;

    bool isEmpty() const;
    friend bool operator==(const PatchParameter &a, const PatchParameter &b);
    friend bool operator!=(const PatchParameter &a, const PatchParameter &b) { return !(a == b); }
};

// One data slot: an offset and the three data texts that go with it.
struct DataSlot
{
    QByteArray Offffset;
    QByteArray DeflData;
    QByteArray ModNData;
    QByteArray ModRData;

    bool isEmpty() const;
    friend bool operator==(const DataSlot &a, const DataSlot &b);
    friend bool operator!=(const DataSlot &a, const DataSlot &b) { return !(a == b); }
};

class PatchEntry
{
public:
    static constexpr int DataSlotCount = 100;
    static constexpr int ParameterSlotCount = 30;

    // 1: listed; 0: absent, removed by the next refresh of its side; other values are kept
    // and saved but never listed.
    quint8 Omnipresence = 0;
    QByteArray Name;
    QByteArray Description;
    quint8 RequiresRemap = 0;
    quint8 RequiresYiff = 0;
    quint8 RequiresPart = 0;
    quint8 RequiresSave = 0;
    QByteArray Dependencies;
    quint8 CondBehave = 0;

    // Any slot 0..99 may be read; a slot never written reads as empty.
    const DataSlot &data(int slot) const;
    // Write access; the slot number is kept as given (slot 5 alone leaves 0..4 empty).
    DataSlot &data(int slot);

    // Any slot 0..29 may be read; a slot never written reads as empty.
    const PatchParameter &parameter(int slot) const;
    PatchParameter &parameter(int slot);

    // Compares as fixed arrays: storage that only holds empty slots makes no difference.
    friend bool operator==(const PatchEntry &a, const PatchEntry &b);
    friend bool operator!=(const PatchEntry &a, const PatchEntry &b) { return !(a == b); }

private:
    QList<DataSlot> m_data;
    QList<PatchParameter> m_parameters;
};

// A patch set table: positions from 0, the order of the list and of the saved file.
using PatchTable = QList<PatchEntry>;
