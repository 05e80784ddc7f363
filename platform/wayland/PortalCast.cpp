#include "platform/wayland/PortalCast.h"

#include "platform/wayland/PipeWireFrameSource.h"

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
    QCoro::Task<Status> arriving = pictures->firstPicture(PipeWireFrameSource::firstPictureWait);
    if (Status first = co_await arriving; !first.ok())
        co_return first;
    co_return std::unique_ptr<PortalCast>(new PortalCast(std::move(session), stream.value(), std::move(pictures)));
}

QSize PortalCast::frameSize() const { return pictures_->frameSize(); }

int PortalCast::bufferCount() const { return pictures_->bufferCount(); }

StatusOr<FramePixels> PortalCast::grab(int buffer) { return pictures_->grab(buffer); }
