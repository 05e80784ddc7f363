#include "platform/x11/X11FrameSources.h"

#include "platform/x11/X11DisplayFrames.h"
#include "platform/x11/X11Displays.h"
#include "platform/x11/X11WindowFrames.h"

#include <cerrno>

// X11 lets every program read the screen: nothing here waits.
QCoro::Task<OpenedFrames> X11FrameSources::openDisplay(CaptureDisplay display, int buffers)
{
    std::unique_ptr<X11FrameReader> reader;
    if (Status opened = X11FrameReader::open(buffers, reader); !opened.ok())
        co_return opened;
    const std::vector<X11Display> displays = x11Displays(reader->connection(), reader->root());
    const X11Display* found = findDisplay(displays, display);
    if (!found)
        co_return Status::failure(ENODEV, QStringLiteral("The display '%1' is gone").arg(display.name));
    co_return std::unique_ptr<FrameSource>(std::make_unique<X11DisplayFrames>(std::move(reader), found->native));
}

QCoro::Task<OpenedFrames> X11FrameSources::openWindow(CaptureWindow window, int buffers)
{
    std::unique_ptr<X11FrameReader> reader;
    if (Status opened = X11FrameReader::open(buffers, reader); !opened.ok())
        co_return opened;
    std::unique_ptr<FrameSource> source;
    if (Status opened = X11WindowFrames::open(std::move(reader), window.id, source); !opened.ok())
        co_return opened;
    co_return std::move(source);
}
