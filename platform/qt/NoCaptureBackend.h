#pragma once

#include "platform/DesktopBackend.h"

#include <memory>

class PlainDesktopWindows;
class UnheldEscape;

// A session Dropwell cannot capture in: the Inbox, expiry and intake work as
// anywhere, while every capture and recording ends with `reason`.
class NoCaptureBackend final : public DesktopBackend {
public:
    NoCaptureBackend(QString reason, bool composites);
    ~NoCaptureBackend() override;

    ScreenCapture& screenCapture() override;
    FrameSources& frameSources() override;
    GlobalEscape& globalEscape() override;
    PageInput* pageInput() override { return nullptr; }
    PageCasts* pageCasts() override { return nullptr; }
    TrayHost* systemTray() override { return nullptr; }
    DesktopWindows& windows() override;

private:
    class Capture;
    class Frames;

    std::unique_ptr<Capture> capture_;
    std::unique_ptr<Frames> frames_;
    std::unique_ptr<UnheldEscape> escape_;
    std::unique_ptr<PlainDesktopWindows> windows_;
};
