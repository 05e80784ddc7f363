#pragma once

#include "platform/TrayHost.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

// The tray of desktops that speak the StatusNotifierItem protocol over the
// session bus: a watcher service that items register with, and a host (the
// panel) that registered with the watcher. Qt shows its icons there only
// where a host is registered, so a watcher alone is no tray.
class StatusNotifierHost final : public TrayHost {
    Q_OBJECT
public:
    explicit StatusNotifierHost(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    bool isPresent() const override { return present_; }

private Q_SLOTS:
    void hostRegistered();

private:
    void watcherRegistered();
    void setPresent(bool present);

    QDBusConnection bus_;
    QDBusServiceWatcher watcher_;
    bool present_ = false;
};
