#pragma once

#include "capture/CaptureOverlay.h"
#include "capture/pick/CapturePicker.h"

#include <map>
#include <memory>

class CaptureAccess;
class ScreenCapture;

// Dropwell's own picking: each screen is grabbed just before, and the user
// drags or clicks on that frozen, dimmed picture. No compositing manager is
// needed, and a region is cut from exactly the picture the user drew on.
class OverlayPicker final : public CapturePicker {
public:
    OverlayPicker(ScreenCapture& screen, CaptureAccess& access);
    ~OverlayPicker() override;

    QCoro::Task<CaptureResult<Pick>> pickRegion(QString prompt) override;
    QCoro::Task<CaptureResult<Pick>> pickWindow(QString prompt) override;
    QCoro::Task<CaptureResult<Pick>> pickDisplay() override;
    void dismiss() override;

    // The overlay while the user picks, else none.
    CaptureOverlay* overlay() const { return overlay_.get(); }

private:
    // What each display shows now, by display name: the overlay's picture.
    using Backdrops = std::map<QString, QImage>;
    struct Picked {
        CaptureContent content;
        Backdrops backdrops;
        CaptureOverlay::Result result;
    };

    QCoro::Task<CaptureResult<Picked>> pickOnScreen(OverlayView::Mode mode, QString prompt);
    QCoro::Task<CaptureResult<Backdrops>> grabBackdrops(std::vector<CaptureDisplay> displays);
    QCoro::Task<CaptureOverlay::Result> present(OverlayView::Mode mode, std::vector<CaptureWindow> targets,
        const Backdrops& backdrops, QString prompt);

    ScreenCapture& screen_;
    CaptureAccess& access_;
    std::unique_ptr<CaptureOverlay> overlay_;
};
