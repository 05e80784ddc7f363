#include "platform/x11/X11DisplayFrames.h"

#include "platform/x11/X11FrameSize.h"

X11DisplayFrames::X11DisplayFrames(std::unique_ptr<X11FrameReader> reader, const QRect& native)
    : reader_(std::move(reader)), area_(native.topLeft(), evenFrameSize(native.size()))
{
}

StatusOr<FramePixels> X11DisplayFrames::grab(int buffer)
{
    StatusOr<FramePixels> pixels = reader_->read(buffer, reader_->root(), area_, reader_->rootDepth());
    if (pixels.ok())
        reader_->drawPointer(buffer, pixels.value(), area_.topLeft());
    return pixels;
}
