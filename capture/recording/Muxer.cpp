#include "capture/recording/Muxer.h"

extern "C" {
#include <libavutil/dict.h>
}

#include <cerrno>

namespace {

// libavformat takes its options as a dictionary it may replace.
struct Options {
    Options() = default;
    Options(const Options&) = delete;
    Options& operator=(const Options&) = delete;
    ~Options() { av_dict_free(&entries); }
    AVDictionary* entries = nullptr;
};

Status addStream(AVFormatContext& format, const AVCodecContext& codec)
{
    AVStream* stream = avformat_new_stream(&format, nullptr);
    if (!stream)
        return Status::failure(ENOMEM, QStringLiteral("No memory for a stream"));
    stream->time_base = codec.time_base;
    if (const int copied = avcodec_parameters_from_context(stream->codecpar, &codec); copied < 0)
        return ffmpegFailure(copied, QStringLiteral("Cannot describe a stream"));
    return Status::success();
}

} // namespace

Status Muxer::open(const QString& path, const AVCodecContext& video, const AVCodecContext* sound, std::unique_ptr<Muxer>& muxer)
{
    const QByteArray name = path.toUtf8();
    AVFormatContext* raw = nullptr;
    // MP4 whatever the name ends in: the file is written under a temporary one.
    if (const int made = avformat_alloc_output_context2(&raw, nullptr, "mp4", name.constData()); made < 0)
        return ffmpegFailure(made, QStringLiteral("Cannot set up an MP4 file"));
    OutputFormat format(raw);
    if (Status added = addStream(*format, video); !added.ok())
        return added;
    if (sound)
        if (Status added = addStream(*format, *sound); !added.ok())
            return added;
    if (const int opened = avio_open(&format->pb, name.constData(), AVIO_FLAG_WRITE); opened < 0)
        return ffmpegFailure(opened, path);
    Options options;
    av_dict_set(&options.entries, "movflags", "+faststart", 0);
    if (const int written = avformat_write_header(format.get(), &options.entries); written < 0)
        return ffmpegFailure(written, QStringLiteral("Cannot write the file's header"));
    muxer.reset(new Muxer(std::move(format)));
    return Status::success();
}

Status Muxer::run(BoundedQueue<EncodedPacket>& packets)
{
    while (std::optional<EncodedPacket> item = packets.pop()) {
        if (Status written = write(std::move(*item)); !written.ok()) {
            packets.cancel();
            return written;
        }
    }
    if (!wrotePictures_)
        return Status::success();
    // Moving the index to the front reads the file back and writes it anew.
    const int finished = av_write_trailer(format_.get());
    const int closed = avio_closep(&format_->pb);
    if (finished < 0)
        return ffmpegFailure(finished, QStringLiteral("Cannot finish the file"));
    if (closed < 0)
        return ffmpegFailure(closed, QStringLiteral("Cannot close the file"));
    return Status::success();
}

Status Muxer::write(EncodedPacket item)
{
    const AVStream* stream = format_->streams[item.stream];
    av_packet_rescale_ts(item.packet.get(), item.timeBase, stream->time_base);
    item.packet->stream_index = item.stream;
    if (const int written = av_interleaved_write_frame(format_.get(), item.packet.get()); written < 0)
        return ffmpegFailure(written, QStringLiteral("Cannot write to the file"));
    wrotePictures_ |= item.stream == videoStreamIndex;
    return Status::success();
}
