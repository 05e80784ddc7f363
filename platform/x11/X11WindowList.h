#pragma once

#include "platform/CaptureTargets.h"
#include "platform/Status.h"
#include "platform/x11/X11Atoms.h"

#include <QRect>

#include <xcb/xcb.h>

#include <vector>

// One top-level window as X11 knows it; `window.frame` is still unset, the
// frame in root-window pixels is in `nativeFrame`.
struct X11Window {
    CaptureWindow window;
    QRect nativeFrame;
};

// The application windows front to back: the window manager's stacking list,
// or where no manager keeps one, the root's mapped children that carry an
// application's name. Windows that vanish while being read are left out.
std::vector<X11Window> listWindows(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms);

// The child of the root that holds `window`: the window manager's frame with
// its decorations, or `window` itself where nothing reparents it.
StatusOr<xcb_window_t> topLevelOf(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window);
