#include "EntryComparison.h"

#include <algorithm>

namespace {

// The three data texts are hex digits, two to a byte; the offset is an address, not bytes.
bool holdsBytePairs(const EntryField &field)
{
    return field.kind == FieldKind::DataText && field.dataText != DataText::Offffset;
}

// Sets the stretches of two differing texts that lie between their common start and their
// common end. The end is sought only in what the start left over, so the two never overlap
// and "aXa" against "aa" marks the X alone; one pass over each text.
void markDifference(ComparedValue &value)
{
    if (!value.differs() || value.isNumber()) {
        return;
    }
    const QByteArrayView src = value.on.left.text;
    const QByteArrayView dest = value.on.right.text;
    const qsizetype shorter = std::min(src.size(), dest.size());
    const qsizetype start =
        std::mismatch(src.begin(), src.begin() + shorter, dest.begin()).first - src.begin();
    const auto endLeft =
        std::mismatch(src.rbegin(), src.rbegin() + (shorter - start), dest.rbegin());
    const qsizetype end = endLeft.first - src.rbegin();
    const bool pairs = holdsBytePairs(*value.field);
    const auto stretch = [start, end, pairs](qsizetype size) {
        TextSpan span{start, size - end};
        if (pairs) {
            span.begin &= ~qsizetype(1);
            span.end = std::min(size, (span.end + 1) & ~qsizetype(1));
        }
        return span;
    };
    value.differing = {stretch(src.size()), stretch(dest.size())};
}

// Calls `visit(key, fields, slot, inSrc, inDest)` for every row two entries are compared in, in
// file order: each field of the entry itself (slot -1, on both sides), then each data slot and
// each parameter slot either entry uses, with whether each side uses it.
template<typename Visit>
void forEachRow(const PatchEntry &src, const PatchEntry &dest, Visit visit)
{
    const EntryField *field = EntryFields::members.begin();
    for (int position = 0; position < EntryFields::members.size(); ++position, ++field) {
        visit(RowKey{RowKey::Kind::Field, position}, EntryFields::Range{field, field + 1}, -1, true,
              true);
    }
    const SlotTexts &srcSlots = src.slotTexts();
    const SlotTexts &destSlots = dest.slotTexts();
    for (const int slot : EntryFields::dataSlotsInUse(src, dest)) {
        visit(RowKey{RowKey::Kind::DataSlot, slot}, EntryFields::dataSlot, slot,
              srcSlots.findDataSlot(slot) >= 0, destSlots.findDataSlot(slot) >= 0);
    }
    for (const int slot : EntryFields::parameterSlotsInUse(src, dest)) {
        visit(RowKey{RowKey::Kind::Parameter, slot}, EntryFields::parameterSlot, slot,
              srcSlots.findParameterSlot(slot) >= 0, destSlots.findParameterSlot(slot) >= 0);
    }
}

} // namespace

QString ComparedRow::label() const
{
    return rowLabel(key);
}

QString rowLabel(RowKey key)
{
    switch (key.kind) {
    case RowKey::Kind::Field:
        return valueName(EntryFields::members.begin()[key.number]);
    case RowKey::Kind::DataSlot:
        return QStringLiteral("Data slot %1").arg(key.number);
    case RowKey::Kind::Parameter:
        return QStringLiteral("Parameter %1").arg(key.number);
    }
    return QString();
}

EntryComparison::EntryComparison(const PatchEntry *src, const PatchEntry *dest)
    : m_has{src != nullptr, dest != nullptr}
{
    if (!m_has.left && !m_has.right) {
        return;
    }
    m_entries = {src ? *src : PatchEntry(), dest ? *dest : PatchEntry()};
    // The slots in use on both sides add up to no fewer than the rows they make.
    const auto slotsUsed = [](const PatchEntry &entry) {
        return entry.slotTexts().dataSlotsUsed() + entry.slotTexts().parameterSlotsUsed();
    };
    m_rows.reserve(EntryFields::members.size() + slotsUsed(m_entries.left)
                   + slotsUsed(m_entries.right));
    // An entry missing on a side uses no slot there, and none of its fields.
    forEachRow(
        m_entries.left, m_entries.right,
        [this](RowKey key, EntryFields::Range fields, int slot, bool inSrc, bool inDest) {
            ComparedRow &row = m_rows.emplace_back();
            row.key = key;
            bool differs = false;
            for (const EntryField &field : fields) {
                ComparedValue &value = row.values.emplace_back();
                value.field = &field;
                value.on = {field.read(m_entries.left, slot), field.read(m_entries.right, slot)};
                markDifference(value);
                differs = differs || value.differs();
            }
            if (!(inDest && m_has.right)) {
                row.state = RowState::OnlyInSrc;
            } else if (!(inSrc && m_has.left)) {
                row.state = RowState::OnlyInDest;
            } else {
                row.state = differs ? RowState::Differs : RowState::Same;
            }
        });
}

