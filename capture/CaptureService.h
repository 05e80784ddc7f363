#pragma once

#include "capture/CaptureAccess.h"
#include "capture/CaptureError.h"
#include "capture/RecordingFlow.h"
#include "capture/ScreenClearing.h"
#include "capture/StillCapture.h"
#include "capture/page/PageCapture.h"
#include "capture/page/PageScroller.h"
#include "core/CaptureKind.h"

#include <QDateTime>
#include <QObject>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>
#include <optional>

class CaptureHost;
class CaptureOverlay;
class CapturePicker;
class CapturePreviewPanel;
class DefaultsStore;
class DesktopWindows;
class GlobalEscape;
class OverlayPicker;
class PageAccessibility;
class PageCasts;
class PageInput;
class PermissionPanel;
class RecordingBar;
class Relauncher;
class ScreenRecorder;
class ShutterSound;

// Behind every capture button and Print Screen binding: hands each request
// to its flow (a still picture, a full page, a recording), writes what a
// still capture took into the Inbox as a PNG, plays the shutter and shows
// the preview. A refusal of the desktop to capture runs the permission flow;
// every other failure ends as the popover's message.
class CaptureService : public QObject {
    Q_OBJECT
public:
    struct Ports {
        ScreenCapture* screen = nullptr;
        ShutterSound* shutter = nullptr;
        Relauncher* relauncher = nullptr;
        DefaultsStore* defaults = nullptr;
        ScreenRecorder* recorder = nullptr;
        GlobalEscape* escape = nullptr;
        PageAccessibility* page = nullptr;
        // None where the desktop lets no program scroll another's window:
        // then full pages cannot be captured.
        PageInput* pageInput = nullptr;
        DesktopWindows* desktop = nullptr;
        // Where there is no page input: the desktop's grant of a window and
        // the pointer over it, where it might give one.
        PageCasts* pageCasts = nullptr;
    };
    struct Timing {
        // Long enough for the popover to be gone from the screen.
        std::chrono::milliseconds settle;
        // For the popover to be gone before the overlay freezes the screen.
        std::chrono::milliseconds overlaySettle;
        int previewHideAfterMs;
        // For the bar to be up and the overlay gone before the first frame.
        std::chrono::milliseconds recordingSettle;
        // How long a page may take to begin and to end moving after the wheel.
        PageScroller::Timing pageScroll;
    };
    static constexpr Timing defaultTiming {std::chrono::milliseconds(180), std::chrono::milliseconds(50), 5200,
        std::chrono::milliseconds(280), PageScroller::defaultTiming};

    CaptureService(CaptureHost& host, Ports ports, Timing timing = defaultTiming, QObject* parent = nullptr);
    ~CaptureService() override;

    void capture(CaptureKind kind);
    bool isBusy() const { return busy_ || recording_.isStarting(); }
    bool blockedUntilRelaunch() const { return access_.blockedUntilRelaunch(); }
    // Opens the desktop's place to allow screen capture; false where there is none.
    bool openAccessSettings() { return access_.openAccessSettings(); }
    bool hasAccessSettings() const { return access_.hasAccessSettings(); }
    static QString nothingToAllow() { return CaptureAccess::nothingToAllow(); }

    // See RecordingFlow.
    void record(bool pickWindow, bool microphone) { recording_.record(pickWindow, microphone); }
    void stopRecording() { recording_.stop(); }
    bool isRecording() const { return recording_.isRecording(); }
    const std::optional<QDateTime>& recordingStartedAt() const { return recording_.startedAt(); }
    bool setMicrophoneEnabled(bool enabled) { return recording_.setMicrophoneEnabled(enabled); }
    RecordingBar& recordingBar() const { return recording_.bar(); }
    // The preview panel's and the recording bar's windows, where hidden.
    void releaseHiddenWindows();

    CapturePreviewPanel& previewPanel() const { return *preview_; }
    // Dropwell's picking overlay while the user picks; none where the
    // desktop picks.
    CaptureOverlay* overlay() const;
    PermissionPanel* permissionPanel() const { return access_.panel(); }

Q_SIGNALS:
    // Dropwell's own windows must leave the screen for a capture.
    void hideChromeRequested();
    // The capture is over without a file: bring back what was hidden.
    void restoreChromeRequested();
    // Something went wrong that the user must read: show the popover.
    void attentionRequested();
    void busyChanged();
    void fileWritten(const QString& path);
    void recordingChanged();

private:
    QCoro::Task<> run(CaptureKind kind);
    QCoro::Task<CaptureResult<QImage>> take(CaptureKind kind);
    QCoro::Task<CaptureResult<QString>> write(QImage image);
    void finishWith(const CaptureError& error);

    CaptureHost& host_;
    Ports ports_;
    std::unique_ptr<CapturePreviewPanel> preview_;
    ScreenClearing clearing_;
    CaptureAccess access_;
    OverlayPicker* overlayPicker_ = nullptr; // the picker, where Dropwell picks
    std::unique_ptr<CapturePicker> picker_;
    StillCapture still_;
    PageCapture page_;
    RecordingFlow recording_;
    bool busy_ = false;
};
