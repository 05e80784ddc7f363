#include "platform/wayland/PipeWireFrameSource.h"

#include "platform/wayland/PipeWireStream.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <qcoro/qcorotimer.h>

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

namespace {

// How often a wait for the cast's first picture looks for it.
constexpr std::chrono::milliseconds lookEvery(20);

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
    if (const std::optional<QSize> first = frames_.newestSize())
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

QCoro::Task<Status> PipeWireFrameSource::firstPicture(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    Status first = frames_.firstPicture();
    // Looked at every little while rather than awaited: a picture announced
    // on PipeWire's thread may arrive after a wait with a timeout has ended,
    // and waiting inside the call would stop this thread's event loop.
    while (first.code() == ETIMEDOUT && !deadline.hasExpired()) {
        QCoro::Task<> pausing = QCoro::sleepFor(std::min(std::chrono::milliseconds(deadline.remainingTime()), lookEvery));
        co_await pausing;
        first = frames_.firstPicture();
    }
    co_return first.code() == ETIMEDOUT ? CastFrames::noPictureWithin(timeout) : first;
}

QCoro::Task<StatusOr<QImage>> PipeWireFrameSource::stillImage(std::chrono::milliseconds still, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    QCoro::Task<Status> waiting = firstPicture(timeout);
    if (Status first = co_await waiting; !first.ok())
        co_return first;
    // Looked at rather than awaited: a picture announced on PipeWire's
    // thread may arrive after a wait with a timeout has ended.
    while (!deadline.hasExpired()) {
        const uint64_t before = frames_.pictureCount();
        QCoro::Task<> pausing = QCoro::sleepFor(still);
        co_await pausing;
        if (frames_.pictureCount() == before)
            break;
    }
    co_return frames_.newestImage(std::chrono::milliseconds(0));
}

QCoro::Task<StatusOr<QImage>> PipeWireFrameSource::image(std::chrono::milliseconds timeout)
{
    QCoro::Task<Status> waiting = firstPicture(timeout);
    if (Status first = co_await waiting; !first.ok())
        co_return first;
    co_return frames_.newestImage(std::chrono::milliseconds(0));
}
