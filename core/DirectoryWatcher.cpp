#include "core/DirectoryWatcher.h"

DirectoryWatcher::DirectoryWatcher(
    QString folder, std::chrono::milliseconds quietPeriod, Timers& timers, QObject* parent)
    : QObject(parent)
    , folder_(std::move(folder))
    , quietPeriod_(quietPeriod)
    , quiet_(timers.make())
{
    connect(quiet_.get(), &OneShotTimer::timeout, this, &DirectoryWatcher::changed);
    // Every event pushes the signal back to a quiet period after it. Each
    // push comes within a quiet period of the last, so a limit on their
    // number is a limit on the delay.
    connect(&events_, &DirectoryEvents::changed, this, [this] {
        if (!quiet_->isRunning())
            pushedBack_ = 0;
        else if (pushedBack_ + 1 >= longestDelay)
            return;
        else
            ++pushedBack_;
        quiet_->start(quietPeriod_);
    });
}

void DirectoryWatcher::start()
{
    stop();
    events_.start(folder_);
}

void DirectoryWatcher::stop()
{
    quiet_->cancel();
    events_.stop();
}
