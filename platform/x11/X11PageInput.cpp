#include "platform/x11/X11PageInput.h"

#include "platform/x11/X11Displays.h"
#include "platform/x11/X11WindowList.h"
#include "platform/x11/XcbReply.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint8_t wheelUpButton = 4;
constexpr std::uint8_t wheelDownButton = 5;
// _NET_ACTIVE_WINDOW from a pager or a similar tool acting for the user,
// which window managers obey without their focus-stealing rules.
constexpr std::uint32_t sourceIndicationTool = 2;

xcb_connection_t* qtConnection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// Desktops today run one X screen spanning every monitor.
xcb_window_t rootOf(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// Once this returns the server has carried out every request sent before it.
void sync(xcb_connection_t* connection)
{
    quietReply(connection, xcb_get_input_focus_reply, xcb_get_input_focus(connection));
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto reply = quietReply(
        connection, xcb_intern_atom_reply, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The display that holds the point, else the first one, as a window on no
// display takes the main screen's scale.
template <typename Contains>
const X11Display* displayWhere(const std::vector<X11Display>& displays, Contains contains)
{
    const auto found = std::ranges::find_if(displays, contains);
    if (found != displays.end())
        return &*found;
    return displays.empty() ? nullptr : &displays.front();
}

QPoint toNative(xcb_connection_t* connection, xcb_window_t root, QPoint logical)
{
    const std::vector<X11Display> displays = x11Displays(connection, root);
    const X11Display* display = displayWhere(displays, [logical](const X11Display& d) { return d.display.geometry.contains(logical); });
    return display ? display->toNative(QRectF(logical, QSizeF(1, 1))).topLeft() : logical;
}

QPoint toLogical(xcb_connection_t* connection, xcb_window_t root, QPoint native)
{
    const std::vector<X11Display> displays = x11Displays(connection, root);
    const X11Display* display = displayWhere(displays, [native](const X11Display& d) { return d.native.contains(native); });
    return display ? display->toLogical(QRect(native, QSize(1, 1))).topLeft() : native;
}

bool windowManagerRuns(xcb_connection_t* connection)
{
    // An ICCCM window manager owns the selection WM_S<screen>.
    const xcb_atom_t selection = atom(connection, "WM_S0");
    const auto owner =
        quietReply(connection, xcb_get_selection_owner_reply, xcb_get_selection_owner(connection, selection));
    return owner && owner->owner != XCB_NONE;
}

} // namespace

X11PageInput::~X11PageInput() { release(); }

QPoint X11PageInput::pointer()
{
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return {};
    const xcb_window_t root = rootOf(connection);
    const auto reply = quietReply(connection, xcb_query_pointer_reply, xcb_query_pointer(connection, root));
    return reply ? toLogical(connection, root, QPoint(reply->root_x, reply->root_y)) : QPoint();
}

void X11PageInput::warpPointer(QPoint to)
{
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return;
    const xcb_window_t root = rootOf(connection);
    const QPoint native = toNative(connection, root, to);
    xcb_warp_pointer(connection, XCB_NONE, root, 0, 0, 0, 0, std::int16_t(native.x()), std::int16_t(native.y()));
    sync(connection);
}

bool X11PageInput::hold()
{
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return false;
    if (held_)
        return true;
    // No events asked for: the user's clicks and moves reach no program, not
    // even Dropwell, until release().
    const auto reply = quietReply(connection, xcb_grab_pointer_reply,
        xcb_grab_pointer(connection, 0, rootOf(connection), 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
            XCB_NONE, XCB_CURRENT_TIME));
    held_ = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    return held_;
}

void X11PageInput::release()
{
    if (!held_)
        return;
    held_ = false;
    if (xcb_connection_t* connection = qtConnection()) {
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
        sync(connection); // free for other programs once this returns
    }
}

void X11PageInput::wheel(QPoint at, int clicks)
{
    xcb_connection_t* connection = qtConnection();
    if (!connection || clicks == 0)
        return;
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection, &xcb_test_id);
    if (!xtest || !xtest->present) {
        qWarning("The page cannot be scrolled with the wheel: the X server has no XTEST extension");
        return;
    }
    const std::uint8_t button = clicks < 0 ? wheelDownButton : wheelUpButton;
    warpPointer(at);
    // While Dropwell holds the pointer the server reports every click to
    // Dropwell; let go for the clicks so they reach the window under it.
    const bool wasHeld = held_;
    release();
    for (int i = 0; i < std::abs(clicks); ++i) {
        xcb_test_fake_input(connection, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(connection, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    sync(connection); // the clicks are delivered before the pointer is taken back
    if (wasHeld)
        hold();
}

void X11PageInput::activate(const CaptureWindow& window)
{
    xcb_connection_t* connection = qtConnection();
    if (!connection || !window.id)
        return;
    const xcb_window_t root = rootOf(connection);
    if (!windowManagerRuns(connection)) {
        // Nobody would answer the request: raise the window and give it the
        // keyboard ourselves, as a manager would.
        const StatusOr<xcb_window_t> topLevel = topLevelOf(connection, root, window.id);
        if (!topLevel.ok())
            return;
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection, topLevel.value(), XCB_CONFIG_WINDOW_STACK_MODE, &above);
        // Refused where the window is not on screen, which leaves the focus as it was.
        XcbError(xcb_request_check(connection,
            xcb_set_input_focus_checked(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window.id, XCB_CURRENT_TIME)));
        return;
    }
    xcb_client_message_event_t request {};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window.id;
    request.type = atom(connection, "_NET_ACTIVE_WINDOW");
    request.data.data32[0] = sourceIndicationTool;
    request.data.data32[1] = XCB_CURRENT_TIME;
    request.data.data32[2] = XCB_NONE; // the requester's own active window
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}
