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

    Status openDisplay(const CaptureDisplay&, int, std::unique_ptr<FrameSource>&) override { return capture_.refusal(); }
    Status openWindow(const CaptureWindow&, int, std::unique_ptr<FrameSource>&) override { return capture_.refusal(); }

private:
    const Capture& capture_;
};

// The recording bar's Stop is the way to end a recording here.
class NoCaptureBackend::Escape final : public GlobalEscape {
public:
    bool grab() override { return false; }
    void release() override {}
};

NoCaptureBackend::NoCaptureBackend(QString reason, bool composites)
    : capture_(std::make_unique<Capture>(std::move(reason)))
    , frames_(std::make_unique<Frames>(*capture_))
    , escape_(std::make_unique<Escape>())
    , windows_(std::make_unique<PlainDesktopWindows>(composites))
{
}

NoCaptureBackend::~NoCaptureBackend() = default;

ScreenCapture& NoCaptureBackend::screenCapture() { return *capture_; }
FrameSources& NoCaptureBackend::frameSources() { return *frames_; }
GlobalEscape& NoCaptureBackend::globalEscape() { return *escape_; }
DesktopWindows& NoCaptureBackend::windows() { return *windows_; }
