#pragma once

#include "capture/CaptureError.h"
#include "core/CaptureKind.h"
#include "capture/CaptureOverlay.h"
#include "capture/page/PageScroller.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/ScreenCapture.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>

class AppModel;
class CapturePreviewPanel;
class DefaultsStore;
class GlobalEscape;
class PageAccessibility;
class OwnWindowsAway;
class PageInput;
class PermissionPanel;
class RecordingBar;
class Relauncher;
class ShutterSound;

// Behind every capture button and Print Screen binding: hides Dropwell's own
// windows, lets the user pick, grabs the picture, writes it into the Inbox
// as a PNG, plays the shutter and shows the preview. Recordings go the same
// way to an MP4 in the Inbox, with the recording bar up while they run. A
// refusal of the desktop to capture runs the permission flow; every other
// failure ends as the popover's message.
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
        PageInput* pageInput = nullptr;
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

    CaptureService(AppModel& model, Ports ports, Timing timing = defaultTiming, QObject* parent = nullptr);
    ~CaptureService() override;

    void capture(CaptureKind kind);
    bool isBusy() const { return busy_; }
    bool blockedUntilRelaunch() const { return blockedUntilRelaunch_; }
    // Opens the desktop's place to allow screen capture; false where there is none.
    bool openAccessSettings();
    bool hasAccessSettings() const;
    static QString nothingToAllow();

    // Records the display under the pointer, or a window the user clicks,
    // with the microphone or the system's sound. Nothing happens while a
    // recording runs or starts.
    void record(bool pickWindow, bool microphone);
    // Ends the recording; a stop while it is still starting ends it as soon
    // as it has started.
    void stopRecording();
    bool isRecording() const { return recordingStartedAt_.has_value(); }
    const std::optional<QDateTime>& recordingStartedAt() const { return recordingStartedAt_; }
    // Switching the microphone on says in the popover's message when no
    // microphone can be recorded. True unless asked for false.
    bool setMicrophoneEnabled(bool enabled);
    RecordingBar& recordingBar() const { return *recordingBar_; }

    CapturePreviewPanel& previewPanel() const { return *preview_; }
    CaptureOverlay* overlay() const { return overlay_.get(); }
    PermissionPanel* permissionPanel() const { return permissionPanel_.get(); }

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
    // What each display shows now, by display name: the overlay's picture.
    using Backdrops = std::map<QString, QImage>;
    struct Picked {
        CaptureContent content;
        Backdrops backdrops;
        CaptureOverlay::Result result;
    };

    QCoro::Task<> run(CaptureKind kind);
    QCoro::Task<CaptureResult<QImage>> take(CaptureKind kind);
    QCoro::Task<CaptureResult<QImage>> visibleImage();
    QCoro::Task<CaptureResult<QImage>> regionImage();
    QCoro::Task<CaptureResult<QImage>> windowImage();
    QCoro::Task<CaptureResult<QImage>> pageImage();
    QCoro::Task<CaptureResult<QImage>> stitchPage(CaptureWindow window, CaptureDisplay display);
    static CaptureResult<QImage> windowAsItIs(const QImage& shot, const std::optional<QRect>& webArea);
    // Hides Dropwell, freezes the screens under the overlay and waits for the user's pick.
    QCoro::Task<CaptureResult<Picked>> pickOnScreen(OverlayView::Mode mode, QString prompt);
    void finishWith(const CaptureError& error);

    // Hides Dropwell's windows until the picture is taken; true when any was on screen.
    bool prepareScreen();
    QCoro::Task<> settleAfter(bool windowsLeft, std::chrono::milliseconds settle);
    CaptureResult<CaptureContent> content();
    CaptureResult<CaptureDisplay> displayUnderPointer();
    CaptureResult<CaptureContent> recoverAccess();
    void markCaptureReady();
    std::vector<CaptureWindow> capturableWindows(const CaptureContent& content) const;
    Backdrops grabBackdrops(const CaptureContent& content) const;
    QCoro::Task<CaptureOverlay::Result> pick(
        OverlayView::Mode mode, const CaptureContent& content, const Backdrops& backdrops, const QString& prompt);
    QCoro::Task<CaptureResult<QString>> writePng(QImage image);
    static CaptureResult<QString> writeFree(const QImage& image, const QString& folder, const QString& name);
    void showPermissionPanel();

    QCoro::Task<> startRecording(bool pickWindow, bool microphone);
    // True once recording; false when stopped before it began.
    QCoro::Task<CaptureResult<bool>> launchRecording(bool pickWindow, bool microphone);
    QCoro::Task<CaptureResult<RecordingSource>> recordingSource(bool pickWindow);
    CaptureResult<QString> recordingDestination();
    void recordingStopped();
    void forgetRecordingBar();

    AppModel& model_;
    Ports ports_;
    Timing timing_;
    std::unique_ptr<CapturePreviewPanel> preview_;
    std::unique_ptr<PermissionPanel> permissionPanel_;
    std::unique_ptr<CaptureOverlay> overlay_;
    std::unique_ptr<RecordingBar> recordingBar_;
    std::unique_ptr<OwnWindowsAway> away_;
    bool busy_ = false;
    bool blockedUntilRelaunch_ = false;
    bool recordingStarts_ = false;
    bool stopWhenStarted_ = false;
    std::optional<QDateTime> recordingStartedAt_;
};
