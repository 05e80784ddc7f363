#pragma once

#include "platform/FrameSource.h"
#include "platform/Status.h"

#include <QImage>
#include <QSize>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// One picture as the cast delivered it, blue first in memory.
struct CastFrame {
    std::vector<uint8_t> pixels;
    int bytesPerLine = 0;
    QSize size;
};

// The newest picture of a cast, filled on PipeWire's thread and handed out
// on others without copying: a picture stays alive while a buffer of the
// consumer holds it, and the producer fills only pictures nobody holds.
class CastFrames {
public:
    // `changed` runs on the producer's thread after each picture and at the end.
    CastFrames(int buffers, std::function<void()> changed);

    // Producer: a picture nobody holds, to fill and publish.
    std::shared_ptr<CastFrame> spare();
    void publish(std::shared_ptr<CastFrame> frame);
    // Producer: no picture comes any more; consumers get `why`.
    void end(Status why);

    // Makes `buffer` hold the newest picture, waiting up to `wait` for the first.
    StatusOr<FramePixels> hold(int buffer, std::chrono::milliseconds wait);
    // A copy of the newest picture, waiting up to `wait` for the first.
    StatusOr<QImage> newestImage(std::chrono::milliseconds wait);
    // The newest picture's size, if one came.
    std::optional<QSize> newestSize() const;
    // Whether a picture came, else why none will come or none came yet.
    Status firstPicture() const;
    // How many pictures came so far.
    uint64_t pictureCount() const;

    static Status noPictureWithin(std::chrono::milliseconds wait);

private:
    Status waitForFirst(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds wait) const;

    mutable std::mutex mutex_;
    mutable std::condition_variable published_;
    std::vector<std::shared_ptr<CastFrame>> frames_;
    std::shared_ptr<CastFrame> newest_;
    uint64_t pictureCount_ = 0;
    std::vector<std::shared_ptr<const CastFrame>> held_;
    std::optional<Status> ended_;
    std::function<void()> changed_;
};
