#pragma once

#include "platform/FrameSource.h"
#include "platform/x11/X11FrameReader.h"

// A display's pixel rectangle of the root window, pointer drawn in. The root
// holds every window on the screen, Dropwell's own included: X gives no way
// to read it without them.
class X11DisplayFrames final : public FrameSource {
public:
    // `native` in root-window pixels; its size is rounded down to even.
    X11DisplayFrames(std::unique_ptr<X11FrameReader> reader, const QRect& native);

    QSize frameSize() const override { return area_.size(); }
    int bufferCount() const override { return reader_->bufferCount(); }
    StatusOr<FramePixels> grab(int buffer) override;

private:
    std::unique_ptr<X11FrameReader> reader_;
    QRect area_;
};
