#include "platform/x11/X11RepaintWait.h"

#include <QCoreApplication>

#include <qcoro/qcorotimer.h>

#include <algorithm>

namespace {

// Toolkits answer an exposure within a frame or two; a window that keeps
// drawing (a video) is grabbed as it is after the deadline.
constexpr int quietMs = 80;
constexpr int deadlineMs = 1000;
constexpr int pauseWithoutDamageMs = 150;

} // namespace

X11RepaintWait::X11RepaintWait(xcb_connection_t* connection, xcb_window_t window, uint8_t damageEvents)
    : connection_(connection), damageEvents_(damageEvents)
{
    quiet_.setSingleShot(true);
    if (!damageEvents_)
        return;
    damage_ = xcb_generate_id(connection_);
    xcb_discard_reply(connection_,
        xcb_damage_create_checked(connection_, damage_, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES).sequence);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11RepaintWait::~X11RepaintWait()
{
    if (!damage_)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    xcb_discard_reply(connection_, xcb_damage_destroy_checked(connection_, damage_).sequence);
}

QCoro::Task<> X11RepaintWait::untilQuiet()
{
    xcb_flush(connection_);
    deadline_ = QDeadlineTimer(deadlineMs);
    quiet_.start(damage_ ? quietMs : pauseWithoutDamageMs);
    co_await quiet_;
}

bool X11RepaintWait::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks events another client sent; drawing is reported by the server.
    if (event->response_type != damageEvents_ + XCB_DAMAGE_NOTIFY)
        return false;
    if (reinterpret_cast<const xcb_damage_notify_event_t*>(event)->damage != damage_)
        return false;
    if (quiet_.isActive())
        quiet_.start(int(std::min<qint64>(quietMs, deadline_.remainingTime())));
    return true;
}
