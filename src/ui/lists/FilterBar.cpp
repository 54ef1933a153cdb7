#include "FilterBar.h"

#include "EntryList.h"
#include "PatchSetEditor.h"
#include "WindowLook.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr int Padding = 2; // around the box, in pixels

// The keys the box keeps from the window: Enter would save, Escape would send the focus to
// the focus rest, and Down would do nothing in a line of text.
bool isBoxKey(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Down:
        return modifiers == Qt::NoModifier;
    default:
        return false;
    }
}

} // namespace

FilterBar::FilterBar(EntryList *list, Side side, PatchSetEditor &editor)
    : QWidget(list), m_list(list), m_side(side), m_editor(editor), m_box(new QLineEdit(this)),
      m_sign(new QLabel(this)), m_end(new QToolButton(this)), m_lines(list->viewport()),
      m_listDescription(list->accessibleDescription())
{
    const QString name = sideName(side).toString().toLower();
    setObjectName(name + QStringLiteral("FilterBar"));
    setAutoFillBackground(true);
    m_box->setObjectName(name + QStringLiteral("Find"));
    m_box->setAccessibleName(QStringLiteral("Find in %1").arg(sideName(side)));
    m_box->setPlaceholderText(QStringLiteral("Find a name"));
    m_box->setToolTip(QStringLiteral("Shows the %1 lines whose name contains this, ignoring "
                                     "case\nEnter or Down: to the list; Escape: show all")
                          .arg(sideName(side)));
    m_box->setClearButtonEnabled(false);
    // A set file dropped on the bar is for the list, which Form1 has the bar load, never a
    // path to look for.
    m_box->setAcceptDrops(false);
    m_sign->setObjectName(name + QStringLiteral("FilterSign"));
    m_end->setObjectName(name + QStringLiteral("EndFilter"));
    m_end->setText(QStringLiteral("\u00d7"));
    m_end->setAutoRaise(true);
    m_end->setAccessibleName(QStringLiteral("Show all"));
    m_end->setToolTip(QStringLiteral("Show all: ends the filter (Escape in the find box)"));
    m_end->setFocusPolicy(Qt::NoFocus);
    for (QWidget *part : {static_cast<QWidget *>(m_box), static_cast<QWidget *>(m_sign)}) {
        WindowLook::dress(part, WindowLook::Look::Entries);
    }

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(Padding, Padding, Padding, Padding);
    layout->setSpacing(Padding + 1);
    layout->addWidget(m_box, 1);
    layout->addWidget(m_sign);
    layout->addWidget(m_end);
    hide();

    connect(m_box, &QLineEdit::textEdited, this, &FilterBar::applyText);
    connect(m_end, &QToolButton::clicked, this, &FilterBar::end);
    // A command rebuilds the lines and may change what the filter shows.
    connect(list->model(), &QAbstractItemModel::modelReset, this, &FilterBar::follow);
    m_box->installEventFilter(this);
    // Its size, and its lines' width, which a scroll bar coming or going changes.
    list->installEventFilter(this);
    m_lines->installEventFilter(this);
}

void FilterBar::openFind()
{
    show();
    follow();
    m_box->setFocus(Qt::ShortcutFocusReason);
    m_box->selectAll();
}

void FilterBar::showOnly(MarkState state)
{
    m_state = state;
    applyText();
}

void FilterBar::end()
{
    const bool hadFocus = m_box->hasFocus();
    m_box->clear();
    m_state = MarkState::Any;
    m_editor.setFilter(m_side, SideFilter());
    hide();
    follow();
    if (hadFocus) {
        focusList();
    }
}

const QWidget *FilterBar::findBox() const
{
    return m_box;
}

bool FilterBar::hidesLines() const
{
    return m_editor.listing(m_side).hidesLines();
}

void FilterBar::applyText()
{
    m_editor.setFilter(m_side, SideFilter{m_box->text(), m_state});
    if (!m_editor.listing(m_side).filter().keepsAll()) {
        show();
    }
    follow();
}

void FilterBar::place()
{
    // As wide as the lines: the list's scroll bar runs down to its frame, beside the bar, and
    // would cover the bar's end button.
    const QRect lines = m_list->viewport()->geometry();
    const int height = sizeHint().height();
    setGeometry(lines.x(), m_list->height() - m_list->frameWidth() - height, lines.width(), height);
}

void FilterBar::follow()
{
    const SideListing &listing = m_editor.listing(m_side);
    const QString state = stateName(listing.filter().state, m_side);
    QString shown = QStringLiteral("%1 of %2").arg(listing.lineCount()).arg(listing.listedCount());
    if (!state.isEmpty()) {
        shown += QLatin1Char(' ') + state;
    }
    m_sign->setText(shown);
    m_sign->setAccessibleName(shown);
    const bool filtered = !listing.filter().keepsAll();
    const QString description = filtered
        ? m_listDescription + QStringLiteral("; filtered, shows ") + shown
        : m_listDescription;
    if (m_list->accessibleDescription() != description) {
        m_list->setAccessibleDescription(description);
    }
    // Open or not, whether or not the window shows yet.
    m_list->reserveBottom(isHidden() ? 0 : sizeHint().height());
    if (!isHidden()) {
        place();
    }
    emit shownChanged();
}

void FilterBar::focusList()
{
    m_list->setFocus(Qt::OtherFocusReason);
    const QAbstractItemModel *model = m_list->model();
    if (!m_list->currentIndex().isValid() && model->rowCount() > 0) {
        // The keys need a line to start from; the user moves to it as Down would.
        m_list->selectionModel()->setCurrentIndex(model->index(0, 0),
                                                  QItemSelectionModel::NoUpdate);
    }
}

void FilterBar::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

bool FilterBar::eventFilter(QObject *watched, QEvent *event)
{
    // Compared, not asked: while the list is being destroyed it is a list no more, and events
    // still come from its children.
    if (watched == m_list || watched == m_lines) {
        if (event->type() == QEvent::Resize && !isHidden()) {
            place();
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (m_lines != nullptr) {
            m_lines->update(); // the current line is framed while the box has the focus
        }
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride && isBoxKey(static_cast<QKeyEvent *>(event))) {
        event->accept(); // the key comes to the box as a key press, never as a shortcut
        return true;
    }
    if (event->type() != QEvent::KeyPress || !isBoxKey(static_cast<QKeyEvent *>(event))) {
        return false;
    }
    if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        end();
    } else {
        focusList();
    }
    return true;
}
