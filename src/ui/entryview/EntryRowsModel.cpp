#include "EntryRowsModel.h"

#include "AnsiText.h"
#include "LineMarks.h"
#include "WindowLook.h"

#include <QBrush>
#include <QStringList>

#include <algorithm>

namespace {

FieldValue valueOn(const ComparedValue &value, Side side)
{
    return value.on[side];
}

// What names one value of `row` within it: nothing in a row of the entry's own fields, which
// holds one value, and the value's name in a slot row ("DeflData"), which holds several.
QString nameInRow(const ComparedRow &row, const ComparedValue &value)
{
    return row.key.kind == RowKey::Kind::Field ? QString() : valueName(*value.field);
}

// A name and what it names, as a row's texts show them: "DeflData 00FF", "Data slot 7
// DeflData"; a value of a row of the entry's own fields has no name and stands alone.
QString namedText(const QString &name, const QString &text)
{
    if (name.isEmpty() || text.isEmpty()) {
        return name + text;
    }
    return name + QLatin1Char(' ') + text;
}

// Each value on a line of its own; a slot row names them.
QStringList valueLines(const ComparedRow &row, Side side,
                       QString (*text)(const ComparedValue &, Side))
{
    QStringList lines;
    if (!rowHasSide(row, side)) {
        return lines;
    }
    for (const ComparedValue &value : row.values) {
        lines.append(namedText(nameInRow(row, value), text(value, side)));
    }
    return lines;
}

} // namespace

bool rowHasSide(const ComparedRow &row, Side side)
{
    return row.state != onlyIn(otherSide(side));
}

QString exactValue(const ComparedValue &value, Side side)
{
    const FieldValue shown = valueOn(value, side);
    if (value.isNumber()) {
        return QString::number(shown.number);
    }
    // Decoded in place: the rows' views need no copy to be read.
    return decodeAnsi(QByteArray::fromRawData(shown.text.data(), shown.text.size()));
}

namespace {

// The bytes shown as an escape: C0 controls, DEL, and the five bytes Windows-1252 leaves
// undefined, which decode to C1 controls.
bool isControl(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    return code < 0x20 || code == 0x7F || code == 0x81 || code == 0x8D || code == 0x8F
        || code == 0x90 || code == 0x9D;
}

constexpr qsizetype EscapeLength = 4; // "\x09"

// A tooltip shows the start of each value, enough to read a short text whole; the cell shows
// where a long one differs, and a copy gives all of it.
constexpr qsizetype ToolTipValueLength = 300;
// The longest stretch without a break point a tooltip keeps: a data text has none at all,
// and its tooltip would be as wide as the text.
constexpr qsizetype ToolTipRunLength = 32;

// A value as shownValue() shows it, cut after ToolTipValueLength characters with "…".
QString toolTipValue(const ComparedValue &value, Side side)
{
    if (value.isNumber()) {
        return shownValue(value, side);
    }
    const QByteArrayView bytes = valueOn(value, side).text;
    qsizetype kept = 0;
    // Whole escapes only: a control byte is shown as four characters.
    for (qsizetype shown = 0; kept < bytes.size(); ++kept) {
        shown += isControl(bytes[kept]) ? EscapeLength : 1;
        if (shown > ToolTipValueLength) {
            break;
        }
    }
    const QString text = shownText(bytes.first(kept));
    return kept < bytes.size() ? text + QStringLiteral("\u2026") : text;
}

// Rich text, so that a long line wraps instead of running off the screen; every character
// of the lines is escaped, so a value reading "<b>" shows as it reads. A zero-width space
// after every ToolTipRunLength characters without a space lets the tooltip break there too.
QString wrappedToolTip(const QStringList &lines)
{
    const QString text = lines.join(QLatin1Char('\n'));
    QString breakable;
    breakable.reserve(text.size() + text.size() / ToolTipRunLength);
    qsizetype run = 0;
    for (const QChar character : text) {
        if (character.isSpace()) {
            run = 0;
        } else if (++run > ToolTipRunLength) {
            breakable += QChar(0x200B);
            run = 1;
        }
        breakable += character;
    }
    return QStringLiteral("<p style=\"white-space:pre-wrap\">")
        + breakable.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))
        + QStringLiteral("</p>");
}

} // namespace

