#include "capture/recording/RecordingSession.h"

namespace {

// Encoded packets waiting for the disk: about four seconds of pictures.
constexpr size_t queuedPackets = 128;
// Fragments of some 20 ms each.
constexpr size_t fragmentUs = 20000;

} // namespace

RecordingSession::RecordingSession(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound)
    : frameSource_(std::move(frames)), freeBuffers_(size_t(frameSource_->bufferCount()), 1),
      frames_(size_t(frameSource_->bufferCount()), 1),
      chunks_(size_t(SoundEncoder::queuedSoundUs) / fragmentUs, 1),
      packets_(queuedPackets, sound ? 2 : 1),
      soundSource_(std::move(sound))
{
    for (int buffer = 0; buffer < frameSource_->bufferCount(); ++buffer)
        freeBuffers_.push(buffer);
    grabber_ = std::make_unique<FrameGrabber>(*frameSource_, freeBuffers_, frames_, span_);
}

Status openRecordingRun(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound, const QString& path,
    std::unique_ptr<RecordingRun>& run)
{
    // FFmpeg would print the encoders' statistics of every recording to the
    // terminal; its errors reach us as return values anyway.
    av_log_set_level(AV_LOG_ERROR);
    std::unique_ptr<RecordingSession> made(new RecordingSession(std::move(frames), std::move(sound)));
    if (Status opened = VideoEncoder::open(made->frameSource_->frameSize(), made->video_); !opened.ok())
        return opened;
    if (made->soundSource_)
        if (Status opened = SoundEncoder::open(made->soundSource_->format(), made->soundEncoder_); !opened.ok())
            return opened;
    const AVCodecContext* soundCodec = made->soundEncoder_ ? &made->soundEncoder_->context() : nullptr;
    if (Status opened = Muxer::open(path, made->video_->context(), soundCodec, made->muxer_); !opened.ok())
        return opened;
    run = std::move(made);
    return Status::success();
}

RecordingSession::~RecordingSession()
{
    requestStop();
}

void RecordingSession::start(std::function<void()> ended)
{
    ended_ = std::move(ended);
    running_ = soundEncoder_ ? 4 : 3;
    threads_.emplace_back([this] {
        grabber_->run(stop_.get_token());
        stageEnded(Status::success());
    });
    threads_.emplace_back([this] { stageEnded(video_->run(frames_, freeBuffers_, packets_, span_, stop_)); });
    if (soundEncoder_) {
        threads_.emplace_back([this] { stageEnded(soundEncoder_->run(chunks_, span_, packets_, stop_)); });
        soundSource_->start([this](SoundChunk&& chunk) {
            if (chunks_.pushDroppingOldest(std::move(chunk)))
                ++droppedSound_;
        });
    }
    threads_.emplace_back([this] {
        const Status written = muxer_->run(packets_);
        if (!written.ok())
            stop_.request_stop();
        stageEnded(written);
    });
}

void RecordingSession::requestStop()
{
    stop_.request_stop();
}

void RecordingSession::stageEnded(Status status)
{
    if (!status.ok()) {
        std::lock_guard lock(failureMutex_);
        if (failure_.ok())
            failure_ = std::move(status);
    }
    if (--running_ == 0 && ended_)
        ended_();
}

RecordingRun::Outcome RecordingSession::finish()
{
    requestStop();
    for (std::jthread& thread : threads_)
        if (thread.joinable())
            thread.join();
    Outcome outcome;
    outcome.frames = video_->encoded();
    outcome.droppedBehind = grabber_->droppedBehind();
    outcome.droppedLate = grabber_->droppedLate();
    outcome.droppedSound = droppedSound_;
    outcome.ending = grabber_->ending();
    outcome.failure = failure_;
    outcome.kept = muxer_->wrotePictures() && failure_.ok();
    return outcome;
}
