#include "platform/wayland/PipeWireStream.h"

#include <QCoreApplication>

#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// A window may be as large as the compositor allows; this only bounds the range.
constexpr int largestSide = 16384;
constexpr int bytesPerPixel = 4;

QString tr(const char* text)
{
    return QCoreApplication::translate("PipeWireStream", text);
}

Status castEnded(const char* why)
{
    const QString ended = tr("The screen cast ended.");
    return Status::failure(ENOENT, why && *why ? ended + QLatin1Char(' ') + QString::fromUtf8(why) : ended);
}

// Raw video of any size, blue first by preference; without a DMA-BUF
// modifier, so the producer sends shared memory.
const spa_pod* videoFormats(spa_pod_builder& builder)
{
    const spa_rectangle defaultSize = SPA_RECTANGLE(1920, 1080);
    const spa_rectangle smallest = SPA_RECTANGLE(1, 1);
    const spa_rectangle largest = SPA_RECTANGLE(largestSide, largestSide);
    const spa_fraction defaultRate = SPA_FRACTION(30, 1);
    const spa_fraction lowestRate = SPA_FRACTION(0, 1);
    const spa_fraction highestRate = SPA_FRACTION(1000, 1);
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(&builder,
        SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat,
        SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video),
        SPA_FORMAT_mediaSubtype, SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw),
        SPA_FORMAT_VIDEO_format, SPA_POD_CHOICE_ENUM_Id(5, SPA_VIDEO_FORMAT_BGRx, SPA_VIDEO_FORMAT_BGRx,
            SPA_VIDEO_FORMAT_BGRA, SPA_VIDEO_FORMAT_RGBx, SPA_VIDEO_FORMAT_RGBA),
        SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&defaultSize, &smallest, &largest),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&defaultRate, &lowestRate, &highestRate)));
}

// Buffers the process can read without a GPU.
const spa_pod* mappableBuffers(spa_pod_builder& builder)
{
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(&builder,
        SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers,
        SPA_PARAM_BUFFERS_dataType, SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd))));
}

void copyRows(const uint8_t* from, int fromStride, CastFrame& to, bool swapRedAndBlue)
{
    const std::size_t rowBytes = std::size_t(to.size.width()) * bytesPerPixel;
    for (int y = 0; y < to.size.height(); ++y) {
        const uint8_t* source = from + std::size_t(y) * std::size_t(fromStride);
        uint8_t* target = to.pixels.data() + std::size_t(y) * std::size_t(to.bytesPerLine);
        if (!swapRedAndBlue) {
            std::memcpy(target, source, rowBytes);
            continue;
        }
        for (std::size_t x = 0; x < rowBytes; x += bytesPerPixel) {
            target[x] = source[x + 2];
            target[x + 1] = source[x + 1];
            target[x + 2] = source[x];
            target[x + 3] = source[x + 3];
        }
    }
}

} // namespace

PipeWireStream::PipeWireStream(CastFrames& frames) : frames_(frames) {}

Status PipeWireStream::open(int connection, uint32_t node, CastFrames& frames, std::unique_ptr<PipeWireStream>& stream)
{
    std::unique_ptr<PipeWireStream> opened(new PipeWireStream(frames));
    const Status connected = opened->connect(connection, node);
    if (connected.ok())
        stream = std::move(opened);
    return connected;
}

Status PipeWireStream::connect(int connection, uint32_t node)
{
    pw_init(nullptr, nullptr);
    loop_ = pw_thread_loop_new("dropwell-cast", nullptr);
    context_ = loop_ ? pw_context_new(pw_thread_loop_get_loop(loop_), nullptr, 0) : nullptr;
    if (!context_ || pw_thread_loop_start(loop_) < 0) {
        ::close(connection);
        return Status::failure(EIO, tr("PipeWire could not be started in this process."));
    }
    pw_thread_loop_lock(loop_);
    core_ = pw_context_connect_fd(context_, connection, nullptr, 0);
    if (!core_) {
        const int error = errno;
        pw_thread_loop_unlock(loop_);
        return Status::failure(error, tr("The screen cast's PipeWire connection failed: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
    }
    static const pw_core_events coreEvents = [] {
        pw_core_events core {};
        core.version = PW_VERSION_CORE_EVENTS;
        core.error = &PipeWireStream::coreError;
        return core;
    }();
    // The macro casts its first argument the C way.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
    pw_core_add_listener(core_, &coreListener_, &coreEvents, this);
#pragma GCC diagnostic pop

    stream_ = pw_stream_new(core_, "Dropwell screen cast",
        pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY, "Capture", PW_KEY_MEDIA_ROLE, "Screen", nullptr));
    static const pw_stream_events streamEvents = [] {
        pw_stream_events stream {};
        stream.version = PW_VERSION_STREAM_EVENTS;
        stream.state_changed = &PipeWireStream::stateChanged;
        stream.param_changed = &PipeWireStream::paramChanged;
        stream.process = &PipeWireStream::process;
        return stream;
    }();
    pw_stream_add_listener(stream_, &streamListener_, &streamEvents, this);

    uint8_t space[1024];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(space, sizeof space);
    const spa_pod* formats[] = {videoFormats(builder)};
    // Another node is no stand-in for the one the portal granted.
    const int result = pw_stream_connect(stream_, PW_DIRECTION_INPUT, node,
        pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_DONT_RECONNECT), formats, 1);
    pw_thread_loop_unlock(loop_);
    if (result < 0)
        return Status::failure(-result, tr("The screen cast's stream could not be connected: %1").arg(QString::fromLocal8Bit(std::strerror(-result))));
    return Status::success();
}

