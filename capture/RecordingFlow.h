#pragma once

#include "capture/CaptureError.h"
#include "capture/recording/ScreenRecorder.h"

#include <QDateTime>
#include <QObject>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>
#include <optional>

class CaptureAccess;
class CaptureHost;
class CapturePicker;
class DesktopWindows;
class GlobalEscape;
class RecordingBar;
class ScreenCapture;
class ScreenClearing;

// A recording's life: what to record, where the file goes, the bar while it
// runs, the microphone's fallback to the system's sound, and the ways it
// ends.
class RecordingFlow : public QObject {
    Q_OBJECT
public:
    struct Ports {
        ScreenRecorder* recorder = nullptr;
        ScreenCapture* screen = nullptr;
        GlobalEscape* escape = nullptr;
        DesktopWindows* desktop = nullptr;
    };
    struct Timing {
        // For the popover to be gone before the overlay freezes the screen.
        std::chrono::milliseconds pickSettle;
        // For the bar to be up and the overlay gone before the first frame.
        std::chrono::milliseconds settle;
    };

    RecordingFlow(Ports ports, CapturePicker& picker, CaptureAccess& access, ScreenClearing& clearing, CaptureHost& host,
        Timing timing);
    ~RecordingFlow() override;

    // Records the display under the pointer, or a window the user picks,
    // with the microphone or the system's sound. Nothing happens while a
    // recording runs or starts.
    void record(bool pickWindow, bool microphone);
    // Ends the recording; a stop while it is still starting ends it as soon
    // as it has started.
    void stop();
    bool isStarting() const { return starting_; }
    bool isRecording() const { return startedAt_.has_value(); }
    const std::optional<QDateTime>& startedAt() const { return startedAt_; }
    // Switching the microphone on says in the popover's message when no
    // microphone can be recorded. True unless asked for false.
    bool setMicrophoneEnabled(bool enabled);
    RecordingBar& bar() const { return *bar_; }

Q_SIGNALS:
    void startingChanged();
    void recordingChanged();
    // The recording did not start.
    void failed(const CaptureError& error);

private:
    QCoro::Task<> start(bool pickWindow, bool microphone);
    // True once recording; false when stopped before it began.
    QCoro::Task<CaptureResult<bool>> launch(bool pickWindow, bool microphone);
    QCoro::Task<CaptureResult<RecordingSource>> source(bool pickWindow);
    CaptureResult<QString> destination();
    void stopped();
    void forgetBar();

    Ports ports_;
    CapturePicker& picker_;
    CaptureAccess& access_;
    ScreenClearing& clearing_;
    CaptureHost& host_;
    Timing timing_;
    std::unique_ptr<RecordingBar> bar_;
    bool starting_ = false;
    bool stopWhenStarted_ = false;
    std::optional<QDateTime> startedAt_;
};
