#include "SideTools.h"

#include "CountBreakdown.h"
#include "EntryList.h"
#include "FilterBar.h"
#include "KeyMap.h"
#include "PatchSetEditor.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

namespace {

const QKeySequence SelectDifferingKey(Qt::CTRL | Qt::SHIFT | Qt::Key_D);
const QKeySequence NextDifferenceKey(Qt::Key_F7);
const QKeySequence PreviousDifferenceKey(Qt::SHIFT | Qt::Key_F7);
const QKeySequence FindKey(Qt::CTRL | Qt::Key_F);
// Open the menu from the keyboard, as a right click opens it.
const QKeySequence MenuKeys[] = {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)};

// Keys of the menu that the window binds elsewhere: shown beside their items, as in a menu bar.
const QKeySequence SelectAllKey(Qt::CTRL | Qt::Key_A);
const QKeySequence ClearSelectionKey(Qt::CTRL | Qt::SHIFT | Qt::Key_A);

// The lines of a state as a menu item names them: "differing", "those only in SRC".
QString menuWords(MarkState state, Side side)
{
    const QString name = stateName(state, side);
    return state == MarkState::OnlyHere ? QStringLiteral("those ") + name : name;
}

} // namespace

SideTools::SideTools(const Parts &parts, Side side, PatchSetEditor &editor, KeyMap &keys)
    : QObject(parts.list), m_parts(parts), m_side(side), m_editor(editor),
      m_bar(new FilterBar(parts.list, side, editor)), m_listToolTip(parts.list->toolTip())
{
    for (const QAbstractButton *move : std::as_const(m_parts.moves)) {
        m_moveToolTips.append(move->toolTip());
    }
    bindKeys(keys);
    // Right presses are the menu's alone: in a list whose clicks toggle, they select nothing.
    parts.list->installEventFilter(this);
    parts.list->viewport()->installEventFilter(this);
    connect(m_bar, &FilterBar::shownChanged, this, &SideTools::followFilter);
    new CountBreakdown(parts.count, [&editor, side] { return editor.countBreakdown(side); });
}

void SideTools::bindKeys(KeyMap &keys)
{
    PatchSetEditor &editor = m_editor;
    const Side side = m_side;
    const QWidget *list = m_parts.list;
    keys.bind(SelectDifferingKey, list,
              [&editor, side] { editor.selectByState(side, MarkState::Differing); });
    keys.bind(FindKey, list, [this] { m_bar->openFind(); });
    for (const QKeySequence &key : MenuKeys) {
        keys.bind(key, list, [this] { openMenu(menuPlace()); });
    }
    // From the find box too, so the differences the filter shows can be walked from there.
    for (const QWidget *focus : {list, m_bar->findBox()}) {
        keys.bind(NextDifferenceKey, focus, [&editor, side] { editor.goToDifference(side, +1); });
        keys.bind(PreviousDifferenceKey, focus,
                  [&editor, side] { editor.goToDifference(side, -1); });
    }
}

void SideTools::followFilter()
{
    const bool hides = m_bar->hidesLines();
    const QString why = QStringLiteral("\nOff while the %1 list hides lines: Escape in its find "
                                       "box, or \"Show all\" in its menu, shows them all")
                            .arg(sideName(m_side));
    for (qsizetype index = 0; index < m_parts.moves.size(); ++index) {
        QAbstractButton *move = m_parts.moves.at(index);
        move->setEnabled(!hides);
        move->setToolTip(m_moveToolTips.at(index) + (hides ? why : QString()));
    }
    m_parts.list->setToolTip(
        m_listToolTip
        + (hides ? QStringLiteral("\nMoving lines within the list is off while it hides lines")
                 : QString()));
}

QPoint SideTools::menuPlace() const
{
    const EntryList *list = m_parts.list;
    const QRect line = list->visualRect(list->currentIndex());
    const QRect sight = list->viewport()->rect();
    const QPoint place = line.isValid() && sight.intersects(line) ? line.bottomLeft() : QPoint();
    return list->viewport()->mapToGlobal(place);
}

void SideTools::openMenu(const QPoint &at)
{
    auto *menu = new QMenu(m_parts.list);
    menu->setObjectName(QStringLiteral("listMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    buildMenu(menu);
    menu->popup(at);
}

void SideTools::buildMenu(QMenu *menu)
{
    PatchSetEditor &editor = m_editor;
    const Side side = m_side;
    const auto add = [menu](const QString &text, const QKeySequence &key, auto action) {
        QAction *item = menu->addAction(text);
        connect(item, &QAction::triggered, menu, action);
        if (!key.isEmpty()) {
            // Shown beside the item, and acting only within the menu: the window binds it.
            item->setShortcut(key);
            item->setShortcutContext(Qt::WidgetShortcut);
            item->setShortcutVisibleInContextMenu(true);
        }
        return item;
    };
    for (const MarkState state :
         {MarkState::Differing, MarkState::Identical, MarkState::Shared, MarkState::OnlyHere}) {
        add(QStringLiteral("Select ") + menuWords(state, side),
            state == MarkState::Differing ? SelectDifferingKey : QKeySequence(),
            [&editor, side, state] { editor.selectByState(side, state); });
    }
    add(QStringLiteral("Select all shown"), SelectAllKey,
        [&editor, side] { editor.selectAll(side); });
    add(QStringLiteral("Invert selection"), QKeySequence(),
        [&editor, side] { editor.invertSelection(side); });
    add(QStringLiteral("Clear selection"), ClearSelectionKey,
        [&editor, side] { editor.clearSelection(side); });
    menu->addSeparator();
    add(QStringLiteral("Next difference"), NextDifferenceKey,
        [&editor, side] { editor.goToDifference(side, +1); });
    add(QStringLiteral("Previous difference"), PreviousDifferenceKey,
        [&editor, side] { editor.goToDifference(side, -1); });
    menu->addSeparator();
    add(QStringLiteral("Find\u2026"), FindKey, [this] { m_bar->openFind(); });
    auto *shown = new QActionGroup(menu);
    const SideFilter &filter = editor.listing(side).filter();
    for (const MarkState state :
         {MarkState::Differing, MarkState::Shared, MarkState::OnlyHere, MarkState::Any}) {
        QAction *item =
            add(state == MarkState::Any ? QStringLiteral("Show all")
                                        : QStringLiteral("Show only ") + menuWords(state, side),
                QKeySequence(), [this, state] {
                    if (state == MarkState::Any) {
                        m_bar->end();
                    } else {
                        m_bar->showOnly(state);
                    }
                });
        item->setCheckable(true);
        item->setChecked(state == MarkState::Any ? filter.keepsAll() : filter.state == state);
        shown->addAction(item);
    }
    if (m_parts.hasNotes && m_parts.hasNotes()) {
        menu->addSeparator();
        add(QStringLiteral("Load notes\u2026"), QKeySequence(), m_parts.showNotes);
    }
}

bool SideTools::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ContextMenu: {
        const auto *request = static_cast<QContextMenuEvent *>(event);
        openMenu(request->reason() == QContextMenuEvent::Mouse ? request->globalPos()
                                                               : menuPlace());
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return watched != m_parts.list
            && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
    default:
        return false;
    }
}
