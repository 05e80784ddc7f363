#include "platform/linux/PortalEscape.h"

#include "platform/linux/PortalRequest.h"
#include "platform/linux/PortalShortcut.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(escapeLog, "dropwell.recording", QtWarningMsg)

const QString& service = PortalRequest::desktopService;
const QString& path = PortalRequest::desktopPath;
const QString interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString stopId = QStringLiteral("stop-recording");

QDBusMessage portalCall(const QString& method) { return QDBusMessage::createMethodCall(service, path, interface, method); }

} // namespace

PortalEscape::PortalEscape(QDBusConnection bus, QObject* parent) : GlobalEscape(parent), bus_(std::move(bus))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bus_.connect(service, path, interface, QStringLiteral("Activated"), this, SLOT(activatedOnBus(QDBusMessage)));
    // Asked once, without waiting: a recording starts seconds later at the
    // earliest. The portal lists the interfaces its desktop's backends serve.
    const QDBusMessage introspect
        = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(introspect), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QString> reply = *call;
        offered_ = !reply.isError() && reply.value().contains(QLatin1String("\"") + interface + QLatin1Char('"'));
    });
}

PortalEscape::~PortalEscape() { release(); }

bool PortalEscape::grab()
{
    if (!offered_)
        return false;
    release();
    held_ = true;
    bind(++hold_); // finishes on its own
    return true;
}

void PortalEscape::release()
{
    held_ = false;
    ++hold_;
    close(std::exchange(session_, QString()));
}

QCoro::Task<> PortalEscape::bind(int hold)
{
    static int sessions = 0;
    const QVariantMap sessionOptions {{QStringLiteral("session_handle_token"), QStringLiteral("dropwellescape%1").arg(++sessions)}};
    QCoro::Task<StatusOr<QVariantMap>> creating = PortalRequest::ask(bus_, portalCall(QStringLiteral("CreateSession")), sessionOptions);
    const StatusOr<QVariantMap> created = co_await creating;
    if (!created.ok()) {
        qCInfo(escapeLog) << "No Escape through the portal:" << created.status().message();
        co_return;
    }
    const QString session = PortalRequest::objectPath(created.value().value(QStringLiteral("session_handle")));
    if (hold != hold_) { // released meanwhile
        close(session);
        co_return;
    }
    session_ = session;
    const QList<PortalShortcut> shortcuts {{stopId,
        {{QStringLiteral("description"), QCoreApplication::translate("PortalEscape", "Stop the recording")},
            {QStringLiteral("preferred_trigger"), QStringLiteral("Escape")}}}};
    QDBusMessage binding = portalCall(QStringLiteral("BindShortcuts"));
    binding << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(shortcuts) << QString();
    QCoro::Task<StatusOr<QVariantMap>> asking = PortalRequest::ask(bus_, binding, {});
    const StatusOr<QVariantMap> bound = co_await asking;
    if (!bound.ok())
        qCInfo(escapeLog) << "The desktop bound no key to stop the recording:" << bound.status().message();
}

void PortalEscape::close(const QString& session)
{
    if (!session.isEmpty())
        bus_.send(QDBusMessage::createMethodCall(service, session, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
}

void PortalEscape::activatedOnBus(const QDBusMessage& signal)
{
    const QVariantList arguments = signal.arguments();
    if (held_ && arguments.size() >= 2 && !session_.isEmpty() && PortalRequest::objectPath(arguments.at(0)) == session_
        && arguments.at(1).toString() == stopId)
        Q_EMIT pressed();
}
