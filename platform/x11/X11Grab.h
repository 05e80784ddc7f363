#pragma once

#include "platform/Status.h"
#include "platform/x11/X11SharedSegment.h"

#include <QImage>
#include <QRect>
#include <QTimer>

#include <xcb/xcb.h>

#include <memory>

// Copies pixels out of the X server: through shared memory where the server
// offers it (no 8 MB trip through the socket), otherwise as an ordinary
// image reply. Lives on the thread whose event loop runs its timer.
class X11Grab {
public:
    explicit X11Grab(xcb_connection_t* connection);

    // `area` in the drawable's own pixels and wholly inside it. Depth 24
    // gives Format_RGB32, depth 32 (windows with an alpha channel)
    // Format_ARGB32_Premultiplied, as X stores them.
    StatusOr<QImage> grab(xcb_drawable_t drawable, const QRect& area, uint8_t depth);
    // Gives the kept segment back now rather than when the burst is over.
    void release();

private:
    StatusOr<QImage> grabShared(xcb_drawable_t drawable, const QRect& area, uint8_t depth);
    StatusOr<QImage> grabPlain(xcb_drawable_t drawable, const QRect& area, uint8_t depth) const;

    xcb_connection_t* connection_;
    bool sharedMemory_ = false;
    // Grabs come in bursts (a page scrolled and captured, captures one after
    // another): from a burst's second grab on, the segment is kept while
    // they last, its pages already in place, and given back when they stop.
    // The timer runs from every grab, also one whose picture took the
    // segment along: it tells a burst from a grab on its own.
    std::unique_ptr<X11SharedSegment> segment_;
    QTimer releaseSegment_;
};
