#include "ToolTips.h"

#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>
#include <QWidget>

namespace {

QString keyNames(const QList<QKeySequence> &keys)
{
    QStringList names;
    for (const QKeySequence &key : keys) {
        names.append(key.toString(QKeySequence::NativeText));
    }
    return names.join(QStringLiteral(" or "));
}

class PassiveToolTipRelay : public QObject
{
public:
    explicit PassiveToolTipRelay(QWidget *window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window || event->type() != QEvent::ToolTip) {
            return QObject::eventFilter(watched, event);
        }
        const auto *help = static_cast<QHelpEvent *>(event);
        const QList<QWidget *> children =
            m_window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        // Later children lie above earlier ones.
        for (auto child = children.crbegin(); child != children.crend(); ++child) {
            QWidget *control = *child;
            if (control->testAttribute(Qt::WA_TransparentForMouseEvents) && control->isVisible()
                && !control->toolTip().isEmpty() && control->geometry().contains(help->pos())) {
                QToolTip::showText(help->globalPos(), control->toolTip(), control);
                return true;
            }
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

namespace ToolTips {

QString listTip(Side side)
{
    return (side == Side::Left ? QStringLiteral("SRC entries") : QStringLiteral("DEST entries"))
        + QStringLiteral(": a click or Space selects or unselects a line, typing finds a name, "
                         "F3 shows the current entry");
}

QString undoNote(const QList<QKeySequence> &undo, const QList<QKeySequence> &redo)
{
    return QStringLiteral("\n%1 undoes it, %2 redoes it").arg(keyNames(undo), keyNames(redo));
}

void relayPassiveToolTips(QWidget *window)
{
    new PassiveToolTipRelay(window);
}

} // namespace ToolTips
