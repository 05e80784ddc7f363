// The full-page flow where the desktop shows Dropwell another program's
// window only as a cast, and lets it scroll there only as part of the same
// grant: the desktop's dialog picks the window, the pictures come from the
// cast, the wheel turns through the desktop. Nothing there tells where the
// window is on screen, so the accessibility tree has nothing to add.
#include "capture/page/PageCapture.h"

#include "capture/CaptureAccess.h"
#include "capture/CaptureHost.h"
#include "capture/ScreenClearing.h"
#include "capture/page/PageRun.h"
#include "platform/PageCast.h"
#include "platform/PageInput.h"

#include <cerrno>

QCoro::Task<CaptureResult<QImage>> PageCapture::fromCast()
{
    // The user picks in the desktop's dialog, with Dropwell's windows gone.
    clearing_.clear();
    QCoro::Task<StatusOr<std::unique_ptr<PageCast>>> opening = ports_.casts->open();
    const StatusOr<std::unique_ptr<PageCast>> opened = co_await opening;
    if (!opened.ok()) {
        if (opened.status().code() == ENOTSUP)
            co_return CaptureError::failed(cannotScroll());
        co_return access_.notGranted(opened.status());
    }
    access_.markReady();
    host_.showToast(tr("Capturing full page…"));
    PageCast& cast = *opened.value();
    using PageRun::failed;

    QCoro::Task<StatusOr<QImage>> looking = cast.picture();
    StatusOr<QImage> shown = co_await looking;
    if (!shown.ok())
        co_return failed(shown);
    // The wheel turns in the middle of the picture; the pointer waits in
    // its corner, where no hover effect follows it.
    PageScroller scroller([&cast] { return cast.picture(); }, cast.input(), QRect(QPoint(), shown.value().size()).center(),
        QPoint(0, 0), timing_.scroll);
    QCoro::Task<StatusOr<QImage>> settling = scroller.settled();
    shown = co_await settling;
    if (!shown.ok())
        co_return failed(shown);
    QCoro::Task<StatusOr<QImage>> atTop = scroller.toTop(shown.value());
    shown = co_await atTop;
    if (!shown.ok())
        co_return failed(shown);
    QCoro::Task<CaptureResult<QImage>> running = PageRun::stitchDown(scroller, shown.value(), std::nullopt);
    const CaptureResult<QImage> page = co_await running;
    if (page.ok())
        host_.showToast(std::nullopt);
    co_return page;
}
