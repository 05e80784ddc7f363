#pragma once

#include "capture/pick/CapturePicker.h"
#include "platform/DesktopPicker.h"

#include <QCoreApplication>

#include <memory>

class CaptureAccess;

// Picking on a desktop that shows no program its screens, or its windows,
// before the user chose: the desktop's own picker asks, and mostly hands back
// the picture itself. What the desktop does not pick, Dropwell's own picker
// does. Refusals go through the permission flow like any other.
class DesktopPicking final : public CapturePicker {
    Q_DECLARE_TR_FUNCTIONS(DesktopPicking)
public:
    // `own` picks the targets the desktop leaves to Dropwell; may be null
    // where it picks them all.
    DesktopPicking(DesktopPicker& desktop, CaptureAccess& access, std::unique_ptr<CapturePicker> own);
    ~DesktopPicking() override;

    QCoro::Task<CaptureResult<Pick>> pickRegion(QString prompt) override;
    QCoro::Task<CaptureResult<Pick>> pickWindow(QString prompt) override;
    QCoro::Task<CaptureResult<Pick>> pickDisplay() override;
    void dismiss() override;

private:
    QCoro::Task<CaptureResult<Pick>> ask(DesktopPicker::Target target);

    DesktopPicker& desktop_;
    CaptureAccess& access_;
    std::unique_ptr<CapturePicker> own_;
};
