#include "LineMarks.h"

#include "AnsiText.h"
#include "EntryComparison.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

// A question or a tooltip names this many rows at most; the rest are only counted.
constexpr int MostNamedRows = 5;

QString counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

// A name as a user compares two names by eye: decoded as the lists show it, its trailing
// spaces dropped, in one case. Only spaces: a tab is an ordinary character of a name.
QString foldedName(const QByteArray &name)
{
    QString text = decodeAnsi(name);
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    text.truncate(end);
    return std::move(text).toCaseFolded();
}

} // namespace

SharedMarks::SharedMarks(const PatchSets &sets) : m_sets(sets) {}

void SharedMarks::follow()
{
    bool changed = false;
    for (const Side side : {Side::Left, Side::Right}) {
        const PatchTable &table = m_sets.table(side);
        if (table.isSharedWith(m_tables[side])) {
            continue;
        }
        changed = true;
        QHash<QByteArrayView, int> &first = m_first[side];
        QSet<QByteArrayView> &unlistedFirst = m_unlistedFirst[side];
        first.clear(); // before the names they read may go with the old table
        unlistedFirst.clear();
        m_firstFolded[side].reset();
        m_tables[side] = table;
        const PatchTable &taken = m_tables[side];
        first.reserve(taken.size());
        std::vector<qsizetype> unlisted;
        // Walked from the end, so that the first entry of a name is the last inserted.
        for (qsizetype position = taken.size() - 1; position >= 0; --position) {
            if (isListed(taken.at(position))) {
                first.insert(QByteArrayView(taken.at(position).Name), int(position));
            } else {
                unlisted.push_back(position);
            }
        }
        for (const qsizetype position : unlisted) {
            const QByteArrayView name(taken.at(position).Name);
            if (first.value(name, -1) > position) {
                unlistedFirst.insert(name);
            }
        }
    }
    if (changed) {
        for (const Side side : {Side::Left, Side::Right}) {
            m_known[side].assign(size_t(m_tables[side].size()), Unknown);
        }
    }
}

const PatchEntry *SharedMarks::listedAt(Side side, int position) const
{
    const PatchTable &own = m_tables[side];
    if (position < 0 || position >= own.size() || !isListed(own.at(position))) {
        return nullptr;
    }
    return &own.at(position);
}

int SharedMarks::namesakePosition(Side side, int position) const
{
    const PatchEntry *own = listedAt(side, position);
    return own == nullptr ? -1 : m_first[otherSide(side)].value(QByteArrayView(own->Name), -1);
}

LineMark SharedMarks::markOf(Side side, int position) const
{
    std::vector<qint8> &known = m_known[side];
    if (position >= 0 && size_t(position) < known.size() && known[size_t(position)] != Unknown) {
        return LineMark(known[size_t(position)]);
    }
    const int namesake = namesakePosition(side, position);
    LineMark mark = LineMark::None;
    if (namesake >= 0) {
        mark = m_tables[side].at(position) == m_tables[otherSide(side)].at(namesake)
            ? LineMark::Identical
            : LineMark::Differs;
    }
    if (position >= 0 && size_t(position) < known.size()) {
        known[size_t(position)] = qint8(mark);
    }
    return mark;
}

const PatchEntry *SharedMarks::namesakeOf(Side side, int position) const
{
    const int namesake = namesakePosition(side, position);
    return namesake < 0 ? nullptr : &m_tables[otherSide(side)].at(namesake);
}

QList<LineMark> SharedMarks::listedMarks(Side side) const
{
    QList<LineMark> marks;
    const PatchTable &own = m_tables[side];
    for (int position = 0; position < own.size(); ++position) {
        if (isListed(own.at(position))) {
            marks.append(markOf(side, position));
        }
    }
    return marks;
}

QString SharedMarks::nearNameText(Side side, int position) const
{
    const PatchEntry *own = listedAt(side, position);
    if (own == nullptr) {
        return QString();
    }
    const QByteArray &name = own->Name;
    const Side other = otherSide(side);
    if (m_first[other].contains(QByteArrayView(name))) {
        return QString(); // a namesake: the line's mark says all
    }
    std::optional<QHash<QString, int>> &folded = m_firstFolded[other];
    if (!folded) {
        // Folding every name costs several times what the exact index does, and only a
        // tooltip asks for it: a table pays it once after each change, and only when asked.
        const PatchTable &names = m_tables[other];
        folded.emplace();
        folded->reserve(names.size());
        for (qsizetype at = names.size() - 1; at >= 0; --at) {
            if (isListed(names.at(at))) {
                folded->insert(foldedName(names.at(at).Name), int(at));
            }
        }
    }
    const int near = folded->value(foldedName(name), -1);
    if (near < 0) {
        return QString();
    }
    return QStringLiteral("nearly the name of ") + sideName(other) + QStringLiteral("'s '")
        + decodeAnsi(m_tables[other].at(near).Name) + QLatin1Char('\'');
}

int firstListedNamed(const PatchTable &table, const QByteArray &name)
{
    for (int position = 0; position < table.size(); ++position) {
        const PatchEntry &entry = table.at(position);
        if (isListed(entry) && entry.Name == name) {
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
