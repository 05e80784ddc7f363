// The recording flows of the capture service: what to record, where the
// file goes, the bar, the microphone's fallback to the system's sound, and
// the ways a recording ends.
#include "capture/CaptureService.h"

#include "model/AppModel.h"
#include "capture/CaptureNaming.h"
#include "capture/OwnWindowsAway.h"
#include "capture/Pause.h"
#include "capture/RecordingBar.h"
#include "core/FileNames.h"

void CaptureService::record(bool pickWindow, bool microphone)
{
    if (recordingStarts_ || isRecording())
        return;
    startRecording(pickWindow, microphone); // the task finishes on its own
}

void CaptureService::stopRecording()
{
    // The bar goes at once: what the user sees must be true, so a recording
    // still starting is stopped as soon as it has started.
    recordingBar_->hide();
    forgetRecordingBar();
    if (recordingStarts_)
        stopWhenStarted_ = true;
    else if (isRecording())
        ports_.recorder->stop(); // recordingStopped() follows once the file is closed
}

bool CaptureService::setMicrophoneEnabled(bool enabled)
{
    if (!enabled)
        return false;
    // Switching it on is never refused: a recording without a microphone
    // falls back to the system's sound and says so again.
    if (const Status microphone = ports_.recorder->checkMicrophone(); !microphone.ok())
        model_.setToast(microphone.message());
    return true;
}

QCoro::Task<> CaptureService::startRecording(bool pickWindow, bool microphone)
{
    recordingStarts_ = true;
    stopWhenStarted_ = false;
    busy_ = true;
    Q_EMIT busyChanged();
    model_.start(); // the finished file lands in the Inbox the model watches

    QCoro::Task<CaptureResult<bool>> launching = launchRecording(pickWindow, microphone);
    const CaptureResult<bool> launched = co_await launching;
    recordingStarts_ = false;
    away_.reset();
    const bool stopAtOnce = std::exchange(stopWhenStarted_, false);
    if (!launched.ok()) {
        recordingBar_->hide();
        finishWith(launched.error());
    } else if (launched.value()) {
        recordingStartedAt_ = model_.now();
        Q_EMIT recordingChanged();
        if (stopAtOnce)
            ports_.recorder->stop();
    }
    busy_ = false;
    Q_EMIT busyChanged();
}

QCoro::Task<CaptureResult<bool>> CaptureService::launchRecording(bool pickWindow, bool microphone)
{
    QCoro::Task<CaptureResult<RecordingSource>> choosing = recordingSource(pickWindow);
    const CaptureResult<RecordingSource> source = co_await choosing;
    if (!source.ok())
        co_return source.error();
    const CaptureResult<QString> destination = recordingDestination();
    if (!destination.ok())
        co_return destination.error();

    recordingBar_->show([this] { stopRecording(); });
    QCoro::Task<> settling = pause(timing_.recordingSettle);
    co_await settling;
    if (stopWhenStarted_)
        co_return false; // stopped while the bar came up: nothing recorded, no file

    // The last capture's pixels would otherwise stay beside the recording's
    // own buffers for a few seconds more, at the start's peak.
    ports_.screen->releaseBuffers();
    const auto begin = [&](RecordingSound sound) { return ports_.recorder->start(source.value(), sound, destination.value()); };
    Status started = begin(microphone ? RecordingSound::Microphone : RecordingSound::System);
    if (!started.ok() && microphone) {
        // A microphone that cannot be had does not cost the recording.
        const QString whyNoMicrophone = started.message();
        started = begin(RecordingSound::System);
        if (started.ok())
            model_.setToast(whyNoMicrophone);
    }
    if (!started.ok())
        co_return CaptureError::failed(started.message());
    co_return true;
}

QCoro::Task<CaptureResult<RecordingSource>> CaptureService::recordingSource(bool pickWindow)
{
    if (pickWindow) {
        QCoro::Task<CaptureResult<Picked>> picking
            = pickOnScreen(OverlayView::Mode::Window, tr("Click a window to record. Esc cancels."));
        const CaptureResult<Picked> picked = co_await picking;
        if (!picked.ok())
            co_return picked.error();
        co_return RecordingSource(std::get<CaptureWindow>(picked.value().result));
    }
    prepareScreen();
    const CaptureResult<CaptureDisplay> display = displayUnderPointer();
    if (!display.ok())
        co_return display.error();
    co_return RecordingSource(display.value());
}

CaptureResult<QString> CaptureService::recordingDestination()
{
    if (const Status made = model_.folders().ensure(); !made.ok())
        return CaptureError::failed(made.message());
    const auto destination
        = FileNames::uniqueDestination(model_.folders().inbox(), CaptureNaming::recordingName(QDateTime::currentDateTime()));
    if (!destination.ok())
        return CaptureError::failed(destination.status().message());
    return destination.value();
}

void CaptureService::recordingStopped()
{
    recordingBar_->hide();
    forgetRecordingBar();
    if (recordingStartedAt_) {
        recordingStartedAt_.reset();
        Q_EMIT recordingChanged();
    }
}

void CaptureService::forgetRecordingBar()
{
    // A capture under way must not bring back a bar that has gone meanwhile.
    if (away_)
        away_->forget(recordingBar_->window());
}
