#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/FfmpegHandles.h"
#include "capture/recording/FrameGrabber.h"
#include "capture/recording/Muxer.h"
#include "capture/recording/RecordingSpan.h"
#include "capture/recording/SoundEncoder.h"
#include "capture/recording/VideoEncoder.h"
#include "platform/FrameSource.h"
#include "platform/SoundSource.h"

#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// One recording from its first picture to its closed file:
//
//   grabbing thread --frames--> encoding thread --+
//                                                 +--packets--> muxing thread
//   sound device --fragments--> sound thread -----+
//
// Every queue is bounded. The frames' queue is as deep as the source has
// buffers, and the grabber drops a picture when none is free; the fragments'
// queue drops its oldest; the packets' queue makes the encoders wait. So a
// slow encoder or disk costs frames, never memory.
class RecordingSession {
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

    // Sets up the encoders and writes the file's header at `path`; `sound`
    // may be none, and the file then has no sound track.
    static Status open(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound, const QString& path,
        std::unique_ptr<RecordingSession>& session);
    ~RecordingSession();
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // Starts the threads; `ended` runs on the last of them to finish, once
    // the file is closed.
    void start(std::function<void()> ended);
    // Safe from any thread, and more than once.
    void requestStop();
    // Waits for every thread and tells how the recording went.
    Outcome finish();

private:
    RecordingSession(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound);
    void stageEnded(Status status);

    std::unique_ptr<FrameSource> frameSource_;
    std::unique_ptr<VideoEncoder> video_;
    std::unique_ptr<SoundEncoder> soundEncoder_;
    std::unique_ptr<Muxer> muxer_;

    RecordingSpan span_;
    BoundedQueue<int> freeBuffers_;
    BoundedQueue<GrabbedFrame> frames_;
    BoundedQueue<SoundChunk> chunks_;
    BoundedQueue<EncodedPacket> packets_;
    std::unique_ptr<FrameGrabber> grabber_;
    // Stopped before the queue it fills goes away.
    std::unique_ptr<SoundSource> soundSource_;

    std::stop_source stop_;
    std::function<void()> ended_;
    std::atomic<int> running_ = 0;
    std::atomic<qint64> droppedSound_ = 0;
    std::mutex failureMutex_;
    Status failure_ = Status::success();
    // Last, so that they are joined before anything they use is gone.
    std::vector<std::jthread> threads_;
};
