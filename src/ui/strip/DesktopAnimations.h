// Whether the desktop lets programs animate, as the desktop portal's Settings interface tells it
// (namespace org.gnome.desktop.interface, key enable-animations, which portals of other desktops
// fill from their own reduced-motion setting). main() creates one, connects changed() to the
// window and calls start(). This is the program's only D-Bus code; tests feed the window the
// setting through Form1::setDesktopAnimations() and check the decoding through valueOf().
#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

class DesktopAnimations : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Asks the portal for the setting without waiting for the answer, so start-up never waits
    // on the bus, and follows every change the portal announces from then on. Where no session
    // bus or no portal answers, changed() never comes: the caller keeps its own default.
    void start();

    // The setting as a portal gives it: a boolean, possibly inside one or more D-Bus variants.
    // Anything else (a portal that knows no such key answers with an error, not a value) is no
    // answer, std::nullopt.
    static std::optional<bool> valueOf(const QVariant &value);

signals:
    void changed(bool enabled);

private slots:
    // The portal's SettingChanged signal (group, key, value). Qt's D-Bus signals connect to a
    // slot by its name only, so this is the one connection in the program that is not a
    // function pointer; it takes the whole message, whose arguments it reads itself.
    void settingChanged(const QDBusMessage &message);

private:
    void report(const QVariant &value);
};
