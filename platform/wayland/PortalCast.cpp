#include "platform/wayland/PortalCast.h"

#include "platform/wayland/PipeWireFrameSource.h"

#include <algorithm>
#include <cerrno>

namespace {

// The desktop sends a picture only when the screen changes. Its first one
// can be lost while the stream starts, and a still screen sends no other.
// Where Dropwell may move the pointer, it moves it into the corner, where a
// page capture parks it anyway, by way of a point beside it in case it was
// there already: the desktop then has a change to send. Again each second:
// a cast that ended just before may take the first change for itself.
constexpr std::chrono::milliseconds nudgeEvery {1000};

QCoro::Task<Status> firstPicture(
    ScreenCastSession& session, const ScreenCastStream& stream, PipeWireFrameSource& pictures, CastControl control)
{
    const std::chrono::milliseconds wait = PipeWireFrameSource::firstPictureWait;
    for (std::chrono::milliseconds waited {0}; waited < wait; waited += nudgeEvery) {
        QCoro::Task<Status> arriving = pictures.firstPicture(std::min(nudgeEvery, wait - waited));
        if (Status first = co_await arriving; first.code() != ETIMEDOUT)
            co_return first;
        if (control == CastControl::Pointer) {
            session.movePointer(stream, QPointF(1, 1));
            session.movePointer(stream, QPointF(0, 0));
        }
    }
    co_return CastFrames::noPictureWithin(wait);
}

} // namespace

PortalCast::PortalCast(
    std::unique_ptr<ScreenCastSession> session, ScreenCastStream stream, std::unique_ptr<PipeWireFrameSource> pictures)
    : session_(std::move(session)), stream_(std::move(stream)), pictures_(std::move(pictures))
{
}

// The stream goes before the session that granted it.
PortalCast::~PortalCast() { pictures_.reset(); }

QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> PortalCast::open(
    QDBusConnection bus, ScreenCastSource source, int buffers, QString* restoreToken, CastControl control)
{
    auto session = std::make_unique<ScreenCastSession>(bus, control);
    QCoro::Task<StatusOr<ScreenCastStream>> starting = session->start(source, restoreToken ? *restoreToken : QString());
    const StatusOr<ScreenCastStream> stream = co_await starting;
    if (!stream.ok())
        co_return stream.status();
    if (restoreToken)
        *restoreToken = stream.value().restoreToken;
    std::unique_ptr<PipeWireFrameSource> pictures;
    if (Status opened = PipeWireFrameSource::open(stream.value(), buffers, pictures); !opened.ok())
        co_return opened;
    // Until then the size is the portal's, in logical pixels; the recorder
    // needs the pictures' own and must not wait for them on its thread.
    QCoro::Task<Status> arriving = firstPicture(*session, stream.value(), *pictures, control);
    if (Status first = co_await arriving; !first.ok())
        co_return first;
    co_return std::unique_ptr<PortalCast>(new PortalCast(std::move(session), stream.value(), std::move(pictures)));
}

QSize PortalCast::frameSize() const { return pictures_->frameSize(); }

int PortalCast::bufferCount() const { return pictures_->bufferCount(); }

StatusOr<FramePixels> PortalCast::grab(int buffer) { return pictures_->grab(buffer); }
