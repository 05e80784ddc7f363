#include "capture/pick/OverlayPicker.h"

#include "capture/CaptureAccess.h"
#include "capture/DisplayGeometry.h"
#include "capture/pick/CapturableWindows.h"
#include "platform/ScreenCapture.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <qcoro/qcorosignal.h>

#include <cerrno>

namespace {

constexpr int smallestSelection = 2;

} // namespace

OverlayPicker::OverlayPicker(ScreenCapture& screen, CaptureAccess& access) : screen_(screen), access_(access) {}

OverlayPicker::~OverlayPicker() = default;

void OverlayPicker::dismiss() { overlay_.reset(); }

QCoro::Task<CaptureResult<Pick>> OverlayPicker::pickRegion(QString prompt)
{
    QCoro::Task<CaptureResult<Picked>> picking = pickOnScreen(OverlayView::Mode::Region, prompt);
    const CaptureResult<Picked> picked = co_await picking;
    if (!picked.ok())
        co_return picked.error();
    const QRect rect = std::get<QRect>(picked.value().result);
    if (rect.width() < smallestSelection || rect.height() < smallestSelection)
        co_return CaptureError::of(CaptureError::Kind::Cancelled);
    const auto display = DisplayGeometry::containing(picked.value().content.displays, rect);
    if (!display)
        co_return CaptureError::of(CaptureError::Kind::NoDisplay);
    Pick pick {display, std::nullopt, rect, QImage()};
    const Backdrops& backdrops = picked.value().backdrops;
    if (const auto backdrop = backdrops.find(display->name); backdrop != backdrops.end())
        pick.image = backdrop->second.copy(DisplayGeometry::pixelRect(*display, rect, backdrop->second.size()));
    co_return pick;
}

QCoro::Task<CaptureResult<Pick>> OverlayPicker::pickWindow(QString prompt)
{
    QCoro::Task<CaptureResult<Picked>> picking = pickOnScreen(OverlayView::Mode::Window, prompt);
    const CaptureResult<Picked> picked = co_await picking;
    if (!picked.ok())
        co_return picked.error();
    co_return Pick {std::nullopt, std::get<CaptureWindow>(picked.value().result), QRect(), QImage()};
}

QCoro::Task<CaptureResult<Pick>> OverlayPicker::pickDisplay()
{
    QCoro::Task<CaptureResult<CaptureContent>> fetching = access_.content();
    const CaptureResult<CaptureContent> current = co_await fetching;
    if (!current.ok())
        co_return current.error();
    const auto display = DisplayGeometry::containing(current.value().displays, QRect(QCursor::pos(), QSize(1, 1)));
    if (!display)
        co_return CaptureError::of(CaptureError::Kind::NoDisplay);
    co_return Pick {display, std::nullopt, QRect(), QImage()};
}

QCoro::Task<CaptureResult<OverlayPicker::Picked>> OverlayPicker::pickOnScreen(OverlayView::Mode mode, QString prompt)
{
    QCoro::Task<CaptureResult<CaptureContent>> fetching = access_.content();
    const CaptureResult<CaptureContent> current = co_await fetching;
    if (!current.ok())
        co_return current.error();
    QCoro::Task<CaptureResult<Backdrops>> grabbing = grabBackdrops(current.value().displays);
    const CaptureResult<Backdrops> backdrops = co_await grabbing;
    if (!backdrops.ok())
        co_return backdrops.error();
    Picked picked {current.value(), backdrops.value(), CaptureError::of(CaptureError::Kind::Cancelled)};
    QCoro::Task<CaptureOverlay::Result> picking = present(mode,
        mode == OverlayView::Mode::Window ? capturableWindows(picked.content) : std::vector<CaptureWindow> {},
        picked.backdrops, prompt);
    picked.result = co_await picking;
    if (const auto* error = std::get_if<CaptureError>(&picked.result))
        co_return *error;
    co_return picked;
}

QCoro::Task<CaptureResult<OverlayPicker::Backdrops>> OverlayPicker::grabBackdrops(std::vector<CaptureDisplay> displays)
{
    QCoro::Task<StatusOr<std::vector<QImage>>> grabbing = screen_.grabDisplays(displays);
    const StatusOr<std::vector<QImage>> images = co_await grabbing;
    if (!images.ok() && images.status().code() == EACCES)
        co_return access_.refused();
    // A desktop without the means to read its screens: allowing would not help.
    if (!images.ok())
        co_return CaptureError::failed(images.status().message());
    Backdrops backdrops;
    for (size_t i = 0; i < displays.size() && i < images.value().size(); ++i) {
        if (!images.value()[i].isNull())
            backdrops.emplace(displays[i].name, images.value()[i]);
    }
    co_return backdrops;
}

QCoro::Task<CaptureOverlay::Result> OverlayPicker::present(
    OverlayView::Mode mode, std::vector<CaptureWindow> targets, const Backdrops& backdrops, QString prompt)
{
    std::vector<CaptureOverlay::Screen> screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        const auto backdrop = backdrops.find(screen->name());
        screens.push_back({screen, backdrop == backdrops.end() ? QImage() : backdrop->second});
    }
    overlay_ = std::make_unique<CaptureOverlay>(mode, std::move(targets), prompt, std::move(screens));
    CaptureOverlay* overlay = overlay_.get();
    overlay->present();
    auto picking = qCoro(overlay, &CaptureOverlay::finished);
    const CaptureOverlay::Result result = co_await picking;
    // The overlay is still delivering its signal: it goes once that is done.
    if (overlay_.get() == overlay)
        overlay_.release()->deleteLater();
    co_return result;
}
