#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

// A queue between two threads that never holds more than its capacity. Each
// producer says which way it gives way when the queue is full: it waits (the
// consumer pushes back), or the oldest item is dropped. Producers announce
// when they are done; the consumer then drains what is left and sees the
// end. The consumer can also cancel: producers stop waiting and their items
// are refused from then on.
template <typename T>
class BoundedQueue {
public:
    BoundedQueue(size_t capacity, int producers) : capacity_(capacity), producers_(producers) {}

    // Waits for room; false once the consumer has cancelled.
    bool push(T item)
    {
        std::unique_lock lock(mutex_);
        roomLeft_.wait(lock, [&] { return cancelled_ || items_.size() < capacity_; });
        if (cancelled_)
            return false;
        items_.push_back(std::move(item));
        itemReady_.notify_one();
        return true;
    }

    // Never waits: a full queue drops its oldest item; true when one was dropped.
    bool pushDroppingOldest(T item)
    {
        std::lock_guard lock(mutex_);
        if (cancelled_)
            return false;
        const bool full = items_.size() >= capacity_;
        if (full)
            items_.pop_front();
        items_.push_back(std::move(item));
        itemReady_.notify_one();
        return full;
    }

    // The next item, or none once every producer is done and all was taken,
    // or the queue was cancelled.
    std::optional<T> pop()
    {
        std::unique_lock lock(mutex_);
        itemReady_.wait(lock, [&] { return !items_.empty() || finished(); });
        return take();
    }

    // Like pop(), but gives up after `timeout`.
    std::optional<T> popFor(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        itemReady_.wait_for(lock, timeout, [&] { return !items_.empty() || finished(); });
        return take();
    }

    std::optional<T> tryPop()
    {
        std::lock_guard lock(mutex_);
        return take();
    }

    // The item pushed last, without waiting: for a pool, where the one just
    // given back is still warm.
    std::optional<T> tryPopNewest()
    {
        std::lock_guard lock(mutex_);
        return take(End::Back);
    }

    void producerDone()
    {
        std::lock_guard lock(mutex_);
        --producers_;
        itemReady_.notify_all();
    }

    void cancel()
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        items_.clear();
        roomLeft_.notify_all();
        itemReady_.notify_all();
    }

private:
    bool finished() const { return cancelled_ || producers_ <= 0; }

    enum class End { Front, Back };
    std::optional<T> take(End end = End::Front)
    {
        if (items_.empty())
            return std::nullopt;
        std::optional<T> item(std::move(end == End::Front ? items_.front() : items_.back()));
        if (end == End::Front)
            items_.pop_front();
        else
            items_.pop_back();
        roomLeft_.notify_one();
        return item;
    }

    std::mutex mutex_;
    std::condition_variable itemReady_;
    std::condition_variable roomLeft_;
    std::deque<T> items_;
    const size_t capacity_;
    int producers_;
    bool cancelled_ = false;
};
