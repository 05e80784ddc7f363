#pragma once

#include <xcb/xcb.h>

#include <array>

// The window-manager hints the window list reads, interned once per
// connection (one round trip for all of them).
struct X11Atoms {
    xcb_atom_t clientListStacking = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t wmName = XCB_ATOM_NONE; // _NET_WM_NAME
    xcb_atom_t wmPid = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t wmStateHidden = XCB_ATOM_NONE;
    xcb_atom_t wmWindowType = XCB_ATOM_NONE;
    // The window types of the desktop's own chrome, then the ordinary ones:
    // a window lists its types by preference and the first known one counts.
    std::array<xcb_atom_t, 11> chromeTypes {};
    std::array<xcb_atom_t, 3> ordinaryTypes {};

    static X11Atoms intern(xcb_connection_t* connection);
};
