#include "platform/linux/PortalRequest.h"

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

#include <qcoro/qcorosignal.h>

#include <optional>

#include <cerrno>

namespace {

const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal's answers: 0 done, 1 cancelled by the user, 2 ended otherwise.
constexpr uint cancelled = 1;

} // namespace

PortalRequest::PortalRequest(const QDBusConnection& bus, QObject* context, Answered answered)
    : QObject(context)
    , bus_(bus)
    , answered_(std::move(answered))
{
}

PortalRequest* PortalRequest::send(const QDBusConnection& bus, QDBusMessage message, QVariantMap options, QObject* context, Answered answered)
{
    static int serial = 0;
    const QString token = QStringLiteral("dropwell%1").arg(++serial);
    options.insert(QStringLiteral("handle_token"), token);
    auto* request = new PortalRequest(bus, context, std::move(answered));
    // The path the portal makes of the caller's name and the token.
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    request->listen(QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') + token);
    message.setArguments(message.arguments() + QVariantList {options});
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request, [request](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *call;
        if (reply.isError()) {
            request->finish(Status::failure(reply.error().type() == QDBusError::UnknownMethod
                        || reply.error().type() == QDBusError::UnknownInterface
                        || reply.error().type() == QDBusError::ServiceUnknown
                    ? ENOSYS
                    : EIO,
                QCoreApplication::translate("PortalRequest", "The desktop's portal did not answer: %1").arg(reply.error().message())));
            return;
        }
        // Portals older than the handle_token answer at a path of their own.
        if (reply.value().path() != request->path_)
            request->listen(reply.value().path());
    });
    return request;
}

void PortalRequest::listen(const QString& path)
{
    if (!path_.isEmpty())
        bus_.disconnect(QString(), path_, requestInterface, QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
    path_ = path;
    bus_.connect(QString(), path_, requestInterface, QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
}

void PortalRequest::response(uint code, const QVariantMap& results)
{
    if (code == 0)
        finish(results);
    else if (code == cancelled)
        finish(Status::failure(ECANCELED, QString()));
    else
        finish(Status::failure(EACCES, QCoreApplication::translate("PortalRequest", "The desktop turned the request down.")));
}

void PortalRequest::finish(const StatusOr<QVariantMap>& results)
{
    if (!answered_)
        return; // a late reply, or a Response after the time ran out
    bus_.disconnect(QString(), path_, requestInterface, QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
    std::exchange(answered_, nullptr)(results);
    Q_EMIT answered();
    // A coroutine awaiting `answered` is resumed by a call queued to this
    // object, lost if the object goes first: and a nested event loop (as
    // QTest::qWait runs) deletes deferred objects ahead of queued calls.
    QMetaObject::invokeMethod(this, &QObject::deleteLater, Qt::QueuedConnection);
}

QCoro::Task<StatusOr<QVariantMap>> PortalRequest::ask(
    QDBusConnection bus, QDBusMessage message, QVariantMap options, std::optional<std::chrono::milliseconds> limit)
{
    // The request belongs to this frame: a caller that gives up waiting
    // takes it along, and no answer arrives for it later.
    QObject context;
    std::optional<StatusOr<QVariantMap>> answer;
    PortalRequest* request = send(bus, std::move(message), std::move(options), &context,
        [&answer](const StatusOr<QVariantMap>& results) { answer.emplace(results); });
    if (!answer) {
        if (limit)
            request->giveUpAfter(*limit);
        co_await qCoro(request, &PortalRequest::answered);
    }
    co_return *answer;
}

void PortalRequest::giveUpAfter(std::chrono::milliseconds limit)
{
    QTimer::singleShot(limit, this, [this, limit] {
        bus_.asyncCall(QDBusMessage::createMethodCall(desktopService, path_, requestInterface, QStringLiteral("Close")));
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
        finish(Status::failure(ETIMEDOUT,
            QCoreApplication::translate("PortalRequest", "The desktop's portal did not answer within %1 seconds.").arg(seconds)));
    });
}

QString PortalRequest::objectPath(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<QDBusObjectPath>() ? value.value<QDBusObjectPath>().path() : value.toString();
}
