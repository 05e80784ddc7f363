#include "platform/qt/NoCaptureBackend.h"

#include "platform/DesktopWindows.h"
#include "platform/FrameSource.h"
#include "platform/GlobalEscape.h"
#include "platform/ScreenCapture.h"

#include <cerrno>

class NoCaptureBackend::Capture final : public ScreenCapture {
public:
    explicit Capture(QString reason) : reason_(std::move(reason)) {}

    QCoro::Task<StatusOr<CaptureContent>> content() override { co_return refusal(); }
    // Nothing to ask for: asking would not make capture possible.
    bool hasAccess() override { return true; }
    QCoro::Task<> requestAccess() override { co_return; }
    bool openAccessSettings() override { return false; }
    QCoro::Task<StatusOr<QImage>> grabDisplay(CaptureDisplay, QRect, bool) override { co_return refusal(); }
    QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow) override { co_return refusal(); }

    Status refusal() const { return Status::failure(ENOTSUP, reason_); }

private:
    QString reason_;
};

class NoCaptureBackend::Frames final : public FrameSources {
public:
    explicit Frames(const Capture& capture) : capture_(capture) {}

    QCoro::Task<OpenedFrames> openDisplay(CaptureDisplay, int) override { co_return capture_.refusal(); }
    QCoro::Task<OpenedFrames> openWindow(CaptureWindow, int) override { co_return capture_.refusal(); }

private:
    const Capture& capture_;
};

NoCaptureBackend::NoCaptureBackend(QString reason, bool composites)
    : capture_(std::make_unique<Capture>(std::move(reason)))
    , frames_(std::make_unique<Frames>(*capture_))
    , escape_(std::make_unique<UnheldEscape>())
    , windows_(std::make_unique<PlainDesktopWindows>(composites))
{
}

NoCaptureBackend::~NoCaptureBackend() = default;

ScreenCapture& NoCaptureBackend::screenCapture() { return *capture_; }
FrameSources& NoCaptureBackend::frameSources() { return *frames_; }
GlobalEscape& NoCaptureBackend::globalEscape() { return *escape_; }
DesktopWindows& NoCaptureBackend::windows() { return *windows_; }
