#include "capture/page/PageScroller.h"

#include "capture/Pause.h"
#include "capture/page/PageStitch.h"
#include "platform/PageInput.h"

#include <QElapsedTimer>

#include <optional>

namespace {

// Clicks turned towards the top at a time, and how many turns at most: far
// beyond the longest page that is stitched.
constexpr int clicksTowardsTop = 25;
constexpr int maxTurnsToTop = 60;

bool differs(const QImage& a, const QImage& b, const QRect& watched)
{
    return watched.isEmpty() ? a != b : !PageStitch::sameIn(a, b, watched);
}

} // namespace

PageScroller::PageScroller(Shoot shoot, PageInput& input, QPoint over, QPoint parked, Timing timing)
    : shoot_(std::move(shoot)), input_(input), over_(over), parked_(parked), timing_(timing)
{
}

QCoro::Task<StatusOr<QImage>> PageScroller::settled()
{
    QCoro::Task<StatusOr<QImage>> shooting = shoot_();
    const StatusOr<QImage> now = co_await shooting;
    if (!now.ok())
        co_return now;
    QCoro::Task<StatusOr<QImage>> settling = settledFrom(now.value(), {});
    co_return co_await settling;
}

QCoro::Task<StatusOr<QImage>> PageScroller::settledFrom(QImage latest, Reached reached)
{
    QElapsedTimer waited;
    waited.start();
    QElapsedTimer still;
    still.start();
    // Asked once a picture: finding out may compare much of it.
    std::optional<bool> whole;
    while (waited.elapsed() < timing_.settlesWithin.count()) {
        QCoro::Task<> pausing = pause(timing_.grabEvery);
        co_await pausing;
        QCoro::Task<StatusOr<QImage>> shooting = shoot_();
        const StatusOr<QImage> next = co_await shooting;
        if (!next.ok())
            co_return next;
        if (next.value() != latest) {
            latest = next.value();
            still.restart();
            whole.reset();
            continue;
        }
        if (!whole)
            whole = reached && reached(latest);
        if (*whole || still.elapsed() >= timing_.stillFor.count())
            co_return latest;
    }
    qWarning("The page is still changing: taking it as it is");
    co_return latest;
}

QCoro::Task<StatusOr<QImage>> PageScroller::turn(int clicks, QImage before, QRect watched, Reached reached)
{
    input_.wheel(over_, clicks);
    input_.warpPointer(parked_);
    QElapsedTimer waited;
    waited.start();
    do {
        QCoro::Task<> pausing = pause(timing_.grabEvery);
        co_await pausing;
        QCoro::Task<StatusOr<QImage>> shooting = shoot_();
        const StatusOr<QImage> now = co_await shooting;
        if (!now.ok())
            co_return now;
        if (now.value().size() == before.size() && differs(now.value(), before, watched)) {
            QCoro::Task<StatusOr<QImage>> settling = settledFrom(now.value(), reached);
            const StatusOr<QImage> settled = co_await settling;
            // The picture can change while the page stays: the desktop
            // draws its pointer on the way to where it waits, a hover
            // effect fades. The page may still move after that.
            if (!settled.ok() || differs(settled.value(), before, watched))
                co_return settled;
        }
    } while (waited.elapsed() < timing_.movesWithin.count());
    co_return QImage();
}

QCoro::Task<StatusOr<QImage>> PageScroller::turnPatiently(int clicks, QImage before, QRect watched, Reached reached)
{
    QCoro::Task<StatusOr<QImage>> turning = turn(clicks, before, watched, reached);
    const StatusOr<QImage> moved = co_await turning;
    if (!moved.ok() || !moved.value().isNull())
        co_return moved;
    QCoro::Task<StatusOr<QImage>> again = turn(clicks, before, watched, reached);
    co_return co_await again;
}

QCoro::Task<StatusOr<QImage>> PageScroller::toTop(QImage now)
{
    for (int turns = 0; turns < maxTurnsToTop; ++turns) {
        QCoro::Task<StatusOr<QImage>> turning = turnPatiently(clicksTowardsTop, now);
        const StatusOr<QImage> moved = co_await turning;
        if (!moved.ok() || moved.value().isNull())
            co_return moved.ok() ? StatusOr<QImage>(now) : moved;
        now = moved.value();
    }
    co_return now;
}
