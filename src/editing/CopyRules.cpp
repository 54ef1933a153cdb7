#include "CopyRules.h"

#include "AnsiText.h"
#include "PatchSetFormat.h"

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

QString pastLimitRefusal(const PatchTable &src, const QList<int> &sources, const PatchTable &dest,
                         const QList<int> &deleted)
{
    using PatchSetFormat::maxEntries;
    const qsizetype kept = dest.size() - deleted.size(); // listed or not, every record is saved
    if (kept + sources.size() <= maxEntries) {
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
    const qsizetype room = std::max<qsizetype>(0, maxEntries - kept);
    if (added <= room) {
        return QString();
    }
    return QStringLiteral("DEST can hold %1 entries at most. It can take %2 more, and "
                          "this copy would add %3.")
        .arg(maxEntries)
        .arg(room)
        .arg(added);
}
