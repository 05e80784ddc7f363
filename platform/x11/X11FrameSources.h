#pragma once

#include "platform/FrameSource.h"

// Recording pictures on an X server: a display's pixel rectangle of the root
// window, or one window through Composite.
class X11FrameSources final : public FrameSources {
public:
    QCoro::Task<OpenedFrames> openDisplay(CaptureDisplay display, int buffers) override;
    QCoro::Task<OpenedFrames> openWindow(CaptureWindow window, int buffers) override;
};
