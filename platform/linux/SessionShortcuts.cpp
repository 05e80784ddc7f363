#include "platform/linux/SessionShortcuts.h"

#include "platform/linux/GnomeShortcuts.h"
#include "platform/linux/KdeShortcuts.h"
#include "platform/linux/SessionDesktop.h"
#include "platform/linux/XfceShortcuts.h"
#include "platform/linux/XfconfBus.h"
#include "platform/linux/XfconfXmlFile.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QStandardPaths>

namespace {

bool reachable(const QDBusConnection& bus, const char* name)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString service = QString::fromLatin1(name);
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
        if (reachable(bus, XfconfBus::service))
            store = std::make_unique<XfconfBus>(bus, channel);
        else
            store = std::make_unique<XfconfXmlFile>(
                configHome + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/") + channel + QStringLiteral(".xml"), channel);
        return std::make_unique<XfceShortcuts>(std::move(store), program, defaults);
    }
    if (sessionIs(desktop, "KDE") && reachable(bus, KGlobalAccelBus::service)) {
        // Where kglobalaccel looks for the entry whose actions the keys launch.
        const QString entry = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
            QStringLiteral("applications/") + QString::fromLatin1(KdeShortcuts::desktopEntry));
        return std::make_unique<KdeShortcuts>(bus, entry, defaults);
    }
    return nullptr;
}
