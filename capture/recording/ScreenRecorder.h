#pragma once

#include "platform/CaptureTargets.h"
#include "platform/Status.h"

#include <QObject>
#include <QString>

#include <qcoro/qcorotask.h>

#include <memory>
#include <variant>

class FrameSources;
class RecordingRun;
class SoundSources;

// What a recording shows: a whole display, or one window.
using RecordingSource = std::variant<CaptureDisplay, CaptureWindow>;

// Where a recording's sound comes from.
enum class RecordingSound {
    System, // what the computer plays (the default output's monitor)
    Microphone, // the default input
};

// Records the screen to an MP4 file: H.264 High (a key frame every 30
// frames, no B-frames, up to 30 frames per second, bit rate width × height × 4
// but at least 2,000,000), AAC 128 kbit/s at 48 kHz (2 channels for system
// sound, 1 for the microphone), the index at the front of the file. Grabbing,
// sound, encoding and writing each run on a thread of their own; the object
// itself lives on the GUI thread.
class ScreenRecorder : public QObject {
    Q_OBJECT
public:
    // The desktop's pictures and sound, chosen by the application.
    struct Ports {
        FrameSources* frames = nullptr;
        SoundSources* sound = nullptr;
    };

    explicit ScreenRecorder(Ports ports, QObject* parent = nullptr);
    ~ScreenRecorder() override;

    // Starts recording into `path` (which must not exist); ends once the
    // desktop gave the pictures, which may ask the user first. Fails with a
    // sentence for the user; a microphone that cannot be opened fails the
    // start with why (for example "No microphone found."), so the caller can
    // start again with system sound. Without any sound device to take system
    // sound from, the recording has no sound track. A refusal keeps the
    // desktop's EACCES, a closed dialog ECANCELED.
    QCoro::Task<Status> start(RecordingSource source, RecordingSound sound, QString path);
    // Finishes the file; stopped() follows once it is closed. Safe to call
    // more than once and when idle.
    void stop();
    // From a successful start() until stopped().
    bool isRecording() const;
    // Whether a window recording lets the desktop ask which window, so
    // Dropwell asks nothing first.
    bool asksForWindow() const;
    // Whether a recording can have the microphone now; else why not, in the
    // words start() would use.
    Status checkMicrophone() const;

Q_SIGNALS:
    // Once per recording, also when it ended by itself (the recorded window
    // closed): `kept` is false when no frame was ever written, and then no
    // file is left behind.
    void stopped(const QString& path, bool kept);

private:
    void finish();
    // Puts the finished file in place, or removes it; whether it is kept.
    bool settleFile(bool complete);

    Ports ports_;
    std::unique_ptr<RecordingRun> session_;
    bool opening_ = false;
    QString path_;
    QString partialPath_;
};
