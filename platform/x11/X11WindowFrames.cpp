#include "platform/x11/X11WindowFrames.h"

#include "platform/x11/X11FrameSize.h"
#include "platform/x11/X11WindowList.h"
#include "platform/x11/X11Extensions.h"
#include "platform/x11/XcbReply.h"

#include <xcb/composite.h>

namespace {

Status windowGone()
{
    return Status::failure(ENOENT, QStringLiteral("The recorded window was closed or hidden"));
}

} // namespace

Status X11WindowFrames::open(std::unique_ptr<X11FrameReader> reader, xcb_window_t window, std::unique_ptr<FrameSource>& source)
{
    if (!hasComposite(reader->connection()))
        return Status::failure(ENOTSUP, QStringLiteral("The X server cannot give a window pixels of its own (no Composite)"));
    const StatusOr<xcb_window_t> topLevel = topLevelOf(reader->connection(), reader->root(), window);
    if (!topLevel.ok())
        return topLevel.status();
    std::unique_ptr<X11WindowFrames> frames(new X11WindowFrames(std::move(reader), window, topLevel.value()));
    if (Status started = frames->start(); !started.ok())
        return started;
    source = std::move(frames);
    return Status::success();
}

X11WindowFrames::X11WindowFrames(std::unique_ptr<X11FrameReader> reader, xcb_window_t client, xcb_window_t topLevel)
    : reader_(std::move(reader)), client_(client), topLevel_(topLevel)
{
}

X11WindowFrames::~X11WindowFrames()
{
    // The window may be gone by now; whatever the server refuses is moot.
    if (pixmap_)
        xcb_discard_reply(connection(), xcb_free_pixmap_checked(connection(), pixmap_).sequence);
    if (redirected_)
        xcb_discard_reply(connection(),
            xcb_composite_unredirect_window_checked(connection(), topLevel_, XCB_COMPOSITE_REDIRECT_AUTOMATIC).sequence);
    xcb_flush(connection());
}

Status X11WindowFrames::start()
{
    // Watching starts first, so that a window closed from here on is seen.
    const uint32_t structure = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    for (const xcb_window_t window : {topLevel_, client_})
        xcb_change_window_attributes(connection(), window, XCB_CW_EVENT_MASK, &structure);
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection(), xcb_get_window_attributes(connection(), topLevel_), &rawError));
    const XcbError attributesError(rawError);
    if (!attributes)
        return xcbFailure(QStringLiteral("The window is gone"), attributesError.get());
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE)
        return Status::failure(ENOENT, QStringLiteral("The window is not on screen"));
    // Redirections are counted per client: one a compositing manager holds
    // stays as it is, and ours ends with the recording.
    const XcbError redirectError(xcb_request_check(connection(),
        xcb_composite_redirect_window_checked(connection(), topLevel_, XCB_COMPOSITE_REDIRECT_AUTOMATIC)));
    if (redirectError)
        return xcbFailure(QStringLiteral("The X server would not give the window a pixmap"), redirectError.get());
    redirected_ = true;
    if (Status named = namePixmap(); !named.ok())
        return named;
    frameSize_ = evenFrameSize(pixmapSize_);
    return Status::success();
}

Status X11WindowFrames::namePixmap()
{
    if (pixmap_)
        xcb_free_pixmap(connection(), pixmap_);
    pixmap_ = xcb_generate_id(connection());
    const XcbError nameError(
        xcb_request_check(connection(), xcb_composite_name_window_pixmap_checked(connection(), topLevel_, pixmap_)));
    if (nameError) {
        pixmap_ = 0;
        return xcbFailure(QStringLiteral("The window has no pixmap to read"), nameError.get());
    }
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_get_geometry_reply_t> pixmap(
        xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), pixmap_), &rawError));
    const XcbError pixmapError(rawError);
    const XcbReply<xcb_get_geometry_reply_t> frame(
        xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), topLevel_), nullptr));
    if (!pixmap || !frame)
        return xcbFailure(QStringLiteral("The window is gone"), pixmapError.get());
    // The pixmap holds the border too, so its own size is the one to read.
    pixmapSize_ = QSize(pixmap->width, pixmap->height);
    depth_ = pixmap->depth;
    position_ = QPoint(frame->x, frame->y);
    return Status::success();
}

bool X11WindowFrames::followWindow()
{
    bool gone = false;
    while (const XcbReply<xcb_generic_event_t> event {xcb_poll_for_event(connection())}) {
        switch (event->response_type & 0x7f) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event.get());
            if (configure->window != topLevel_)
                break;
            position_ = QPoint(configure->x, configure->y);
            const int border = 2 * configure->border_width;
            resized_ |= QSize(configure->width + border, configure->height + border) != pixmapSize_;
            break;
        }
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY:
            gone = true;
            break;
        default:
            break;
        }
    }
    return !gone && !xcb_connection_has_error(connection());
}

StatusOr<FramePixels> X11WindowFrames::grab(int buffer)
{
    if (!followWindow())
        return windowGone();
    if (resized_) {
        resized_ = false;
        if (Status named = namePixmap(); !named.ok())
            return followWindow() ? named : windowGone();
    }
    // Only the odd row or column is cut; a window resized while recording
    // is read whole and scaled to the recording's size.
    const bool fits = pixmapSize_.expandedTo(frameSize_) == pixmapSize_ && evenFrameSize(pixmapSize_) == frameSize_;
    const QRect area(QPoint(), fits ? frameSize_ : pixmapSize_);
    StatusOr<FramePixels> pixels = reader_->read(buffer, pixmap_, area, depth_);
    if (!pixels.ok())
        return followWindow() ? pixels : windowGone();
    reader_->drawPointer(buffer, pixels.value(), position_);
    return pixels;
}
