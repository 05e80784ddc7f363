#include "platform/x11/X11GetImage.h"

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
    const size_t size = size_t(area.width()) * size_t(area.height()) * 4;
    if (size_t(xcb_get_image_data_length(pixels.get())) < size)
        return Status::failure(EIO, QStringLiteral("The X server sent fewer pixels than asked for"));
    return Status::success();
}
