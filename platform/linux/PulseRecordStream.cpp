#include "platform/linux/PulseRecordStream.h"

#include "platform/MonotonicClock.h"

#include <pulse/timeval.h>

#include <cerrno>

namespace {

// Small fragments keep the stamps close to the sound and the delay at the
// end of a recording short; the server wakes us 50 times a second.
constexpr pa_usec_t fragmentUs = 20 * PA_USEC_PER_MSEC;

} // namespace

PulseRecordStream::PulseRecordStream(std::unique_ptr<PulseConnection> connection, SoundFormat format)
    : connection_(std::move(connection)), format_(format)
{
}

Status PulseRecordStream::open(std::unique_ptr<PulseConnection> connection, const QByteArray& device, SoundFormat format,
    std::unique_ptr<SoundSource>& source)
{
    std::unique_ptr<PulseRecordStream> stream(new PulseRecordStream(std::move(connection), format));
    if (Status connected = stream->connect(device); !connected.ok())
        return connected;
    source = std::move(stream);
    return Status::success();
}

Status PulseRecordStream::connect(const QByteArray& device)
{
    PulseConnection::Lock lock(*connection_);
    const pa_sample_spec spec {PA_SAMPLE_FLOAT32NE, uint32_t(format_.sampleRate), uint8_t(format_.channels)};
    pa_channel_map channels;
    pa_channel_map_init_auto(&channels, spec.channels, PA_CHANNEL_MAP_DEFAULT);
    stream_.reset(pa_stream_new(connection_->context(), "Screen recording", &spec, &channels));
    if (!stream_)
        return connection_->failure(EIO, QStringLiteral("Cannot make a recording stream"));
    pa_stream_set_state_callback(
        stream_.get(), [](pa_stream*, void* loop) { PulseConnection::signal(static_cast<pa_threaded_mainloop*>(loop)); },
        connection_->loop());
    pa_stream_set_read_callback(
        stream_.get(), [](pa_stream*, size_t, void* self) { static_cast<PulseRecordStream*>(self)->readAll(); }, this);
    pa_buffer_attr buffering;
    buffering.maxlength = uint32_t(-1);
    buffering.tlength = uint32_t(-1);
    buffering.prebuf = uint32_t(-1);
    buffering.minreq = uint32_t(-1);
    buffering.fragsize = uint32_t(pa_usec_to_bytes(fragmentUs, &spec));
    // Corked until the recorder is ready for the sound; the fragment size
    // bounds the server's latency too, not only how often it hands over.
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_record(stream_.get(), device.constData(), &buffering, flags) < 0)
        return connection_->failure(EIO, QStringLiteral("Cannot record from '%1'").arg(QString::fromUtf8(device)));
    const bool ready = connection_->waitUntil([&] {
        const pa_stream_state_t state = pa_stream_get_state(stream_.get());
        return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
    });
    connection_->endSetUp();
    if (!ready || pa_stream_get_state(stream_.get()) != PA_STREAM_READY)
        return connection_->failure(EIO, QStringLiteral("Cannot record from '%1'").arg(QString::fromUtf8(device)));
    return Status::success();
}

PulseRecordStream::~PulseRecordStream()
{
    PulseConnection::Lock lock(*connection_);
    if (!stream_)
        return;
    pa_stream_set_read_callback(stream_.get(), nullptr, nullptr);
    pa_stream_set_state_callback(stream_.get(), nullptr, nullptr);
    pa_stream_disconnect(stream_.get());
    stream_.reset();
}

void PulseRecordStream::start(std::function<void(SoundChunk&&)> deliver)
{
    PulseConnection::Lock lock(*connection_);
    deliver_ = std::move(deliver);
    const PulseOperation uncork(pa_stream_cork(stream_.get(), 0, nullptr, nullptr));
}

void PulseRecordStream::readAll()
{
    const size_t bytesPerFrame = sizeof(float) * size_t(format_.channels);
    for (size_t readable = 0; (readable = pa_stream_readable_size(stream_.get())) > 0;) {
        const qint64 now = MonotonicClock::nowMicroseconds();
        const void* data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(stream_.get(), &data, &bytes) < 0 || bytes == 0)
            return;
        // A hole (no data) is sound the server lost; the recorder's timeline
        // sees the gap in the stamps and fills it.
        if (data && deliver_) {
            const auto* samples = static_cast<const float*>(data);
            const size_t frames = bytes / bytesPerFrame;
            SoundChunk chunk;
            chunk.samples.assign(samples, samples + frames * size_t(format_.channels));
            // The newest sample waiting came in just now, and the ones before
            // it came in at the device's pace.
            chunk.capturedAtUs = now - qint64(readable / bytesPerFrame) * 1000000 / format_.sampleRate;
            deliver_(std::move(chunk));
        }
        pa_stream_drop(stream_.get());
    }
}
