#pragma once

#include "capture/CaptureError.h"
#include "capture/OverlayView.h"

#include <QObject>

#include <memory>
#include <variant>
#include <vector>

class QScreen;

// Covers every screen with an OverlayView while the user picks a region or
// a window, and reports one result: the rectangle (in logical desktop
// coordinates), the window, or a cancel.
class CaptureOverlay : public QObject {
    Q_OBJECT
public:
    using Result = std::variant<QRect, CaptureWindow, CaptureError>;

    struct Screen {
        QScreen* screen;
        QImage backdrop; // what the screen showed when picking began
    };

    CaptureOverlay(OverlayView::Mode mode, std::vector<CaptureWindow> targets, QString prompt, std::vector<Screen> screens,
        QObject* parent = nullptr);
    ~CaptureOverlay() override;

    void present();
    // Takes the overlay down; a pick still open ends as cancelled.
    void close();
    const std::vector<std::unique_ptr<OverlayView>>& views() const { return views_; }

Q_SIGNALS:
    void finished(const CaptureOverlay::Result& result);

private:
    void finish(const Result& result);

    std::vector<std::unique_ptr<OverlayView>> views_;
    bool finished_ = false;
};
