#pragma once

#include "capture/CaptureError.h"
#include "platform/CaptureTargets.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <qcoro/qcorotask.h>

#include <optional>

// What the user chose to capture. Where picking took the picture already (a
// region cut from the screens frozen when picking began, or the picture the
// desktop's own picker returned), `image` holds it and is the capture;
// otherwise the target is grabbed now.
struct Pick {
    std::optional<CaptureDisplay> display; // the one picked, or that holds the region
    std::optional<CaptureWindow> window;
    QRect region; // logical; empty unless a region was picked over frozen screens
    QImage image;
};

// How the user chooses what to capture. Dropwell's own overlay over frozen
// screens where the desktop lets it read them; the desktop's own picker
// where it does not. Dropwell's windows are off the screen before a pick.
class CapturePicker {
public:
    virtual ~CapturePicker() = default;

    // `prompt` says how to pick where Dropwell asks itself.
    virtual QCoro::Task<CaptureResult<Pick>> pickRegion(QString prompt) = 0;
    virtual QCoro::Task<CaptureResult<Pick>> pickWindow(QString prompt) = 0;
    // Where Dropwell picks, the display under the pointer without asking.
    virtual QCoro::Task<CaptureResult<Pick>> pickDisplay() = 0;
    // Takes down a pick still open: another capture begins.
    virtual void dismiss() {}
};
