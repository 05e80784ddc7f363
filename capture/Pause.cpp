#include "capture/Pause.h"

#include <QTimer>

#include <qcoro/qcorotimer.h>

QCoro::Task<> pause(std::chrono::milliseconds duration)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(duration);
    co_await timer;
}
