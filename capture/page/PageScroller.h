#pragma once

#include "platform/Status.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>

class PageInput;

// Turns the wheel over a window and waits, by looking, until its picture
// has settled: programs take their own time to scroll, some animate it. A
// picture that shows all the turn was to bring counts as settled once two
// grabs in a row are the same; any other only once it has stayed the same
// for a while, since a busy program can stop mid-scroll between two grabs.
class PageScroller {
public:
    struct Timing {
        // A window that has not begun to move this long after the wheel
        // turned is where it stops: the end of its page.
        std::chrono::milliseconds movesWithin;
        // A picture still changing after this is taken as it is.
        std::chrono::milliseconds settlesWithin;
        std::chrono::milliseconds grabEvery;
        // How long a picture that may be mid-scroll must stay the same.
        std::chrono::milliseconds stillFor;
    };
    static constexpr Timing defaultTiming {std::chrono::milliseconds(2000), std::chrono::milliseconds(3000),
        std::chrono::milliseconds(40), std::chrono::milliseconds(300)};

    // `shoot` grabs the window; the wheel turns at `over`, and the pointer
    // then waits at `parked`, off the page, so no hover effect follows it.
    using Shoot = std::function<QCoro::Task<StatusOr<QImage>>()>;
    // Whether a picture shows all that a turn was to bring.
    using Reached = std::function<bool(const QImage&)>;
    PageScroller(Shoot shoot, PageInput& input, QPoint over, QPoint parked,
        Timing timing = defaultTiming);

    // The window's picture once it has settled.
    QCoro::Task<StatusOr<QImage>> settled();
    // Turns the wheel `clicks` clicks (negative: down the page) and returns
    // the settled picture once `watched` (all of it where empty) differs
    // from `before`; a null picture when nothing moved. Without `reached`,
    // no picture is known to show the whole turn.
    QCoro::Task<StatusOr<QImage>> turn(int clicks, QImage before, QRect watched = {}, Reached reached = {});
    // The same, but a page that did not move may belong to a busy program
    // that answers late: the wheel turns once more, and only when that turn
    // brought nothing either is the picture null, the page at its end.
    QCoro::Task<StatusOr<QImage>> turnPatiently(int clicks, QImage before, QRect watched = {}, Reached reached = {});
    // Turns the wheel towards the top until the page no longer moves;
    // returns the settled picture there.
    QCoro::Task<StatusOr<QImage>> toTop(QImage now);

private:
    QCoro::Task<StatusOr<QImage>> settledFrom(QImage latest, Reached reached);

    Shoot shoot_;
    PageInput& input_;
    QPoint over_;
    QPoint parked_;
    Timing timing_;
};
