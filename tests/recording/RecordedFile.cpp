#include "RecordedFile.h"

#include "capture/recording/FfmpegHandles.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <memory>

namespace {

struct InputClose {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};

// Top-level MP4 boxes in file order.
bool moovBeforeMdat(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    for (qsizetype at = 0; at + 8 <= bytes.size();) {
        const QByteArray type = bytes.mid(at + 4, 4);
        if (type == "moov")
            return true;
        const quint32 size = qFromBigEndian<quint32>(bytes.constData() + at);
        if (type == "mdat" || size < 8)
            return false;
        at += size;
    }
    return false;
}

CodecContext openDecoder(const AVStream& stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    CodecContext decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0 || avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return nullptr;
    decoder->pkt_timebase = stream.time_base;
    return decoder;
}

void drain(RecordedFile& file, AVCodecContext& decoder, const AVStream& stream, bool video)
{
    const Frame frame(av_frame_alloc());
    while (avcodec_receive_frame(&decoder, frame.get()) == 0) {
        const double at = double(frame->best_effort_timestamp) * av_q2d(stream.time_base);
        if (video) {
            double sum = 0;
            for (int y = 0; y < frame->height; ++y)
                for (int x = 0; x < frame->width; ++x)
                    sum += frame->data[0][y * frame->linesize[0] + x];
            file.pictures.push_back({at, sum / (double(frame->width) * frame->height), bool(frame->key_frame)});
            continue;
        }
        if (file.sound.empty())
            file.soundStartSeconds = at;
        const auto* samples = reinterpret_cast<const float*>(frame->extended_data[0]);
        file.sound.insert(file.sound.end(), samples, samples + frame->nb_samples);
    }
}

} // namespace

QString RecordedFile::read(const QString& path, RecordedFile& file)
{
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return QStringLiteral("cannot open ") + path;
    const std::unique_ptr<AVFormatContext, InputClose> format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return QStringLiteral("cannot read the streams");
    file.indexFirst = moovBeforeMdat(path);
    file.durationSeconds = double(format->duration) / AV_TIME_BASE;
    const int video = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int sound = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (video < 0)
        return QStringLiteral("no video stream");
    const AVCodecParameters& picture = *format->streams[video]->codecpar;
    file.videoCodec = QString::fromUtf8(avcodec_get_name(picture.codec_id));
    file.videoProfile = picture.profile;
    file.width = picture.width;
    file.height = picture.height;
    file.videoDelay = picture.video_delay;
    file.videoBitRate = picture.bit_rate;
    CodecContext videoDecoder = openDecoder(*format->streams[video]);
    CodecContext soundDecoder = sound >= 0 ? openDecoder(*format->streams[sound]) : nullptr;
    if (!videoDecoder || (sound >= 0 && !soundDecoder))
        return QStringLiteral("no decoder");
    if (sound >= 0) {
        const AVCodecParameters& audio = *format->streams[sound]->codecpar;
        file.hasSound = true;
        file.soundCodec = QString::fromUtf8(avcodec_get_name(audio.codec_id));
        file.sampleRate = audio.sample_rate;
        file.channels = audio.ch_layout.nb_channels;
    }
    const Packet packet(av_packet_alloc());
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        const bool isVideo = packet->stream_index == video;
        AVCodecContext* decoder = isVideo ? videoDecoder.get() : packet->stream_index == sound ? soundDecoder.get() : nullptr;
        if (decoder && avcodec_send_packet(decoder, packet.get()) == 0)
            drain(file, *decoder, *format->streams[packet->stream_index], isVideo);
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(videoDecoder.get(), nullptr);
    drain(file, *videoDecoder, *format->streams[video], true);
    if (soundDecoder) {
        avcodec_send_packet(soundDecoder.get(), nullptr);
        drain(file, *soundDecoder, *format->streams[sound], false);
    }
    return {};
}

std::vector<int> RecordedFile::keyFrameIndices() const
{
    std::vector<int> indices;
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].key)
            indices.push_back(int(i));
    return indices;
}

double RecordedFile::soundLevel() const
{
    double sum = 0;
    for (const float sample : sound)
        sum += double(sample) * sample;
    return sound.empty() ? 0 : std::sqrt(sum / double(sound.size()));
}

std::optional<double> RecordedFile::firstSoundAbove(float level) const
{
    const size_t quietNeeded = size_t(sampleRate / 10);
    size_t quiet = 0;
    for (size_t i = 0; i < sound.size(); ++i) {
        if (std::abs(sound[i]) <= level) {
            ++quiet;
            continue;
        }
        if (quiet >= quietNeeded)
            return soundStartSeconds + double(i) / sampleRate;
        quiet = 0;
    }
    return std::nullopt;
}

std::optional<size_t> RecordedFile::firstPictureAbove(double level) const
{
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].brightness > level)
            return i;
    return std::nullopt;
}
