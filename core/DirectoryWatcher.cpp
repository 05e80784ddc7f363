#include "core/DirectoryWatcher.h"

DirectoryWatcher::DirectoryWatcher(
    QString folder, std::chrono::milliseconds quietPeriod, Timers& timers, QObject* parent)
    : QObject(parent)
    , folder_(std::move(folder))
    , quietPeriod_(quietPeriod)
    , quiet_(timers.make())
{
    connect(quiet_.get(), &OneShotTimer::timeout, this, &DirectoryWatcher::changed);
    // Every event pushes the signal back to a quiet period after it.
    connect(&events_, &DirectoryEvents::changed, this, [this] { quiet_->start(quietPeriod_); });
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
