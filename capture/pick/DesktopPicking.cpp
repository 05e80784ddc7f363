#include "capture/pick/DesktopPicking.h"

#include "capture/CaptureAccess.h"

#include <cerrno>

DesktopPicking::DesktopPicking(DesktopPicker& desktop, CaptureAccess& access, std::unique_ptr<CapturePicker> own)
    : desktop_(desktop), access_(access), own_(std::move(own))
{
}

DesktopPicking::~DesktopPicking() = default;

// The desktop's dialog says how to pick: Dropwell's prompts are not shown.
QCoro::Task<CaptureResult<Pick>> DesktopPicking::pickRegion(QString prompt)
{
    if (!desktop_.picks(DesktopPicker::Target::Region) && own_)
        return own_->pickRegion(std::move(prompt));
    return ask(DesktopPicker::Target::Region);
}

QCoro::Task<CaptureResult<Pick>> DesktopPicking::pickWindow(QString prompt)
{
    if (!desktop_.picks(DesktopPicker::Target::Window) && own_)
        return own_->pickWindow(std::move(prompt));
    return ask(DesktopPicker::Target::Window);
}

QCoro::Task<CaptureResult<Pick>> DesktopPicking::pickDisplay()
{
    if (!desktop_.picks(DesktopPicker::Target::Display) && own_)
        return own_->pickDisplay();
    return ask(DesktopPicker::Target::Display);
}

void DesktopPicking::dismiss()
{
    if (own_)
        own_->dismiss();
}

QCoro::Task<CaptureResult<Pick>> DesktopPicking::ask(DesktopPicker::Target target)
{
    QCoro::Task<StatusOr<DesktopPick>> asking = desktop_.pick(target);
    const StatusOr<DesktopPick> answer = co_await asking;
    if (!answer.ok())
        co_return access_.notGranted(answer.status());
    access_.markReady();
    const DesktopPick& chosen = answer.value();
    // A region exists only as the desktop's picture of it.
    const bool named = target == DesktopPicker::Target::Window ? chosen.window.has_value()
        : target == DesktopPicker::Target::Display             ? chosen.display.has_value()
                                                               : false;
    if (!named && chosen.image.isNull())
        co_return CaptureError::failed(tr("The desktop's picker gave Dropwell nothing to capture."));
    co_return Pick {chosen.display, chosen.window, QRect(), chosen.image};
}
