#include "ListGestures.h"

#include "KeyMap.h"
#include "ListSideView.h"
#include "PatchSetEditor.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUuid>

#include <utility>

namespace {

constexpr int DropLineHeight = 2;
constexpr int DragScrollInterval = 50; // ms between lines while a drag waits at an edge
constexpr int DragPictureOffset = 12;  // right of the cursor, so the cursor stays in sight

QByteArray sideWord(Side side)
{
    return QByteArray(sideName(side).latin1());
}

// Marks the drags of this run of the program. Line numbers mean nothing to another program,
// and a number another program could read or guess, such as the process id (which repeats
// across sandboxes), would let a forged drop move and copy entries.
const QByteArray &dragToken()
{
    static const QByteArray token = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    return token;
}

} // namespace

const QString ListGestures::MimeType = QStringLiteral("application/x-tolvane-lines");

QMimeData *ListGestures::dragData(Side side, const QList<int> &lines)
{
    QByteArray bytes = dragToken() + ' ' + sideWord(side);
    for (const int line : lines) {
        bytes += ' ' + QByteArray::number(line);
    }
    auto *data = new QMimeData;
    data->setData(MimeType, bytes);
    return data;
}

std::optional<ListGestures::DraggedLines> ListGestures::draggedLines(const QMimeData *data)
{
    if (data == nullptr || !data->hasFormat(MimeType)) {
        return std::nullopt;
    }
    const QList<QByteArray> words = data->data(MimeType).split(' ');
    if (words.size() < 2 || words.at(0) != dragToken()) {
        return std::nullopt;
    }
    DraggedLines dragged{Side::Left, {}};
    if (words.at(1) == sideWord(Side::Right)) {
        dragged.side = Side::Right;
    } else if (words.at(1) != sideWord(Side::Left)) {
        return std::nullopt;
    }
    for (qsizetype word = 2; word < words.size(); ++word) {
        bool ok = false;
        dragged.lines.append(words.at(word).toInt(&ok));
        if (!ok) {
            return std::nullopt;
        }
    }
    return dragged;
}

ListGestures::ListGestures(QListView *list, Side side, PatchSetEditor &editor, KeyMap &keys)
    : QObject(list), m_list(list), m_side(side), m_editor(editor),
      m_dropLine(new QWidget(list->viewport()))
{
    m_dropLine->setObjectName(QStringLiteral("dropLine"));
    m_dropLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    // In the colour of the lines' text; left alone it would take the viewport's white.
    m_dropLine->setAutoFillBackground(true);
    m_dropLine->setBackgroundRole(QPalette::Text);
    m_dropLine->hide();
    m_dragScroll.setInterval(DragScrollInterval);
    connect(&m_dragScroll, &QTimer::timeout, this, &ListGestures::scrollWhileDragging);

    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(this);
    keys.bind(QKeySequence(Qt::SHIFT | Qt::Key_Up), list, [this] { selectStep(-1); });
    keys.bind(QKeySequence(Qt::SHIFT | Qt::Key_Down), list, [this] { selectStep(+1); });
}

bool ListGestures::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return mouseEvent(static_cast<QMouseEvent *>(event));
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return dropEvent(static_cast<QDropEvent *>(event));
    case QEvent::DragLeave:
        endDropShow();
        return false;
    default:
        return false;
    }
}

bool ListGestures::mouseEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (event->button() != Qt::LeftButton) {
            return false;
        }
        const QModelIndex pressed = m_list->indexAt(position);
        if (!pressed.isValid()) {
            m_press = Press::None;
            m_lastToggle = {};
            return false;
        }
        if (event->modifiers() & Qt::ShiftModifier) {
            selectRange(pressed.row());
            m_press = Press::Done;
            m_lastToggle = {};
            return true;
        }
        m_press = Press::Click;
        m_pressedLine = pressed.row();
        m_pressedAt = position;
        return true;
    }
    case QEvent::MouseMove:
        if (!(event->buttons() & Qt::LeftButton)) {
            m_press = Press::None; // a release this list never saw
            return false;
        }
        if (m_press == Press::Click
            && (position - m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
            m_press = Press::Done;
            m_lastToggle = {};
            startDrag();
        }
        // The list's own moves would sweep the selection over the lines passed.
        return m_press != Press::None;
    case QEvent::MouseButtonRelease: {
        if (event->button() != Qt::LeftButton || m_press == Press::None) {
            return false;
        }
        const Press pressed = std::exchange(m_press, Press::None);
        if (pressed == Press::Done) {
            return true;
        }
        if (pressed == Press::DoubleClick) {
            emit m_list->doubleClicked(m_list->model()->index(m_pressedLine, 0));
            return true;
        }
        // The click is done here, not by the list: a press made up and sent to the list would
        // overwrite the pointer's record of its last press, which Qt measures the next real
        // press against, and the second click of a double-click would be one more click.
        toggle(m_pressedLine);
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        // Qt sends it in place of the second click's press, or (some platforms) after it; this
        // stands for that press either way, and the list never sees it, so it toggles nothing.
        const QModelIndex pressed = m_list->indexAt(position);
        if (event->button() != Qt::LeftButton || !pressed.isValid()) {
            return false;
        }
        m_pressedLine = pressed.row();
        if (m_lastToggle.line == m_pressedLine) {
            m_list->selectionModel()->select(pressed,
                                             m_lastToggle.wasSelected
                                                 ? QItemSelectionModel::Select
                                                 : QItemSelectionModel::Deselect);
        }
        m_lastToggle = {};
        m_press = Press::DoubleClick;
        return true;
    }
    default:
        return false;
    }
}

