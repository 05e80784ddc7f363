#include "capture/CaptureService.h"

#include "model/AppModel.h"
#include "capture/CaptureNaming.h"
#include "capture/CapturePreviewPanel.h"
#include "capture/DisplayGeometry.h"
#include "capture/OwnWindowsAway.h"
#include "capture/Pause.h"
#include "capture/PermissionPanel.h"
#include "capture/PngEncoder.h"
#include "capture/RecordingBar.h"
#include "core/DefaultsKeys.h"
#include "core/FileNames.h"
#include "platform/DefaultsStore.h"
#include "platform/Relauncher.h"
#include "platform/ShutterSound.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>
#include <qcoro/qcorosignal.h>

#include <cerrno>
#include <unistd.h>

namespace {

// Windows smaller than this are tool palettes and tooltips, not targets.
constexpr QSize smallestTarget(120, 80);
constexpr int smallestSelection = 2;

bool isAccessRefusal(const Status& status) { return status.code() == EACCES; }

} // namespace

CaptureService::CaptureService(AppModel& model, Ports ports, Timing timing, QObject* parent)
    : QObject(parent)
    , model_(model)
    , ports_(ports)
    , timing_(timing)
    , preview_(std::make_unique<CapturePreviewPanel>(
          CapturePreviewPanel::Timing {timing.previewHideAfterMs}, model.timers()))
    , recordingBar_(std::make_unique<RecordingBar>(model.clock(), *ports.escape))
{
    connect(preview_.get(), &CapturePreviewPanel::clicked, this,
        [this](const QString& path) { model_.togglePreview({path}, 0); });
    // Also when a recording ends by itself, say because its window closed.
    connect(ports_.recorder, &ScreenRecorder::stopped, this, &CaptureService::recordingStopped);
}

CaptureService::~CaptureService() = default;

void CaptureService::capture(CaptureKind kind)
{
    run(kind); // the task finishes on its own; its frame goes with it
}

QCoro::Task<> CaptureService::run(CaptureKind kind)
{
    busy_ = true;
    Q_EMIT busyChanged();
    // A capture goes into the Inbox: the model must be watching it, also
    // when the capture came from a key binding before the popover was opened.
    model_.start();
    QCoro::Task<CaptureResult<QImage>> capturing = take(kind);
    const CaptureResult<QImage> image = co_await capturing;
    away_.reset(); // the picture is taken
    if (image.ok()) {
        QCoro::Task<CaptureResult<QString>> writing = writePng(image.value());
        const CaptureResult<QString> written = co_await writing;
        if (!written.ok())
            finishWith(written.error());
    } else {
        finishWith(image.error());
    }
    busy_ = false;
    Q_EMIT busyChanged();
}

QCoro::Task<CaptureResult<QImage>> CaptureService::take(CaptureKind kind)
{
    switch (kind) {
    case CaptureKind::Visible:
        return visibleImage();
    case CaptureKind::Region:
        return regionImage();
    case CaptureKind::Window:
        return windowImage();
    case CaptureKind::Page:
        return pageImage();
    }
    return visibleImage();
}

void CaptureService::finishWith(const CaptureError& error)
{
    switch (error.kind) {
    case CaptureError::Kind::AwaitingPermission:
        return; // the permission flow has spoken
    case CaptureError::Kind::Cancelled:
        Q_EMIT restoreChromeRequested();
        return;
    default:
        model_.setToast(error.friendlyMessage());
        Q_EMIT attentionRequested();
    }
}

bool CaptureService::prepareScreen()
{
    const bool anyShown = OwnWindowsAway::anyShown();
    model_.closePreview();
    preview_->hide(false);
    overlay_.reset();
    Q_EMIT hideChromeRequested();
    away_ = std::make_unique<OwnWindowsAway>();
    return anyShown;
}

QCoro::Task<> CaptureService::settleAfter(bool windowsLeft, std::chrono::milliseconds settle)
{
    // Programs repaint what Dropwell's windows covered; with nothing hidden
    // there is nothing to wait for.
    if (!windowsLeft)
        co_return;
    QCoro::Task<> settling = pause(settle);
    co_await settling;
}

QCoro::Task<CaptureResult<QImage>> CaptureService::visibleImage()
{
    QCoro::Task<> settling = settleAfter(prepareScreen(), timing_.settle);
    co_await settling;
    const CaptureResult<CaptureDisplay> display = displayUnderPointer();
    if (!display.ok())
        co_return display.error();
    const auto image = ports_.screen->grabDisplay(display.value(), {}, true);
    if (!image.ok())
        co_return CaptureError::failed(image.status().message());
    co_return image.value();
}

