#pragma once

#include <QtGlobal>

#include <chrono>

// The one clock every picture and every sound of a recording is stamped
// with, so that they can be laid side by side: it never jumps with the wall
// clock, and counts in microseconds.
namespace MonotonicClock {

inline qint64 nowMicroseconds()
{
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(sinceBoot).count();
}

} // namespace MonotonicClock
