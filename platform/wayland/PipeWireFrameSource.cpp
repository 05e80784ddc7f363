#include "platform/wayland/PipeWireFrameSource.h"

#include "platform/wayland/PipeWireStream.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <qcoro/qcorosignal.h>

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

namespace {

// The desktop sends its first picture as soon as the stream runs; a wait
// beyond this means it will not come.
constexpr std::chrono::milliseconds firstPictureWait {2000};

QSize evenAtLeastTwo(QSize size)
{
    return QSize(std::max(2, size.width() & ~1), std::max(2, size.height() & ~1));
}

} // namespace

PipeWireFrameSource::PipeWireFrameSource(QSize portalSize, int buffers)
    : portalSize_(portalSize), buffers_(buffers), frames_(buffers, [this] { Q_EMIT changed(); })
{
}

PipeWireFrameSource::~PipeWireFrameSource() = default;

Status PipeWireFrameSource::open(const ScreenCastStream& stream, int buffers, std::unique_ptr<PipeWireFrameSource>& source)
{
    // PipeWire takes the descriptor it is given; the portal's stays with the stream.
    const int connection = stream.pipewire.isValid() ? fcntl(stream.pipewire.fileDescriptor(), F_DUPFD_CLOEXEC, 3) : -1;
    if (connection < 0) {
        return Status::failure(EBADF,
            QCoreApplication::translate("PipeWireFrameSource", "The screen cast came without a PipeWire connection."));
    }
    std::unique_ptr<PipeWireFrameSource> opened(new PipeWireFrameSource(stream.size, buffers));
    const Status connected = PipeWireStream::open(connection, stream.node, opened->frames_, opened->stream_);
    if (connected.ok())
        source = std::move(opened);
    return connected;
}

QSize PipeWireFrameSource::frameSize() const
{
    // A scaled monitor's pictures are larger than the portal's logical size.
    if (const std::optional<QSize> first = frames_.newestSize(firstPictureWait))
        return evenAtLeastTwo(*first);
    return evenAtLeastTwo(portalSize_);
}

int PipeWireFrameSource::bufferCount() const
{
    return buffers_;
}

StatusOr<FramePixels> PipeWireFrameSource::grab(int buffer)
{
    return frames_.hold(buffer, firstPictureWait);
}

QCoro::Task<StatusOr<QImage>> PipeWireFrameSource::image(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    StatusOr<QImage> newest = frames_.newestImage(std::chrono::milliseconds(0));
    // Waiting inside the call would stop this thread's event loop.
    while (!newest.ok() && newest.status().code() == ETIMEDOUT && !deadline.hasExpired()) {
        auto changing = qCoro(this, &PipeWireFrameSource::changed, std::chrono::milliseconds(deadline.remainingTime()));
        co_await changing;
        newest = frames_.newestImage(std::chrono::milliseconds(0));
    }
    if (!newest.ok() && newest.status().code() == ETIMEDOUT)
        co_return CastFrames::noPictureWithin(timeout);
    co_return newest;
}