QString shownText(QByteArrayView bytes)
{
    const QString decoded = decodeAnsi(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (std::none_of(bytes.begin(), bytes.end(), isControl)) {
        return decoded;
    }
    QString text;
    text.reserve(decoded.size() + 16);
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (isControl(bytes[at])) {
            const auto code = uint(static_cast<unsigned char>(bytes[at]));
            text += QStringLiteral("\\x")
                + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            text += decoded.at(at);
        }
    }
    return text;
}

qsizetype shownPosition(QByteArrayView bytes, qsizetype position)
{
    const qsizetype controls = std::count_if(bytes.begin(), bytes.begin() + position, isControl);
    return position + controls * (EscapeLength - 1);
}

QString shownValue(const ComparedValue &value, Side side)
{
    return value.isNumber() ? exactValue(value, side) : shownText(valueOn(value, side).text);
}

EntryRowsModel::EntryRowsModel(QObject *parent) : QAbstractTableModel(parent) {}

void EntryRowsModel::show(EntryComparison comparison, bool onlyDifferences)
{
    beginResetModel();
    m_comparison = std::move(comparison);
    m_shown.clear();
    const QList<ComparedRow> &rows = m_comparison.rows();
    m_shown.reserve(rows.size());
    for (int row = 0; row < rows.size(); ++row) {
        if (!onlyDifferences || rows.at(row).state != RowState::Same) {
            m_shown.append(row);
        }
    }
    endResetModel();
}

const ComparedRow &EntryRowsModel::rowAt(int row) const
{
    return m_comparison.rows().at(m_shown.at(row));
}

int EntryRowsModel::rowOf(RowKey key) const
{
    for (int row = 0; row < m_shown.size(); ++row) {
        if (rowAt(row).key == key) {
            return row;
        }
    }
    return -1;
}

QString EntryRowsModel::copiedText(const QList<int> &rows) const
{
    QStringList lines;
    for (const int row : rows) {
        const ComparedRow &compared = rowAt(row);
        for (const ComparedValue &value : compared.values) {
            const auto exact = [&compared, &value](Side side) {
                return rowHasSide(compared, side) ? exactValue(value, side) : QString();
            };
            lines.append(namedText(compared.label(), nameInRow(compared, value))
                         + QLatin1Char('\t') + exact(Side::Left) + QLatin1Char('\t')
                         + exact(Side::Right));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

int EntryRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int EntryRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EntryRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) {
        return QVariant();
    }
    const ComparedRow &row = rowAt(index.row());
    const Side side = index.column() == SrcColumn ? Side::Left : Side::Right;
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == StateColumn) {
            return rowStateText(row.state);
        }
        return valueLines(row, side, shownValue).join(QLatin1Char('\n'));
    case Qt::ToolTipRole:
        if (index.column() == StateColumn) {
            return QVariant();
        }
        return wrappedToolTip(valueLines(row, side, toolTipValue));
    case Qt::AccessibleDescriptionRole:
        return rowStateText(row.state);
    case Qt::BackgroundRole:
        // An entry alone has nothing to differ from: only a pair's rows are marked.
        if (m_comparison.isPair() && row.state != RowState::Same) {
            return QBrush(WindowLook::markColours(LineMark::Differs).line);
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant EntryRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Vertical) {
        return section < m_shown.size() ? rowAt(section).label() : QString();
    }
    switch (section) {
    case StateColumn:
        return QStringLiteral("State");
    case SrcColumn:
        return QString(sideName(Side::Left));
    case DestColumn:
        return QString(sideName(Side::Right));
    }
    return QVariant();
}
