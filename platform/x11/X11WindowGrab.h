#pragma once

#include "platform/x11/X11Grab.h"

#include <qcoro/qcorotask.h>

// A top-level window's own pixels, decorations included, also where other
// windows cover it. With the Composite extension the window is given a
// pixmap of its own for the moment of the grab (unless a compositing manager
// already gave it one); its owner repaints what that uncovers, and the
// pixmap is read. Without Composite the window's rectangle is read off the
// screen, so covered parts show whatever covers them.
//
// The grab waits for the repaint while the event loop runs on (the owner may
// be this very process), so it belongs on the GUI thread.
class X11WindowGrab {
public:
    X11WindowGrab(xcb_connection_t* connection, xcb_window_t root, X11Grab& grab);

    // `topLevel` is a child of the root (see topLevelOf).
    QCoro::Task<StatusOr<QImage>> grab(xcb_window_t topLevel);

private:
    QCoro::Task<StatusOr<QImage>> grabOwnPixmap(xcb_window_t topLevel);
    StatusOr<QImage> grabFromScreen(xcb_window_t topLevel);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    X11Grab& grab_;
    bool composite_ = false;
    // First event code of the Damage extension, 0 without it.
    uint8_t damageEvents_ = 0;
};
