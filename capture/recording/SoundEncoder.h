#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/FfmpegHandles.h"
#include "capture/recording/RecordingSpan.h"
#include "capture/recording/SoundTimeline.h"
#include "platform/SoundSource.h"

#include <deque>
#include <stop_token>

// The sound's own thread: takes the device's fragments, lays them on the
// recording's clock (SoundTimeline) and encodes AAC at 128 kbit/s.
//
// The fragments' queue holds two seconds; should this thread fall that far
// behind, the oldest fragment is dropped and the timeline fills its place
// with silence. The sound ends exactly where the pictures end.
class SoundEncoder {
public:
    static constexpr qint64 queuedSoundUs = 2000000;

    static Status open(SoundFormat format, std::unique_ptr<SoundEncoder>& encoder);

    const AVCodecContext& context() const { return *codec_; }

    Status run(BoundedQueue<SoundChunk>& chunks, const RecordingSpan& span, BoundedQueue<EncodedPacket>& packets,
        std::stop_source stopRecording);

private:
    SoundEncoder(SoundFormat format, CodecContext codec, std::unique_ptr<SoundTimeline> timeline);
    Status lay(SoundChunk chunk, qint64 startUs);
    // Whole frames up to sample `limit`.
    Status encodeUpTo(qint64 limit, BoundedQueue<EncodedPacket>& packets);
    Status encodeFrame(int samples, BoundedQueue<EncodedPacket>& packets);
    Status send(const AVFrame* frame, BoundedQueue<EncodedPacket>& packets);
    Status finish(qint64 endSamples, BoundedQueue<EncodedPacket>& packets);

    const SoundFormat format_;
    CodecContext codec_;
    std::unique_ptr<SoundTimeline> timeline_;
    std::deque<SoundChunk> early_; // fragments that came before the first picture
    qint64 encoded_ = 0;
};
