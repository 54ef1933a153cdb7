// The rows of the entry view as a table: one row per row of an EntryComparison, a column for
// its state and one for each side's values, the row's label in the row header. It holds the
// comparison the editor gave it and reads nothing else; EntryView asks the editor for a new
// one after every change and hands it over with show().
#pragma once

#include "EntryComparison.h"

#include <QAbstractTableModel>
#include <QList>

class EntryRowsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { StateColumn, SrcColumn, DestColumn, ColumnCount };

    explicit EntryRowsModel(QObject *parent = nullptr);

    // Shows the rows of `comparison`, all of them or only those that are not the same.
    void show(EntryComparison comparison, bool onlyDifferences);
    const EntryComparison &comparison() const { return m_comparison; }
    // The comparison's row shown as table row `row`.
    const ComparedRow &rowAt(int row) const;
    // The table row showing the comparison's row `key`, or -1 when it is hidden or absent.
    int rowOf(RowKey key) const;

    // Rows as tab-separated lines of the field, its SRC text and its DEST text, with the
    // exact texts, decoded as the lists decode them: a slot row gives one line per value
    // ("Data slot 7 DeflData"). Rows in the order given.
    QString copiedText(const QList<int> &rows) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    EntryComparison m_comparison;
    QList<int> m_shown; // the comparison's rows shown, in order
};

// Whether `row` has values on `side`: not for a row only in the other side, whose side then
// shows nothing rather than empty texts and zeros.
bool rowHasSide(const ComparedRow &row, Side side);

// Stored bytes as the lists decode them, with every control character made visible as an
// escape of its byte, "\x09": fonts seldom have the Unicode pictures of control characters,
// and a box for each would not tell a tab from any other.
QString shownText(QByteArrayView bytes);
// Where byte `position` of `bytes` lands in shownText(bytes).
qsizetype shownPosition(QByteArrayView bytes, qsizetype position);

// What one value of a row shows on one side, as shownText(); a number in decimal.
QString shownValue(const ComparedValue &value, Side side);
// The same without making anything visible: the text a copy gives.
QString exactValue(const ComparedValue &value, Side side);
