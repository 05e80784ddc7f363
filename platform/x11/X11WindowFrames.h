#pragma once

#include "platform/FrameSource.h"
#include "platform/x11/X11FrameReader.h"

// A top-level window's own pixels through the Composite extension: the
// window is redirected once, for the whole recording, and its pixmap read
// for every picture, so covered parts and Dropwell's own windows on top
// never show. The pixmap is named again whenever the window changes size.
// Closing or hiding the window ends the source (ENOENT).
class X11WindowFrames final : public FrameSource {
public:
    // `window` is the client window; its frame (the window manager's, with
    // decorations) is what is recorded.
    static Status open(std::unique_ptr<X11FrameReader> reader, xcb_window_t window, std::unique_ptr<FrameSource>& source);
    ~X11WindowFrames() override;
    X11WindowFrames(const X11WindowFrames&) = delete;
    X11WindowFrames& operator=(const X11WindowFrames&) = delete;

    QSize frameSize() const override { return frameSize_; }
    int bufferCount() const override { return reader_->bufferCount(); }
    StatusOr<FramePixels> grab(int buffer) override;

private:
    X11WindowFrames(std::unique_ptr<X11FrameReader> reader, xcb_window_t client, xcb_window_t topLevel);
    Status start();
    Status namePixmap();
    // Follows the window's moves and size changes; false once it is gone.
    bool followWindow();
    xcb_connection_t* connection() const { return reader_->connection(); }

    std::unique_ptr<X11FrameReader> reader_;
    const xcb_window_t client_;
    const xcb_window_t topLevel_;
    bool redirected_ = false;
    xcb_pixmap_t pixmap_ = 0;
    QSize pixmapSize_;
    uint8_t depth_ = 0;
    QPoint position_; // of the frame's outer corner on the root
    QSize frameSize_;
    bool resized_ = false;
};
