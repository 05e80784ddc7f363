#include "capture/recording/SoundTimeline.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace {

// Beyond 100 ms the sound is not drifting but broken off: fill or cut at once.
constexpr qint64 jumpLimitUs = 100000;
// Stamps jitter by a few milliseconds from fragment to fragment; the drift
// shows only in their average, taken over some 50 fragments (a second).
constexpr double smoothing = 0.02;
// The largest change of speed, as a fraction: 0.5 % is below what an ear
// notices in pitch, and catches up 5 ms every second.
constexpr double maximumSpeedChange = 0.005;
constexpr int silenceBlock = 4096;

} // namespace

SoundTimeline::SoundTimeline(int channels, int sampleRate, Resampler resampler, AudioFifo output)
    : channels_(channels), sampleRate_(sampleRate), resampler_(std::move(resampler)), output_(std::move(output)),
      planes_(size_t(channels))
{
}

Status SoundTimeline::open(int channels, int sampleRate, std::unique_ptr<SoundTimeline>& timeline)
{
    AVChannelLayout layout;
    av_channel_layout_default(&layout, channels);
    SwrContext* raw = nullptr;
    int result = swr_alloc_set_opts2(
        &raw, &layout, AV_SAMPLE_FMT_FLTP, sampleRate, &layout, AV_SAMPLE_FMT_FLT, sampleRate, 0, nullptr);
    Resampler resampler(raw);
    if (result < 0)
        return ffmpegFailure(result, QStringLiteral("Cannot set up the sound converter"));
    // Resampling from the start, so that steering later never restarts it
    // and loses what it holds.
    av_opt_set_int(resampler.get(), "flags", SWR_FLAG_RESAMPLE, 0);
    if (result = swr_init(resampler.get()); result < 0)
        return ffmpegFailure(result, QStringLiteral("Cannot set up the sound converter"));
    AudioFifo output(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, channels, sampleRate));
    if (!output)
        return Status::failure(ENOMEM, QStringLiteral("No memory for sound"));
    timeline.reset(new SoundTimeline(channels, sampleRate, std::move(resampler), std::move(output)));
    return Status::success();
}

qint64 SoundTimeline::samplesAt(qint64 us) const
{
    return av_rescale(us, sampleRate_, 1000000);
}

qint64 SoundTimeline::position() const
{
    return laidOut_ + swr_get_delay(resampler_.get(), sampleRate_);
}

Status SoundTimeline::add(const float* samples, int frames, qint64 atUs)
{
    qint64 skip = 0;
    const qint64 error = samplesAt(atUs) - position();
    if (!started_ || std::abs(error) > samplesAt(jumpLimitUs)) {
        // The first fragment is placed by its stamp alone, as is one after
        // a break.
        smoothedError_ = 0;
        if (error > 0) {
            if (Status filled = appendSilence(error); !filled.ok())
                return filled;
        } else {
            skip = std::min<qint64>(-error, frames);
        }
    } else {
        steer(error);
    }
    if (skip == frames)
        return Status::success();
    started_ = true;
    return convert(samples + skip * channels_, int(frames - skip));
}

Status SoundTimeline::fillSilenceUntil(qint64 atUs)
{
    const qint64 missing = samplesAt(atUs) - position();
    if (missing <= 0)
        return Status::success();
    started_ = true;
    smoothedError_ = 0;
    return appendSilence(missing);
}

void SoundTimeline::steer(qint64 error)
{
    smoothedError_ += (double(error) - smoothedError_) * smoothing;
    // Catch up the smoothed difference over the next second, no faster than
    // the largest change of speed allows.
    const double limit = maximumSpeedChange * sampleRate_;
    const int delta = int(std::lround(std::clamp(smoothedError_, -limit, limit)));
    swr_set_compensation(resampler_.get(), delta, sampleRate_);
}

Status SoundTimeline::appendSilence(qint64 frames)
{
    const std::vector<float> silence(size_t(silenceBlock) * size_t(channels_), 0.0f);
    for (qint64 left = frames; left > 0; left -= silenceBlock)
        if (Status converted = convert(silence.data(), int(std::min<qint64>(left, silenceBlock))); !converted.ok())
            return converted;
    return Status::success();
}

Status SoundTimeline::convert(const float* samples, int frames)
{
    const int room = swr_get_out_samples(resampler_.get(), frames);
    std::vector<uint8_t*> planes;
    for (std::vector<float>& plane : planes_) {
        plane.resize(size_t(std::max(room, 1)));
        planes.push_back(reinterpret_cast<uint8_t*>(plane.data()));
    }
    const auto* interleaved = reinterpret_cast<const uint8_t*>(samples);
    const int made = swr_convert(resampler_.get(), planes.data(), room, &interleaved, frames);
    if (made < 0)
        return ffmpegFailure(made, QStringLiteral("Cannot convert sound"));
    if (av_audio_fifo_write(output_.get(), reinterpret_cast<void**>(planes.data()), made) < made)
        return Status::failure(ENOMEM, QStringLiteral("No memory for sound"));
    laidOut_ += made;
    return Status::success();
}
