#pragma once

#include "platform/FrameSource.h"
#include "platform/x11/X11SharedSegment.h"
#include "platform/x11/XcbReply.h"

#include <QPoint>
#include <QRect>

#include <xcb/xcb.h>

#include <memory>
#include <vector>

// Reads a recording's pictures out of the X server into a few buffers of
// its own, over a connection of its own: the grabbing thread runs no Qt
// event loop, and the events it asks for must not reach Qt's. Each buffer
// is memory shared with the server where it offers that, so a picture
// travels neither through the socket nor through a second copy.
class X11FrameReader {
public:
    // Connects to $DISPLAY, where Qt shows its windows.
    static Status open(int bufferCount, std::unique_ptr<X11FrameReader>& reader);
    X11FrameReader(const X11FrameReader&) = delete;
    X11FrameReader& operator=(const X11FrameReader&) = delete;

    xcb_connection_t* connection() const { return connection_.get(); }
    xcb_window_t root() const { return root_; }
    uint8_t rootDepth() const { return rootDepth_; }
    int bufferCount() const { return int(buffers_.size()); }

    // `area` of `drawable`, in its own pixels and wholly inside it, into
    // `buffer`; `depth` is the drawable's.
    StatusOr<FramePixels> read(int buffer, xcb_drawable_t drawable, const QRect& area, uint8_t depth);
    // Draws the pointer into the picture `buffer` holds, whose top-left pixel
    // sits at `origin` of the root window.
    void drawPointer(int buffer, const FramePixels& pixels, QPoint origin);

private:
    struct Buffer {
        std::unique_ptr<X11SharedSegment> segment;
        std::vector<uint8_t> plain; // where the server shares no memory
    };

    X11FrameReader(XcbConnection connection, const xcb_screen_t& screen, int bufferCount);
    StatusOr<FramePixels> readShared(Buffer& buffer, xcb_drawable_t drawable, const QRect& area);
    StatusOr<FramePixels> readPlain(Buffer& buffer, xcb_drawable_t drawable, const QRect& area);

    XcbConnection connection_;
    xcb_window_t root_;
    uint8_t rootDepth_;
    bool sharedMemory_;
    std::vector<Buffer> buffers_;
};
