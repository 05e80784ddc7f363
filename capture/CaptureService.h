#pragma once

#include "capture/CaptureError.h"
#include "capture/CaptureKind.h"
#include "capture/CaptureOverlay.h"
#include "platform/ScreenCapture.h"

#include <QObject>
#include <QPointer>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <map>
#include <memory>

class AppModel;
class CapturePreviewPanel;
class DefaultsStore;
class PermissionPanel;
class Relauncher;
class ShutterSound;

// Behind every capture button and Print Screen binding: hides Dropwell's own
// windows, lets the user pick, grabs the picture, writes it into the Inbox
// as a PNG, plays the shutter and shows the preview. A refusal of the
// desktop to capture runs the permission flow; every other failure ends as
// the popover's message.
class CaptureService : public QObject {
    Q_OBJECT
public:
    struct Ports {
        ScreenCapture* screen = nullptr;
        ShutterSound* shutter = nullptr;
        Relauncher* relauncher = nullptr;
        DefaultsStore* defaults = nullptr;
    };
    struct Timing {
        // Long enough for the popover to be gone from the screen.
        std::chrono::milliseconds settle;
        // For the popover to be gone before the overlay freezes the screen.
        std::chrono::milliseconds overlaySettle;
        int previewHideAfterMs;
    };
    static constexpr Timing defaultTiming {std::chrono::milliseconds(180), std::chrono::milliseconds(50), 5200};

    CaptureService(AppModel& model, Ports ports, Timing timing = defaultTiming, QObject* parent = nullptr);
    ~CaptureService() override;

    void capture(CaptureKind kind);
    bool isBusy() const { return busy_; }
    bool blockedUntilRelaunch() const { return blockedUntilRelaunch_; }
    // Opens the desktop's place to allow screen capture; false where there is none.
    bool openAccessSettings();
    static QString nothingToAllow();

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
    // Hides Dropwell, freezes the screens under the overlay and waits for the user's pick.
    QCoro::Task<CaptureResult<Picked>> pickOnScreen(OverlayView::Mode mode, QString prompt);
    void finishWith(const CaptureError& error);

    void prepareScreen();
    CaptureResult<CaptureContent> content();
    CaptureResult<CaptureContent> recoverAccess();
    void markCaptureReady();
    std::vector<CaptureWindow> capturableWindows(const CaptureContent& content) const;
    Backdrops grabBackdrops(const CaptureContent& content) const;
    QCoro::Task<CaptureOverlay::Result> pick(
        OverlayView::Mode mode, const CaptureContent& content, const Backdrops& backdrops, const QString& prompt);
    QCoro::Task<CaptureResult<QString>> writePng(QImage image);
    static CaptureResult<QString> writeFree(const QImage& image, const QString& folder, const QString& name);
    void showPermissionPanel();

    AppModel& model_;
    Ports ports_;
    Timing timing_;
    std::unique_ptr<CapturePreviewPanel> preview_;
    std::unique_ptr<PermissionPanel> permissionPanel_;
    std::unique_ptr<CaptureOverlay> overlay_;
    bool busy_ = false;
    bool blockedUntilRelaunch_ = false;
};
