#include "DetailPanel.h"

#include <QStringList>

#include <algorithm>

QString detailSummary(const PatchEntry &entry, Side side)
{
    int offsets = 0;
    qint64 size = 0;
    for (int slot = 0; slot < PatchEntry::DataSlotCount; ++slot) {
        if (entry.Offffset(slot).isEmpty()) {
            continue; // data texts without an offset are not part of the patch
        }
        ++offsets;
        const qint64 longest = std::max({entry.DeflData(slot).size(), entry.ModNData(slot).size(),
                                         entry.ModRData(slot).size()});
        size += longest / 2; // two hex digits per byte; a dangling digit is no byte
    }

    int params = 0;
    for (int slot = 0; slot < PatchEntry::ParameterSlotCount; ++slot) {
        if (!entry.offsetka(slot).isEmpty()) {
            ++params;
        }
    }

    const QStringList lines = {
        side == Side::Left ? QStringLiteral("<<") : QStringLiteral(">>"),
        QStringLiteral("Offsets: ") + QString::number(offsets),
        QStringLiteral("Params: ") + QString::number(params),
        QStringLiteral("Size: ") + QString::number(size),
    };
    return lines.join(QStringLiteral("\r\n"));
}

void DetailFade::start(const QString &text)
{
    m_fadeLevel = StartLevel;
    m_detailText = text;
}

std::optional<int> DetailFade::tick()
{
    if (m_fadeLevel <= LastVisibleAbove) {
        // Already stopped (or never started): a stray tick must not drift the level down.
        return std::nullopt;
    }
    m_fadeLevel -= Step;
    if (m_fadeLevel > LastVisibleAbove) {
        return m_fadeLevel;
    }
    return std::nullopt;
}
