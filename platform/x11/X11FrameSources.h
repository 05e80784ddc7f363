#pragma once

#include "platform/FrameSource.h"

// Recording pictures on an X server: a display's pixel rectangle of the root
// window, or one window through Composite.
class X11FrameSources final : public FrameSources {
public:
    Status openDisplay(const CaptureDisplay& display, int buffers, std::unique_ptr<FrameSource>& source) override;
    Status openWindow(const CaptureWindow& window, int buffers, std::unique_ptr<FrameSource>& source) override;
};
