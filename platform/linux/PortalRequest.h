#pragma once

#include "platform/Status.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <optional>

#include <qcoro/qcorotask.h>

// One call of a desktop portal that answers later: the portal makes a
// request object, and its Response signal carries the outcome. The signal
// is listened for before the call, at the path the portal will use, so an
// answer that comes at once is not missed.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    using Answered = std::function<void(const StatusOr<QVariantMap>& results)>;

    // Where every desktop portal is found on the session bus.
    static inline const QString desktopService = QStringLiteral("org.freedesktop.portal.Desktop");
    static inline const QString desktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
    // A session or request handle: an object path, which some portals send
    // as a string.
    static QString objectPath(const QVariant& value);

    // Calls `message` with `options` (given a handle_token) as its last
    // argument; `answered` runs once, unless `context` is gone first. The
    // request goes once answered. The user's cancelling fails with
    // ECANCELED, the portal's refusal with EACCES, a portal or method that is
    // not there with ENOSYS.
    static PortalRequest* send(const QDBusConnection& bus, QDBusMessage message, QVariantMap options, QObject* context, Answered answered);
    // The same for a coroutine: ends with the answer. With a `limit`, a
    // portal that has not answered by then is asked to close the request,
    // and the call fails with ETIMEDOUT: a desktop whose backend never
    // answers must not keep a capture waiting for good.
    static QCoro::Task<StatusOr<QVariantMap>> ask(QDBusConnection bus, QDBusMessage message, QVariantMap options,
        std::optional<std::chrono::milliseconds> limit = std::nullopt);

Q_SIGNALS:
    void answered();

private Q_SLOTS:
    void response(uint code, const QVariantMap& results);

private:
    PortalRequest(const QDBusConnection& bus, QObject* context, Answered answered);
    void listen(const QString& path);
    void giveUpAfter(std::chrono::milliseconds limit);
    void finish(const StatusOr<QVariantMap>& results);

    QDBusConnection bus_;
    QString path_;
    Answered answered_;
};
