#pragma once

#include "platform/CaptureTargets.h"
#include "platform/Status.h"

#include <QImage>

#include <qcoro/qcorotask.h>

#include <optional>

// What the desktop's own picker chose: the target where it names one, and
// the picture where it took one.
struct DesktopPick {
    std::optional<CaptureDisplay> display;
    std::optional<CaptureWindow> window;
    QImage image;
};

// The desktop's own dialog for choosing what to capture, on a desktop that
// lets no program see its screens before the user chose.
class DesktopPicker {
public:
    enum class Target { Region, Window, Display };

    virtual ~DesktopPicker() = default;

    // Whether the desktop picks `target` itself; for the others it lets
    // Dropwell see the screens and pick with its own overlay.
    virtual bool picks(Target) const { return true; }

    // Shows the desktop's dialog for `target`. Fails with ECANCELED when the
    // user closed it, with EACCES when the desktop refuses screen capture.
    virtual QCoro::Task<StatusOr<DesktopPick>> pick(Target target) = 0;
};
