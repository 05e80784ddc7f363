#pragma once

#include "capture/pick/CapturePicker.h"
#include "platform/DesktopPicker.h"

#include <QCoreApplication>

class CaptureAccess;

// Picking on a desktop that shows no program its screens before the user
// chose: the desktop's own picker asks, and mostly hands back the picture
// itself. Its refusals go through the permission flow like any other.
class DesktopPicking final : public CapturePicker {
    Q_DECLARE_TR_FUNCTIONS(DesktopPicking)
public:
    DesktopPicking(DesktopPicker& desktop, CaptureAccess& access);

    QCoro::Task<CaptureResult<Pick>> pickRegion(QString prompt) override;
    QCoro::Task<CaptureResult<Pick>> pickWindow(QString prompt) override;
    QCoro::Task<CaptureResult<Pick>> pickDisplay() override;

private:
    QCoro::Task<CaptureResult<Pick>> ask(DesktopPicker::Target target);

    DesktopPicker& desktop_;
    CaptureAccess& access_;
};
