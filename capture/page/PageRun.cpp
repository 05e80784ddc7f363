#include "capture/page/PageRun.h"

#include "capture/page/PageScroller.h"
#include "capture/page/PageShots.h"
#include "capture/page/PageStitch.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Each step brings in this share of the scrolling part as new rows, so the
// rest overlaps the last shot and the overlap can be proven.
constexpr double newShareOfStep = 0.6;

QString tr(const char* text) { return QCoreApplication::translate("PageCapture", text); }

// Wheel clicks for one step, from what a click has moved this page so far.
int clicksFor(double rowsPerClick, int scrollingRows, int mostClicks)
{
    const int clicks = int(std::floor(scrollingRows * newShareOfStep / std::max(rowsPerClick, 1.0)));
    return std::clamp(clicks, 1, mostClicks);
}

CaptureResult<QImage> windowAsItIs(const QImage& shot, const std::optional<QRect>& webArea)
{
    // A window that does not scroll is saved as it shows, the page alone
    // where the tree says where it is, but never as a blank picture.
    for (const QImage& picture : {webArea ? shot.copy(*webArea) : shot, shot}) {
        if (!PageStitch::isOneColour(picture))
            return picture;
    }
    return CaptureError::failed(tr("Couldn't read that page."));
}

} // namespace

QCoro::Task<CaptureResult<QImage>> PageRun::stitchDown(PageScroller& scroller, QImage top, std::optional<QRect> webArea)
{
    // One click shows what scrolls, and how far a click goes on this page.
    // Two clicks taken for one, where the first was answered late, make the
    // first step short, and the steps after it learn again.
    QCoro::Task<StatusOr<QImage>> learning = scroller.turnPatiently(-1, top);
    const StatusOr<QImage> moved = co_await learning;
    if (!moved.ok())
        co_return failed(moved);
    const QImage once = moved.value();
    const std::optional<PageStitch::Motion> motion = once.isNull() ? std::nullopt : PageStitch::motion(top, once);
    if (!motion || motion->rows <= 0)
        co_return windowAsItIs(top, webArea);

    const QRect scrolling = motion->scrolling;
    PageShots shots(top, PageStitch::pageArea(scrolling, webArea, top, once), scrolling);
    bool more = shots.add(once, motion->rows);
    // The last shot on the page, and what the window shows now.
    QImage last = once;
    QImage onScreen = last;
    double rowsPerClick = motion->rows;
    // A step too far makes the next ones smaller, and each step that
    // overlaps lets them grow a click again: what defeated one step may be
    // the page at one place, and small steps reach the most pictures a run
    // takes long before the end of a long page. A size that failed twice
    // is not tried again, as on a wheel that speeds up with more clicks.
    const int anyClicks = scrolling.height();
    int mostClicks = anyClicks;
    std::map<int, int> failedSteps;
    while (more) {
        const int clicks = clicksFor(rowsPerClick, scrolling.height(), mostClicks);
        const int expected = int(std::lround(clicks * rowsPerClick));
        // Most of the way is all the way: a program that scrolls a little
        // less than the last step promised is not taken for one stopped
        // mid-scroll, and waits no longer.
        const auto wentAllTheWay = [&last, &scrolling, expected](const QImage& shot) {
            const std::optional<int> rows = PageStitch::shift(last, shot, scrolling, expected);
            return rows && *rows * 10 >= expected * 9;
        };
        QCoro::Task<StatusOr<QImage>> stepping = scroller.turnPatiently(-clicks, onScreen, scrolling, wentAllTheWay);
        const StatusOr<QImage> next = co_await stepping;
        if (!next.ok())
            co_return failed(next);
        if (next.value().isNull())
            break; // the end of the page
        onScreen = next.value();
        const std::optional<int> rows =
            PageStitch::shift(last, next.value(), scrolling, int(std::lround(clicks * rowsPerClick)));
        if (rows && *rows > 0) {
            more = shots.add(next.value(), *rows);
            last = next.value();
            rowsPerClick = double(*rows) / clicks;
            if (clicks == mostClicks && mostClicks < anyClicks && failedSteps[clicks + 1] < 2)
                ++mostClicks;
            continue;
        }
        if (clicks == 1) {
            qWarning("One wheel click moves this page too far to stitch it: the page ends here");
            break;
        }
        // No overlap to prove where this shot goes: back, and a smaller step.
        // Only the last shot itself shows the page all the way back; one that
        // overlaps it may be a busy program still on its way there.
        const auto cameBack = [&last, &scrolling](const QImage& shot) {
            return PageStitch::shift(last, shot, scrolling, 0) == 0;
        };
        QCoro::Task<StatusOr<QImage>> returning = scroller.turn(clicks, next.value(), scrolling, cameBack);
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
        ++failedSteps[clicks];
        mostClicks = clicks / 2;
    }
    QImage stitched = shots.result(last);
    if (stitched.isNull())
        co_return CaptureError::failed(tr("Couldn't stitch that page."));
    co_return stitched;
}
