// The full-page flow of the capture service: the user's window, scrolled
// from its top and shot after every step until the page stops moving, each
// shot's new rows added where they overlap the last shot exactly.
#include "capture/CaptureService.h"

#include "model/AppModel.h"
#include "capture/DisplayGeometry.h"
#include "capture/OwnWindowsAway.h"
#include "capture/Pause.h"
#include "capture/page/PageScroller.h"
#include "capture/page/PageShots.h"
#include "capture/page/PageStitch.h"
#include "capture/page/PageWindow.h"
#include "platform/PageAccessibility.h"
#include "platform/PageInput.h"

#include <algorithm>
#include <cmath>

namespace {

using std::chrono::milliseconds;
// For the window manager to bring the window forward, then for its program
// to take the focus.
constexpr milliseconds activated(180);
constexpr milliseconds focused(140);
// Each step brings in this share of the scrolling part as new rows, so the
// rest overlaps the last shot and the overlap can be proven.
constexpr double newShareOfStep = 0.6;

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

// Wheel clicks for one step, from what a click has moved this page so far.
int clicksFor(double rowsPerClick, int scrollingRows, int mostClicks)
{
    const int clicks = int(std::floor(scrollingRows * newShareOfStep / std::max(rowsPerClick, 1.0)));
    return std::clamp(clicks, 1, mostClicks);
}

} // namespace

QCoro::Task<CaptureResult<QImage>> CaptureService::pageImage()
{
    const bool windowsLeft = prepareScreen();
    // The page is found from its pixels; the accessibility tree only adds
    // where the page ends above and below what scrolls.
    if (const Status enabled = ports_.page->ensureEnabled(); !enabled.ok())
        qWarning("Full page without the accessibility tree: %s", qPrintable(enabled.message()));
    model_.setToast(tr("Capturing full page…"));
    QCoro::Task<> settling = settleAfter(windowsLeft, timing_.settle);
    co_await settling;
    const CaptureResult<CaptureContent> current = content();
    if (!current.ok()) {
        model_.setToast(std::nullopt); // the permission flow says what it has to say
        co_return current.error();
    }
    const auto window = PageWindow::choose(capturableWindows(current.value()), ports_.pageInput->pointer());
    if (!window)
        co_return CaptureError::failed(tr("Click the page you want, then try Full page again."));
    const auto display = DisplayGeometry::containing(current.value().displays, window->frame);
    if (!display)
        co_return CaptureError::of(CaptureError::Kind::NoDisplay);
    QCoro::Task<CaptureResult<QImage>> stitching = stitchPage(*window, *display);
    const CaptureResult<QImage> page = co_await stitching;
    if (page.ok())
        model_.setToast(std::nullopt);
    co_return page;
}

QCoro::Task<CaptureResult<QImage>> CaptureService::stitchPage(CaptureWindow window, CaptureDisplay display)
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

    // The window is in front now: read off the screen, which costs its
    // program no repaint, so the run can look as often as it needs.
    const QRect shotArea = window.frame & display.geometry;
    ScreenCapture& screen = *ports_.screen;
    PageScroller scroller([&screen, display, shotArea] { return screen.grabDisplay(display, shotArea, false); },
        input, centre, shotArea.topLeft(), timing_.pageScroll);
    const auto failed = [](const StatusOr<QImage>& shot) { return CaptureError::failed(shot.status().message()); };

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

    // One click shows what scrolls, and how far a click goes on this page.
    QCoro::Task<StatusOr<QImage>> learning = scroller.turn(-1, top);
    const StatusOr<QImage> once = co_await learning;
    if (!once.ok())
        co_return failed(once);
    const std::optional<PageStitch::Motion> motion =
        once.value().isNull() ? std::nullopt : PageStitch::motion(top, once.value());
    if (!motion || motion->rows <= 0)
        co_return windowAsItIs(top, webArea);

    const QRect scrolling = motion->scrolling;
    PageShots shots(top, PageStitch::pageArea(scrolling, webArea, top, once.value()), scrolling);
    bool more = shots.add(once.value(), motion->rows);
    // The last shot on the page, and what the window shows now.
    QImage last = once.value();
    QImage onScreen = last;
    double rowsPerClick = motion->rows;
    int mostClicks = scrolling.height();
    // A busy program may answer the wheel late: the end is where the page
    // did not move for two turns in a row.
    bool stoodStill = false;
    while (more) {
        const int clicks = clicksFor(rowsPerClick, scrolling.height(), mostClicks);
        QCoro::Task<StatusOr<QImage>> stepping = scroller.turn(-clicks, onScreen, scrolling);
        const StatusOr<QImage> next = co_await stepping;
        if (!next.ok())
            co_return failed(next);
        if (next.value().isNull()) {
            if (stoodStill)
                break; // the end of the page
            stoodStill = true;
            continue;
        }
        stoodStill = false;
        onScreen = next.value();
        const std::optional<int> rows =
            PageStitch::shift(last, next.value(), scrolling, int(std::lround(clicks * rowsPerClick)));
        if (rows && *rows > 0) {
            more = shots.add(next.value(), *rows);
            last = next.value();
            rowsPerClick = double(*rows) / clicks;
            continue;
        }
        if (clicks == 1) {
            qWarning("One wheel click moves this page too far to stitch it: the page ends here");
            break;
        }
        // No overlap to prove where this shot goes: back, and a smaller step.
        QCoro::Task<StatusOr<QImage>> returning = scroller.turn(clicks, next.value(), scrolling);
        const StatusOr<QImage> back = co_await returning;
        if (!back.ok())
            co_return failed(back);
        if (!back.value().isNull())
            onScreen = back.value();
        const QImage now = onScreen;
        const std::optional<int> behind = PageStitch::shift(last, now, scrolling, 0);
        if (!behind) {
            qWarning("The page did not come back to where it was: the page ends here");
            break;
        }
        if (*behind > 0) {
            more = shots.add(now, *behind);
            last = now;
        }
        mostClicks = clicks / 2;
    }
    QImage stitched = shots.result(last);
    if (stitched.isNull())
        co_return CaptureError::failed(tr("Couldn't stitch that page."));
    co_return stitched;
}

CaptureResult<QImage> CaptureService::windowAsItIs(const QImage& shot, const std::optional<QRect>& webArea)
{
    // A window that does not scroll is saved as it shows, the page alone
    // where the tree says where it is, but never as a blank picture.
    for (const QImage& picture : {webArea ? shot.copy(*webArea) : shot, shot}) {
        if (!PageStitch::isOneColour(picture))
            return picture;
    }
    return CaptureError::failed(tr("Couldn't read that page."));
}
