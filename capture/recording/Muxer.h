#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/FfmpegHandles.h"

#include <QString>

// Writes the MP4 file on the recording's muxing thread: the encoders'
// packets, interleaved by time, then the index, which libavformat moves in
// front of the media at the end (+faststart), so a player can start before
// it has read the whole file.
class Muxer {
public:
    // Creates `path` with a video stream, and a sound stream when `sound` is
    // given, and writes the header.
    static Status open(const QString& path, const AVCodecContext& video, const AVCodecContext* sound,
        std::unique_ptr<Muxer>& muxer);

    // Until every encoder is done, then the index; the file is closed on
    // return. Without any picture nothing is finished: the file is no
    // recording and goes. A failure cancels the queue, so the encoders stop
    // waiting on it.
    Status run(BoundedQueue<EncodedPacket>& packets);

    bool wrotePictures() const { return wrotePictures_; }

private:
    explicit Muxer(OutputFormat format) : format_(std::move(format)) {}
    Status write(EncodedPacket item);

    OutputFormat format_;
    bool wrotePictures_ = false;
};
