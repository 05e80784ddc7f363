#include "core/Timers.h"

#include <QTimer>

namespace {

class EventLoopTimer final : public OneShotTimer {
public:
    EventLoopTimer()
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
        connect(&timer_, &QTimer::timeout, this, &OneShotTimer::timeout);
    }
    void start(std::chrono::milliseconds delay) override { timer_.start(delay); }
    void cancel() override { timer_.stop(); }
    bool isRunning() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

std::unique_ptr<OneShotTimer> SystemTimers::make() { return std::make_unique<EventLoopTimer>(); }

