#include "LineMarks.h"

#include "EntryComparison.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

// What one name is on the two sides: its first listed entry on each (-1: none), and the
// outcome of comparing those two, which both sides need.
struct Namesakes
{
    int firstSrc = -1;
    int firstDest = -1;
    bool firstsEqual = false;
};

// A question or a tooltip names this many rows at most; the rest are only counted.
constexpr int MostNamedRows = 5;

QString counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace

SharedEntryMarks sharedEntryMarks(const PatchTable &src, const PatchTable &dest)
{
    // Names are hashed, so each line costs one lookup and at most one comparison, with its
    // namesake only; the two first entries of a name are compared once for both sides.
    QHash<QByteArray, Namesakes> names;
    names.reserve(src.size() + dest.size());
    for (int position = 0; position < src.size(); ++position) {
        if (src.at(position).Omnipresence == 1) {
            Namesakes &name = names[src.at(position).Name];
            if (name.firstSrc < 0) {
                name.firstSrc = position;
            }
        }
    }
    for (int position = 0; position < dest.size(); ++position) {
        const PatchEntry &entry = dest.at(position);
        if (entry.Omnipresence != 1) {
            continue;
        }
        const auto name = names.find(entry.Name);
        if (name != names.end() && name->firstDest < 0) {
            name->firstDest = position;
            name->firstsEqual = src.at(name->firstSrc) == entry;
        }
    }

    const auto markLines = [&names](const PatchTable &own, const PatchTable &other,
                                    int Namesakes::*firstOwn, int Namesakes::*firstOther) {
        QList<LineMark> marks;
        marks.reserve(own.size());
        for (int position = 0; position < own.size(); ++position) {
            const PatchEntry &entry = own.at(position);
            if (entry.Omnipresence != 1) {
                marks.append(LineMark::None);
                continue;
            }
            const Namesakes name = names.value(entry.Name);
            bool equal = name.firstsEqual;
            if (name.*firstOther < 0) {
                marks.append(LineMark::None);
                continue;
            }
            if (position != name.*firstOwn) {
                equal = entry == other.at(name.*firstOther);
            }
            marks.append(equal ? LineMark::Identical : LineMark::Differs);
        }
        return marks;
    };
    SharedEntryMarks marks;
    marks.left = markLines(src, dest, &Namesakes::firstSrc, &Namesakes::firstDest);
    marks.right = markLines(dest, src, &Namesakes::firstDest, &Namesakes::firstSrc);
    return marks;
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
