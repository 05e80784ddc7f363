#include "platform/linux/StatusNotifierHost.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <utility>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace

StatusNotifierHost::StatusNotifierHost(QDBusConnection bus, QObject* parent)
    : TrayHost(parent)
    , bus_(std::move(bus))
    , watcher_(watcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange)
{
    if (!bus_.isConnected())
        return;
    // Heard of on the bus (NameOwnerChanged), never asked for again and again.
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierHost::watcherRegistered);
    connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] { setPresent(false); });
    // From any sender: a watcher that has just taken its name may signal
    // before the bus has told us who owns it.
    bus_.connect(QString(), watcherPath, watcherService, QStringLiteral("StatusNotifierHostRegistered"), this,
        SLOT(hostRegistered()));
    watcherRegistered();
}

void StatusNotifierHost::hostRegistered() { setPresent(true); }

void StatusNotifierHost::watcherRegistered()
{
    // Asked without waiting: a watcher that hangs must not hold up the start.
    QDBusMessage ask = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(ask), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        answered->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *answered;
        if (reply.isValid() && reply.value().variant().toBool())
            setPresent(true);
    });
}

void StatusNotifierHost::setPresent(bool present)
{
    const bool was = std::exchange(present_, present);
    if (present_ && !was)
        Q_EMIT appeared();
}
