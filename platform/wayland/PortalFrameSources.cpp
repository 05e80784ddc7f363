#include "platform/wayland/PortalFrameSources.h"

#include "platform/DefaultsStore.h"
#include "platform/wayland/PortalCast.h"

PortalFrameSources::PortalFrameSources(QDBusConnection bus, DefaultsStore* defaults)
    : bus_(std::move(bus)), defaults_(defaults)
{
}

// The portal chooses the monitor: Dropwell cannot name one to it. A token
// from last time lets it cast the same one without asking; one it no longer
// honours makes it ask, and the new token replaces it.
QCoro::Task<OpenedFrames> PortalFrameSources::openDisplay(CaptureDisplay, int buffers)
{
    QString token = defaults_ ? defaults_->string(restoreTokenKey).value_or(QString()) : restoreToken_;
    QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> opening = PortalCast::open(bus_, ScreenCastSource::Monitor, buffers, &token);
    StatusOr<std::unique_ptr<PortalCast>> cast = co_await opening;
    if (!cast.ok())
        co_return cast.status();
    if (defaults_)
        defaults_->setString(restoreTokenKey, token);
    else
        restoreToken_ = token;
    co_return std::unique_ptr<FrameSource>(std::move(cast.value()));
}

QCoro::Task<OpenedFrames> PortalFrameSources::openWindow(CaptureWindow, int buffers)
{
    QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> opening = PortalCast::open(bus_, ScreenCastSource::Window, buffers, nullptr);
    StatusOr<std::unique_ptr<PortalCast>> cast = co_await opening;
    if (!cast.ok())
        co_return cast.status();
    co_return std::unique_ptr<FrameSource>(std::move(cast.value()));
}
