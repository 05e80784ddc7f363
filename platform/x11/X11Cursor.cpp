#include "platform/x11/X11Cursor.h"

#include "platform/x11/XcbReply.h"

#include <QPainter>

#include <xcb/xfixes.h>

void drawPointer(xcb_connection_t* connection, QImage& image, QPoint origin)
{
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return;
    // The extension answers nothing to a client that has not said which
    // version it speaks; Qt has on this connection, but saying it again is cheap.
    const auto version = quietReply(connection, xcb_xfixes_query_version_reply,
        xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION));
    const auto cursor = quietReply(connection, xcb_xfixes_get_cursor_image_reply, xcb_xfixes_get_cursor_image(connection));
    if (!version || !cursor || cursor->width == 0 || cursor->height == 0)
        return;
    // XFixes hands out premultiplied ARGB in 32-bit words, which is exactly
    // QImage's premultiplied format; the reply outlives the painting.
    const QImage pointer(reinterpret_cast<const uchar*>(xcb_xfixes_get_cursor_image_cursor_image(cursor.get())),
        cursor->width, cursor->height, cursor->width * 4, QImage::Format_ARGB32_Premultiplied);
    const QPoint hotSpot(cursor->xhot, cursor->yhot);
    QPainter painter(&image);
    painter.drawImage(QPoint(cursor->x, cursor->y) - hotSpot - origin, pointer);
}
