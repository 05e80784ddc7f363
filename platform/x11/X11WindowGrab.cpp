#include "platform/x11/X11WindowGrab.h"

#include "platform/x11/X11RepaintWait.h"
#include "platform/x11/X11Extensions.h"
#include "platform/x11/XcbReply.h"

#include <QScopeGuard>

#include <xcb/composite.h>

namespace {

uint8_t damageEvents(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present)
        return 0;
    // The server ignores a client that has not said which version it speaks.
    const auto version = quietReply(connection, xcb_damage_query_version_reply, xcb_damage_query_version(connection, 1, 1));
    return version ? damage->first_event : 0;
}

Status checkViewable(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), &rawError));
    const XcbError error(rawError);
    if (!attributes)
        return xcbFailure(QStringLiteral("The window is gone"), error.get());
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return Status::failure(ENOENT, QStringLiteral("The window is not on screen"));
    return Status::success();
}

StatusOr<xcb_get_geometry_reply_t> geometryOf(xcb_connection_t* connection, xcb_drawable_t drawable)
{
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, drawable), &rawError));
    const XcbError error(rawError);
    if (!geometry)
        return xcbFailure(QStringLiteral("The window is gone"), error.get());
    return *geometry;
}

} // namespace

X11WindowGrab::X11WindowGrab(xcb_connection_t* connection, xcb_window_t root, X11Grab& grab)
    : connection_(connection), root_(root), grab_(grab), composite_(hasComposite(connection)),
      damageEvents_(damageEvents(connection))
{
}

QCoro::Task<StatusOr<QImage>> X11WindowGrab::grab(xcb_window_t topLevel)
{
    if (Status viewable = checkViewable(connection_, topLevel); !viewable.ok())
        co_return viewable;
    if (!composite_)
        co_return grabFromScreen(topLevel);
    QCoro::Task<StatusOr<QImage>> grabbing = grabOwnPixmap(topLevel);
    co_return co_await grabbing;
}

QCoro::Task<StatusOr<QImage>> X11WindowGrab::grabOwnPixmap(xcb_window_t topLevel)
{
    // Watching starts before the redirection, so no repaint slips past.
    X11RepaintWait repaint(connection_, topLevel, damageEvents_);
    // Redirections are counted per client: where a compositing manager
    // already redirects the window this adds ours and changes nothing, and
    // undoing ours leaves the manager's in place.
    const XcbError redirectError(xcb_request_check(connection_,
        xcb_composite_redirect_window_checked(connection_, topLevel, XCB_COMPOSITE_REDIRECT_AUTOMATIC)));
    if (redirectError)
        co_return xcbFailure(QStringLiteral("The X server would not give the window a pixmap"), redirectError.get());
    const auto unredirect = qScopeGuard([this, topLevel] {
        xcb_discard_reply(connection_,
            xcb_composite_unredirect_window_checked(connection_, topLevel, XCB_COMPOSITE_REDIRECT_AUTOMATIC).sequence);
    });
    QCoro::Task<> repainting = repaint.untilQuiet();
    co_await repainting;

    const xcb_pixmap_t pixmap = xcb_generate_id(connection_);
    const XcbError nameError(
        xcb_request_check(connection_, xcb_composite_name_window_pixmap_checked(connection_, topLevel, pixmap)));
    if (nameError)
        co_return xcbFailure(QStringLiteral("The window has no pixmap to read"), nameError.get());
    const auto freePixmap = qScopeGuard(
        [this, pixmap] { xcb_discard_reply(connection_, xcb_free_pixmap_checked(connection_, pixmap).sequence); });
    // The pixmap holds the border too, so its own size is the one to read.
    const StatusOr<xcb_get_geometry_reply_t> geometry = geometryOf(connection_, pixmap);
    if (!geometry.ok())
        co_return geometry.status();
    co_return grab_.grab(pixmap, QRect(0, 0, geometry.value().width, geometry.value().height), geometry.value().depth);
}

StatusOr<QImage> X11WindowGrab::grabFromScreen(xcb_window_t topLevel)
{
    const StatusOr<xcb_get_geometry_reply_t> window = geometryOf(connection_, topLevel);
    const StatusOr<xcb_get_geometry_reply_t> root = geometryOf(connection_, root_);
    if (!window.ok())
        return window.status();
    if (!root.ok())
        return root.status();
    const int border = window.value().border_width;
    const QRect frame(window.value().x, window.value().y, window.value().width + 2 * border,
        window.value().height + 2 * border);
    const QRect onScreen = frame & QRect(0, 0, root.value().width, root.value().height);
    return grab_.grab(root_, onScreen, root.value().depth);
}
