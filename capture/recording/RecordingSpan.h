#pragma once

#include <QtGlobal>

#include <mutex>
#include <optional>

// Where a recording begins and ends on MonotonicClock: it begins with its
// first picture, and its sound is laid out from there; it ends when its last
// picture has been shown for one frame's time, where the sound ends too.
class RecordingSpan {
public:
    struct Marks {
        std::optional<qint64> startUs;
        bool ended = false;
        std::optional<qint64> endUs; // none when it ended without a picture
    };

    void markStart(qint64 us)
    {
        std::lock_guard lock(mutex_);
        if (!marks_.startUs)
            marks_.startUs = us;
    }
    void markEnd(std::optional<qint64> us)
    {
        std::lock_guard lock(mutex_);
        marks_.ended = true;
        marks_.endUs = us;
    }
    Marks marks() const
    {
        std::lock_guard lock(mutex_);
        return marks_;
    }

private:
    mutable std::mutex mutex_;
    Marks marks_;
};
