#pragma once

#include <QAbstractNativeEventFilter>
#include <QDeadlineTimer>
#include <QTimer>

#include <qcoro/qcorotask.h>

#include <xcb/damage.h>

// Watches a window's drawing through the Damage extension until its owner
// has been quiet for a moment, so a grab does not catch a half-drawn window.
// The event loop runs on while the caller waits: the owner may be this very
// process, and the damage reports arrive on Qt's connection.
class X11RepaintWait final : public QAbstractNativeEventFilter {
public:
    // `damageEvents` is the extension's first event code, 0 when the server
    // has no Damage: then the wait is a fixed pause.
    X11RepaintWait(xcb_connection_t* connection, xcb_window_t window, uint8_t damageEvents);
    ~X11RepaintWait() override;
    X11RepaintWait(const X11RepaintWait&) = delete;
    X11RepaintWait& operator=(const X11RepaintWait&) = delete;

    // Ends once the window has been quiet, or at the deadline.
    QCoro::Task<> untilQuiet();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    xcb_connection_t* connection_;
    uint8_t damageEvents_;
    xcb_damage_damage_t damage_ = 0;
    // Each repaint starts the quiet period again, but never beyond the deadline.
    QTimer quiet_;
    QDeadlineTimer deadline_;
};
