// One patch entry and its namesake on the other side, compared field by field: the rows of
// the entry view. A row is one field of the entry itself, one whole data slot or one whole
// parameter slot in use on either side, in file order, each with its state and, for every
// text that differs, the stretch between what the two texts share at their start and end.
// PatchSetEditor builds one for the current line of a side; the view only shows it.
#pragma once

#include "EntryFields.h"
#include "PatchSets.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

enum class RowState : quint8 {
    Same,
    Differs,
    OnlyInSrc, // a slot in use on SRC only, or every row of an entry without a namesake in DEST
    OnlyInDest,
};

// The state of a row that only `side` has.
constexpr RowState onlyIn(Side side)
{
    return side == Side::Left ? RowState::OnlyInSrc : RowState::OnlyInDest;
}

// Which part of an entry a row shows, and so what "Take from SRC" takes for it.
struct RowKey
{
    enum class Kind : quint8 { Field, DataSlot, Parameter };
    Kind kind = Kind::Field;
    int number = 0; // Field: its position in EntryFields::members; otherwise the slot number

    friend bool operator==(RowKey a, RowKey b) { return a.kind == b.kind && a.number == b.number; }
};

// A stretch [begin, end) of a text, in bytes: each byte is one character on screen.
struct TextSpan
{
    qsizetype begin = 0;
    qsizetype end = 0;

    bool isEmpty() const { return begin == end; }
};

// One text or number of a row on both sides. Texts are views into the comparison's own
// copies of the entries, valid while the comparison (or a copy of it) lives.
struct ComparedValue
{
    const EntryField *field = nullptr;
    BySide<FieldValue> on; // empty on a side without the entry or without the slot
    // What differs in each text; empty when the texts are equal, and for numbers, which
    // differ whole. In the three data texts a stretch covers whole byte pairs (two hex
    // digits), so a changed byte is never shown as half of one.
    BySide<TextSpan> differing;

    bool differs() const { return on.left != on.right; }
    // A number (a flag, a parameter's existence or type), which differs whole.
    bool isNumber() const
    {
        return field->kind == FieldKind::Number || field->kind == FieldKind::ParameterNumber;
    }
};

struct ComparedRow
{
    RowKey key;
    RowState state = RowState::Same;
    // One value for a field of the entry itself, four for a data slot, five for a parameter.
    QVarLengthArray<ComparedValue, 5> values;

    // "Description", "Data slot 7", "Parameter 12".
    QString label() const;
};

// A row's label, as ComparedRow::label() gives it.
QString rowLabel(RowKey key);

// The rows two namesakes differ in, as an EntryComparison of the two would list them: the
// labels of the first `limit`, in file order, and how many there are in all.
struct DifferingRows
{
    QStringList labels;
    int count = 0;
};
// Reads the fields of both entries where they are, marks no stretch and builds a label only
// for the first `limit` rows, so a tooltip can afford it on every hover.
DifferingRows differingRowLabels(const PatchEntry &src, const PatchEntry &dest, int limit);

class EntryComparison
{
public:
    EntryComparison() = default; // no entry on either side: no rows
    // `src` or `dest` may be nullptr: an entry without a namesake is listed alone, each row
    // only on its side. Linear in the length of the entries' texts.
    EntryComparison(const PatchEntry *src, const PatchEntry *dest);

    bool has(Side side) const { return m_has[side]; }
    bool hasSrc() const { return m_has.left; }
    bool hasDest() const { return m_has.right; }
    bool isPair() const { return m_has.left && m_has.right; }
    // The name of the entry compared (both sides share it), as stored.
    const QByteArray &name() const
    {
        return m_has.left ? m_entries.left.Name : m_entries.right.Name;
    }

    const QList<ComparedRow> &rows() const & { return m_rows; }
    // From a comparison about to go, the rows move out: a range-for over the rows of a
    // comparison returned by value would otherwise walk a list already gone. Their views
    // then hold only while the compared entries do.
    QList<ComparedRow> rows() && { return std::move(m_rows); }
    // Rows whose state is not Same.
    int differingRows() const;

    // What the comparison says, for the entry of `seenFrom` (the side whose line is shown):
    // "identical to its namesake in DEST", "3 of 14 fields differ" or "no entry of this name
    // in DEST" (SRC when seen from DEST). Empty without an entry on that side.
    QString headline(Side seenFrom) const;

private:
    // Copies share their texts with the tables, so they cost no text; they keep the views
    // of the rows valid whatever happens to the tables afterwards.
    BySide<PatchEntry> m_entries;
    BySide<bool> m_has{false, false};
    QList<ComparedRow> m_rows;
};

// The name a value carries within its row: the key of an entry field or a data text
// ("Offffset"), the record's member name for a parameter value ("parametervalka").
QString valueName(const EntryField &field);

// The short state text of a row, shown in its own column and read as its description.
QString rowStateText(RowState state);

// "Take from SRC" on plain entries: sets the fields of `into` that `rows` name to those of
// `from`: an entry field, or a whole data or parameter slot, so a slot `from` does not use
// leaves `into` too. The Name row is passed over: it is what makes the two namesakes.
void takeRows(const PatchEntry &from, PatchEntry &into, const QList<RowKey> &rows);
