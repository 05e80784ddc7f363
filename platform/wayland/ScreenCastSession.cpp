#include "platform/wayland/ScreenCastSession.h"

#include "platform/linux/PortalRequest.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QDBusPendingReply>
#include <QLoggingCategory>

#include <qcoro/qcorodbuspendingcall.h>

#include <cerrno>
#include <coroutine>
#include <optional>

Q_LOGGING_CATEGORY(screenCastLog, "dropwell.screencast", QtWarningMsg)

namespace {

const QString& portalService = PortalRequest::desktopService;
const QString& portalPath = PortalRequest::desktopPath;
const QString screenCastInterface = QStringLiteral("org.freedesktop.portal.ScreenCast");
const QString remoteDesktopInterface = QStringLiteral("org.freedesktop.portal.RemoteDesktop");

constexpr uint hiddenCursor = 1;
constexpr uint embeddedCursor = 2;
constexpr uint pointerDevice = 2;
constexpr uint verticalAxis = 0;
constexpr uint persistUntilRevoked = 2;
// Portals before this one neither keep a choice nor hand out tokens.
constexpr uint firstVersionThatPersists = 4;

QString tr(const char* text)
{
    return QCoreApplication::translate("ScreenCastSession", text);
}

struct Capabilities {
    uint version = 0;
    uint sourceTypes = 0;
    uint cursorModes = 0;
};

QDBusMessage portalCall(const QString& interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, interface, method);
    call.setArguments(arguments);
    return call;
}

Status noScreenCast(const QDBusError& error)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return Status::failure(ENOSYS,
            tr("No screen-cast portal is running: install xdg-desktop-portal and the portal backend for your desktop."));
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return Status::failure(EIO, tr("The desktop's portal did not answer: %1").arg(error.message()));
    default:
        return Status::failure(ENOSYS,
            tr("The desktop's portal offers no screen casting: install the portal backend for your desktop."));
    }
}

QCoro::Task<QDBusPendingReply<QVariantMap>> propertiesOf(QDBusConnection bus, QString interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    call << interface;
    QDBusPendingCall pending = bus.asyncCall(call);
    co_return co_await pending;
}

QCoro::Task<StatusOr<Capabilities>> capabilitiesOn(QDBusConnection bus)
{
    QCoro::Task<QDBusPendingReply<QVariantMap>> reading = propertiesOf(bus, screenCastInterface);
    const QDBusPendingReply<QVariantMap> reply = co_await reading;
    if (reply.isError())
        co_return noScreenCast(reply.error());
    const QVariantMap properties = reply.value();
    if (!properties.contains(QStringLiteral("version")))
        co_return noScreenCast(QDBusError(QDBusError::UnknownInterface, QString()));
    co_return Capabilities {properties.value(QStringLiteral("version")).toUInt(),
        properties.value(QStringLiteral("AvailableSourceTypes")).toUInt(),
        properties.value(QStringLiteral("AvailableCursorModes")).toUInt()};
}

// Asked at first use rather than at start: a portal may come up later
// than Dropwell.
QCoro::Task<Status> pointerOfferedOn(QDBusConnection bus)
{
    QCoro::Task<QDBusPendingReply<QVariantMap>> reading = propertiesOf(bus, remoteDesktopInterface);
    const QDBusPendingReply<QVariantMap> reply = co_await reading;
    if (!reply.isError() && reply.value().value(QStringLiteral("AvailableDeviceTypes")).toUInt() & pointerDevice)
        co_return Status::success();
    qCInfo(screenCastLog) << "No pointer through the RemoteDesktop portal:" << reply.error().message();
    co_return Status::failure(ENOTSUP, tr("The desktop lets no program move the pointer over another's window."));
}

