#include "core/DirectoryWatcher.h"

DirectoryWatcher::DirectoryWatcher(QString folder, std::chrono::milliseconds quietPeriod, QObject* parent)
    : QObject(parent)
    , folder_(std::move(folder))
{
    quiet_.setSingleShot(true);
    quiet_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    quiet_.setInterval(quietPeriod);
    connect(&quiet_, &QTimer::timeout, this, &DirectoryWatcher::changed);
    // Every event pushes the signal back to a quiet period after it.
    connect(&events_, &DirectoryEvents::changed, &quiet_, qOverload<>(&QTimer::start));
}

void DirectoryWatcher::start()
{
    stop();
    events_.start(folder_);
}

void DirectoryWatcher::stop()
{
    quiet_.stop();
    events_.stop();
}
