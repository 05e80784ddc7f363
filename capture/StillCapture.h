#pragma once

#include "capture/CaptureError.h"
#include "capture/pick/CapturePicker.h"
#include "core/CaptureKind.h"

#include <QCoreApplication>
#include <QImage>

#include <qcoro/qcorotask.h>

#include <chrono>

class CaptureAccess;
class ScreenCapture;
class ScreenClearing;

// A picture of the display under the pointer, of a region or of a window
// the user picks, with Dropwell's own windows off the screen.
class StillCapture {
    Q_DECLARE_TR_FUNCTIONS(StillCapture)
public:
    struct Timing {
        // Long enough for the popover to be gone from the screen.
        std::chrono::milliseconds settle;
        // For the popover to be gone before the overlay freezes the screen.
        std::chrono::milliseconds pickSettle;
    };

    StillCapture(ScreenCapture& screen, CapturePicker& picker, CaptureAccess& access, ScreenClearing& clearing, Timing timing);

    // Visible (the display under the pointer, pointer included), Region or
    // Window.
    QCoro::Task<CaptureResult<QImage>> take(CaptureKind kind);

private:
    // Dropwell's windows off the screen, then the user's pick.
    QCoro::Task<CaptureResult<Pick>> pick(CaptureKind kind);

    ScreenCapture& screen_;
    CapturePicker& picker_;
    CaptureAccess& access_;
    ScreenClearing& clearing_;
    Timing timing_;
};
