#include "platform/x11/X11FrameSources.h"

#include "platform/x11/X11DisplayFrames.h"
#include "platform/x11/X11Displays.h"
#include "platform/x11/X11WindowFrames.h"

#include <cerrno>

Status X11FrameSources::openDisplay(const CaptureDisplay& display, int buffers, std::unique_ptr<FrameSource>& source)
{
    std::unique_ptr<X11FrameReader> reader;
    if (Status opened = X11FrameReader::open(buffers, reader); !opened.ok())
        return opened;
    const std::vector<X11Display> displays = x11Displays(reader->connection(), reader->root());
    const X11Display* found = findDisplay(displays, display);
    if (!found)
        return Status::failure(ENODEV, QStringLiteral("The display '%1' is gone").arg(display.name));
    source = std::make_unique<X11DisplayFrames>(std::move(reader), found->native);
    return Status::success();
}

Status X11FrameSources::openWindow(const CaptureWindow& window, int buffers, std::unique_ptr<FrameSource>& source)
{
    std::unique_ptr<X11FrameReader> reader;
    if (Status opened = X11FrameReader::open(buffers, reader); !opened.ok())
        return opened;
    return X11WindowFrames::open(std::move(reader), window.id, source);
}
