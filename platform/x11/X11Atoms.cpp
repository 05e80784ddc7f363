#include "platform/x11/X11Atoms.h"

#include "platform/x11/XcbReply.h"

#include <array>
#include <cstring>

namespace {

xcb_intern_atom_cookie_t request(xcb_connection_t* connection, const char* name)
{
    return xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
}

xcb_atom_t answer(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie)
{
    const auto reply = quietReply(connection, xcb_intern_atom_reply, cookie);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

constexpr std::array chromeTypeNames {"_NET_WM_WINDOW_TYPE_DESKTOP", "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_WINDOW_TYPE_TOOLBAR", "_NET_WM_WINDOW_TYPE_MENU", "_NET_WM_WINDOW_TYPE_SPLASH",
    "_NET_WM_WINDOW_TYPE_NOTIFICATION", "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_COMBO", "_NET_WM_WINDOW_TYPE_DND"};
constexpr std::array ordinaryTypeNames {
    "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_UTILITY"};
static_assert(chromeTypeNames.size() == X11Atoms {}.chromeTypes.size());
static_assert(ordinaryTypeNames.size() == X11Atoms {}.ordinaryTypes.size());

} // namespace

X11Atoms X11Atoms::intern(xcb_connection_t* connection)
{
    // All requests first, then all answers: one round trip instead of twenty.
    const auto clientListStacking = request(connection, "_NET_CLIENT_LIST_STACKING");
    const auto utf8String = request(connection, "UTF8_STRING");
    const auto wmName = request(connection, "_NET_WM_NAME");
    const auto wmPid = request(connection, "_NET_WM_PID");
    const auto wmState = request(connection, "_NET_WM_STATE");
    const auto wmStateHidden = request(connection, "_NET_WM_STATE_HIDDEN");
    const auto wmWindowType = request(connection, "_NET_WM_WINDOW_TYPE");
    std::array<xcb_intern_atom_cookie_t, chromeTypeNames.size()> chrome {};
    for (size_t i = 0; i < chrome.size(); ++i)
        chrome[i] = request(connection, chromeTypeNames[i]);
    std::array<xcb_intern_atom_cookie_t, ordinaryTypeNames.size()> ordinary {};
    for (size_t i = 0; i < ordinary.size(); ++i)
        ordinary[i] = request(connection, ordinaryTypeNames[i]);

    X11Atoms atoms;
    atoms.clientListStacking = answer(connection, clientListStacking);
    atoms.utf8String = answer(connection, utf8String);
    atoms.wmName = answer(connection, wmName);
    atoms.wmPid = answer(connection, wmPid);
    atoms.wmState = answer(connection, wmState);
    atoms.wmStateHidden = answer(connection, wmStateHidden);
    atoms.wmWindowType = answer(connection, wmWindowType);
    for (size_t i = 0; i < chrome.size(); ++i)
        atoms.chromeTypes[i] = answer(connection, chrome[i]);
    for (size_t i = 0; i < ordinary.size(); ++i)
        atoms.ordinaryTypes[i] = answer(connection, ordinary[i]);
    return atoms;
}
