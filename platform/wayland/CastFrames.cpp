#include "platform/wayland/CastFrames.h"

#include <QCoreApplication>

#include <cerrno>

CastFrames::CastFrames(int buffers, std::function<void()> changed)
    : held_(std::size_t(std::max(buffers, 1))), changed_(std::move(changed))
{
}

std::shared_ptr<CastFrame> CastFrames::spare()
{
    const std::lock_guard lock(mutex_);
    // Held only here: neither the newest nor in a consumer's buffer. Every
    // other owner takes and drops its share under the lock.
    for (const std::shared_ptr<CastFrame>& frame : frames_) {
        if (frame.use_count() == 1)
            return frame;
    }
    frames_.push_back(std::make_shared<CastFrame>());
    return frames_.back();
}

void CastFrames::publish(std::shared_ptr<CastFrame> frame)
{
    {
        const std::lock_guard lock(mutex_);
        newest_ = std::move(frame);
        ++pictureCount_;
    }
    published_.notify_all();
    changed_();
}

void CastFrames::end(Status why)
{
    {
        const std::lock_guard lock(mutex_);
        if (ended_)
            return;
        ended_ = std::move(why);
    }
    published_.notify_all();
    changed_();
}

uint64_t CastFrames::pictureCount() const
{
    const std::lock_guard lock(mutex_);
    return pictureCount_;
}

Status CastFrames::noPictureWithin(std::chrono::milliseconds wait)
{
    return Status::failure(ETIMEDOUT,
        QCoreApplication::translate("CastFrames", "The screen cast sent no picture within %1 seconds.").arg(double(wait.count()) / 1000.0));
}

Status CastFrames::waitForFirst(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds wait) const
{
    published_.wait_for(lock, wait, [this] { return newest_ || ended_; });
    if (ended_)
        return *ended_;
    return newest_ ? Status::success() : noPictureWithin(wait);
}

StatusOr<FramePixels> CastFrames::hold(int buffer, std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    if (Status waited = waitForFirst(lock, wait); !waited.ok())
        return waited;
    std::shared_ptr<const CastFrame>& held = held_.at(std::size_t(buffer));
    held = newest_;
    return FramePixels {held->pixels.data(), held->bytesPerLine, held->size};
}

StatusOr<QImage> CastFrames::newestImage(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    if (Status waited = waitForFirst(lock, wait); !waited.ok())
        return waited;
    QImage image(newest_->size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(newest_->pixels.data() + std::size_t(y) * std::size_t(newest_->bytesPerLine));
        auto* to = reinterpret_cast<uint32_t*>(image.scanLine(y));
        // The fourth byte of a cast's pixel means nothing; RGB32 wants it opaque.
        for (int x = 0; x < image.width(); ++x)
            to[x] = from[x] | 0xff000000u;
    }
    return image;
}

std::optional<QSize> CastFrames::newestSize() const
{
    std::lock_guard lock(mutex_);
    return newest_ ? std::optional(newest_->size) : std::nullopt;
}

Status CastFrames::firstPicture() const
{
    std::unique_lock lock(mutex_);
    return waitForFirst(lock, std::chrono::milliseconds(0));
}
