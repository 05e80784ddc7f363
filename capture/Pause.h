#pragma once

#include <qcoro/qcorotask.h>

#include <chrono>

// Waits without blocking the event loop: the steps of a capture flow that
// give the screen time to change.
QCoro::Task<> pause(std::chrono::milliseconds duration);
