#include "CommandTexts.h"

#include "AnsiText.h"
#include "Side.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>

namespace {

QString entries(int count, Side side)
{
    return QStringLiteral("%1 selected %2 %3")
        .arg(count)
        .arg(sideName(side), count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
}

QString statusText(const QByteArray &version, const QString &origin)
{
    return QStringLiteral("v.") + decodeAnsi(version) + QStringLiteral(" / ") + origin;
}

} // namespace

QString copyCommandEffect(bool enabled, int destSelected, int srcSelected, int identical)
{
    if (!enabled) {
        return QStringLiteral("does nothing until SRC and DEST both hold a set");
    }
    if (destSelected == 0 && srcSelected == 0) {
        return QStringLiteral("does nothing, since no SRC or DEST entry is selected");
    }
    QStringList parts;
    if (destSelected > 0) {
        parts.append(QStringLiteral("deletes ") + entries(destSelected, Side::Right));
    }
    if (srcSelected > 0) {
        parts.append(QStringLiteral("copies ") + entries(srcSelected, Side::Left));
    }
    QString effect = parts.join(QStringLiteral(", then "));
    if (srcSelected > 0 && identical > 0) {
        effect += identical == 1
            ? QStringLiteral("; 1 identical namesake stays as it is")
            : QStringLiteral("; %1 identical namesakes stay as they are").arg(identical);
    }
    return effect;
}

QString sideFileText(bool holdsSet, const QString &path)
{
    if (!holdsSet) {
        return {};
    }
    if (path.isEmpty()) {
        return QStringLiteral("new set, not saved");
    }
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString loadedSetStatus(const QByteArray &version, const QDateTime &modified)
{
    const QLocale locale;
    return statusText(version,
                      locale.toString(modified.date(), QLocale::ShortFormat) + QLatin1Char(' ')
                          + locale.toString(modified.time(), QLocale::LongFormat));
}

QString newSetStatus()
{
    return statusText(QByteArrayLiteral("0.3"), QStringLiteral("[new]"));
}
