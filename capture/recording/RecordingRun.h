#pragma once

#include "platform/FrameSource.h"
#include "platform/SoundSource.h"
#include "platform/Status.h"

#include <QString>

#include <functional>
#include <memory>

// One recording's machinery, from its opened encoders to its closed file.
// Its code and FFmpeg's are loaded only for the first recording (media/), so
// the recorder reaches it through this interface alone.
class RecordingRun {
public:
    // Pictures the source holds at once: one being taken, one being
    // converted, and four waiting, so the encoder may fall behind by 130 ms
    // (a key frame, the desktop busy for a moment) without a picture lost.
    static constexpr int frameBuffers = 6;

    struct Outcome {
        bool kept = false; // the file holds at least one picture and is complete
        qint64 frames = 0;
        qint64 droppedBehind = 0; // frames: the encoder had every buffer
        qint64 droppedLate = 0; // frames: a grab took longer than a frame
        qint64 droppedSound = 0; // fragments
        Status ending = Status::success(); // why the source ended it
        Status failure = Status::success(); // the first thing that went wrong
    };

    virtual ~RecordingRun() = default;

    // Starts the threads; `ended` runs on the last of them to finish, once
    // the file is closed.
    virtual void start(std::function<void()> ended) = 0;
    // Safe from any thread, and more than once.
    virtual void requestStop() = 0;
    // Waits for every thread and tells how the recording went.
    virtual Outcome finish() = 0;
};

// Sets up the encoders and writes the file's header at `path`; `sound` may
// be none, and the file then has no sound track.
Status openRecordingRun(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound, const QString& path,
    std::unique_ptr<RecordingRun>& run);
