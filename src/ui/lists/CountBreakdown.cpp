#include "CountBreakdown.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace {

// A count label as assistive technology reads it: named by its text, as every label showing
// data is, and described by its breakdown, asked for as it is read.
class CountAccessible : public QAccessibleWidget
{
public:
    CountAccessible(QLabel *label, const CountBreakdown *breakdown)
        : QAccessibleWidget(label, QAccessible::StaticText), m_breakdown(breakdown)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const auto *label = static_cast<const QLabel *>(widget());
        if (kind == QAccessible::Name && label->accessibleName().isEmpty()) {
            return label->text();
        }
        if (kind == QAccessible::Description) {
            const QString breakdown = m_breakdown->text();
            if (!breakdown.isEmpty()) {
                return breakdown;
            }
        }
        return QAccessibleWidget::text(kind);
    }

private:
    const CountBreakdown *m_breakdown;
};

// Asked for every object first by its own class: a label with a breakdown gets the interface
// above, any other object the toolkit's own.
QAccessibleInterface *countAccessible(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    const auto *breakdown = label != nullptr
        ? label->findChild<CountBreakdown *>(QString(), Qt::FindDirectChildrenOnly)
        : nullptr;
    return breakdown != nullptr ? new CountAccessible(label, breakdown) : nullptr;
}

} // namespace

CountBreakdown::CountBreakdown(QLabel *count, std::function<QString()> breakdown)
    : QObject(count), m_count(count), m_breakdown(std::move(breakdown))
{
    static const bool installed = [] {
        QAccessible::installFactory(countAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    // The label may have been read before it had a breakdown, and Qt keeps what it made then.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(count);
    if (made != nullptr && dynamic_cast<CountAccessible *>(made) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
    count->installEventFilter(this);
}

QString CountBreakdown::text() const
{
    return m_count->text().isEmpty() ? QString() : m_breakdown();
}

bool CountBreakdown::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip) {
        return QObject::eventFilter(watched, event);
    }
    const QString shown = text();
    if (shown.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), shown, m_count);
    }
    return true;
}
