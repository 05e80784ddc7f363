#include "platform/x11/X11TraySelection.h"

#include <QLoggingCategory>

#include <xcb/xfixes.h>

#include <string>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(trayLog, "dropwell.tray", QtWarningMsg)

} // namespace

X11TraySelection::X11TraySelection(QObject* parent) : TrayHost(parent)
{
    int screenNumber = 0;
    connection_.reset(xcb_connect(nullptr, &screenNumber));
    xcb_connection_t* connection = connection_.get();
    if (xcb_connection_has_error(connection)) {
        connection_.reset();
        return; // no X server: a tray can only come over D-Bus
    }
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) {
        qCWarning(trayLog, "The X server lacks XFixes; a tray that comes later will not be noticed.");
        connection_.reset();
        return;
    }
    selectionNotify_ = std::uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    // XFixes answers a client only once it has said which version it speaks.
    quietReply(connection, xcb_xfixes_query_version_reply,
        xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION));

    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
    const auto atom = quietReply(connection, xcb_intern_atom_reply,
        xcb_intern_atom(connection, 0, std::uint16_t(name.size()), name.c_str()));
    if (!atom) {
        connection_.reset();
        return;
    }
    selection_ = atom->atom;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    // Listening first and asking second: a tray that comes in between is
    // still heard of.
    xcb_xfixes_select_selection_input(connection, screens.data->root, selection_,
        XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
            | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    const auto owner =
        quietReply(connection, xcb_get_selection_owner_reply, xcb_get_selection_owner(connection, selection_));
    present_ = owner && owner->owner != XCB_WINDOW_NONE;

    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11TraySelection::readEvents);
    // Events that arrived with the replies above are already off the socket.
    readEvents();
}

X11TraySelection::~X11TraySelection() = default;

void X11TraySelection::readEvents()
{
    xcb_connection_t* connection = connection_.get();
    while (XcbReply<xcb_generic_event_t> event {xcb_poll_for_event(connection)}) {
        if ((event->response_type & 0x7f) == selectionNotify_) {
            const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event.get());
            const bool owned = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER
                && notify->owner != XCB_WINDOW_NONE; // the other kinds: the owner's window or client is gone
            if (notify->selection == selection_)
                ownerChanged(owned);
        }
    }
    if (xcb_connection_has_error(connection)) {
        // The X server went away; so did every tray on it.
        notifier_->setEnabled(false);
        present_ = false;
    }
}

void X11TraySelection::ownerChanged(bool owned)
{
    const bool was = std::exchange(present_, owned);
    if (present_ && !was)
        Q_EMIT appeared();
}
