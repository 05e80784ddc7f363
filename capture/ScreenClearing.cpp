#include "capture/ScreenClearing.h"

#include "capture/OwnWindowsAway.h"
#include "capture/Pause.h"

ScreenClearing::ScreenClearing() = default;

ScreenClearing::~ScreenClearing() = default;

bool ScreenClearing::clear()
{
    const bool anyShown = OwnWindowsAway::anyShown();
    Q_EMIT clearing();
    away_ = std::make_unique<OwnWindowsAway>();
    return anyShown;
}

QCoro::Task<> ScreenClearing::clearAndSettle(std::chrono::milliseconds settle)
{
    if (!clear())
        co_return;
    QCoro::Task<> settling = pause(settle);
    co_await settling;
}

void ScreenClearing::restore() { away_.reset(); }

void ScreenClearing::forget(const QWidget* window)
{
    if (away_)
        away_->forget(window);
}
