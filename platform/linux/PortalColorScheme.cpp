#include "platform/linux/PortalColorScheme.h"

#include "platform/linux/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <utility>

namespace {

const QString& service = PortalRequest::desktopService;
const QString& path = PortalRequest::desktopPath;
const QString interface = QStringLiteral("org.freedesktop.portal.Settings");
const QString group = QStringLiteral("org.freedesktop.appearance");
const QString key = QStringLiteral("color-scheme");

// The portal's values: 0 no preference, 1 prefer dark, 2 prefer light.
constexpr uint preferDark = 1;
constexpr uint preferLight = 2;

// Read() wraps the value in a second variant (ReadOne, newer, does not).
QVariant unwrapped(QVariant value)
{
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

PortalColorScheme::PortalColorScheme(QDBusConnection bus, bool guessDark, QObject* parent)
    : DesktopColorScheme(parent), guessDark_(guessDark), dark_(guessDark)
{
    // The bus matches the slot's arguments by their registered types, and
    // nothing may have registered this one yet.
    qRegisterMetaType<QDBusVariant>();
    bus.connect(service, path, interface, QStringLiteral("SettingChanged"), this,
        SLOT(settingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: a portal started on demand may take seconds.
    QDBusMessage read = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Read"));
    read << group << key;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (!reply.isError())
            take(reply.value().variant());
    });
}

void PortalColorScheme::settingChanged(const QString& changedGroup, const QString& changedKey, const QDBusVariant& value)
{
    if (changedGroup == group && changedKey == key)
        take(value.variant());
}

void PortalColorScheme::take(const QVariant& scheme)
{
    const uint wish = unwrapped(scheme).toUInt();
    const bool dark = wish == preferDark || (wish != preferLight && guessDark_);
    if (std::exchange(dark_, dark) != dark)
        Q_EMIT changed();
}
