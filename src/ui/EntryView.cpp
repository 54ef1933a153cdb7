#include "EntryView.h"

#include "EntryRowsModel.h"
#include "KeyMap.h"
#include "LineMarks.h"
#include "PatchSetEditor.h"
#include "WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("\u2026");
// Characters kept in sight before a differing stretch when the text before it is cut.
constexpr int DifferenceContext = 4;
constexpr int CellMargin = 4;

// Paints a value cell: one line per value, a slot row's value names in a column of their
// own, each text elided to the cell with its differing stretch in the deep shade of the
// marks. A long text whose difference lies beyond the cell's edge is cut before it instead,
// so a changed byte deep in a data text is seen without opening the tooltip.
class ValueDelegate : public QStyledItemDelegate
{
public:
    ValueDelegate(const EntryRowsModel &model, QObject *parent)
        : QStyledItemDelegate(parent), m_model(model),
          m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont))
    {
    }

    // Row heights follow the number of values a row holds.
    int rowHeight(const ComparedRow &row) const
    {
        return qCeil(qreal(row.values.size()) * QFontMetricsF(m_font).lineSpacing())
            + 2 * CellMargin;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        // The cell's background and selection only: the model's display text would decode
        // every text of the row whole, however little of it fits.
        QStyleOptionViewItem background = option;
        background.index = index;
        background.backgroundBrush = index.data(Qt::BackgroundRole).value<QBrush>();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const ComparedRow &row = m_model.rowAt(index.row());
        const Side side = index.column() == EntryRowsModel::SrcColumn ? Side::Left : Side::Right;
        if (!rowHasSide(row, side)) {
            return;
        }
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette &palette = option.palette;
        painter->save();
        painter->setFont(m_font);
        const QFontMetricsF metrics(m_font, painter->device());
        QRectF line = QRectF(option.rect).adjusted(CellMargin, CellMargin, -CellMargin, 0);
        line.setHeight(metrics.lineSpacing());
        qreal nameWidth = 0;
        if (row.key.kind != RowKey::Kind::Field) {
            for (const ComparedValue &value : row.values) {
                nameWidth = std::max(nameWidth, metrics.horizontalAdvance(valueName(*value.field)));
            }
            nameWidth += metrics.horizontalAdvance(QLatin1Char(' '));
        }
        for (const ComparedValue &value : row.values) {
            if (nameWidth > 0) {
                painter->setPen(palette.color(selected ? QPalette::HighlightedText
                                                       : QPalette::PlaceholderText));
                painter->drawText(QPointF(line.left(), line.top() + metrics.ascent()),
                                  valueName(*value.field));
            }
            const QRectF place = line.adjusted(nameWidth, 0, 0, 0);
            QString text;
            TextSpan span = value.differing[side];
            if (value.isNumber()) {
                text = shownValue(value, side);
                span = {0, value.differs() ? text.size() : 0};
            } else {
                const QByteArrayView bytes = value.on[side].text;
                // Only what a line can show is decoded, however long the text.
                const qsizetype room = qsizetype(place.width() / metrics.averageCharWidth()) * 2;
                const qsizetype from = value.differs() && span.begin > room ? span.begin - room : 0;
                const qsizetype upTo = value.differs() ? span.begin : 0;
                const QByteArrayView seen =
                    bytes.sliced(from).first(std::min(bytes.size() - from, upTo - from + room));
                text = shownText(seen);
                const auto inSeen = [&seen, from](qsizetype at) {
                    return shownPosition(seen, std::clamp(at - from, qsizetype(0), seen.size()));
                };
                span = {inSeen(span.begin), inSeen(span.end)};
            }
            drawText(painter, metrics, place, text, span, value.differs(),
                     palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
            line.translate(0, metrics.lineSpacing());
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        // The columns stretch to the window: a width from the texts would be no use.
        return QSize(QFontMetrics(m_font).averageCharWidth() * 16,
                     rowHeight(m_model.rowAt(index.row())));
    }

private:
    // The end of the piece of `text` from `from` on that fits `width`. Measured in fractions
    // of a pixel, as the text is drawn: whole pixels per character would add up to more
    // than fits.
    static qsizetype fitting(const QFontMetricsF &metrics, const QString &text, qsizetype from,
                             qreal width)
    {
        qreal used = 0;
        qsizetype to = from;
        for (; to < text.size(); ++to) {
            used += metrics.horizontalAdvance(text.at(to));
            if (used > width) {
                break;
            }
        }
        return to;
    }

    static void drawText(QPainter *painter, const QFontMetricsF &metrics, const QRectF &line,
                         const QString &text, TextSpan span, bool differs, const QColor &ink)
    {
        const qreal ellipsisWidth = metrics.horizontalAdvance(Ellipsis);
        qsizetype from = 0;
        qsizetype to = fitting(metrics, text, 0, line.width());
        if (to < text.size()) {
            // A stretch that starts out of sight, or only just in it, is brought in.
            if (differs && span.begin + 2 > to && span.begin > DifferenceContext) {
                from = span.begin - DifferenceContext;
            }
            const qreal before = from > 0 ? ellipsisWidth : 0;
            to = fitting(metrics, text, from, line.width() - before - ellipsisWidth);
        }

        qreal x = line.left();
        const auto draw = [&](const QString &piece, const QColor &colour) {
            painter->setPen(colour);
            painter->drawText(QPointF(x, line.top() + metrics.ascent()), piece);
            x += metrics.horizontalAdvance(piece);
        };
        if (from > 0) {
            draw(Ellipsis, ink);
        }
        const WindowLook::MarkColours mark = WindowLook::markColours(LineMark::Differs);
        const qsizetype begin = std::clamp(span.begin, from, to);
        const qsizetype end = std::clamp(span.end, from, to);
        draw(text.mid(from, begin - from), ink);
        if (differs && span.isEmpty() && span.begin >= from && span.begin <= to) {
            // Nothing here that the other side lacks: a bar where the other side has more.
            painter->fillRect(QRectF(x - 1, line.top(), 2, line.height()), mark.selected);
        }
        if (end > begin) {
            const QString piece = text.mid(begin, end - begin);
            painter->fillRect(
                QRectF(x, line.top(), metrics.horizontalAdvance(piece), line.height()),
                mark.selected);
            draw(piece, Qt::white);
        }
        draw(text.mid(end, to - end), ink);
        if (to < text.size()) {
            draw(Ellipsis, ink);
        }
    }

    const EntryRowsModel &m_model;
    QFont m_font;
};

} // namespace