PipeWireStream::~PipeWireStream()
{
    if (loop_)
        pw_thread_loop_stop(loop_);
    // Taking the stream down is no end of the cast to report.
    if (stream_) {
        spa_hook_remove(&streamListener_);
        pw_stream_destroy(stream_);
    }
    if (core_) {
        spa_hook_remove(&coreListener_);
        pw_core_disconnect(core_);
    }
    if (context_)
        pw_context_destroy(context_);
    if (loop_)
        pw_thread_loop_destroy(loop_);
}

void PipeWireStream::stateChanged(void* self, pw_stream_state, pw_stream_state state, const char* error)
{
    if (state == PW_STREAM_STATE_ERROR || state == PW_STREAM_STATE_UNCONNECTED)
        static_cast<PipeWireStream*>(self)->frames_.end(castEnded(error));
}

void PipeWireStream::coreError(void* self, uint32_t id, int, int, const char* message)
{
    // The connection itself failed: the portal's session is gone.
    if (id == PW_ID_CORE)
        static_cast<PipeWireStream*>(self)->frames_.end(castEnded(message));
}

void PipeWireStream::paramChanged(void* self, uint32_t id, const spa_pod* param)
{
    auto* stream = static_cast<PipeWireStream*>(self);
    if (id != SPA_PARAM_Format || !param)
        return;
    spa_video_info_raw format {};
    if (spa_format_video_raw_parse(param, &format) < 0)
        return;
    stream->format_ = format;
    stream->redFirst_ = format.format == SPA_VIDEO_FORMAT_RGBx || format.format == SPA_VIDEO_FORMAT_RGBA;
    uint8_t space[256];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(space, sizeof space);
    const spa_pod* buffers[] = {mappableBuffers(builder)};
    pw_stream_update_params(stream->stream_, buffers, 1);
}

void PipeWireStream::process(void* self)
{
    auto* stream = static_cast<PipeWireStream*>(self);
    // Only the newest picture matters; older ones go straight back.
    pw_buffer* newest = nullptr;
    while (pw_buffer* next = pw_stream_dequeue_buffer(stream->stream_)) {
        if (newest)
            pw_stream_queue_buffer(stream->stream_, newest);
        newest = next;
    }
    if (!newest)
        return;
    stream->copy(*newest->buffer);
    pw_stream_queue_buffer(stream->stream_, newest);
}

void PipeWireStream::copy(const spa_buffer& buffer)
{
    if (buffer.n_datas < 1)
        return;
    const spa_data& data = buffer.datas[0];
    const QSize size(int(format_.size.width), int(format_.size.height));
    // Buffers without a picture only move the pointer or say nothing changed.
    if (!data.data || !data.chunk || data.chunk->size == 0 || (data.chunk->flags & SPA_CHUNK_FLAG_CORRUPTED) || size.isEmpty())
        return;
    const int stride = data.chunk->stride > 0 ? data.chunk->stride : size.width() * bytesPerPixel;
    const std::size_t needed = std::size_t(data.chunk->offset) + std::size_t(stride) * std::size_t(size.height() - 1)
        + std::size_t(size.width()) * bytesPerPixel;
    if (stride < size.width() * bytesPerPixel || needed > data.maxsize)
        return;
    std::shared_ptr<CastFrame> frame = frames_.spare();
    frame->size = size;
    frame->bytesPerLine = size.width() * bytesPerPixel;
    frame->pixels.resize(std::size_t(frame->bytesPerLine) * std::size_t(size.height()));
    copyRows(static_cast<const uint8_t*>(data.data) + data.chunk->offset, stride, *frame, redFirst_);
    frames_.publish(std::move(frame));
}
