#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/FfmpegHandles.h"
#include "capture/recording/FrameGrabber.h"

#include <QSize>

#include <stop_token>

// Turns the grabbed pictures into H.264 on the recording's encoding thread:
// libswscale converts each from BGRA to 4:2:0 (and scales one of a window
// that changed its size), libx264 encodes it. The buffer goes back to the
// grabber as soon as it is converted, before the slower encoding.
//
// A full packet queue makes this thread wait, so the pictures queue up
// behind it, and beyond a few the grabber drops them: a slow disk costs
// frames, never memory.
class VideoEncoder {
public:
    // Bit rate: four bits per pixel per second, at least 2 Mbit/s.
    static qint64 bitRateFor(QSize size);
    static Status open(QSize size, std::unique_ptr<VideoEncoder>& encoder);

    const AVCodecContext& context() const { return *codec_; }

    // Until the grabber is done; then the encoder's last packets, and the
    // recording's end (one frame after the last picture) is marked. A
    // failure asks `stopRecording` to end the recording.
    Status run(BoundedQueue<GrabbedFrame>& frames, BoundedQueue<int>& freeBuffers, BoundedQueue<EncodedPacket>& packets,
        RecordingSpan& span, std::stop_source stopRecording);

    qint64 encoded() const { return encoded_; }

private:
    VideoEncoder(CodecContext codec, Frame picture);
    Status convert(const GrabbedFrame& frame);
    Status send(const AVFrame* picture, BoundedQueue<EncodedPacket>& packets);

    CodecContext codec_;
    Frame picture_;
    Scaler scaler_;
    qint64 startUs_ = 0;
    qint64 encoded_ = 0;
};