DifferingRows differingRowLabels(const PatchEntry &src, const PatchEntry &dest, int limit)
{
    DifferingRows rows;
    if (src == dest) {
        return rows; // most namesakes, at the cost of one comparison
    }
    const auto note = [&rows, limit](RowKey key) {
        if (rows.labels.size() < limit) {
            rows.labels.append(rowLabel(key));
        }
        ++rows.count;
    };
    // A slot in use on one side only differs, even when every text of it is empty.
    forEachRow(src, dest,
               [&](RowKey key, EntryFields::Range fields, int slot, bool inSrc, bool inDest) {
                   if (inSrc != inDest
                       || std::any_of(fields.begin(), fields.end(), [&](const EntryField &each) {
                              return each.read(src, slot) != each.read(dest, slot);
                          })) {
                       note(key);
                   }
               });
    return rows;
}

int EntryComparison::differingRows() const
{
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(),
                             [](const ComparedRow &row) { return row.state != RowState::Same; }));
}

QString EntryComparison::headline(Side seenFrom) const
{
    if (!m_has[seenFrom]) {
        return QString();
    }
    const QString other = sideName(otherSide(seenFrom));
    if (!isPair()) {
        return QStringLiteral("no entry of this name in ") + other;
    }
    const int differing = differingRows();
    if (differing == 0) {
        return QStringLiteral("identical to its namesake in ") + other;
    }
    return QStringLiteral("%1 of %2 fields differ").arg(differing).arg(m_rows.size());
}

QString valueName(const EntryField &field)
{
    // The file's parameter keys are short nicknames; the record's member names say more.
    if (field.kind == FieldKind::ParameterText) {
        static const char *const names[] = {"offsetka", "parametervalka", "parameternamka"};
        return QLatin1String(names[int(field.parameterText)]);
    }
    if (field.kind == FieldKind::ParameterNumber) {
        return field.parameterNumber == ParameterNumber::existence
            ? QStringLiteral("existence")
            : QStringLiteral("parametertypka");
    }
    return QLatin1String(field.key);
}

QString rowStateText(RowState state)
{
    switch (state) {
    case RowState::Same:
        return QStringLiteral("same");
    case RowState::Differs:
        return QStringLiteral("differs");
    case RowState::OnlyInSrc:
        return QStringLiteral("only in SRC");
    case RowState::OnlyInDest:
        return QStringLiteral("only in DEST");
    }
    return QString();
}

void takeRows(const PatchEntry &from, PatchEntry &into, const QList<RowKey> &rows)
{
    bool slotRows = false;
    for (const RowKey key : rows) {
        if (key.kind != RowKey::Kind::Field) {
            slotRows = true;
            continue;
        }
        Q_ASSERT(key.number >= 0 && key.number < EntryFields::members.size());
        const EntryField &field = EntryFields::members.begin()[key.number];
        // The name is what ties the two entries together; taking it could only break that.
        if (field.kind == FieldKind::Text && field.text == &PatchEntry::Name) {
            continue;
        }
        field.write(into, field.read(from));
    }
    if (!slotRows) {
        return;
    }
    // One edit, so taking every slot makes one new block rather than one per slot. An
    // empty slot taken leaves the slot out of use: a slot only in DEST goes.
    into.editSlots([&](SlotTextsBuilder &builder) {
        for (const RowKey key : rows) {
            if (key.kind == RowKey::Kind::Field) {
                continue;
            }
            const bool data = key.kind == RowKey::Kind::DataSlot;
            Q_ASSERT(key.number >= 0
                     && key.number
                         < (data ? PatchEntry::DataSlotCount : PatchEntry::ParameterSlotCount));
            for (const EntryField &field :
                 data ? EntryFields::dataSlot : EntryFields::parameterSlot) {
                field.write(builder, key.number, field.read(from, key.number));
            }
        }
    });
}
