#pragma once

#include "capture/recording/BoundedQueue.h"
#include "capture/recording/FfmpegHandles.h"

#include <QString>

#include <functional>

// Hands `input` to the encoder (null: the end of the stream) and queues every
// packet it has ready for `stream`, after `adjust` where given. Fails with
// what the encoder said, named `encoderName`, or with ECANCELED once the file
// is no longer written.
Status encodeInto(AVCodecContext* codec, const AVFrame* input, int stream, BoundedQueue<EncodedPacket>& packets,
    const QString& encoderName, const std::function<void(AVPacket&)>& adjust = {});
