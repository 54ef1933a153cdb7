#include "SideFilter.h"

bool inState(LineMark mark, MarkState state)
{
    switch (state) {
    case MarkState::Any:
        return true;
    case MarkState::Differing:
        return mark == LineMark::Differs;
    case MarkState::Identical:
        return mark == LineMark::Identical;
    case MarkState::Shared:
        return mark != LineMark::None;
    case MarkState::OnlyHere:
        return mark == LineMark::None;
    }
    return false;
}

QString stateName(MarkState state, Side side)
{
    switch (state) {
    case MarkState::Any:
        break;
    case MarkState::Differing:
        return QStringLiteral("differing");
    case MarkState::Identical:
        return QStringLiteral("identical");
    case MarkState::Shared:
        return QStringLiteral("shared");
    case MarkState::OnlyHere:
        return QStringLiteral("only in ") + sideName(side);
    }
    return QString();
}

bool SideFilter::keeps(const QString &name, LineMark mark) const
{
    return inState(mark, state) && (text.isEmpty() || name.contains(text, Qt::CaseInsensitive));
}
