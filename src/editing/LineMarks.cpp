#include "LineMarks.h"

#include "EntryComparison.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

// A question or a tooltip names this many rows at most; the rest are only counted.
constexpr int MostNamedRows = 5;

QString counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace

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

QString differingRowsText(const PatchEntry &src, const PatchEntry &dest)
{
    const DifferingRows rows = differingRowLabels(src, dest, MostNamedRows);
    QString text = rows.labels.join(QStringLiteral(", "));
    if (rows.count > rows.labels.size()) {
        text += QStringLiteral(" and %1 more").arg(rows.count - rows.labels.size());
    }
    return text;
}

QString differenceText(const PatchEntry &src, const PatchEntry &dest)
{
    const QString rows = differingRowsText(src, dest);
    return rows.isEmpty() ? QString() : QStringLiteral("differs in ") + rows;
}

QString marksBreakdown(Side side, const QList<LineMark> &marks)
{
    const qsizetype identical = std::count(marks.cbegin(), marks.cend(), LineMark::Identical);
    const qsizetype differing = std::count(marks.cbegin(), marks.cend(), LineMark::Differs);
    const qsizetype shared = identical + differing;
    const qsizetype alone = marks.size() - shared;
    QStringList parts;
    if (shared > 0) {
        QStringList verdicts;
        if (differing > 0) {
            verdicts.append(counted(differing, "differs", "differ"));
        }
        if (identical > 0) {
            verdicts.append(QString::number(identical) + QStringLiteral(" identical"));
        }
        parts.append(QString::number(shared) + QStringLiteral(" also in ")
                     + sideName(otherSide(side)) + QStringLiteral(" (")
                     + verdicts.join(QStringLiteral(", ")) + QLatin1Char(')'));
    }
    if (alone > 0) {
        parts.append(QString::number(alone) + QStringLiteral(" only in ") + sideName(side));
    }
    const QString total = counted(marks.size(), "entry", "entries");
    return parts.isEmpty() ? total
                           : total + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}
