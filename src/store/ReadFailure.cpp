#include "ReadFailure.h"

#include "BodyLine.h"
#include "PatchSetFormat.h"

#include <algorithm>

namespace ReadFailure {

QString cantFindMessage(const QString &path)
{
    return QLatin1String("Can't find patch set file (") + path + QLatin1Char(')');
}

QString headerMessage()
{
    return QStringLiteral("Patch set header not found! Must be ''TAVRO=[version]''");
}

QString errorLoadingMessage(const QString &path)
{
    return QLatin1String("Error loading custom patch set (") + path + QLatin1String(").")
        + QLatin1String(PatchSetFormat::LineEnd)
        + QLatin1String("Make sure file is not corrupted or empty.");
}

// `why` in a few words; the detail puts the line in front of it once reading has begun.
ReadResult failure(const QString &message, int line, const QString &why)
{
    ReadResult result;
    result.message = message;
    result.line = line;
    result.detail = line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(why) : why;
    return result;
}

QString quoted(QByteArrayView text)
{
    constexpr qsizetype ShownLength = 24;
    const QByteArrayView trimmed = text.trimmed();
    QString shown = QString::fromLatin1(trimmed.first(std::min(trimmed.size(), ShownLength)));
    if (trimmed.size() > ShownLength) {
        shown += QStringLiteral("...");
    }
    return shown;
}

QString whyNotStored(Stored stored, const Line &line)
{
    const BodyLine::KeyAndValue parts = BodyLine::splitBodyLine(line);
    const QString key = quoted(parts.key);
    const QString value = quoted(parts.value);
    switch (stored) {
    case Stored::NoDataSlot:
        return QStringLiteral("%1 names no data slot from 0 to %2")
            .arg(key)
            .arg(PatchEntry::DataSlotCount - 1);
    case Stored::NoParameterSlot:
        return QStringLiteral("%1 names no parameter slot from 0 to %2 in \"%3\"")
            .arg(key)
            .arg(PatchEntry::ParameterSlotCount - 1)
            .arg(value);
    default:
        return value.isEmpty()
            ? key + QStringLiteral(" needs a number from 0 to 255 and has none")
            : QStringLiteral("%1 needs a number from 0 to 255, not \"%2\"").arg(key, value);
    }
}

} // namespace ReadFailure
