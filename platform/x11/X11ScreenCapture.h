#pragma once

#include "platform/ScreenCapture.h"

#include <memory>

// Screen capture on an X server, over the application's own connection to
// it. X lets every client read every pixel, so access is always granted.
// Call it on the GUI thread: a window grab waits for the window's owner to
// repaint, and the damage reports arrive on Qt's connection.
// Where the application does not run on X11, every capture fails (ENOTSUP).
class X11ScreenCapture final : public ScreenCapture {
public:
    X11ScreenCapture();
    ~X11ScreenCapture() override;
    X11ScreenCapture(const X11ScreenCapture&) = delete;
    X11ScreenCapture& operator=(const X11ScreenCapture&) = delete;

    QCoro::Task<StatusOr<CaptureContent>> content() override;
    bool hasAccess() override { return true; }
    QCoro::Task<> requestAccess() override { co_return; }
    bool openAccessSettings() override { return false; }
    QCoro::Task<StatusOr<QImage>> grabDisplay(CaptureDisplay display, QRect crop, bool withPointer) override;
    QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow window) override;
    void releaseBuffers() override;

private:
    StatusOr<CaptureContent> listContent() const;
    StatusOr<QImage> grabDisplayNow(const CaptureDisplay& display, const QRect& crop, bool withPointer);

    class Session;
    std::unique_ptr<Session> session_; // none when not on X11
};
