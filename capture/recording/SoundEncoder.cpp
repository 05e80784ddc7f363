#include "capture/recording/SoundEncoder.h"

#include "capture/recording/EncoderOutput.h"
#include "platform/MonotonicClock.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <cerrno>
#include <limits>

namespace {

using std::chrono::milliseconds;

constexpr qint64 bitRate = 128000;
// How often the thread looks at the recording's marks when no sound comes.
constexpr milliseconds pollInterval(20);
// A device that has sent nothing for this long is silent (a stalled or
// suspended device); the timeline is kept running with silence behind it.
constexpr qint64 stallUs = 500000;
// How long the end of the sound may still be under way once the pictures
// have ended: the fragments' own delay, with room to spare.
constexpr qint64 tailWaitUs = 500000;
constexpr size_t earlyFragments = 50;

} // namespace

SoundEncoder::SoundEncoder(SoundFormat format, CodecContext codec, std::unique_ptr<SoundTimeline> timeline)
    : format_(format), codec_(std::move(codec)), timeline_(std::move(timeline))
{
}

Status SoundEncoder::open(SoundFormat format, std::unique_ptr<SoundEncoder>& encoder)
{
    const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!aac)
        return Status::failure(ENOSYS, QStringLiteral("This FFmpeg has no AAC encoder"));
    CodecContext codec(avcodec_alloc_context3(aac));
    if (!codec)
        return Status::failure(ENOMEM, QStringLiteral("No memory for the sound encoder"));
    codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec->sample_rate = format.sampleRate;
    av_channel_layout_default(&codec->ch_layout, format.channels);
    codec->bit_rate = bitRate;
    codec->time_base = {1, format.sampleRate};
    codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // The thorough search is for music at low bit rates; at 128 kbit/s the
    // fast one sounds the same for half the work.
    av_opt_set(codec->priv_data, "aac_coder", "fast", 0);
    if (const int opened = avcodec_open2(codec.get(), aac, nullptr); opened < 0)
        return ffmpegFailure(opened, QStringLiteral("Cannot open the AAC encoder"));
    std::unique_ptr<SoundTimeline> timeline;
    if (Status made = SoundTimeline::open(format.channels, format.sampleRate, timeline); !made.ok())
        return made;
    encoder.reset(new SoundEncoder(format, std::move(codec), std::move(timeline)));
    return Status::success();
}

Status SoundEncoder::run(BoundedQueue<SoundChunk>& chunks, const RecordingSpan& span,
    BoundedQueue<EncodedPacket>& packets, std::stop_source stopRecording)
{
    Status status = Status::success();
    std::optional<qint64> endSeenAtUs;
    for (;;) {
        std::optional<SoundChunk> chunk = chunks.popFor(pollInterval);
        const RecordingSpan::Marks marks = span.marks();
        if (marks.ended && !marks.endUs)
            break; // no picture, so no file
        const qint64 now = MonotonicClock::nowMicroseconds();
        if (chunk && !marks.startUs) {
            early_.push_back(std::move(*chunk));
            if (early_.size() > earlyFragments)
                early_.pop_front();
            continue;
        }
        if (!marks.startUs)
            continue;
        for (; status.ok() && !early_.empty(); early_.pop_front())
            status = lay(std::move(early_.front()), *marks.startUs);
        if (chunk && status.ok())
            status = lay(std::move(*chunk), *marks.startUs);
        else if (status.ok())
            status = timeline_->fillSilenceUntil(now - *marks.startUs - stallUs);
        qint64 limit = std::numeric_limits<qint64>::max();
        if (marks.ended) {
            limit = timeline_->samplesAt(*marks.endUs - *marks.startUs);
            endSeenAtUs = endSeenAtUs.value_or(now);
            if (status.ok() && (timeline_->position() >= limit || now - *endSeenAtUs > tailWaitUs)) {
                status = finish(limit, packets);
                break;
            }
        }
        if (status.ok())
            status = encodeUpTo(limit, packets);
        if (!status.ok()) {
            stopRecording.request_stop();
            break;
        }
    }
    packets.producerDone();
    return status;
}

Status SoundEncoder::lay(SoundChunk chunk, qint64 startUs)
{
    const int frames = int(chunk.samples.size() / size_t(format_.channels));
    return timeline_->add(chunk.samples.data(), frames, chunk.capturedAtUs - startUs);
}

Status SoundEncoder::encodeUpTo(qint64 limit, BoundedQueue<EncodedPacket>& packets)
{
    const int frameSize = codec_->frame_size;
    while (av_audio_fifo_size(timeline_->output()) >= frameSize && encoded_ + frameSize <= limit)
        if (Status encoded = encodeFrame(frameSize, packets); !encoded.ok())
            return encoded;
    return Status::success();
}

Status SoundEncoder::finish(qint64 endSamples, BoundedQueue<EncodedPacket>& packets)
{
    // Silence where the sound's last fragments did not come in time; the
    // encoder takes a short last frame.
    if (Status filled = timeline_->fillSilenceUntil(av_rescale(endSamples + codec_->frame_size, 1000000, format_.sampleRate));
        !filled.ok())
        return filled;
    while (encoded_ < endSamples)
        if (Status encoded = encodeFrame(int(std::min<qint64>(codec_->frame_size, endSamples - encoded_)), packets);
            !encoded.ok())
            return encoded;
    return send(nullptr, packets);
}

Status SoundEncoder::encodeFrame(int samples, BoundedQueue<EncodedPacket>& packets)
{
    Frame frame(av_frame_alloc());
    if (!frame)
        return Status::failure(ENOMEM, QStringLiteral("No memory for sound"));
    frame->nb_samples = samples;
    frame->format = codec_->sample_fmt;
    frame->sample_rate = codec_->sample_rate;
    if (const int copied = av_channel_layout_copy(&frame->ch_layout, &codec_->ch_layout); copied < 0)
        return ffmpegFailure(copied, QStringLiteral("No memory for sound"));
    if (const int allocated = av_frame_get_buffer(frame.get(), 0); allocated < 0)
        return ffmpegFailure(allocated, QStringLiteral("No memory for sound"));
    if (av_audio_fifo_read(timeline_->output(), reinterpret_cast<void**>(frame->data), samples) < samples)
        return Status::failure(EIO, QStringLiteral("Less sound laid out than expected"));
    frame->pts = encoded_;
    encoded_ += samples;
    return send(frame.get(), packets);
}

Status SoundEncoder::send(const AVFrame* frame, BoundedQueue<EncodedPacket>& packets)
{
    return encodeInto(codec_.get(), frame, soundStreamIndex, packets, QStringLiteral("AAC"));
}
