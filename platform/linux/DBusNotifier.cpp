#include "platform/linux/DBusNotifier.h"

#include <QDBusMessage>
#include <QVariantMap>

DBusNotifier::DBusNotifier(QDBusConnection bus) : bus_(std::move(bus)) {}

void DBusNotifier::post(const Notification& notification)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("Notify"));
    const QVariantMap hints {
        {QStringLiteral("desktop-entry"), QStringLiteral("org.dropwell.Dropwell")},
        {QString::fromLatin1(identifierHint), notification.identifier},
    };
    call << QStringLiteral("Dropwell") // application name
         << uint(0) // replaces nothing, so no notification hides another
         << QString() // icon: the server takes the one of the desktop entry
         << notification.title << notification.body << QStringList() // no actions
         << hints << int(-1); // the server's own timeout
    // Nobody waits for the reply: without a notification server the user
    // simply sees nothing, like a desktop where notifications are off.
    bus_.call(call, QDBus::NoBlock);
}
