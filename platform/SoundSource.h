#pragma once

#include "platform/Status.h"

#include <functional>
#include <memory>
#include <vector>

enum class SoundDevice {
    OutputMonitor, // what the default output plays
    Input, // the default input (a microphone), never a monitor of an output
};

struct SoundFormat {
    int sampleRate = 48000;
    int channels = 2;
};

// Samples as they came from the device, interleaved 32-bit floats.
struct SoundChunk {
    std::vector<float> samples;
    // When the first sample was heard (for an output's monitor) or picked up
    // (for a microphone), on MonotonicClock.
    qint64 capturedAtUs = 0;
};

// A running sound device; it delivers on a thread of its own.
class SoundSource {
public:
    virtual ~SoundSource() = default;

    virtual SoundFormat format() const = 0;
    // Starts delivering; `deliver` runs on the source's thread until the
    // source is destroyed, and must not block.
    virtual void start(std::function<void(SoundChunk&&)> deliver) = 0;
};

class SoundSources {
public:
    virtual ~SoundSources() = default;

    // Opens `device` in `format`, converted by the sound server where the
    // device differs. Fails with ENODEV when there is no such device (no
    // output, or no input that is not a monitor), ECONNREFUSED when there is
    // no sound server, and EIO otherwise; the message says why.
    virtual Status open(SoundDevice device, SoundFormat format, std::unique_ptr<SoundSource>& source) = 0;
    // Whether `device` is there now, without opening it; fails as open() does.
    virtual Status find(SoundDevice device) = 0;
};
