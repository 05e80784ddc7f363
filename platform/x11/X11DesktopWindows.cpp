#include "platform/x11/X11DesktopWindows.h"

#include "platform/x11/XcbReply.h"

#include <QWindow>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t intern(xcb_connection_t* connection, const char* name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply
        = quietReply(connection, xcb_intern_atom_reply, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

bool X11DesktopWindows::composites() const
{
    // The manager of screen N owns the selection _NET_WM_CM_SN; desktops
    // today run one X screen spanning every monitor.
    const xcb_atom_t selection = intern(connection_, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE)
        return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner = quietReply(
        connection_, xcb_get_selection_owner_reply, xcb_get_selection_owner(connection_, selection));
    return owner && owner->owner != XCB_NONE;
}

void X11DesktopWindows::keepOffTaskbar(QWindow& window, bool off)
{
    const xcb_window_t id = xcb_window_t(window.winId());
    const xcb_atom_t state = intern(connection_, "_NET_WM_STATE");
    // A window manager drops the state of a window it no longer shows; Qt
    // adds its own states to what the window holds when it maps it, so the
    // hints set here go with it every time.
    const XcbReply<xcb_get_property_reply_t> current = quietReply(
        connection_, xcb_get_property_reply, xcb_get_property(connection_, 0, id, state, XCB_ATOM_ATOM, 0, 64));
    std::vector<xcb_atom_t> states;
    if (current && current->format == 32) {
        const auto* held = static_cast<const xcb_atom_t*>(xcb_get_property_value(current.get()));
        states.assign(held, held + xcb_get_property_value_length(current.get()) / 4);
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t hint = intern(connection_, name);
        std::erase(states, hint);
        if (off && hint != XCB_ATOM_NONE)
            states.push_back(hint);
    }
    xcb_change_property(
        connection_, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32, uint32_t(states.size()), states.data());
    xcb_flush(connection_);
}
