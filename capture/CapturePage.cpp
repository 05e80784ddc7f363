// The full-page flow of the capture service: the user's window, scrolled
// from its top and shot after every step until the page stops moving, the
// shots stitched into one tall picture.
#include "capture/CaptureService.h"

#include "app/model/AppModel.h"
#include "capture/OwnWindowsAway.h"
#include "capture/Pause.h"
#include "capture/page/PageShots.h"
#include "capture/page/PageWindow.h"
#include "platform/PageAccessibility.h"
#include "platform/PageInput.h"

#include <algorithm>

namespace {

using std::chrono::milliseconds;
// For the window manager to bring the window forward, then for its program
// to take the focus.
constexpr milliseconds activated(180);
constexpr milliseconds focused(140);
// Where no scroll bar can be driven: one wheel turn far beyond any top, and
// steps of about half a window.
constexpr int wheelToTopPixels = 8000;
constexpr double wheelStepOfWindow = 0.55;
constexpr int smallestWheelStep = 140;

// The pointer is out of the user's hand for the run, and back where it was
// however the run ends.
class PointerHeld {
public:
    explicit PointerHeld(PageInput& input) : input_(input), saved_(input.pointer())
    {
        if (!input_.hold())
            qWarning("Another program holds the pointer: moving it may disturb the full-page capture.");
    }
    ~PointerHeld()
    {
        input_.release();
        input_.warpPointer(saved_);
    }
    PointerHeld(const PointerHeld&) = delete;
    PointerHeld& operator=(const PointerHeld&) = delete;

private:
    PageInput& input_;
    QPoint saved_;
};

// Null when the shot does not reach into the crop (a window that shrank).
QImage cut(const QImage& shot, const QRect& crop) { return shot.copy(crop.intersected(shot.rect())); }

} // namespace

QCoro::Task<CaptureResult<QImage>> CaptureService::pageImage()
{
    const bool windowsLeft = prepareScreen();
    if (const Status enabled = ports_.page->ensureEnabled(); !enabled.ok())
        co_return CaptureError::failed(enabled.message());
    model_.setToast(QStringLiteral("Capturing full page…"));
    QCoro::Task<> settling = settleAfter(windowsLeft, timing_.settle);
    co_await settling;
    const CaptureResult<CaptureContent> current = content();
    if (!current.ok()) {
        model_.setToast(std::nullopt); // the permission flow says what it has to say
        co_return current.error();
    }
    const auto window = PageWindow::choose(capturableWindows(current.value()), ports_.pageInput->pointer());
    if (!window)
        co_return CaptureError::failed(QStringLiteral("Click the page you want, then try Full page again."));
    QCoro::Task<CaptureResult<QImage>> stitching = stitchPage(*window);
    const CaptureResult<QImage> page = co_await stitching;
    if (page.ok())
        model_.setToast(std::nullopt);
    co_return page;
}

QCoro::Task<CaptureResult<QImage>> CaptureService::stitchPage(CaptureWindow window)
{
    PageAccessibility& page = *ports_.page;
    PageInput& input = *ports_.pageInput;
    const PointerHeld held(input);
    input.activate(window);
    QCoro::Task<> activating = pause(activated);
    co_await activating;
    const QPoint centre = window.frame.center();
    page.raise(window);
    input.warpPointer(centre);
    page.focus(window);
    QCoro::Task<> focusing = pause(focused);
    co_await focusing;
    if (!page.scrollToTop(window))
        input.wheel(centre, wheelToTopPixels);
    QCoro::Task<> toTop = pause(timing_.pageScrolled);
    co_await toTop;

    const auto first = ports_.screen->grabWindow(window);
    if (!first.ok())
        co_return CaptureError::failed(first.status().message());
    const QRect crop = PageStitch::contentCrop(window.frame, page.webAreaFrame(window), first.value().size());
    QImage firstCut = cut(first.value(), crop);
    if (firstCut.isNull())
        co_return CaptureError::failed(QStringLiteral("Couldn't read that page."));
    PageShots shots(std::move(firstCut), page.scrollFraction(window));
    for (;;) {
        scrollPageDown(window);
        QCoro::Task<> scrolling = pause(timing_.pageScrolled);
        co_await scrolling;
        const auto shot = ports_.screen->grabWindow(window);
        if (!shot.ok())
            co_return CaptureError::failed(shot.status().message());
        const QImage next = cut(shot.value(), crop);
        if (next.isNull() || shots.add(next, page.scrollFraction(window)) == PageShots::Next::Done)
            break;
    }
    QImage stitched = shots.result();
    if (stitched.isNull())
        co_return CaptureError::failed(QStringLiteral("Couldn't stitch that page."));
    co_return stitched;
}

void CaptureService::scrollPageDown(const CaptureWindow& window)
{
    if (ports_.page->nudgeScrollBar(window))
        return;
    const QPoint centre = window.frame.center();
    ports_.pageInput->warpPointer(centre);
    ports_.page->focus(window);
    ports_.pageInput->wheel(centre, -std::max(int(window.frame.height() * wheelStepOfWindow), smallestWheelStep));
}