QCoro::Task<CaptureResult<QImage>> CaptureService::regionImage()
{
    QCoro::Task<CaptureResult<Picked>> picking = pickOnScreen(OverlayView::Mode::Region, tr("Drag to select. Esc cancels."));
    const CaptureResult<Picked> picked = co_await picking;
    if (!picked.ok())
        co_return picked.error();
    const QRect rect = std::get<QRect>(picked.value().result);
    if (rect.width() < smallestSelection || rect.height() < smallestSelection)
        co_return CaptureError::of(CaptureError::Kind::Cancelled);
    const auto display = DisplayGeometry::containing(picked.value().content.displays, rect);
    if (!display)
        co_return CaptureError::of(CaptureError::Kind::NoDisplay);
    // The crop comes from the picture the user drew on: the screen as it was
    // when picking began, without the overlay.
    QImage image;
    const Backdrops& backdrops = picked.value().backdrops;
    if (const auto backdrop = backdrops.find(display->name); backdrop != backdrops.end()) {
        image = backdrop->second.copy(DisplayGeometry::pixelRect(*display, rect, backdrop->second.size()));
    } else {
        const auto grabbed = ports_.screen->grabDisplay(*display, rect, false);
        if (!grabbed.ok())
            co_return CaptureError::failed(grabbed.status().message());
        image = grabbed.value();
    }
    if (image.width() < smallestSelection || image.height() < smallestSelection)
        co_return CaptureError::failed(tr("That selection was too small."));
    co_return image;
}

QCoro::Task<CaptureResult<QImage>> CaptureService::windowImage()
{
    QCoro::Task<CaptureResult<Picked>> picking = pickOnScreen(OverlayView::Mode::Window, tr("Click a window to capture. Esc cancels."));
    const CaptureResult<Picked> picked = co_await picking;
    if (!picked.ok())
        co_return picked.error();
    const auto image = ports_.screen->grabWindow(std::get<CaptureWindow>(picked.value().result));
    if (!image.ok())
        co_return CaptureError::failed(image.status().message());
    co_return image.value();
}

QCoro::Task<CaptureResult<CaptureService::Picked>> CaptureService::pickOnScreen(OverlayView::Mode mode, QString prompt)
{
    QCoro::Task<> settling = settleAfter(prepareScreen(), timing_.overlaySettle);
    co_await settling;
    const CaptureResult<CaptureContent> current = content();
    if (!current.ok())
        co_return current.error();
    Picked picked {current.value(), grabBackdrops(current.value()), CaptureError::of(CaptureError::Kind::Cancelled)};
    QCoro::Task<CaptureOverlay::Result> picking = pick(mode, picked.content, picked.backdrops, prompt);
    picked.result = co_await picking;
    if (const auto* error = std::get_if<CaptureError>(&picked.result))
        co_return *error;
    co_return picked;
}

CaptureResult<CaptureDisplay> CaptureService::displayUnderPointer()
{
    const CaptureResult<CaptureContent> current = content();
    if (!current.ok())
        return current.error();
    const auto display = DisplayGeometry::containing(current.value().displays, QRect(QCursor::pos(), QSize(1, 1)));
    if (!display)
        return CaptureError::of(CaptureError::Kind::NoDisplay);
    return *display;
}

std::vector<CaptureWindow> CaptureService::capturableWindows(const CaptureContent& content) const
{
    const qint64 ownPid = QCoreApplication::applicationPid();
    std::vector<CaptureWindow> targets;
    for (const CaptureWindow& window : content.windows) {
        if (window.onScreen && !window.isDesktopChrome && window.pid != ownPid
            && window.frame.width() >= smallestTarget.width() && window.frame.height() >= smallestTarget.height())
            targets.push_back(window);
    }
    return targets;
}

CaptureService::Backdrops CaptureService::grabBackdrops(const CaptureContent& content) const
{
    Backdrops backdrops;
    for (const CaptureDisplay& display : content.displays) {
        if (auto image = ports_.screen->grabDisplay(display, {}, false); image.ok())
            backdrops.emplace(display.name, image.value());
    }
    return backdrops;
}

QCoro::Task<CaptureOverlay::Result> CaptureService::pick(
    OverlayView::Mode mode, const CaptureContent& content, const Backdrops& backdrops, const QString& prompt)
{
    std::vector<CaptureOverlay::Screen> screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        const auto backdrop = backdrops.find(screen->name());
        screens.push_back({screen, backdrop == backdrops.end() ? QImage() : backdrop->second});
    }
    overlay_ = std::make_unique<CaptureOverlay>(mode,
        mode == OverlayView::Mode::Window ? capturableWindows(content) : std::vector<CaptureWindow> {}, prompt, std::move(screens));
    CaptureOverlay* overlay = overlay_.get();
    overlay->present();
    auto picking = qCoro(overlay, &CaptureOverlay::finished);
    const CaptureOverlay::Result result = co_await picking;
    // The overlay is still delivering its signal: it goes once that is done.
    if (overlay_.get() == overlay)
        overlay_.release()->deleteLater();
    co_return result;
}

