#pragma once

#include <QImage>
#include <QString>

// The first picture of a video file, decoded with FFmpeg's libraries.
namespace VideoFrame {

// The first frame the file's video stream yields, fitted into a square of
// `side` pixels; a null image when the file has no video stream that a
// decoder takes.
QImage first(const QString& path, int side);

} // namespace VideoFrame
