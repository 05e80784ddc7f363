#pragma once

#include "platform/Status.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/error.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

// FFmpeg's objects, each released the way FFmpeg wants it released.
struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFree {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
struct ResamplerFree {
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
struct AudioFifoFree {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
struct OutputFormatFree {
    void operator()(AVFormatContext* format) const
    {
        if (format->pb)
            avio_closep(&format->pb);
        avformat_free_context(format);
    }
};

using CodecContext = std::unique_ptr<AVCodecContext, CodecContextFree>;
using Frame = std::unique_ptr<AVFrame, FrameFree>;
using Packet = std::unique_ptr<AVPacket, PacketFree>;
using Scaler = std::unique_ptr<SwsContext, ScalerFree>;
using Resampler = std::unique_ptr<SwrContext, ResamplerFree>;
using AudioFifo = std::unique_ptr<AVAudioFifo, AudioFifoFree>;
using OutputFormat = std::unique_ptr<AVFormatContext, OutputFormatFree>;

// An FFmpeg error code as a Status, after `what`.
inline Status ffmpegFailure(int error, const QString& what)
{
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, reason, sizeof reason);
    return Status::failure(AVUNERROR(error), what + QStringLiteral(" (") + QString::fromUtf8(reason) + QLatin1Char(')'));
}

// The file's streams, in the order the muxer adds them.
constexpr int videoStreamIndex = 0;
constexpr int soundStreamIndex = 1;

// An encoded packet on its way to the file: its times are in `timeBase`,
// the encoder's, until the muxer moves them to the stream's.
struct EncodedPacket {
    Packet packet;
    int stream = 0;
    AVRational timeBase {1, 1};
};
