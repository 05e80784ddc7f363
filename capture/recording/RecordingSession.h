#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/FfmpegHandles.h"
#include "capture/recording/FrameGrabber.h"
#include "capture/recording/Muxer.h"
#include "capture/recording/RecordingRun.h"
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
class RecordingSession final : public RecordingRun {
public:
    ~RecordingSession() override;
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    void start(std::function<void()> ended) override;
    void requestStop() override;
    Outcome finish() override;

private:
    friend Status openRecordingRun(std::unique_ptr<FrameSource>, std::unique_ptr<SoundSource>, const QString&,
        std::unique_ptr<RecordingRun>&);
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