EntryView::EntryView(PatchSetEditor &editor, QWidget *parent)
    : QWidget(parent, Qt::Window), m_editor(editor)
{
    setObjectName(QStringLiteral("EntryView"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_keys = new KeyMap(this);
    buildControls();
    bindKeys();
    resize(760, 520);
}

void EntryView::buildControls()
{
    m_headline = new QLabel(this);
    m_headline->setObjectName(QStringLiteral("headline"));
    m_headline->setTextFormat(Qt::PlainText);

    m_onlyDifferences = new QCheckBox(QStringLiteral("Only differences"), this);
    m_onlyDifferences->setObjectName(QStringLiteral("onlyDifferences"));
    m_onlyDifferences->setToolTip(QStringLiteral("Hide the rows that are the same (Ctrl+D)"));

    m_take = new QPushButton(QStringLiteral("Take from SRC"), this);
    m_take->setObjectName(QStringLiteral("takeFromSrc"));
    m_take->setToolTip(
        QStringLiteral("Take from SRC: the SRC values of the selected rows into the DEST entry "
                       "(Alt+Right, Ctrl+Right)"));

    m_model = new EntryRowsModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("rows"));
    m_table->setAccessibleName(QStringLiteral("Fields"));
    m_table->setModel(m_model);
    m_table->setItemDelegateForColumn(EntryRowsModel::SrcColumn,
                                      new ValueDelegate(*m_model, m_table));
    m_table->setItemDelegateForColumn(EntryRowsModel::DestColumn,
                                      new ValueDelegate(*m_model, m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control instead of walking its cells.
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *columns = m_table->horizontalHeader();
    columns->setSectionResizeMode(EntryRowsModel::StateColumn, QHeaderView::ResizeToContents);
    columns->setSectionResizeMode(EntryRowsModel::SrcColumn, QHeaderView::Stretch);
    columns->setSectionResizeMode(EntryRowsModel::DestColumn, QHeaderView::Stretch);

    auto *commands = new QHBoxLayout;
    commands->addWidget(m_onlyDifferences);
    commands->addStretch();
    commands->addWidget(m_take);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_headline);
    layout->addLayout(commands);
    layout->addWidget(m_table);

    setTabOrder(m_table, m_onlyDifferences);
    setTabOrder(m_onlyDifferences, m_take);
    m_table->setFocus(); // Up and Down walk the rows as soon as the view opens

    connect(m_onlyDifferences, &QCheckBox::toggled, this, [this] { refresh(); });
    connect(m_take, &QPushButton::clicked, this, [this] { takeFromSrc(); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateTakeButton(); });
}

void EntryView::bindKeys()
{
    // Those of the main window where they mean the same; the view's own otherwise.
    m_keys->bindButton(
        m_take, {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::CTRL | Qt::Key_Right)});
    m_keys->bind(QKeySequence(Qt::CTRL | Qt::Key_D), [this] { m_onlyDifferences->click(); });
    m_keys->bind(QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copyRows(); });
    for (const QKeySequence &key : undoKeys()) {
        m_keys->bind(key, [this] { m_editor.undo(); });
    }
    for (const QKeySequence &key : redoKeys()) {
        m_keys->bind(key, [this] { m_editor.redo(); });
    }
    m_keys->bind(QKeySequence(Qt::Key_F3), [this] { close(); });
    m_keys->bind(QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void EntryView::follow(Side side)
{
    m_side = side;
    refresh();
}

void EntryView::refresh()
{
    const EntryComparison &shown = m_model->comparison();
    const bool sameEntry = m_shownSide == m_side && !shown.rows().isEmpty();
    const QByteArray shownName = shown.name();
    const QModelIndex current = m_table->currentIndex();
    const int currentRow = current.isValid() ? current.row() : 0;
    const RowKey currentKey = current.isValid() ? m_model->rowAt(currentRow).key : RowKey();

    EntryComparison comparison = m_editor.compareCurrent(m_side);
    const bool stays = sameEntry && comparison.name() == shownName;
    m_model->show(std::move(comparison), m_onlyDifferences->isChecked());
    m_shownSide = m_side;

    const EntryComparison &compared = m_model->comparison();
    const auto *values = static_cast<const ValueDelegate *>(
        m_table->itemDelegateForColumn(EntryRowsModel::SrcColumn));
    QHeaderView *rows = m_table->verticalHeader();
    for (int row = 0; row < m_model->rowCount(); ++row) {
        rows->resizeSection(row, values->rowHeight(m_model->rowAt(row)));
    }
    m_table->setColumnHidden(EntryRowsModel::StateColumn, !compared.isPair());
    m_table->setColumnHidden(EntryRowsModel::SrcColumn, !compared.hasSrc());
    m_table->setColumnHidden(EntryRowsModel::DestColumn, !compared.hasDest());

    const QString sideName = ::sideName(m_side);
    const bool hasEntry = compared.has(m_side);
    const QString headline = hasEntry ? sideName + QStringLiteral(": ") + compared.headline(m_side)
                                      : QStringLiteral("no line in the %1 list").arg(sideName);
    m_headline->setText(headline);
    m_table->setAccessibleDescription(headline);
    setWindowTitle(hasEntry ? QStringLiteral("Entry: ") + shownText(compared.name())
                            : QStringLiteral("Entry"));

    if (m_model->rowCount() > 0) {
        int row = 0;
        if (stays) {
            row = m_model->rowOf(currentKey);
            if (row < 0) {
                row = std::min(currentRow, m_model->rowCount() - 1);
            }
        }
        // On a shown column: an entry alone in DEST has no SRC column.
        const int column =
            compared.hasSrc() ? EntryRowsModel::SrcColumn : EntryRowsModel::DestColumn;
        m_table->selectionModel()->setCurrentIndex(m_model->index(row, column),
                                                   QItemSelectionModel::ClearAndSelect
                                                       | QItemSelectionModel::Rows);
    }
    updateTakeButton();
}

QList<int> EntryView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void EntryView::updateTakeButton()
{
    m_take->setEnabled(m_model->comparison().isPair() && m_table->selectionModel()->hasSelection());
}

void EntryView::takeFromSrc()
{
    if (!m_take->isEnabled()) {
        return;
    }
    QList<RowKey> keys;
    for (const int row : selectedRows()) {
        keys.append(m_model->rowAt(row).key);
    }
    // The editor reports the change, and the view is refreshed from there like any other.
    m_editor.takeFromSrc(m_side, keys);
}

void EntryView::copyRows()
{
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty()) {
        QGuiApplication::clipboard()->setText(m_model->copiedText(rows));
    }
}
