#include "capture/recording/FrameGrabber.h"

#include "platform/MonotonicClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

FrameGrabber::FrameGrabber(
    FrameSource& source, BoundedQueue<int>& freeBuffers, BoundedQueue<GrabbedFrame>& frames, RecordingSpan& span)
    : source_(source), freeBuffers_(freeBuffers), frames_(frames), span_(span)
{
}

void FrameGrabber::run(std::stop_token stop)
{
    using Clock = std::chrono::steady_clock;
    const std::chrono::microseconds interval(frameIntervalUs);
    std::mutex idle;
    std::condition_variable_any wake;
    Clock::time_point due = Clock::now();
    while (!stop.stop_requested()) {
        // The buffer the encoder gave back last, its pages in place: while
        // the encoder keeps up, the spare buffers are never written and take
        // no memory (a recording of 1080p holds six of 8 MB).
        if (const std::optional<int> buffer = freeBuffers_.tryPopNewest(); !buffer) {
            ++droppedBehind_;
        } else {
            const qint64 takenAt = MonotonicClock::nowMicroseconds();
            const StatusOr<FramePixels> pixels = source_.grab(*buffer);
            // A picture taken while the stop was being asked for lies past
            // the recording's end.
            if (!pixels.ok() || stop.stop_requested()) {
                ending_ = pixels.status();
                freeBuffers_.push(*buffer);
                break;
            }
            span_.markStart(takenAt);
            frames_.push({*buffer, pixels.value(), takenAt});
            ++grabbed_;
        }
        due += interval;
        if (const Clock::time_point now = Clock::now(); now > due + interval) {
            const auto missed = (now - due) / interval;
            droppedLate_ += missed;
            due += missed * interval;
        }
        std::unique_lock lock(idle);
        wake.wait_until(lock, stop, due, [] { return false; });
    }
    frames_.producerDone();
}
