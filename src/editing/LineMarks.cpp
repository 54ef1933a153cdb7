#include "LineMarks.h"

#include <QHash>

namespace {

// What one name is on the two sides: its first listed entry on each (-1: none), and the
// outcome of comparing those two, which both sides need.
struct Namesakes
{
    int firstSrc = -1;
    int firstDest = -1;
    bool firstsEqual = false;
};

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