QCoro::Task<CaptureResult<QString>> CaptureService::writePng(QImage image)
{
    if (const Status made = model_.folders().ensure(); !made.ok())
        co_return CaptureError::failed(made.message());
    const QString inbox = model_.folders().inbox();
    const QString name = CaptureNaming::screenshotName(QDateTime::currentDateTime());
    // Encoding takes tens of milliseconds: off the GUI thread. (Every awaited
    // thing is a named local: GCC 12 destroys temporaries of a co_await
    // expression twice.)
    QFuture<CaptureResult<QString>> encoding = QtConcurrent::run([image, inbox, name] { return writeFree(image, inbox, name); });
    const CaptureResult<QString> written = co_await encoding;
    if (written.ok()) {
        ports_.shutter->play();
        preview_->show(image, written.value());
        Q_EMIT fileWritten(written.value());
    }
    co_return written;
}

CaptureResult<QString> CaptureService::writeFree(const QImage& image, const QString& folder, const QString& name)
{
    // The encoder never replaces a file: if another capture took the name
    // meanwhile, the next free one is used.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto destination = FileNames::uniqueDestination(folder, name);
        if (!destination.ok())
            return CaptureError::failed(destination.status().message());
        const Status written = PngEncoder::write(image, destination.value());
        if (written.ok())
            return destination.value();
        if (written.code() != EEXIST)
            break;
    }
    return CaptureError::failed(tr("Couldn't write the screenshot."));
}

CaptureResult<CaptureContent> CaptureService::content()
{
    const auto fetched = ports_.screen->content();
    if (fetched.ok()) {
        markCaptureReady();
        return fetched.value();
    }
    if (!isAccessRefusal(fetched.status()))
        return CaptureError::failed(fetched.status().message());
    return recoverAccess();
}

CaptureResult<CaptureContent> CaptureService::recoverAccess()
{
    if (!ports_.screen->hasAccess())
        ports_.screen->requestAccess();
    const auto again = ports_.screen->content();
    if (again.ok()) {
        markCaptureReady();
        return again.value();
    }
    if (!isAccessRefusal(again.status()))
        return CaptureError::failed(again.status().message());

    // Each refusal in a row goes one step further.
    const int step = ports_.defaults->intValue(DefaultsKeys::captureRecoveryStep);
    ports_.defaults->setInt(DefaultsKeys::captureRecoveryStep, step + 1);
    if (step == 0) {
        model_.setToast(tr("Allow screen capture, then click capture again."));
        Q_EMIT attentionRequested();
    } else if (step == 1) {
        ports_.defaults->setBool(DefaultsKeys::captureAutoRelaunched, true);
        ports_.defaults->setBool(DefaultsKeys::showCaptureReadyToast, true);
        ports_.relauncher->relaunch();
    } else {
        blockedUntilRelaunch_ = true;
        showPermissionPanel();
    }
    return CaptureError::of(CaptureError::Kind::AwaitingPermission);
}

void CaptureService::markCaptureReady()
{
    blockedUntilRelaunch_ = false;
    ports_.defaults->setBool(DefaultsKeys::captureAutoRelaunched, false);
    ports_.defaults->setInt(DefaultsKeys::captureRecoveryStep, 0);
    if (permissionPanel_) {
        permissionPanel_->hide();
        if (away_)
            away_->forget(permissionPanel_.get()); // allowed now: the panel stays gone
    }
}

void CaptureService::showPermissionPanel()
{
    if (!permissionPanel_) {
        permissionPanel_ = std::make_unique<PermissionPanel>();
        connect(permissionPanel_.get(), &PermissionPanel::openSettingsRequested, this, [this] {
            if (!openAccessSettings())
                model_.setToast(nothingToAllow());
        });
        connect(permissionPanel_.get(), &PermissionPanel::relaunchRequested, this, [this] {
            ports_.defaults->setBool(DefaultsKeys::showCaptureReadyToast, true);
            ports_.relauncher->relaunch();
        });
    }
    permissionPanel_->present();
}

bool CaptureService::openAccessSettings() { return ports_.screen->openAccessSettings(); }

bool CaptureService::hasAccessSettings() const { return ports_.screen->hasAccessSettings(); }

QString CaptureService::nothingToAllow()
{
    return tr("Every program may capture the screen on this desktop: there is nothing to allow.");
}