void ListGestures::toggle(int line)
{
    const QModelIndex index = m_list->model()->index(line, 0);
    if (!index.isValid()) {
        return; // the list changed under the held button
    }
    QItemSelectionModel *selection = m_list->selectionModel();
    m_lastToggle = {line, selection->isSelected(index)};
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selection->select(index, QItemSelectionModel::Toggle);
    emit m_list->clicked(index); // the window shows the clicked line's detail
}

void ListGestures::selectRange(int line)
{
    const int current = m_list->currentIndex().row();
    const int first = current < 0 ? line : std::min(current, line);
    const int last = current < 0 ? line : std::max(current, line);
    const QAbstractItemModel *model = m_list->model();
    const QModelIndex clicked = model->index(line, 0);
    QItemSelectionModel *selection = m_list->selectionModel();
    // One range, however many lines: Qt walks every range on each query.
    selection->select(QItemSelection(model->index(first, 0), model->index(last, 0)),
                      QItemSelectionModel::Select);
    selection->setCurrentIndex(clicked, QItemSelectionModel::NoUpdate);
    emit m_list->clicked(clicked); // the window shows the clicked line's detail
}

void ListGestures::selectStep(int step)
{
    const int line = m_list->currentIndex().row() + step;
    if (line >= 0 && line < m_list->model()->rowCount()) {
        m_list->selectionModel()->setCurrentIndex(m_list->model()->index(line, 0),
                                                  QItemSelectionModel::Select);
    }
}

void ListGestures::startDrag()
{
    const QModelIndex pressed = m_list->model()->index(m_pressedLine, 0);
    if (!pressed.isValid()) {
        return;
    }
    const QList<int> lines = m_list->selectionModel()->isSelected(pressed)
        ? ListSideView::selectedLines(m_list)
        : QList<int>{m_pressedLine};
    auto *drag = new QDrag(m_list->viewport());
    drag->setMimeData(dragData(m_side, lines));
    // The pressed line's picture hangs below the cursor, clear of the insertion line, which is
    // never more than half a line away from it.
    drag->setPixmap(m_list->viewport()->grab(m_list->visualRect(pressed)));
    drag->setHotSpot(QPoint(-DragPictureOffset, -m_list->fontMetrics().height()));
    // The drop does the work, in the list that takes it, whatever the drag reports back.
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

bool ListGestures::dropEvent(QDropEvent *event)
{
    const std::optional<DraggedLines> dragged = draggedLines(event->mimeData());
    if (!dragged) {
        return false;
    }
    const Qt::DropAction action = dragged->side == m_side ? Qt::MoveAction : Qt::CopyAction;
    if (!m_editor.acceptsDrop(dragged->side, m_side) || !(event->possibleActions() & action)) {
        event->ignore();
        endDropShow();
        return true;
    }
    event->setDropAction(action);
    event->accept();
    m_dragPosition = event->position().toPoint();
    const int place = dropPlace(m_dragPosition);
    if (event->type() != QEvent::Drop) {
        showDropLine(place);
        if (dragScrollStep() == 0) {
            m_dragScroll.stop();
        } else if (!m_dragScroll.isActive()) {
            m_dragScroll.start();
        }
        return true;
    }
    endDropShow();
    // Run once the drop is over: a copy may ask a question, which must not hold up the drag.
    QMetaObject::invokeMethod(
        this,
        [this, from = dragged->side, lines = dragged->lines, place] {
            m_editor.dropLines(from, m_side, lines, place);
        },
        Qt::QueuedConnection);
    return true;
}

void ListGestures::endDropShow()
{
    m_dropLine->hide();
    m_dragScroll.stop();
}

int ListGestures::dropPlace(const QPoint &position) const
{
    const QModelIndex index = m_list->indexAt(position);
    if (!index.isValid()) {
        return m_list->model()->rowCount(); // below the last line
    }
    const QRect rect = m_list->visualRect(index);
    return position.y() < rect.top() + rect.height() / 2 ? index.row() : index.row() + 1;
}

void ListGestures::showDropLine(int place)
{
    const QAbstractItemModel *model = m_list->model();
    const int count = model->rowCount();
    int y = 0;
    if (place < count) {
        y = m_list->visualRect(model->index(place, 0)).top();
    } else if (count > 0) {
        y = m_list->visualRect(model->index(count - 1, 0)).bottom() + 1;
    }
    const QWidget *viewport = m_list->viewport();
    y = std::clamp(y - DropLineHeight / 2, 0, std::max(0, viewport->height() - DropLineHeight));
    m_dropLine->setGeometry(0, y, viewport->width(), DropLineHeight);
    m_dropLine->show();
    m_dropLine->raise();
}

int ListGestures::dragScrollStep() const
{
    // Within a line of the top or bottom edge, so a place far down a long list can be reached
    // without letting go.
    const int edge = m_list->fontMetrics().height();
    if (m_dragPosition.y() < edge) {
        return -1;
    }
    return m_dragPosition.y() >= m_list->viewport()->height() - edge ? +1 : 0;
}

void ListGestures::scrollWhileDragging()
{
    const int step = dragScrollStep();
    if (step == 0) {
        m_dragScroll.stop();
        return;
    }
    m_list->verticalScrollBar()->triggerAction(step < 0 ? QAbstractSlider::SliderSingleStepSub
                                                        : QAbstractSlider::SliderSingleStepAdd);
    showDropLine(dropPlace(m_dragPosition));
}
