#pragma once

#include "platform/Status.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QSize>

#include <qcoro/qcorotask.h>

#include <cstdint>

// What the desktop's screen-cast portal lets the user pick.
enum class ScreenCastSource : uint32_t { Monitor = 1, Window = 2 };

// One picture stream the portal granted: a PipeWire connection that sees
// only this node, and what the portal said about the source. Copies share
// the descriptor, which is closed with the last of them.
struct ScreenCastStream {
    QDBusUnixFileDescriptor pipewire;
    uint32_t node = 0;
    // Empty where the portal did not say.
    QSize size;
    QPoint position;
    ScreenCastSource source = ScreenCastSource::Monitor;
    // Hands the same source over next time without asking the user, as far
    // as the desktop keeps its word; empty when it gives none.
    QString restoreToken;
};

// What else than the picture a session asks the desktop for: with the
// pointer, the RemoteDesktop portal's session carries the cast, and the
// desktop lets Dropwell move the pointer and turn the wheel on it.
enum class CastControl { None, Pointer };

// A session of the desktop's ScreenCast portal: asks the user (or the
// desktop's policy) for one monitor or window and keeps the cast going
// until the session is destroyed. The session must outlive start().
class ScreenCastSession final : public QObject {
    Q_OBJECT
public:
    explicit ScreenCastSession(const QDBusConnection& bus, CastControl control = CastControl::None, QObject* parent = nullptr);
    ~ScreenCastSession() override;

    // One start per session. A token the desktop no longer honours is not
    // an error: it asks the user again. With the pointer, a desktop without
    // it fails with ENOTSUP, a window is cast as its monitor where the
    // desktop casts no single windows, no token is kept, and the cast shows
    // no pointer.
    QCoro::Task<StatusOr<ScreenCastStream>> start(ScreenCastSource source, QString restoreToken = {});

    // With the pointer, once started: `to` in the stream's logical pixels.
    void movePointer(const ScreenCastStream& stream, QPointF to);
    // Wheel clicks, positive ones towards the end of a page.
    void turnWheel(int steps);

private:
    QCoro::Task<StatusOr<QVariantMap>> request(QString interface, QString method, QVariantList arguments, QVariantMap options);
    void notify(const QString& method, QVariantList arguments);
    void close();

    QDBusConnection bus_;
    CastControl control_;
    QString handle_;
};
