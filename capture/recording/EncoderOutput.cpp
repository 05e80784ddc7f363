#include "capture/recording/EncoderOutput.h"

#include <cerrno>

Status encodeInto(AVCodecContext* codec, const AVFrame* input, int stream, BoundedQueue<EncodedPacket>& packets,
    const QString& encoderName, const std::function<void(AVPacket&)>& adjust)
{
    if (const int sent = avcodec_send_frame(codec, input); sent < 0)
        return ffmpegFailure(sent, QStringLiteral("The %1 encoder refused its input").arg(encoderName));
    for (;;) {
        Packet packet(av_packet_alloc());
        if (!packet)
            return Status::failure(ENOMEM, QStringLiteral("No memory for a packet"));
        const int received = avcodec_receive_packet(codec, packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return Status::success();
        if (received < 0)
            return ffmpegFailure(received, QStringLiteral("The %1 encoder failed").arg(encoderName));
        if (adjust)
            adjust(*packet);
        if (!packets.push({std::move(packet), stream, codec->time_base}))
            return Status::failure(ECANCELED, QStringLiteral("The file is no longer being written"));
    }
}
