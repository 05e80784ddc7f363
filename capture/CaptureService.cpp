#include "capture/CaptureService.h"

#include "capture/CaptureHost.h"
#include "capture/CapturePreviewPanel.h"
#include "capture/RecordingBar.h"
#include "capture/ScreenshotFile.h"
#include "capture/pick/DesktopPicking.h"
#include "capture/pick/OverlayPicker.h"
#include "platform/ShutterSound.h"

namespace {

// The desktop's own picker where it has one, Dropwell's overlay for what it
// leaves to Dropwell.
std::unique_ptr<CapturePicker> pickerFor(ScreenCapture& screen, CaptureAccess& access, OverlayPicker*& overlayPicker)
{
    using Target = DesktopPicker::Target;
    DesktopPicker* desktop = screen.desktopPicker();
    std::unique_ptr<OverlayPicker> own;
    if (!desktop || !desktop->picks(Target::Region) || !desktop->picks(Target::Window) || !desktop->picks(Target::Display)) {
        own = std::make_unique<OverlayPicker>(screen, access);
        overlayPicker = own.get();
    }
    if (desktop)
        return std::make_unique<DesktopPicking>(*desktop, access, std::move(own));
    return own;
}

} // namespace

CaptureService::CaptureService(CaptureHost& host, Ports ports, Timing timing, QObject* parent)
    : QObject(parent)
    , host_(host)
    , ports_(ports)
    , preview_(std::make_unique<CapturePreviewPanel>(CapturePreviewPanel::Timing {timing.previewHideAfterMs}, host.timers(), *ports.desktop))
    , access_({ports.screen, ports.defaults, ports.relauncher}, host, clearing_)
    , picker_(pickerFor(*ports.screen, access_, overlayPicker_))
    , still_(*ports.screen, *picker_, access_, clearing_, {timing.settle, timing.overlaySettle})
    , page_({ports.screen, ports.page, ports.pageInput, ports.pageCasts}, access_, clearing_, host, {timing.settle, timing.pageScroll})
    , recording_({ports.recorder, ports.screen, ports.escape, ports.desktop}, *picker_, access_, clearing_, host,
          {timing.overlaySettle, timing.recordingSettle})
{
    connect(preview_.get(), &CapturePreviewPanel::clicked, this, [this](const QString& path) { host_.togglePreview(path); });
    connect(&clearing_, &ScreenClearing::clearing, this, [this] {
        host_.closePreview();
        preview_->hide(false);
        picker_->dismiss();
        Q_EMIT hideChromeRequested();
    });
    connect(&access_, &CaptureAccess::attentionRequested, this, &CaptureService::attentionRequested);
    connect(&recording_, &RecordingFlow::startingChanged, this, &CaptureService::busyChanged);
    connect(&recording_, &RecordingFlow::recordingChanged, this, &CaptureService::recordingChanged);
    connect(&recording_, &RecordingFlow::failed, this, &CaptureService::finishWith);
}

void CaptureService::releaseHiddenWindows()
{
    preview_->releaseWindow();
    recording_.bar().releaseWindow();
}

CaptureService::~CaptureService() = default;

CaptureOverlay* CaptureService::overlay() const { return overlayPicker_ ? overlayPicker_->overlay() : nullptr; }

void CaptureService::capture(CaptureKind kind)
{
    run(kind); // the task finishes on its own; its frame goes with it
}

QCoro::Task<> CaptureService::run(CaptureKind kind)
{
    busy_ = true;
    Q_EMIT busyChanged();
    QCoro::Task<CaptureResult<QImage>> capturing = take(kind);
    const CaptureResult<QImage> image = co_await capturing;
    clearing_.restore(); // the picture is taken
    if (image.ok()) {
        QCoro::Task<CaptureResult<QString>> writing = write(image.value());
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
    if (kind == CaptureKind::Page)
        return page_.take();
    return still_.take(kind);
}

QCoro::Task<CaptureResult<QString>> CaptureService::write(QImage image)
{
    const StatusOr<QString> inbox = host_.inbox();
    if (!inbox.ok())
        co_return CaptureError::failed(inbox.status().message());
    QCoro::Task<CaptureResult<QString>> writing = writeScreenshot(image, inbox.value());
    // The Inbox's bookkeeping (a pass over the folders, the index saved)
    // runs while the picture is encoded, not between the key and the grab.
    host_.startWatching();
    const CaptureResult<QString> written = co_await writing;
    if (written.ok()) {
        ports_.shutter->play();
        preview_->show(image, written.value());
        Q_EMIT fileWritten(written.value());
    }
    co_return written;
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
        host_.showToast(error.friendlyMessage());
        Q_EMIT attentionRequested();
    }
}
