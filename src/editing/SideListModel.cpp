#include "SideListModel.h"

#include "SideListing.h"

SideListModel::SideListModel(const SideListing &listing, QObject *parent)
    : QAbstractListModel(parent), m_listing(listing), m_rows(listing.lineCount())
{
}

int SideListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

LineMark SideListModel::markOf(const QModelIndex &index) const
{
    return m_listing.markOfLine(index.row());
}

QVariant SideListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows) {
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return m_listing.lineText(index.row());
    case MarkRole: {
        const LineMark mark = markOf(index);
        return mark == LineMark::None ? QVariant() : QVariant(int(mark));
    }
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        const LineMark mark = markOf(index);
        if (role == Qt::ToolTipRole && mark == LineMark::Differs) {
            // Worked out only now that a tooltip is asked for, never for every line.
            return m_listing.differenceOfLine(index.row());
        }
        const QString text = mark == LineMark::None ? m_listing.nearNameText(index.row())
                                                    : lineMarkText(m_listing.side(), mark);
        return text.isEmpty() ? QVariant() : text;
    }
    default:
        return QVariant();
    }
}

void SideListModel::resetLines()
{
    beginResetModel();
    m_rows = m_listing.lineCount();
    endResetModel();
}

void SideListModel::marksChanged()
{
    if (m_rows > 0) {
        emit dataChanged(index(0), index(m_rows - 1), markRoles());
    }
}

const QList<int> &SideListModel::markRoles()
{
    static const QList<int> roles = {MarkRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole,
                                     Qt::BackgroundRole};
    return roles;
}
