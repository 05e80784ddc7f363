#include "platform/x11/X11GlobalEscape.h"

#include "platform/x11/XcbReply.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <algorithm>

namespace {

xcb_connection_t* qtConnection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The keys whose unshifted meaning is `symbol`: a layout may put one
// meaning on several keys, or move it away from its usual place.
std::vector<xcb_keycode_t> keysOf(xcb_connection_t* connection, xcb_keysym_t symbol)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto mapping = quietReply(connection, xcb_get_keyboard_mapping_reply,
        xcb_get_keyboard_mapping(connection, setup->min_keycode, std::uint8_t(count)));
    std::vector<xcb_keycode_t> keys;
    if (!mapping || mapping->keysyms_per_keycode == 0)
        return keys;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    for (int i = 0; i < count; ++i) {
        if (symbols[i * mapping->keysyms_per_keycode] == symbol)
            keys.push_back(xcb_keycode_t(setup->min_keycode + i));
    }
    return keys;
}

// The modifier bit that NumLock turns on, which the layout chooses; none
// where no key locks the number pad.
std::uint16_t numLockMask(xcb_connection_t* connection)
{
    const std::vector<xcb_keycode_t> numLock = keysOf(connection, XK_Num_Lock);
    const auto mapping =
        quietReply(connection, xcb_get_modifier_mapping_reply, xcb_get_modifier_mapping(connection));
    if (!mapping || numLock.empty())
        return 0;
    const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (std::ranges::find(numLock, keys[modifier * perModifier + i]) != numLock.end())
                return std::uint16_t(1u << modifier);
        }
    }
    return 0;
}

} // namespace

X11GlobalEscape::X11GlobalEscape(QObject* parent) : GlobalEscape(parent) {}

X11GlobalEscape::~X11GlobalEscape() { release(); }

bool X11GlobalEscape::grab()
{
    release();
    xcb_connection_t* connection = qtConnection();
    if (!connection)
        return false;
    // Desktops today run one X screen spanning every monitor.
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    // A passive grab matches its modifiers exactly, so each state of the lock
    // keys needs a grab of its own. Escape with Ctrl or Alt is left alone:
    // window managers bind those.
    std::vector<std::uint16_t> lockStates {0, XCB_MOD_MASK_LOCK};
    if (const std::uint16_t numLock = numLockMask(connection)) {
        lockStates.push_back(numLock);
        lockStates.push_back(numLock | XCB_MOD_MASK_LOCK);
    }
    struct Pending {
        KeyGrab grab;
        xcb_void_cookie_t cookie;
    };
    std::vector<Pending> pending;
    for (const xcb_keycode_t key : keysOf(connection, XK_Escape)) {
        for (const std::uint16_t state : lockStates) {
            // Not owner events: the key is reported on the root even where one
            // of our own windows has the focus, so it never reaches that window.
            pending.push_back({{key, state},
                xcb_grab_key_checked(connection, 0, root_, state, key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }
    bool refused = pending.empty();
    for (const Pending& request : pending) {
        if (XcbError(xcb_request_check(connection, request.cookie)))
            refused = true;
        else
            held_.push_back(request.grab);
    }
    // Half a grab would make Escape work or not depending on the lock keys.
    if (refused) {
        release();
        return false;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

void X11GlobalEscape::release()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    xcb_connection_t* connection = qtConnection();
    if (held_.empty() || !connection) {
        held_.clear();
        return;
    }
    for (const KeyGrab& held : held_)
        xcb_ungrab_key(connection, held.keycode, root_, held.modifiers);
    held_.clear();
    // A round trip, so that the key is free for other programs once this returns.
    quietReply(connection, xcb_get_input_focus_reply, xcb_get_input_focus(connection));
}

bool X11GlobalEscape::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // A release has the same layout as a press.
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    const bool grabbed = key->event == root_
        && std::ranges::any_of(held_, [key](const KeyGrab& held) { return held.keycode == key->detail; });
    if (!grabbed)
        return false;
    if (type == XCB_KEY_PRESS) {
        // Told once Qt is done with this event: a listener may release the
        // key or run an event loop, neither of which belongs inside the
        // dispatch of a native event.
        QMetaObject::invokeMethod(
            this, [this] {
                if (!held_.empty())
                    Q_EMIT pressed();
            },
            Qt::QueuedConnection);
    }
    return true;
}
