#include "capture/StillCapture.h"

#include "capture/CaptureAccess.h"
#include "capture/ScreenClearing.h"
#include "capture/pick/CapturePicker.h"
#include "platform/ScreenCapture.h"

#include <cerrno>

namespace {

constexpr int smallestSelection = 2;

} // namespace

StillCapture::StillCapture(ScreenCapture& screen, CapturePicker& picker, CaptureAccess& access, ScreenClearing& clearing, Timing timing)
    : screen_(screen), picker_(picker), access_(access), clearing_(clearing), timing_(timing)
{
}

QCoro::Task<CaptureResult<Pick>> StillCapture::pick(CaptureKind kind)
{
    // The overlay freezes the screens, so the windows must be gone first.
    QCoro::Task<> settling = clearing_.clearAndSettle(kind == CaptureKind::Visible ? timing_.settle : timing_.pickSettle);
    co_await settling;
    QCoro::Task<CaptureResult<Pick>> picking = kind == CaptureKind::Region
        ? picker_.pickRegion(tr("Drag to select. Esc cancels."))
        : kind == CaptureKind::Window ? picker_.pickWindow(tr("Click a window to capture. Esc cancels."))
                                      : picker_.pickDisplay();
    co_return co_await picking;
}

QCoro::Task<CaptureResult<QImage>> StillCapture::take(CaptureKind kind)
{
    QCoro::Task<CaptureResult<Pick>> picking = pick(kind);
    const CaptureResult<Pick> picked = co_await picking;
    if (!picked.ok())
        co_return picked.error();
    const Pick& chosen = picked.value();
    QImage image = chosen.image;
    if (image.isNull()) {
        // Nothing taken while picking (no frozen picture of that display): the target as it is now.
        QCoro::Task<StatusOr<QImage>> grabbing = kind == CaptureKind::Window
            ? screen_.grabWindow(*chosen.window)
            : screen_.grabDisplay(*chosen.display, chosen.region, kind == CaptureKind::Visible);
        const StatusOr<QImage> now = co_await grabbing;
        if (!now.ok() && now.status().code() == EACCES)
            co_return access_.refused();
        if (!now.ok())
            co_return CaptureError::failed(now.status().message());
        image = now.value();
    }
    access_.markReady();
    if (kind == CaptureKind::Region && (image.width() < smallestSelection || image.height() < smallestSelection))
        co_return CaptureError::failed(tr("That selection was too small."));
    co_return image;
}
