#include "capture/recording/VideoEncoder.h"

#include "capture/recording/EncoderOutput.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cerrno>

namespace {

constexpr AVRational timeBase {1, 90000};
constexpr int keyFrameInterval = 30;
constexpr qint64 minimumBitRate = 2000000;
// The lightest preset holds 30 frames per second of 1080p on two cores with
// room for everything else; see bench/recording_bench.
constexpr const char* x264Preset = "ultrafast";
// That preset leaves out the 8x8 transform, which alone makes the stream
// High profile; key frames come exactly every 30 frames, not also at cuts.
constexpr const char* x264Settings = "8x8dct=1:scenecut=0";
// Colours of a screen, the way HD players expect them.
constexpr int colourSpace = SWS_CS_ITU709;
// At the same size only the colours are halved; taking one of four costs a
// third less than blending them, and the difference hides in the encoding.
constexpr int scalerFlags = SWS_POINT;
// One thread: the encoder is a thread of the recording already, and x264's
// own frame threads cost a tenth more CPU time and 25 MB more at 1080p.
constexpr int x264Threads = 1;

} // namespace

qint64 VideoEncoder::bitRateFor(QSize size)
{
    return std::max(qint64(std::max(size.width() * size.height(), 1)) * 4, minimumBitRate);
}

VideoEncoder::VideoEncoder(CodecContext codec, Frame picture) : codec_(std::move(codec)), picture_(std::move(picture)) {}

Status VideoEncoder::open(QSize size, std::unique_ptr<VideoEncoder>& encoder)
{
    const AVCodec* x264 = avcodec_find_encoder_by_name("libx264");
    if (!x264)
        return Status::failure(ENOSYS, QStringLiteral("This FFmpeg has no libx264 encoder"));
    CodecContext codec(avcodec_alloc_context3(x264));
    Frame picture(av_frame_alloc());
    if (!codec || !picture)
        return Status::failure(ENOMEM, QStringLiteral("No memory for the video encoder"));
    codec->width = size.width();
    codec->height = size.height();
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = timeBase;
    codec->framerate = {FrameGrabber::framesPerSecond, 1};
    codec->gop_size = keyFrameInterval;
    codec->keyint_min = keyFrameInterval;
    codec->max_b_frames = 0;
    codec->bit_rate = bitRateFor(size);
    codec->colorspace = AVCOL_SPC_BT709;
    codec->color_primaries = AVCOL_PRI_BT709;
    codec->color_trc = AVCOL_TRC_BT709;
    codec->color_range = AVCOL_RANGE_MPEG;
    // MP4 keeps the parameter sets in its header, not in the stream.
    codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    codec->thread_count = x264Threads;
    av_opt_set(codec->priv_data, "preset", x264Preset, 0);
    av_opt_set(codec->priv_data, "profile", "high", 0);
    av_opt_set(codec->priv_data, "x264-params", x264Settings, 0);
    if (const int opened = avcodec_open2(codec.get(), x264, nullptr); opened < 0)
        return ffmpegFailure(opened, QStringLiteral("Cannot open the H.264 encoder"));
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = size.width();
    picture->height = size.height();
    if (const int allocated = av_frame_get_buffer(picture.get(), 0); allocated < 0)
        return ffmpegFailure(allocated, QStringLiteral("No memory for a picture"));
    encoder.reset(new VideoEncoder(std::move(codec), std::move(picture)));
    return Status::success();
}

Status VideoEncoder::run(BoundedQueue<GrabbedFrame>& frames, BoundedQueue<int>& freeBuffers,
    BoundedQueue<EncodedPacket>& packets, RecordingSpan& span, std::stop_source stopRecording)
{
    Status status = Status::success();
    std::optional<qint64> lastUs;
    while (const std::optional<GrabbedFrame> frame = frames.pop()) {
        if (status.ok())
            status = convert(*frame);
        freeBuffers.push(frame->buffer);
        if (status.ok())
            status = send(picture_.get(), packets);
        if (!status.ok()) {
            // Pictures still come until the grabber hears of the stop; their
            // buffers go straight back.
            stopRecording.request_stop();
            continue;
        }
        lastUs = frame->takenAtUs;
        ++encoded_;
    }
    if (status.ok())
        status = send(nullptr, packets);
    span.markEnd(lastUs ? std::optional(*lastUs + FrameGrabber::frameIntervalUs) : std::nullopt);
    packets.producerDone();
    return status;
}

Status VideoEncoder::convert(const GrabbedFrame& frame)
{
    const QSize size = frame.pixels.size;
    SwsContext* previous = scaler_.get();
    scaler_.reset(sws_getCachedContext(scaler_.release(), size.width(), size.height(), AV_PIX_FMT_BGR0, codec_->width,
        codec_->height, AV_PIX_FMT_YUV420P, scalerFlags, nullptr, nullptr, nullptr));
    if (!scaler_)
        return Status::failure(EINVAL, QStringLiteral("Cannot convert pictures of %1 x %2").arg(size.width()).arg(size.height()));
    if (scaler_.get() != previous) {
        const int* coefficients = sws_getCoefficients(colourSpace);
        const int unit = 1 << 16;
        sws_setColorspaceDetails(scaler_.get(), coefficients, 1, coefficients, 0, 0, unit, unit);
    }
    // The encoder has copied the previous picture by now, so this never copies.
    if (const int writable = av_frame_make_writable(picture_.get()); writable < 0)
        return ffmpegFailure(writable, QStringLiteral("No memory for a picture"));
    const uint8_t* const source[] = {frame.pixels.data};
    const int sourceStrides[] = {frame.pixels.bytesPerLine};
    sws_scale(scaler_.get(), source, sourceStrides, 0, size.height(), picture_->data, picture_->linesize);
    if (encoded_ == 0)
        startUs_ = frame.takenAtUs;
    const int64_t pts = av_rescale_q(frame.takenAtUs - startUs_, {1, 1000000}, timeBase);
    picture_->pts = encoded_ == 0 ? 0 : std::max(pts, picture_->pts + 1);
    return Status::success();
}

Status VideoEncoder::send(const AVFrame* picture, BoundedQueue<EncodedPacket>& packets)
{
    return encodeInto(codec_.get(), picture, videoStreamIndex, packets, QStringLiteral("H.264"), [](AVPacket& packet) {
        // The file's last picture lasts one frame, like all the others.
        packet.duration = av_rescale_q(FrameGrabber::frameIntervalUs, {1, 1000000}, timeBase);
    });
}
