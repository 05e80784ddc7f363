#pragma once

#include "platform/x11/XcbReply.h"

#include <QRect>

// The pixels of `area` of `drawable` through the socket (GetImage), four
// bytes a pixel, where shared memory cannot be had. Fails with why, also
// when the server sends fewer pixels than asked for.
Status getImage(xcb_connection_t* connection, xcb_drawable_t drawable, const QRect& area, XcbReply<xcb_get_image_reply_t>& pixels);
