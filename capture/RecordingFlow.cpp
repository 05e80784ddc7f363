#include "capture/RecordingFlow.h"

#include "capture/CaptureAccess.h"
#include "capture/CaptureHost.h"
#include "capture/CaptureNaming.h"
#include "capture/Pause.h"
#include "capture/RecordingBar.h"
#include "capture/ScreenClearing.h"
#include "capture/pick/CapturePicker.h"
#include "core/FileNames.h"
#include "platform/ScreenCapture.h"

#include <cerrno>

RecordingFlow::RecordingFlow(
    Ports ports, CapturePicker& picker, CaptureAccess& access, ScreenClearing& clearing, CaptureHost& host, Timing timing)
    : ports_(ports)
    , picker_(picker)
    , access_(access)
    , clearing_(clearing)
    , host_(host)
    , timing_(timing)
    , bar_(std::make_unique<RecordingBar>(host.clock(), *ports.escape, *ports.desktop))
{
    // Also when a recording ends by itself, say because its window closed.
    connect(ports_.recorder, &ScreenRecorder::stopped, this, &RecordingFlow::stopped);
}

RecordingFlow::~RecordingFlow() = default;

void RecordingFlow::record(bool pickWindow, bool microphone)
{
    if (starting_ || isRecording())
        return;
    start(pickWindow, microphone); // the task finishes on its own
}

void RecordingFlow::stop()
{
    // The bar goes at once: what the user sees must be true, so a recording
    // still starting is stopped as soon as it has started.
    bar_->hide();
    forgetBar();
    if (starting_)
        stopWhenStarted_ = true;
    else if (isRecording())
        ports_.recorder->stop(); // stopped() follows once the file is closed
}

bool RecordingFlow::setMicrophoneEnabled(bool enabled)
{
    if (!enabled)
        return false;
    // Switching it on is never refused: a recording without a microphone
    // falls back to the system's sound and says so again.
    if (const Status microphone = ports_.recorder->checkMicrophone(); !microphone.ok())
        host_.showToast(microphone.message());
    return true;
}

QCoro::Task<> RecordingFlow::start(bool pickWindow, bool microphone)
{
    starting_ = true;
    stopWhenStarted_ = false;
    Q_EMIT startingChanged();
    host_.startWatching(); // the finished file lands in the Inbox

    QCoro::Task<CaptureResult<bool>> launching = launch(pickWindow, microphone);
    const CaptureResult<bool> launched = co_await launching;
    starting_ = false;
    clearing_.restore();
    const bool stopAtOnce = std::exchange(stopWhenStarted_, false);
    if (!launched.ok()) {
        bar_->hide();
        Q_EMIT failed(launched.error());
    } else if (launched.value()) {
        startedAt_ = host_.now();
        Q_EMIT recordingChanged();
        if (stopAtOnce)
            ports_.recorder->stop();
    }
    Q_EMIT startingChanged();
}

QCoro::Task<CaptureResult<bool>> RecordingFlow::launch(bool pickWindow, bool microphone)
{
    QCoro::Task<CaptureResult<RecordingSource>> choosing = source(pickWindow);
    const CaptureResult<RecordingSource> chosen = co_await choosing;
    if (!chosen.ok())
        co_return chosen.error();
    const CaptureResult<QString> path = destination();
    if (!path.ok())
        co_return path.error();

    bar_->show([this] { stop(); });
    QCoro::Task<> settling = pause(timing_.settle);
    co_await settling;
    if (stopWhenStarted_)
        co_return false; // stopped while the bar came up: nothing recorded, no file

    // The last capture's pixels would otherwise stay beside the recording's
    // own buffers for a few seconds more, at the start's peak.
    ports_.screen->releaseBuffers();
    QCoro::Task<Status> starting = ports_.recorder->start(chosen.value(), microphone ? RecordingSound::Microphone : RecordingSound::System, path.value());
    Status started = co_await starting;
    if (!started.ok() && microphone && started.code() != EACCES && started.code() != ECANCELED) {
        // A microphone that cannot be had does not cost the recording.
        const QString whyNoMicrophone = started.message();
        QCoro::Task<Status> again = ports_.recorder->start(chosen.value(), RecordingSound::System, path.value());
        started = co_await again;
        if (started.ok())
            host_.showToast(whyNoMicrophone);
    }
    if (!started.ok())
        co_return access_.notGranted(started);
    access_.markReady();
    co_return true;
}

QCoro::Task<CaptureResult<RecordingSource>> RecordingFlow::source(bool pickWindow)
{
    if (pickWindow && ports_.recorder->asksForWindow()) {
        clearing_.clear();
        co_return RecordingSource(CaptureWindow {}); // the desktop asks which when the recording opens
    }
    if (pickWindow) {
        QCoro::Task<> settling = clearing_.clearAndSettle(timing_.pickSettle);
        co_await settling;
        QCoro::Task<CaptureResult<Pick>> picking = picker_.pickWindow(tr("Click a window to record. Esc cancels."));
        const CaptureResult<Pick> picked = co_await picking;
        if (!picked.ok())
            co_return picked.error();
        if (!picked.value().window)
            co_return CaptureError::failed(tr("The desktop named no window to record."));
        co_return RecordingSource(*picked.value().window);
    }
    clearing_.clear();
    QCoro::Task<CaptureResult<Pick>> picking = picker_.pickDisplay();
    const CaptureResult<Pick> picked = co_await picking;
    if (!picked.ok())
        co_return picked.error();
    if (!picked.value().display)
        co_return CaptureError::failed(tr("The desktop named no display to record."));
    co_return RecordingSource(*picked.value().display);
}

CaptureResult<QString> RecordingFlow::destination()
{
    const StatusOr<QString> inbox = host_.inbox();
    if (!inbox.ok())
        return CaptureError::failed(inbox.status().message());
    const auto path = FileNames::uniqueDestination(inbox.value(), CaptureNaming::recordingName(QDateTime::currentDateTime()));
    if (!path.ok())
        return CaptureError::failed(path.status().message());
    return path.value();
}

void RecordingFlow::stopped()
{
    bar_->hide();
    forgetBar();
    if (startedAt_) {
        startedAt_.reset();
        Q_EMIT recordingChanged();
    }
}

void RecordingFlow::forgetBar()
{
    // A capture under way must not bring back a bar that has gone meanwhile.
    clearing_.forget(bar_->window());
}