QVariantMap selection(ScreenCastSource source, const Capabilities& offered, const QString& restoreToken, CastControl control)
{
    QVariantMap options {
        {QStringLiteral("types"), uint(source)},
        {QStringLiteral("multiple"), false},
    };
    // Where Dropwell moves the pointer itself, a picture of it is in the way.
    const uint cursor = control == CastControl::Pointer ? hiddenCursor : embeddedCursor;
    if (offered.cursorModes & cursor)
        options.insert(QStringLiteral("cursor_mode"), cursor);
    // The desktop keeps a remote desktop's choice only by a token of its own kind.
    if (control == CastControl::None && offered.version >= firstVersionThatPersists) {
        options.insert(QStringLiteral("persist_mode"), persistUntilRevoked);
        if (!restoreToken.isEmpty())
            options.insert(QStringLiteral("restore_token"), restoreToken);
    }
    return options;
}

template <typename T>
T fromArgument(const QVariant& value)
{
    T decoded {};
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> decoded;
    return decoded;
}

// Start's streams, a(ua{sv}): with one source asked for, the first is it.
std::optional<ScreenCastStream> firstStream(const QVariant& streams)
{
    if (!streams.canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument list = streams.value<QDBusArgument>();
    list.beginArray();
    std::optional<ScreenCastStream> first;
    while (!list.atEnd() && !first) {
        ScreenCastStream stream;
        QVariantMap properties;
        list.beginStructure();
        list >> stream.node >> properties;
        list.endStructure();
        // Both are pairs of integers, as D-Bus gives QSize and QPoint.
        stream.size = fromArgument<QSize>(properties.value(QStringLiteral("size")));
        stream.position = fromArgument<QPoint>(properties.value(QStringLiteral("position")));
        stream.source = ScreenCastSource(properties.value(QStringLiteral("source_type"), uint(ScreenCastSource::Monitor)).toUInt());
        first = stream;
    }
    list.endArray();
    return first;
}

} // namespace

ScreenCastSession::ScreenCastSession(const QDBusConnection& bus, CastControl control, QObject* parent)
    : QObject(parent), bus_(bus), control_(control)
{
}

ScreenCastSession::~ScreenCastSession()
{
    close();
}

QCoro::Task<StatusOr<ScreenCastStream>> ScreenCastSession::start(ScreenCastSource source, QString restoreToken)
{
    if (!handle_.isEmpty())
        co_return Status::failure(EBUSY, QStringLiteral("This screen-cast session was started already"));
    const bool withPointer = control_ == CastControl::Pointer;
    if (withPointer) {
        QCoro::Task<Status> lookingForPointer = pointerOfferedOn(bus_);
        if (Status pointer = co_await lookingForPointer; !pointer.ok())
            co_return pointer;
    }
    QCoro::Task<StatusOr<Capabilities>> asking = capabilitiesOn(bus_);
    const StatusOr<Capabilities> offered = co_await asking;
    if (!offered.ok())
        co_return offered.status();
    // The pointer lands on the window where the whole monitor shows as well.
    if (withPointer && source == ScreenCastSource::Window && !(offered.value().sourceTypes & uint(source)))
        source = ScreenCastSource::Monitor;
    if (!(offered.value().sourceTypes & uint(source))) {
        co_return Status::failure(ENOTSUP,
            source == ScreenCastSource::Window ? tr("The desktop cannot cast a single window.")
                                               : tr("The desktop cannot cast a whole monitor."));
    }

    static int serial = 0;
    // A remote desktop's session is started by its own portal, and carries the cast.
    const QString& sessionInterface = withPointer ? remoteDesktopInterface : screenCastInterface;
    QCoro::Task<StatusOr<QVariantMap>> creating = request(sessionInterface, QStringLiteral("CreateSession"), {},
        {{QStringLiteral("session_handle_token"), QStringLiteral("dropwell%1").arg(++serial)}});
    const StatusOr<QVariantMap> created = co_await creating;
    if (!created.ok())
        co_return created.status();
    handle_ = PortalRequest::objectPath(created.value().value(QStringLiteral("session_handle")));
    const QVariant session = QVariant::fromValue(QDBusObjectPath(handle_));

    if (withPointer) {
        QCoro::Task<StatusOr<QVariantMap>> selectingPointer = request(remoteDesktopInterface,
            QStringLiteral("SelectDevices"), {session}, {{QStringLiteral("types"), pointerDevice}});
        if (const StatusOr<QVariantMap> devices = co_await selectingPointer; !devices.ok())
            co_return devices.status();
    }
    const auto select = [&](const QString& token) {
        return request(screenCastInterface, QStringLiteral("SelectSources"), {session},
            selection(source, offered.value(), token, control_));
    };
    QCoro::Task<StatusOr<QVariantMap>> selecting = select(restoreToken);
    StatusOr<QVariantMap> selected = co_await selecting;
    if (!selected.ok() && selected.status().code() != ECANCELED && !restoreToken.isEmpty()) {
        // A token the portal cannot read is refused outright, unlike one it
        // no longer knows: without it the user is simply asked.
        QCoro::Task<StatusOr<QVariantMap>> selectingAgain = select(QString());
        selected = co_await selectingAgain;
    }
    if (!selected.ok())
        co_return selected.status();

    QCoro::Task<StatusOr<QVariantMap>> starting = request(sessionInterface, QStringLiteral("Start"), {session, QString()}, {});
    const StatusOr<QVariantMap> started = co_await starting;
    if (!started.ok())
        co_return started.status();
    // The user may share the picture and still keep the pointer.
    if (withPointer && !(started.value().value(QStringLiteral("devices")).toUInt() & pointerDevice))
        co_return Status::failure(EACCES, tr("The desktop did not let Dropwell move the pointer."));
    std::optional<ScreenCastStream> stream = firstStream(started.value().value(QStringLiteral("streams")));
    if (!stream)
        co_return Status::failure(EIO, tr("The desktop started the screen cast without a picture stream."));
    stream->restoreToken = started.value().value(QStringLiteral("restore_token")).toString();

    QDBusPendingCall opening
        = bus_.asyncCall(portalCall(screenCastInterface, QStringLiteral("OpenPipeWireRemote"), {session, QVariantMap()}));
    const QDBusPendingReply<QDBusUnixFileDescriptor> remote = co_await opening;
    if (remote.isError())
        co_return Status::failure(EIO, tr("The desktop did not hand over the screen cast: %1").arg(remote.error().message()));
    stream->pipewire = remote.value();
    co_return *stream;
}

