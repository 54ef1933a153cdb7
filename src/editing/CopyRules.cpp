#include "CopyRules.h"

#include "AnsiText.h"
#include "LineMarks.h"
#include "PatchSetFormat.h"

#include <QHash>
#include <QSet>

#include <algorithm>

bool CopyRun::overwrites(OverwriteAnswer answer)
{
    switch (answer) {
    case OverwriteAnswer::Yes:
        return true;
    case OverwriteAnswer::No:
        return false;
    case OverwriteAnswer::YesToAll:
        overwriteAll = true;
        return true;
    case OverwriteAnswer::NoToAll:
        overwriteAll = false;
        return false;
    case OverwriteAnswer::Cancel:
        cancelled = true;
        return false;
    }
    return false;
}

QString overwriteTitle()
{
    return QStringLiteral("Confirm patch overwrite");
}

QString overwriteText(const QByteArray &ID)
{
    return QStringLiteral("Patch with name ''") + decodeAnsi(ID)
        + QStringLiteral("'' already exists. Overwrite?");
}

QString overwriteDetail(int number, int count, const PatchEntry &src, const PatchEntry &dest)
{
    return QStringLiteral("Question %1 of %2\nDiffers in ").arg(number).arg(count)
        + differingRowsText(src, dest);
}

int plannedQuestions(const PatchTable &src, const QList<int> &records, const PatchTable &dest,
                     qsizetype from)
{
    // For each name copied, the entry its first DEST record holds as the run goes on; a Yes
    // puts the copy there, and so does an append when DEST has no such record.
    QHash<QByteArray, const PatchEntry *> namesakes;
    for (qsizetype index = from; index < records.size(); ++index) {
        namesakes.insert(src.at(records.at(index)).Name, nullptr);
    }
    qsizetype unmatched = namesakes.size();
    for (const PatchEntry &entry : dest) {
        if (unmatched == 0) {
            break; // every name copied has met its first DEST record
        }
        const auto found = namesakes.find(entry.Name);
        if (found != namesakes.end() && *found == nullptr) {
            *found = &entry;
            --unmatched;
        }
    }
    int questions = 0;
    for (qsizetype index = from; index < records.size(); ++index) {
        const PatchEntry &copy = src.at(records.at(index));
        const PatchEntry *&namesake = namesakes[copy.Name];
        if (namesake != nullptr && *namesake == copy) {
            continue;
        }
        if (namesake != nullptr) {
            ++questions;
        }
        namesake = &copy;
    }
    return questions;
}

QString pastLimitRefusal(const PatchTable &src, const QList<int> &sources, const PatchTable &dest,
                         const QList<int> &deleted)
{
    using PatchSetFormat::MaxEntries;
    const qsizetype kept = dest.size() - deleted.size(); // listed or not, every record is saved
    if (kept + sources.size() <= MaxEntries) {
        return QString(); // nearly every copy: no need to look at names
    }
    // Each name DEST does not hold once the delete is done is appended once; a later SRC entry
    // of that name lands on the copy or is declined, so only distinct new names grow DEST.
    QSet<QByteArray> names;
    for (int record = 0; record < dest.size(); ++record) {
        if (!std::binary_search(deleted.cbegin(), deleted.cend(), record)) {
            names.insert(dest.at(record).Name);
        }
    }
    const qsizetype held = names.size();
    for (const int record : sources) {
        names.insert(src.at(record).Name);
    }
    const qsizetype added = names.size() - held;
    const qsizetype room = std::max<qsizetype>(0, MaxEntries - kept);
    if (added <= room) {
        return QString();
    }
    return QStringLiteral("DEST can hold %1 entries at most. It can take %2 more, and "
                          "this copy would add %3.")
        .arg(MaxEntries)
        .arg(room)
        .arg(added);
}
