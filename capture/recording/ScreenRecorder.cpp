#include "capture/recording/ScreenRecorder.h"

#include "capture/recording/RecordingRun.h"
#include "platform/FileSystem.h"
#include "platform/FrameSource.h"
#include "platform/SoundSource.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>

#include <cerrno>
#include <malloc.h>

namespace {

Q_LOGGING_CATEGORY(recordingLog, "dropwell.recording", QtWarningMsg)

constexpr int sampleRate = 48000;

QString alreadyRecording() { return QCoreApplication::translate("ScreenRecorder", "Already recording."); }
QString couldNotStart() { return QCoreApplication::translate("ScreenRecorder", "Couldn't start the recorder."); }

// What the user reads when the microphone cannot be had.
QString microphoneProblem(const Status& status)
{
    if (status.code() == ENODEV)
        return QCoreApplication::translate("ScreenRecorder", "No microphone found.");
    if (status.code() == ECONNREFUSED)
        return QCoreApplication::translate("ScreenRecorder", "Couldn't reach the sound server for the microphone.");
    return QCoreApplication::translate("ScreenRecorder", "Couldn't open the microphone.");
}

// ".<name>.part" beside the final name: hidden, so the Inbox never lists a
// recording before it is whole.
QString partialPathFor(const QString& path)
{
    const QFileInfo target(path);
    return target.path() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".part");
}

QCoro::Task<OpenedFrames> openPictures(FrameSources& sources, const RecordingSource& source)
{
    if (const auto* display = std::get_if<CaptureDisplay>(&source))
        return sources.openDisplay(*display, RecordingRun::frameBuffers);
    return sources.openWindow(std::get<CaptureWindow>(source), RecordingRun::frameBuffers);
}

} // namespace

ScreenRecorder::ScreenRecorder(Ports ports, QObject* parent) : QObject(parent), ports_(ports) {}

ScreenRecorder::~ScreenRecorder()
{
    // Quitting while recording keeps what was recorded so far.
    if (session_)
        settleFile(session_->finish().kept);
}

bool ScreenRecorder::isRecording() const
{
    return bool(session_);
}

QCoro::Task<Status> ScreenRecorder::start(RecordingSource source, RecordingSound sound, QString path)
{
    if (session_ || opening_)
        co_return Status::failure(EBUSY, alreadyRecording());
    const QString partialPath = partialPathFor(path);
    if (FileSystem::exists(path) || FileSystem::exists(partialPath)) {
        qCWarning(recordingLog, "Not recording: %s is taken", qPrintable(path));
        co_return Status::failure(EEXIST, couldNotStart());
    }
    // The microphone first: one that cannot be had fails the start before
    // the desktop is asked for the screen, so the caller's second start with
    // system sound asks only once.
    const bool microphone = sound == RecordingSound::Microphone;
    std::unique_ptr<SoundSource> soundSource;
    const SoundFormat format {sampleRate, microphone ? 1 : 2};
    if (microphone) {
        if (Status opened = ports_.sound->open(SoundDevice::Input, format, soundSource); !opened.ok()) {
            qCInfo(recordingLog, "Not recording: no microphone: %s", qPrintable(opened.message()));
            co_return Status::failure(opened.code(), microphoneProblem(opened));
        }
    }
    opening_ = true;
    const QPointer<ScreenRecorder> alive(this);
    QCoro::Task<OpenedFrames> opening = openPictures(*ports_.frames, source);
    OpenedFrames frames = co_await opening;
    if (!alive)
        co_return Status::failure(ECANCELED, couldNotStart());
    opening_ = false;
    if (!frames.ok()) {
        qCWarning(recordingLog, "Not recording: %s", qPrintable(frames.status().message()));
        // The desktop's own words say what to allow or what is missing.
        const int code = frames.status().code();
        if (code == EACCES || code == ECANCELED || code == ENOSYS)
            co_return frames.status();
        co_return Status::failure(code, couldNotStart());
    }
    if (!microphone) {
        if (Status opened = ports_.sound->open(SoundDevice::OutputMonitor, format, soundSource); !opened.ok())
            qCInfo(recordingLog, "Recording without sound: %s", qPrintable(opened.message()));
    }
    std::unique_ptr<RecordingRun> session;
    if (Status opened = openRecordingRun(std::move(frames.value()), std::move(soundSource), partialPath, session); !opened.ok()) {
        qCWarning(recordingLog, "Not recording: %s", qPrintable(opened.message()));
        QFile::remove(partialPath);
        co_return Status::failure(opened.code(), couldNotStart());
    }
    session_ = std::move(session);
    path_ = path;
    partialPath_ = partialPath;
    // The last of the recording's threads to end says so; the file is closed
    // by then, and the rest happens here, on the GUI thread.
    session_->start([this] { QMetaObject::invokeMethod(this, &ScreenRecorder::finish, Qt::QueuedConnection); });
    co_return Status::success();
}

bool ScreenRecorder::asksForWindow() const { return ports_.frames && ports_.frames->asksForWindow(); }

Status ScreenRecorder::checkMicrophone() const
{
    if (const Status found = ports_.sound->find(SoundDevice::Input); !found.ok())
        return Status::failure(found.code(), microphoneProblem(found));
    return Status::success();
}

void ScreenRecorder::stop()
{
    if (session_)
        session_->requestStop();
}

void ScreenRecorder::finish()
{
    if (!session_)
        return;
    const RecordingRun::Outcome outcome = session_->finish();
    session_.reset();
    // The encoder's hundred megabytes were freed; a tray program that waits
    // for the next recording gives them back rather than holding them.
    malloc_trim(0);
    qCInfo(recordingLog,
        "Recording ended: %lld frames written, %lld dropped (%lld with the encoder behind, %lld with grabbing late), "
        "%lld sound fragments dropped",
        outcome.frames, outcome.droppedBehind + outcome.droppedLate, outcome.droppedBehind, outcome.droppedLate,
        outcome.droppedSound);
    if (!outcome.ending.ok())
        qCInfo(recordingLog, "The recording ended by itself: %s", qPrintable(outcome.ending.message()));
    if (!outcome.failure.ok())
        qCWarning(recordingLog, "The recording failed: %s", qPrintable(outcome.failure.message()));
    const bool kept = settleFile(outcome.kept);
    Q_EMIT stopped(path_, kept);
}

bool ScreenRecorder::settleFile(bool complete)
{
    if (complete) {
        const Status moved = FileSystem::moveNoReplace(partialPath_, path_);
        if (moved.ok())
            return true;
        qCWarning(recordingLog, "The recording could not be put in place: %s", qPrintable(moved.message()));
    }
    QFile::remove(partialPath_);
    return false;
}
