#pragma once

#include "platform/DesktopBackend.h"

#include <memory>

class X11DesktopWindows;
class X11FrameSources;
class X11GlobalEscape;
class X11PageInput;
class X11ScreenCapture;
class X11TraySelection;

// An X11 session: every program may read the screen, grab keys and the
// pointer, and send input to other windows.
class X11Backend final : public DesktopBackend {
public:
    X11Backend();
    ~X11Backend() override;

    ScreenCapture& screenCapture() override;
    FrameSources& frameSources() override;
    GlobalEscape& globalEscape() override;
    PageInput* pageInput() override;
    PageCasts* pageCasts() override { return nullptr; }
    TrayHost* systemTray() override;
    DesktopWindows& windows() override;

private:
    std::unique_ptr<X11ScreenCapture> screenCapture_;
    std::unique_ptr<X11FrameSources> frameSources_;
    std::unique_ptr<X11GlobalEscape> escape_;
    std::unique_ptr<X11PageInput> pageInput_;
    std::unique_ptr<X11TraySelection> tray_;
    std::unique_ptr<X11DesktopWindows> windows_;
};
