#include "ToolTips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace {

class PassiveToolTipRelay : public QObject
{
    Q_OBJECT

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

void relayPassiveToolTips(QWidget *window)
{
    new PassiveToolTipRelay(window);
}

} // namespace ToolTips

#include "ToolTips.moc"
