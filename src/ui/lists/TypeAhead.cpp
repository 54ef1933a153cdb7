#include "TypeAhead.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>

TypeAhead::TypeAhead(QAbstractItemView *list) : QObject(list), m_list(list)
{
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    list->installEventFilter(this);
}

bool TypeAhead::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    // Shift makes capitals; the other modifiers make shortcuts, which are not typing.
    const Qt::KeyboardModifiers shortcut = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & shortcut)) {
        return false;
    }
    const qint64 now = m_clock();
    const bool underWay =
        !m_typed.isEmpty() && now - m_lastKey <= QApplication::keyboardInputInterval();
    m_lastKey = now;
    if (text == QLatin1String(" ") && !underWay) {
        m_typed.clear();
        toggleCurrentLine();
    } else {
        search(text, underWay);
    }
    return true; // the list's own handling would toggle on Space and search again
}

void TypeAhead::search(const QString &text, bool underWay)
{
    m_typed = underWay ? m_typed + text : text;
    const QAbstractItemModel *model = m_list->model();
    const int count = model->rowCount(m_list->rootIndex());
    if (count == 0) {
        return;
    }
    // A new search, or one letter typed over and over, moves on from the current line, so
    // "s", "s", "s" walks the names starting with "s"; a longer search may stay where it is.
    const bool sameLetter = m_typed.count(m_typed.front()) == m_typed.size();
    const QString wanted = sameLetter ? m_typed.left(1) : m_typed;
    const QModelIndex current = m_list->currentIndex();
    int start = current.isValid() ? current.row() : 0;
    if (current.isValid() && (m_typed.size() == 1 || sameLetter)) {
        start = (start + 1) % count;
    }
    const QModelIndexList found =
        model->match(model->index(start, 0, m_list->rootIndex()), Qt::DisplayRole, wanted, 1,
                     Qt::MatchStartsWith | Qt::MatchWrap);
    if (!found.isEmpty()) {
        m_list->selectionModel()->setCurrentIndex(found.first(), QItemSelectionModel::NoUpdate);
    }
}

void TypeAhead::toggleCurrentLine()
{
    const QModelIndex current = m_list->currentIndex();
    if (current.isValid()) {
        m_list->selectionModel()->select(current, QItemSelectionModel::Toggle);
    }
}
