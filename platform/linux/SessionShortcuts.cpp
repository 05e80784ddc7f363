#include "platform/linux/SessionShortcuts.h"

#include "platform/linux/GnomeShortcuts.h"
#include "platform/linux/SessionDesktop.h"
#include "platform/linux/XfceShortcuts.h"
#include "platform/linux/XfconfBus.h"
#include "platform/linux/XfconfXmlFile.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

namespace {

bool xfconfdReachable(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString service = QString::fromLatin1(XfconfBus::service);
    if (bus.interface()->isServiceRegistered(service))
        return true;
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(service);
}

} // namespace

std::unique_ptr<DesktopShortcuts> sessionShortcuts(const QString& desktop, const QString& configHome,
    const QString& program, DefaultsStore& defaults, const QDBusConnection& bus)
{
    if (sessionIs(desktop, "GNOME"))
        return GnomeShortcuts::open(program, defaults);
    if (sessionIs(desktop, "XFCE")) {
        const QString channel = QString::fromLatin1(XfceShortcuts::channel);
        std::unique_ptr<XfconfChannel> store;
        if (xfconfdReachable(bus))
            store = std::make_unique<XfconfBus>(bus, channel);
        else
            store = std::make_unique<XfconfXmlFile>(
                configHome + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/") + channel + QStringLiteral(".xml"), channel);
        return std::make_unique<XfceShortcuts>(std::move(store), program, defaults);
    }
    return nullptr;
}
