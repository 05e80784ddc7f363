#pragma once

#include "platform/DesktopWindows.h"

#include <xcb/xcb.h>

// The window manager's hints and the compositing manager's selection, asked
// on Qt's own connection to the X server.
class X11DesktopWindows final : public DesktopWindows {
public:
    explicit X11DesktopWindows(xcb_connection_t* connection) : connection_(connection) {}

    bool composites() const override;
    void keepOffTaskbar(QWindow& window, bool off) override;

private:
    xcb_connection_t* connection_;
};
