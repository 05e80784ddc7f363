#include "capture/CaptureAccess.h"

#include "capture/CaptureHost.h"
#include "capture/PermissionPanel.h"
#include "capture/ScreenClearing.h"
#include "core/DefaultsKeys.h"
#include "platform/DefaultsStore.h"
#include "platform/Relauncher.h"

#include <cerrno>

namespace {

bool isRefusal(const Status& status) { return status.code() == EACCES; }

} // namespace

CaptureAccess::CaptureAccess(Ports ports, CaptureHost& host, ScreenClearing& clearing)
    : ports_(ports), host_(host), clearing_(clearing)
{
}

CaptureAccess::~CaptureAccess() = default;

QCoro::Task<CaptureResult<CaptureContent>> CaptureAccess::content()
{
    // A refusal asks the user, where the desktop can ask, and tries once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QCoro::Task<StatusOr<CaptureContent>> fetching = ports_.screen->content();
        const StatusOr<CaptureContent> fetched = co_await fetching;
        // Knowing the screens is not yet a picture of them: a portal lists
        // them freely and refuses only the picture.
        if (fetched.ok())
            co_return fetched.value();
        if (!isRefusal(fetched.status()))
            co_return CaptureError::failed(fetched.status().message());
        if (attempt == 0 && !ports_.screen->hasAccess()) {
            QCoro::Task<> asking = ports_.screen->requestAccess();
            co_await asking;
        }
    }
    co_return refused();
}

CaptureError CaptureAccess::notGranted(const Status& answer)
{
    if (answer.code() == ECANCELED)
        return CaptureError::of(CaptureError::Kind::Cancelled);
    if (answer.code() == EACCES)
        return refused();
    return CaptureError::failed(answer.message());
}

CaptureError CaptureAccess::refused()
{
    const int step = ports_.defaults->intValue(DefaultsKeys::captureRecoveryStep);
    ports_.defaults->setInt(DefaultsKeys::captureRecoveryStep, step + 1);
    if (step == 0) {
        host_.showToast(tr("Allow screen capture, then click capture again."));
        Q_EMIT attentionRequested();
    } else if (step == 1) {
        ports_.defaults->setBool(DefaultsKeys::captureAutoRelaunched, true);
        ports_.defaults->setBool(DefaultsKeys::showCaptureReadyToast, true);
        ports_.relauncher->relaunch();
    } else {
        blockedUntilRelaunch_ = true;
        showPanel();
    }
    return CaptureError::of(CaptureError::Kind::AwaitingPermission);
}

void CaptureAccess::markReady()
{
    blockedUntilRelaunch_ = false;
    ports_.defaults->setBool(DefaultsKeys::captureAutoRelaunched, false);
    ports_.defaults->setInt(DefaultsKeys::captureRecoveryStep, 0);
    if (panel_) {
        panel_->hide();
        clearing_.forget(panel_.get()); // allowed now: the panel stays gone
    }
}

void CaptureAccess::showPanel()
{
    if (!panel_) {
        panel_ = std::make_unique<PermissionPanel>();
        connect(panel_.get(), &PermissionPanel::openSettingsRequested, this, [this] {
            if (!openAccessSettings())
                host_.showToast(nothingToAllow());
        });
        connect(panel_.get(), &PermissionPanel::relaunchRequested, this, [this] {
            ports_.defaults->setBool(DefaultsKeys::showCaptureReadyToast, true);
            ports_.relauncher->relaunch();
        });
    }
    panel_->present();
}

bool CaptureAccess::openAccessSettings() { return ports_.screen->openAccessSettings(); }

bool CaptureAccess::hasAccessSettings() const { return ports_.screen->hasAccessSettings(); }

QString CaptureAccess::nothingToAllow()
{
    return tr("Every program may capture the screen on this desktop: there is nothing to allow.");
}
