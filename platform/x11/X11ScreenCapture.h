#pragma once

#include "platform/ScreenCapture.h"

#include <memory>

// Screen capture on an X server, over the application's own connection to
// it. X lets every client read every pixel, so access is always granted.
// Call it on the GUI thread: a window grab runs the event loop for a moment.
// Where the application does not run on X11, every capture fails (ENOTSUP).
class X11ScreenCapture final : public ScreenCapture {
public:
    X11ScreenCapture();
    ~X11ScreenCapture() override;
    X11ScreenCapture(const X11ScreenCapture&) = delete;
    X11ScreenCapture& operator=(const X11ScreenCapture&) = delete;

    StatusOr<CaptureContent> content() override;
    bool hasAccess() override { return true; }
    void requestAccess() override {}
    bool openAccessSettings() override { return false; }
    StatusOr<QImage> grabDisplay(const CaptureDisplay& display, const QRect& crop, bool withPointer) override;
    StatusOr<QImage> grabWindow(const CaptureWindow& window) override;
    void releaseBuffers() override;

private:
    class Session;
    std::unique_ptr<Session> session_; // none when not on X11
};
