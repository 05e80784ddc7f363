#pragma once

#include "platform/Notifier.h"

#include <QDBusConnection>

// Notifications through the org.freedesktop.Notifications service of the
// session bus. Desktop notifications need no permission, so asking is a no-op.
class DBusNotifier final : public Notifier {
public:
    explicit DBusNotifier(QDBusConnection bus = QDBusConnection::sessionBus());

    void post(const Notification& notification) override;
    void requestPermission() override {}

    // The hint that carries our own identifier of a notification.
    static constexpr const char* identifierHint = "x-dropwell-identifier";

private:
    QDBusConnection bus_;
};
