#include "platform/x11/X11GetImage.h"

namespace {

size_t bytesOf(const QRect& area) { return size_t(area.width()) * size_t(area.height()) * 4; }

} // namespace

Status getImage(xcb_connection_t* connection, xcb_drawable_t drawable, const QRect& area, const X11SharedSegment& segment)
{
    xcb_generic_error_t* rawError = nullptr;
    const XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(connection,
        xcb_shm_get_image(connection, drawable, int16_t(area.x()), int16_t(area.y()), uint16_t(area.width()),
            uint16_t(area.height()), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment.id(), 0),
        &rawError));
    const XcbError error(rawError);
    if (!reply)
        return xcbFailure(QStringLiteral("The X server refused to copy the pixels"), error.get());
    if (reply->size < bytesOf(area))
        return Status::failure(EIO, QStringLiteral("The X server copied fewer pixels than asked for"));
    return Status::success();
}

Status getImage(xcb_connection_t* connection, xcb_drawable_t drawable, const QRect& area, XcbReply<xcb_get_image_reply_t>& pixels)
{
    xcb_generic_error_t* rawError = nullptr;
    pixels.reset(xcb_get_image_reply(connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, int16_t(area.x()), int16_t(area.y()),
            uint16_t(area.width()), uint16_t(area.height()), ~0u),
        &rawError));
    const XcbError error(rawError);
    if (!pixels)
        return xcbFailure(QStringLiteral("The X server refused to copy the pixels"), error.get());
    if (size_t(xcb_get_image_data_length(pixels.get())) < bytesOf(area))
        return Status::failure(EIO, QStringLiteral("The X server sent fewer pixels than asked for"));
    return Status::success();
}
