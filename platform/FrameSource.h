#pragma once

#include "platform/CaptureTargets.h"
#include "platform/Status.h"

#include <qcoro/qcorotask.h>

#include <QSize>

#include <cstdint>
#include <memory>

// One picture of a recording as the screen gave it: 32-bit pixels with blue
// first in memory and a top byte that means nothing, rows `bytesPerLine`
// bytes apart.
struct FramePixels {
    const uint8_t* data = nullptr;
    int bytesPerLine = 0;
    QSize size;
};

// Where a recording's pictures come from, read again and again on the
// recorder's grabbing thread. It holds a few pictures at once in buffers
// the caller picks by number, so one can be encoded while the next is taken.
class FrameSource {
public:
    virtual ~FrameSource() = default;

    // The recording's picture size: even, at least 2 x 2. A window that
    // changes its size while it is recorded gives pictures of its new size,
    // which the encoder scales to this one.
    virtual QSize frameSize() const = 0;
    virtual int bufferCount() const = 0;
    // Takes the screen as it is now into `buffer`, replacing the picture
    // that buffer held. Fails with ENOENT once a recorded window is closed
    // or hidden: the recording ends there.
    virtual StatusOr<FramePixels> grab(int buffer) = 0;
};

using OpenedFrames = StatusOr<std::unique_ptr<FrameSource>>;

// Opens the desktop's frame sources, each with `buffers` buffers; called on
// the GUI thread. A desktop that asks the user first answers later. A
// refusal fails with EACCES, a user who closed the desktop's dialog with
// ECANCELED.
class FrameSources {
public:
    virtual ~FrameSources() = default;

    // The display's own pixels, pointer included.
    virtual QCoro::Task<OpenedFrames> openDisplay(CaptureDisplay display, int buffers) = 0;
    // The window's frame, decorations and pointer included, also where other
    // windows cover it. Where the desktop asks the user which window itself,
    // `window` is empty.
    virtual QCoro::Task<OpenedFrames> openWindow(CaptureWindow window, int buffers) = 0;
    // Whether opening a window asks the user which one: a desktop that shows
    // no program its windows before the user chose.
    virtual bool asksForWindow() const { return false; }
};
