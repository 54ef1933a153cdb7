// A side's lines as a list model, for the view that shows them: one row per line of the side's
// SideListing, its text the record's Name, its mark as MarkRole and, as lineMarkText() words
// it, its tooltip and accessible description; a differing line's tooltip names what differs,
// and an unmarked line's names a name of the other side's that is nearly its own. Only the
// number of rows is kept, as the last reset left it, so a view never sees the rows change
// between notifications; the rest is read from the listing when a view asks, so a list of the
// largest set costs what the view shows of it. The window's side view makes one per list and
// passes the listing's news on to it.
#pragma once

#include "LineMarks.h"

#include <QAbstractListModel>

class SideListing;

class SideListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // A line's mark as an int of LineMark; no value for LineMark::None.
    static constexpr int MarkRole = Qt::UserRole + 1;

    // `listing` lives as long as the model.
    explicit SideListModel(const SideListing &listing, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The listing rebuilt its lines: one reset, however many lines changed.
    void resetLines();
    // The marks changed: one change over every row, of the roles a mark decides (markRoles),
    // which a view answers by painting the rows it shows again.
    void marksChanged();
    // What a mark decides of a line: its MarkRole, tooltip and accessible description, and the
    // background that a model for a window paints it with. None changes the size of a line.
    static const QList<int> &markRoles();

protected:
    LineMark markOf(const QModelIndex &index) const;

private:
    const SideListing &m_listing;
    int m_rows = 0;
};
