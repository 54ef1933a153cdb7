#include "LineMarks.h"

#include <QHash>

SharedMarks::SharedMarks(const PatchSets &sets) : m_sets(sets) {}

void SharedMarks::follow()
{
    for (const Side side : {Side::Left, Side::Right}) {
        const PatchTable &table = m_sets.table(side);
        if (table.isSharedWith(m_tables[side])) {
            continue;
        }
        QHash<QByteArrayView, int> &first = m_first[side];
        first.clear(); // before the names it reads may go with the old table
        m_tables[side] = table;
        const PatchTable &taken = m_tables[side];
        first.reserve(taken.size());
        // Walked from the end, so that the first entry of a name is the last inserted.
        for (qsizetype position = taken.size() - 1; position >= 0; --position) {
            if (taken.at(position).Omnipresence == 1) {
                first.insert(QByteArrayView(taken.at(position).Name), int(position));
            }
        }
    }
}

LineMark SharedMarks::markOf(Side side, int position) const
{
    const PatchTable &own = m_tables[side];
    if (position < 0 || position >= own.size() || own.at(position).Omnipresence != 1) {
        return LineMark::None;
    }
    const PatchEntry &entry = own.at(position);
    const int namesake = m_first[otherSide(side)].value(QByteArrayView(entry.Name), -1);
    if (namesake < 0) {
        return LineMark::None;
    }
    return entry == m_tables[otherSide(side)].at(namesake) ? LineMark::Identical
                                                           : LineMark::Differs;
}

int firstListedNamed(const PatchTable &table, const QByteArray &name)
{
    for (int position = 0; position < table.size(); ++position) {
        const PatchEntry &entry = table.at(position);
        if (entry.Omnipresence == 1 && entry.Name == name) {
            return position;
        }
    }
    return -1;
}

QString lineMarkText(Side side, LineMark mark)
{
    if (mark == LineMark::None) {
        return QString();
    }
    const QString verdict =
        mark == LineMark::Identical ? QStringLiteral("identical") : QStringLiteral("differs");
    return QStringLiteral("also in ") + sideName(otherSide(side)) + QStringLiteral(", ") + verdict;
}
