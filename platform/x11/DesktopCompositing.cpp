#include "platform/DesktopCompositing.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace DesktopCompositing {

bool isActive()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return QGuiApplication::platformName() == QStringLiteral("wayland"); // Wayland always composites
    xcb_connection_t* connection = x11->connection();
    // The manager of screen N owns the selection _NET_WM_CM_SN; desktops
    // today run one X screen spanning every monitor.
    const std::string name = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 1, uint16_t(name.size()), name.c_str()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool active = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return active;
}

} // namespace DesktopCompositing
