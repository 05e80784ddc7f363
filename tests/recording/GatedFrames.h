#pragma once

#include "platform/FrameSource.h"

#include <atomic>
#include <bit>
#include <vector>

// A grey screen whose pictures come only once the test opens the gate, so a
// recording can be stopped before its first picture for certain.
class GatedFrameSources final : public FrameSources {
public:
    void open()
    {
        gate_ = true;
        gate_.notify_all();
    }
    // Pictures handed to the recorder so far, and into how many buffers.
    int grabbed() const { return grabbed_; }
    int buffersUsed() const { return std::popcount(buffersUsed_.load()); }

    QCoro::Task<OpenedFrames> openDisplay(CaptureDisplay, int buffers) override { co_return frames(buffers); }
    QCoro::Task<OpenedFrames> openWindow(CaptureWindow, int buffers) override { co_return frames(buffers); }

private:
    std::unique_ptr<FrameSource> frames(int buffers) { return std::make_unique<Frames>(gate_, grabbed_, buffersUsed_, buffers); }

    class Frames final : public FrameSource {
    public:
        Frames(std::atomic<bool>& gate, std::atomic<int>& grabbed, std::atomic<unsigned>& buffersUsed, int buffers)
            : gate_(gate), grabbed_(grabbed), buffersUsed_(buffersUsed), buffers_(buffers), grey_(size_t(side * side), 0xff808080u)
        {
        }
        QSize frameSize() const override { return {side, side}; }
        int bufferCount() const override { return buffers_; }
        StatusOr<FramePixels> grab(int buffer) override
        {
            gate_.wait(false);
            ++grabbed_;
            buffersUsed_ |= 1u << buffer;
            return FramePixels {reinterpret_cast<const uint8_t*>(grey_.data()), side * 4, frameSize()};
        }

    private:
        static constexpr int side = 64;
        std::atomic<bool>& gate_;
        std::atomic<int>& grabbed_;
        std::atomic<unsigned>& buffersUsed_;
        int buffers_;
        std::vector<quint32> grey_;
    };

    std::atomic<bool> gate_ = false;
    std::atomic<int> grabbed_ = 0;
    std::atomic<unsigned> buffersUsed_ = 0;
};
