#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/RecordingSpan.h"
#include "platform/FrameSource.h"

#include <atomic>
#include <stop_token>

// A picture on its way to the encoder, in the source's buffer `buffer`.
struct GrabbedFrame {
    int buffer = 0;
    FramePixels pixels;
    qint64 takenAtUs = 0;
};

// Takes a picture 30 times a second, on the recording's grabbing thread.
//
// Drop policy: a picture needs a free buffer, and the source has only a few;
// when the encoder still holds all of them it has fallen behind, and this
// tick's picture is skipped rather than queued. A tick missed because a grab
// ran late is skipped too. Both count as dropped frames.
class FrameGrabber {
public:
    static constexpr int framesPerSecond = 30;
    static constexpr qint64 frameIntervalUs = 1000000 / framesPerSecond;

    FrameGrabber(FrameSource& source, BoundedQueue<int>& freeBuffers, BoundedQueue<GrabbedFrame>& frames, RecordingSpan& span);

    // Until `stop` is asked for or the source ends (a closed window); then
    // the encoder is told that no picture follows.
    void run(std::stop_token stop);

    qint64 grabbed() const { return grabbed_; }
    // Ticks without a picture: no buffer was free (the encoder behind), or
    // the grab before ran late (the X server busy).
    qint64 droppedBehind() const { return droppedBehind_; }
    qint64 droppedLate() const { return droppedLate_; }
    // Why the source ended the recording, success when it did not.
    const Status& ending() const { return ending_; }

private:
    FrameSource& source_;
    BoundedQueue<int>& freeBuffers_;
    BoundedQueue<GrabbedFrame>& frames_;
    RecordingSpan& span_;
    std::atomic<qint64> grabbed_ = 0;
    std::atomic<qint64> droppedBehind_ = 0;
    std::atomic<qint64> droppedLate_ = 0;
    Status ending_ = Status::success();
};
