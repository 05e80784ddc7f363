#pragma once

#include "platform/x11/X11SharedSegment.h"
#include "platform/x11/XcbReply.h"

#include <QRect>

// The pixels of `area` of `drawable`, four bytes a pixel, rows packed. Both
// fail with why, also when the server gives fewer pixels than asked for.

// Written by the server into `segment` (MIT-SHM), which must be large enough.
Status getImage(xcb_connection_t* connection, xcb_drawable_t drawable, const QRect& area, const X11SharedSegment& segment);
// Through the socket (GetImage), where shared memory cannot be had.
Status getImage(xcb_connection_t* connection, xcb_drawable_t drawable, const QRect& area, XcbReply<xcb_get_image_reply_t>& pixels);
