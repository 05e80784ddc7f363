#include "TonePlayer.h"

#include "platform/MonotonicClock.h"

#include <pulse/simple.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

constexpr int sampleRate = 48000;
constexpr int chunkFrames = sampleRate / 100;

struct SimpleFree {
    void operator()(pa_simple* simple) const { pa_simple_free(simple); }
};

} // namespace

TonePlayer::TonePlayer(Sound sound) : thread_([this, sound] { play(sound); })
{
    while (!playing_ && !quit_)
        std::this_thread::yield();
}

TonePlayer::~TonePlayer()
{
    quit_ = true;
    thread_.join();
}

void TonePlayer::play(Sound sound)
{
    const pa_sample_spec spec {PA_SAMPLE_FLOAT32NE, sampleRate, 1};
    // A tenth of a second ahead: time enough to show a flash when the click
    // it goes with is heard.
    pa_buffer_attr buffering {uint32_t(-1), uint32_t(sampleRate / 10 * sizeof(float)), uint32_t(-1), uint32_t(-1), uint32_t(-1)};
    int error = 0;
    const std::unique_ptr<pa_simple, SimpleFree> stream(
        pa_simple_new(nullptr, "Dropwell test", PA_STREAM_PLAYBACK, nullptr, "test sound", &spec, nullptr, &buffering, &error));
    if (!stream) {
        quit_ = true;
        return;
    }
    playing_ = true;
    std::vector<float> chunk(chunkFrames);
    for (qint64 written = 0; !quit_; written += chunkFrames) {
        const bool clicking = clickWanted_.exchange(false);
        for (int i = 0; i < chunkFrames; ++i) {
            const double phase = 2 * std::numbers::pi * 440 * double(written + i) / sampleRate;
            chunk[size_t(i)] = sound == Sound::Tone ? float(0.5 * std::sin(phase)) : 0.0f;
        }
        if (clicking)
            chunk.assign(chunkFrames, 0.9f);
        if (pa_simple_write(stream.get(), chunk.data(), chunk.size() * sizeof(float), &error) < 0)
            return;
        if (clicking) {
            // The latency is that of the chunk's end; the click is its start.
            const qint64 latency = qint64(pa_simple_get_latency(stream.get(), &error));
            clickHeardAtUs_ = MonotonicClock::nowMicroseconds() + latency - qint64(chunkFrames) * 1000000 / sampleRate;
        }
    }
}
