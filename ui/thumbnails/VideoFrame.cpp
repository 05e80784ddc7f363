#include "ui/thumbnails/VideoFrame.h"

#include "capture/recording/FfmpegHandles.h"

#include <QFile>

extern "C" {
#include <libavutil/imgutils.h>
}

#include <memory>

namespace {

// A damaged file may hold packets that never make a picture: give up after
// this many instead of reading a large file to its end.
constexpr int packetsToTry = 300;

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

QImage toImage(const AVFrame& frame, int side)
{
    if (frame.width <= 0 || frame.height <= 0)
        return {};
    const QSize size = QSize(frame.width, frame.height).scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const Scaler scaler(sws_getContext(frame.width, frame.height,
        static_cast<AVPixelFormat>(frame.format), size.width(), size.height(), AV_PIX_FMT_BGRA, SWS_AREA, nullptr,
        nullptr, nullptr));
    if (!scaler)
        return {};
    QImage image(size, QImage::Format_ARGB32);
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides) <= 0)
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

namespace VideoFrame {

QImage first(const QString& path, int side)
{
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return {};
    const std::unique_ptr<AVFormatContext, InputCloser> input(opened);
    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return {};
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (stream < 0 || !codec)
        return {};
    const CodecContext decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), input->streams[stream]->codecpar) < 0)
        return {};
    // One picture is wanted, on a machine that is busy with other things.
    decoder->thread_count = 1;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return {};

    const Packet packet(av_packet_alloc());
    const Frame frame(av_frame_alloc());
    if (!packet || !frame)
        return {};
    bool draining = false;
    for (int read = 0; read < packetsToTry; ++read) {
        if (!draining) {
            const int got = av_read_frame(input.get(), packet.get());
            if (got < 0) {
                // The end of the file: the decoder may still hold pictures back.
                draining = true;
                avcodec_send_packet(decoder.get(), nullptr);
            } else {
                const bool ours = packet->stream_index == stream;
                const int sent = ours ? avcodec_send_packet(decoder.get(), packet.get()) : 0;
                av_packet_unref(packet.get());
                if (sent < 0 && sent != AVERROR(EAGAIN))
                    continue;
            }
        }
        const int received = avcodec_receive_frame(decoder.get(), frame.get());
        if (received == 0)
            return toImage(*frame, side);
        if (received != AVERROR(EAGAIN))
            return {};
    }
    return {};
}

} // namespace VideoFrame
