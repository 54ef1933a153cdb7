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
#include <QScreen>
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
// What the view asks for where the screen has room: two columns of about 40 characters.
constexpr QSize PreferredSize(760, 520);

// Paints a value cell: one line per value, a slot row's value names in a column of their
// own, each text elided to the cell with its differing stretch in the deep shade of the
// marks. A long text whose difference lies beyond the cell's edge is cut before it instead,
// so a changed byte deep in a data text is seen without opening the tooltip.
class ValueDelegate : public QStyledItemDelegate
{
    Q_OBJECT

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
        // Names and ellipses of a cell narrower than they are stay in it.
        painter->setClipRect(option.rect, Qt::IntersectClip);
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
        // What is left of the cell for the values: nothing, not less, when the names take it.
        const qreal valueWidth = std::max(line.width() - nameWidth, qreal(0));
        for (const ComparedValue &value : row.values) {
            if (nameWidth > 0) {
                painter->setPen(palette.color(selected ? QPalette::HighlightedText
                                                       : QPalette::PlaceholderText));
                painter->drawText(QPointF(line.left(), line.top() + metrics.ascent()),
                                  valueName(*value.field));
            }
            const QRectF place(line.left() + nameWidth, line.top(), valueWidth, line.height());
            // An entry alone has nothing to differ from, as its rows' background says too.
            const bool differs = m_model.comparison().isPair() && value.differs();
            Piece piece;
            if (value.isNumber()) {
                piece.text = shownValue(value, side);
                piece.span = {0, differs ? piece.text.size() : 0};
            } else {
                // Only what a line can show is decoded, however long the text: twice as many
                // bytes as average characters fit, so narrow glyphs never run out of text.
                const qreal charWidth = std::max(metrics.averageCharWidth(), qreal(1));
                const auto room = qsizetype(valueWidth / charWidth) * 2;
                piece = pieceOf(value.on[side].text, differs ? value.differing[side] : TextSpan(),
                                differs, room);
            }
            drawText(painter, metrics, place, piece, differs,
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
    // The part of a text a cell shows, as shown, with its differing stretch within it.
    struct Piece
    {
        QString text;
        TextSpan span;
        bool cutBefore = false; // the text goes on before the piece
        bool cutAfter = false;  // and after it
    };

    // The piece of `bytes` that `room` bytes cover, up to `room` before and after the start of
    // a differing `span`; `span` is taken as it falls within `bytes`.
    static Piece pieceOf(QByteArrayView bytes, TextSpan span, bool differs, qsizetype room)
    {
        const qsizetype size = bytes.size();
        const qsizetype begin = std::clamp(span.begin, qsizetype(0), size);
        const qsizetype end = std::clamp(span.end, begin, size);
        const qsizetype from = differs && begin > room ? begin - room : 0;
        const qsizetype upTo = std::min(size, (differs ? begin : 0) + room);
        const QByteArrayView seen = bytes.sliced(from, upTo - from);
        const auto inSeen = [&seen, from](qsizetype at) {
            return shownPosition(seen, std::clamp(at - from, qsizetype(0), seen.size()));
        };
        return {shownText(seen), {inSeen(begin), inSeen(end)}, from > 0, upTo < size};
    }

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
                         const Piece &piece, bool differs, const QColor &ink)
    {
        const QString &text = piece.text;
        const qsizetype spanBegin = std::clamp(piece.span.begin, qsizetype(0), text.size());
        const qsizetype spanEnd = std::clamp(piece.span.end, spanBegin, text.size());
        const qreal ellipsisWidth = metrics.horizontalAdvance(Ellipsis);
        const auto room = [&](bool before, bool after) {
            return line.width() - (before ? ellipsisWidth : 0) - (after ? ellipsisWidth : 0);
        };
        qsizetype from = 0;
        qsizetype to = fitting(metrics, text, 0, room(piece.cutBefore, piece.cutAfter));
        if (to < text.size()) {
            // A stretch that starts out of sight, or only just in it, is brought in.
            if (differs && spanBegin + 2 > to && spanBegin > DifferenceContext) {
                from = spanBegin - DifferenceContext;
            }
            to = fitting(metrics, text, from, room(piece.cutBefore || from > 0, true));
        }

        qreal x = line.left();
        const auto draw = [&](const QString &part, const QColor &colour) {
            painter->setPen(colour);
            painter->drawText(QPointF(x, line.top() + metrics.ascent()), part);
            x += metrics.horizontalAdvance(part);
        };
        if (piece.cutBefore || from > 0) {
            draw(Ellipsis, ink);
        }
        const WindowLook::MarkColours mark = WindowLook::markColours(LineMark::Differs);
        const qsizetype begin = std::clamp(spanBegin, from, to);
        const qsizetype end = std::clamp(spanEnd, from, to);
        draw(text.mid(from, begin - from), ink);
        if (differs && spanBegin == spanEnd && spanBegin >= from && spanBegin <= to) {
            // Nothing here that the other side lacks: a bar where the other side has more.
            painter->fillRect(QRectF(x - 1, line.top(), 2, line.height()), mark.selected);
        }
        if (end > begin) {
            const QString part = text.mid(begin, end - begin);
            painter->fillRect(QRectF(x, line.top(), metrics.horizontalAdvance(part), line.height()),
                              mark.selected);
            draw(part, Qt::white);
        }
        draw(text.mid(end, to - end), ink);
        if (piece.cutAfter || to < text.size()) {
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
    placeOver(parent);
}

void EntryView::placeOver(const QWidget *window)
{
    const QScreen *screen = window != nullptr ? window->screen() : this->screen();
    const QRect available = screen->availableGeometry();
    // The window system frames the view only once it shows it; the style's own title bar
    // and frame stand in for that frame, so that it too stays on the screen.
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QMargins frame(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
                         border);
    QRect framed(QPoint(),
                 PreferredSize.boundedTo(available.size().shrunkBy(frame)).grownBy(frame));
    framed.moveCenter(window != nullptr ? window->frameGeometry().center() : available.center());
    // Wholly on the screen, its top-left corner first when even the smallest view is larger.
    framed.moveLeft(std::max(available.left(),
                             std::min(framed.left(), available.right() + 1 - framed.width())));
    framed.moveTop(std::max(available.top(),
                            std::min(framed.top(), available.bottom() + 1 - framed.height())));
    setGeometry(framed.marginsRemoved(frame));
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
    // The differences of the list the view follows, walked without leaving the view.
    m_keys->bind(QKeySequence(Qt::Key_F7), [this] { m_editor.goToDifference(m_side, +1); });
    m_keys->bind(QKeySequence(Qt::SHIFT | Qt::Key_F7),
                 [this] { m_editor.goToDifference(m_side, -1); });
    m_keys->bindUndoAndRedo([this] { m_editor.undo(); }, [this] { m_editor.redo(); });
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
    setWindowTitle(hasEntry ? QStringLiteral("Entry: ")
                           + WindowLook::titleAsWritten(shownText(compared.name()))
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

#include "EntryView.moc"
