#include "platform/wayland/PortalWindowPicker.h"

#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/PortalCast.h"

#include <chrono>

namespace {

// A cast's first picture comes as soon as the desktop has drawn the window once.
constexpr std::chrono::milliseconds firstPictureWithin {3000};

// Pictures kept while the one wanted is taken.
constexpr int castBuffers = 2;

} // namespace

PortalWindowPicker::PortalWindowPicker(QDBusConnection bus) : bus_(std::move(bus)) {}

QCoro::Task<StatusOr<DesktopPick>> PortalWindowPicker::pick(Target)
{
    QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> opening = PortalCast::open(bus_, ScreenCastSource::Window, castBuffers, nullptr);
    StatusOr<std::unique_ptr<PortalCast>> cast = co_await opening;
    if (!cast.ok())
        co_return cast.status();
    QCoro::Task<StatusOr<QImage>> taking = cast.value()->pictures().image(firstPictureWithin);
    const StatusOr<QImage> picture = co_await taking;
    if (!picture.ok())
        co_return picture.status();
    co_return DesktopPick {std::nullopt, std::nullopt, picture.value()};
}
