#include "DesktopAnimations.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString Group = QStringLiteral("org.gnome.desktop.interface");
const QString Key = QStringLiteral("enable-animations");

} // namespace

void DesktopAnimations::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    // Listening first, so a change that comes while the first answer is on its way is kept.
    // The slot takes the whole message: a slot typed with QDBusVariant is refused while Qt
    // has not yet registered its D-Bus types, which depends on what ran first.
    bus.connect(Service, Path, Interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QDBusMessage)));
    // Read rather than ReadOne: every portal version has it; its answer may come wrapped in one
    // more variant, which valueOf() unwraps.
    QDBusMessage read =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Read"));
    read << Group << Key;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusMessage reply = call->reply();
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                    report(reply.arguments().constFirst());
                }
            });
}

std::optional<bool> DesktopAnimations::valueOf(const QVariant &value)
{
    QVariant inner = value;
    // A few wrappings at most; a value nested deeper than any portal sends is no answer.
    for (int depth = 0; depth < 4 && inner.metaType() == QMetaType::fromType<QDBusVariant>();
         ++depth) {
        inner = inner.value<QDBusVariant>().variant();
    }
    if (inner.metaType() != QMetaType::fromType<bool>()) {
        return std::nullopt;
    }
    return inner.toBool();
}

void DesktopAnimations::settingChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3 && arguments.at(0).toString() == Group
        && arguments.at(1).toString() == Key) {
        report(arguments.at(2));
    }
}

void DesktopAnimations::report(const QVariant &value)
{
    if (const std::optional<bool> enabled = valueOf(value)) {
        emit changed(*enabled);
    }
}
