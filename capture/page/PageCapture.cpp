// The full-page flow where Dropwell may read the screen and move the
// pointer itself: scrolls with the desktop's page input, reads the page off
// the screen, and stitches it.
#include "capture/page/PageCapture.h"

#include "capture/CaptureAccess.h"
#include "capture/CaptureHost.h"
#include "capture/DisplayGeometry.h"
#include "capture/Pause.h"
#include "capture/ScreenClearing.h"
#include "capture/page/PageRun.h"
#include "capture/page/PageStitch.h"
#include "capture/page/PageWindow.h"
#include "capture/pick/CapturableWindows.h"
#include "platform/PageAccessibility.h"
#include "platform/PageInput.h"
#include "platform/ScreenCapture.h"

namespace {

using std::chrono::milliseconds;
// For the window manager to bring the window forward, then for its program
// to take the focus.
constexpr milliseconds activated(180);
constexpr milliseconds focused(140);

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

} // namespace

PageCapture::PageCapture(Ports ports, CaptureAccess& access, ScreenClearing& clearing, CaptureHost& host, Timing timing)
    : ports_(ports), access_(access), clearing_(clearing), host_(host), timing_(timing)
{
}

QString PageCapture::cannotScroll()
{
    return tr("This desktop does not let Dropwell scroll other windows, so a full page cannot be captured here.");
}

QCoro::Task<CaptureResult<QImage>> PageCapture::take()
{
    if (!ports_.input) {
        if (!ports_.casts)
            co_return CaptureError::failed(cannotScroll());
        QCoro::Task<CaptureResult<QImage>> casting = fromCast();
        co_return co_await casting;
    }
    const bool windowsLeft = clearing_.clear();
    // The page is found from its pixels; the accessibility tree only adds
    // where the page ends above and below what scrolls.
    if (const Status enabled = ports_.page->ensureEnabled(); !enabled.ok())
        qWarning("Full page without the accessibility tree: %s", qPrintable(enabled.message()));
    host_.showToast(tr("Capturing full page…"));
    if (windowsLeft) {
        // Programs repaint what Dropwell's windows covered.
        QCoro::Task<> settling = pause(timing_.settle);
        co_await settling;
    }
    QCoro::Task<CaptureResult<CaptureContent>> fetching = access_.content();
    const CaptureResult<CaptureContent> current = co_await fetching;
    if (!current.ok()) {
        host_.showToast(std::nullopt); // the permission flow says what it has to say
        co_return current.error();
    }
    const auto window = PageWindow::choose(capturableWindows(current.value()), ports_.input->pointer());
    if (!window)
        co_return CaptureError::failed(tr("Click the page you want, then try Full page again."));
    const auto display = DisplayGeometry::containing(current.value().displays, window->frame);
    if (!display)
        co_return CaptureError::of(CaptureError::Kind::NoDisplay);
    QCoro::Task<CaptureResult<QImage>> stitching = stitch(*window, *display);
    const CaptureResult<QImage> page = co_await stitching;
    if (page.ok()) {
        access_.markReady();
        host_.showToast(std::nullopt);
    }
    co_return page;
}

QCoro::Task<CaptureResult<QImage>> PageCapture::stitch(CaptureWindow window, CaptureDisplay display)
{
    PageAccessibility& page = *ports_.page;
    PageInput& input = *ports_.input;
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

    // The window is in front now: read off the screen, which costs its
    // program no repaint, so the run can look as often as it needs.
    const QRect shotArea = window.frame & display.geometry;
    ScreenCapture& screen = *ports_.screen;
    PageScroller scroller([&screen, display, shotArea] { return screen.grabDisplay(display, shotArea, false); },
        input, centre, shotArea.topLeft(), timing_.scroll);
    using PageRun::failed;

    QCoro::Task<StatusOr<QImage>> showing = scroller.settled();
    StatusOr<QImage> shown = co_await showing;
    if (!shown.ok())
        co_return failed(shown);
    if (page.scrollToTop(window)) {
        QCoro::Task<StatusOr<QImage>> atTop = scroller.settled();
        shown = co_await atTop;
    } else {
        QCoro::Task<StatusOr<QImage>> atTop = scroller.toTop(shown.value());
        shown = co_await atTop;
    }
    if (!shown.ok())
        co_return failed(shown);
    const QImage top = shown.value();
    const std::optional<QRect> treeArea = page.webAreaFrame(window);
    const std::optional<QRect> webArea =
        treeArea ? PageStitch::inImage(shotArea, *treeArea, top.size()) : std::nullopt;

    QCoro::Task<CaptureResult<QImage>> running = PageRun::stitchDown(scroller, top, webArea);
    co_return co_await running;
}
