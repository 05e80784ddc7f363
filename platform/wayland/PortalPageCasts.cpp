#include "platform/wayland/PortalPageCasts.h"

#include "platform/PageInput.h"
#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/PortalCast.h"

namespace {

// Pictures kept while the newest is copied out.
constexpr int castBuffers = 2;
// A picture counts once none came for three of the desktop's usual 30 a
// second; a window still moving sends them closer together.
constexpr std::chrono::milliseconds stillFor {100};
// A window that keeps changing (an animation) is taken as it is after this.
constexpr std::chrono::milliseconds stillWithin {1000};

// The picture and the pointer of one granted session. The portal places
// the pointer in the stream's logical pixels, which on a scaled output are
// fewer than the pictures'.
class SessionPageCast final : public PageCast, private PageInput {
public:
    explicit SessionPageCast(std::unique_ptr<PortalCast> cast) : cast_(std::move(cast)) {}

    QCoro::Task<StatusOr<QImage>> picture() override { return cast_->pictures().stillImage(stillFor, stillWithin); }
    PageInput& input() override { return *this; }

private:
    QPoint pointer() override { return pointer_; }
    void warpPointer(QPoint to) override
    {
        pointer_ = to;
        const QSize pixels = cast_->frameSize();
        const QSize logical = cast_->stream().size.isEmpty() ? pixels : cast_->stream().size;
        cast_->session().movePointer(cast_->stream(),
            QPointF(to.x() * qreal(logical.width()) / pixels.width(), to.y() * qreal(logical.height()) / pixels.height()));
    }
    // The desktop's own pointer is not Dropwell's to hold.
    bool hold() override { return true; }
    void release() override {}
    void wheel(QPoint at, int clicks) override
    {
        warpPointer(at);
        cast_->session().turnWheel(-clicks);
    }
    // The user picked the window in the desktop's dialog, in front.
    void activate(const CaptureWindow&) override {}

    std::unique_ptr<PortalCast> cast_;
    QPoint pointer_;
};

} // namespace

PortalPageCasts::PortalPageCasts(QDBusConnection bus) : bus_(std::move(bus)) {}

QCoro::Task<StatusOr<std::unique_ptr<PageCast>>> PortalPageCasts::open()
{
    QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> opening
        = PortalCast::open(bus_, ScreenCastSource::Window, castBuffers, nullptr, CastControl::Pointer);
    StatusOr<std::unique_ptr<PortalCast>> cast = co_await opening;
    if (!cast.ok())
        co_return cast.status();
    co_return std::unique_ptr<PageCast>(new SessionPageCast(std::move(cast.value())));
}
