#include "platform/linux/PortalShortcuts.h"

#include "platform/linux/PortalRequest.h"
#include "platform/linux/PortalShortcut.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>

#include <cerrno>

namespace {

const QString& service = PortalRequest::desktopService;
const QString& path = PortalRequest::desktopPath;
const QString interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

QDBusMessage portalCall(const QString& method)
{
    return QDBusMessage::createMethodCall(service, path, interface, method);
}

// A key the desktop may offer first, in the shortcuts' own notation.
QString preferredTrigger(ShortcutCommand command)
{
    switch (command) {
    case ShortcutCommand::CaptureRegion:
        return QStringLiteral("CTRL+Print");
    case ShortcutCommand::CaptureWindow:
        return QStringLiteral("ALT+Print");
    case ShortcutCommand::CaptureVisible:
        return QStringLiteral("SHIFT+Print");
    case ShortcutCommand::CapturePage:
    case ShortcutCommand::RecordDisplay:
        break;
    }
    return {};
}

std::optional<ShortcutCommand> commandWithId(const QString& id)
{
    for (const ShortcutCommand command : shortcutCommands) {
        if (shortcutId(command) == id)
            return command;
    }
    return std::nullopt;
}

} // namespace

PortalShortcuts::PortalShortcuts(QDBusConnection bus, QObject* parent)
    : ChosenShortcuts(parent)
    , bus_(std::move(bus))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bus_.connect(service, path, interface, QStringLiteral("Activated"), this, SLOT(activatedOnBus(QDBusMessage)));
    bus_.connect(service, path, interface, QStringLiteral("ShortcutsChanged"), this, SLOT(changedOnBus(QDBusMessage)));
    // Keys the desktop kept from an earlier Dropwell come back without asking.
    createSession([this] { list(); });
}

void PortalShortcuts::createSession(std::function<void()> then)
{
    static int sessions = 0;
    const QVariantMap options {{QStringLiteral("session_handle_token"), QStringLiteral("dropwell%1").arg(++sessions)}};
    PortalRequest::send(bus_, portalCall(QStringLiteral("CreateSession")), options, this,
        [this, then = std::move(then)](const StatusOr<QVariantMap>& results) {
            // A desktop without the portal, or with an older one, offers none.
            if (!results.ok())
                return;
            session_ = PortalRequest::objectPath(results.value().value(QStringLiteral("session_handle")));
            bound_ = false;
            Q_EMIT changed();
            then();
        });
}

void PortalShortcuts::list()
{
    QDBusMessage message = portalCall(QStringLiteral("ListShortcuts"));
    message << QVariant::fromValue(QDBusObjectPath(session_));
    PortalRequest::send(bus_, message, {}, this, [this](const StatusOr<QVariantMap>& results) {
        if (!results.ok())
            return;
        take(results.value().value(QStringLiteral("shortcuts")));
        // Binding what the desktop knows already asks nothing of the user.
        if (!triggers_.isEmpty())
            bind();
    });
}

void PortalShortcuts::choose()
{
    if (session_.isEmpty()) {
        Q_EMIT failed(QCoreApplication::translate("PortalShortcuts", "The desktop's portal offers no shortcuts."));
        return;
    }
    if (!bound_) {
        bind();
        return;
    }
    // The portal binds once per session: a new one asks again.
    bus_.send(QDBusMessage::createMethodCall(service, session_, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
    session_.clear();
    createSession([this] { bind(); });
}

void PortalShortcuts::bind()
{
    QList<PortalShortcut> shortcuts;
    for (const ShortcutCommand command : shortcutCommands) {
        QVariantMap properties {{QStringLiteral("description"), shortcutLabel(command)}};
        if (const QString trigger = preferredTrigger(command); !trigger.isEmpty())
            properties.insert(QStringLiteral("preferred_trigger"), trigger);
        shortcuts.append({shortcutId(command), properties});
    }
    QDBusMessage message = portalCall(QStringLiteral("BindShortcuts"));
    message << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts) << QString();
    bound_ = true;
    PortalRequest::send(bus_, message, {}, this, [this](const StatusOr<QVariantMap>& results) {
        if (!results.ok()) {
            if (results.status().code() != ECANCELED)
                Q_EMIT failed(results.status().message());
            return;
        }
        take(results.value().value(QStringLiteral("shortcuts")));
    });
}

void PortalShortcuts::take(const QVariant& shortcuts)
{
    triggers_.clear();
    for (const PortalShortcut& shortcut : qdbus_cast<QList<PortalShortcut>>(shortcuts)) {
        const std::optional<ShortcutCommand> command = commandWithId(shortcut.id);
        const QString trigger = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
        if (command && !trigger.isEmpty())
            triggers_.insert(*command, trigger);
    }
    Q_EMIT changed();
}

void PortalShortcuts::activatedOnBus(const QDBusMessage& signal)
{
    const QVariantList arguments = signal.arguments();
    if (arguments.size() < 2 || PortalRequest::objectPath(arguments.at(0)) != session_)
        return;
    if (const std::optional<ShortcutCommand> command = commandWithId(arguments.at(1).toString()))
        Q_EMIT activated(*command);
}

void PortalShortcuts::changedOnBus(const QDBusMessage& signal)
{
    const QVariantList arguments = signal.arguments();
    if (arguments.size() >= 2 && PortalRequest::objectPath(arguments.at(0)) == session_)
        take(arguments.at(1));
}