void ScreenCastSession::movePointer(const ScreenCastStream& stream, QPointF to)
{
    notify(QStringLiteral("NotifyPointerMotionAbsolute"), {stream.node, to.x(), to.y()});
}

void ScreenCastSession::turnWheel(int steps)
{
    notify(QStringLiteral("NotifyPointerAxisDiscrete"), {verticalAxis, steps});
}

// The portal answers input with nothing; its order on the bus is the order
// the desktop plays it in.
void ScreenCastSession::notify(const QString& method, QVariantList arguments)
{
    if (handle_.isEmpty() || control_ != CastControl::Pointer)
        return;
    arguments.prepend(QVariantMap());
    arguments.prepend(QVariant::fromValue(QDBusObjectPath(handle_)));
    bus_.send(portalCall(remoteDesktopInterface, method, arguments));
}

QCoro::Task<StatusOr<QVariantMap>> ScreenCastSession::request(
    QString interface, QString method, QVariantList arguments, QVariantMap options)
{
    QCoro::Task<StatusOr<QVariantMap>> asking
        = PortalRequest::ask(bus_, portalCall(interface, method, arguments), std::move(options));
    const StatusOr<QVariantMap> results = co_await asking;
    if (results.ok())
        co_return results;
    qCInfo(screenCastLog) << method << results.status().message();
    if (results.status().code() == ECANCELED)
        co_return Status::failure(ECANCELED, tr("Screen capture was cancelled."));
    // A refusal, or a request the portal could not carry out: to the user
    // either means the desktop would not cast.
    if (results.status().code() == EACCES || results.status().code() == EIO)
        co_return Status::failure(EACCES, tr("The desktop refused screen capture."));
    co_return results;
}

void ScreenCastSession::close()
{
    if (handle_.isEmpty())
        return;
    bus_.send(QDBusMessage::createMethodCall(portalService, handle_, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
    handle_.clear();
}
