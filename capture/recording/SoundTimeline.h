#pragma once

#include "capture/recording/FfmpegHandles.h"

#include <vector>

// The synchroniser: lays a sound device's fragments end to end on the
// recording's clock, as one unbroken run of planar samples from the first
// picture on.
//
// Each fragment comes stamped with when it was heard, on the clock of the
// pictures. Where the device's own clock runs a little fast or slow, the
// samples drift away from those stamps (some 60 ms in ten minutes for a
// common sound card); the difference, smoothed over the stamps' jitter,
// steers libswresample to stretch or squeeze the sound by up to 0.5 %, which
// no one hears, until it is gone. A gap or a jump too large for that (the
// device stalled, fragments were dropped) is filled with silence or cut.
class SoundTimeline {
public:
    static Status open(int channels, int sampleRate, std::unique_ptr<SoundTimeline>& timeline);

    // `frames` interleaved samples whose first one belongs `atUs` after the
    // recording's start; whatever lies before the start is left out.
    Status add(const float* samples, int frames, qint64 atUs);
    // Silence up to `atUs`, where the device has given nothing.
    Status fillSilenceUntil(qint64 atUs);

    // Samples laid out from the start, the resampler's few included.
    qint64 position() const;
    qint64 samplesAt(qint64 us) const;
    // What is ready to encode, planar.
    AVAudioFifo* output() const { return output_.get(); }

private:
    SoundTimeline(int channels, int sampleRate, Resampler resampler, AudioFifo output);
    Status convert(const float* samples, int frames);
    Status appendSilence(qint64 frames);
    void steer(qint64 error);

    const int channels_;
    const int sampleRate_;
    Resampler resampler_;
    AudioFifo output_;
    bool started_ = false;
    qint64 laidOut_ = 0;
    double smoothedError_ = 0;
    std::vector<std::vector<float>> planes_;
};
