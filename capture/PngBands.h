#pragma once

#include <QByteArray>
#include <QImage>

// A picture as the bytes of a PNG file, its rows filtered and compressed in
// horizontal bands on every core at once: libpng compresses one stream on
// one core, and a screenshot is waited for. Each band's compressor starts
// with the end of the band above as its dictionary, so the file is as small
// as one compressed in a single pass. Opaque pictures are written as RGB,
// grey ones as grey, the rest as RGBA.
namespace PngBands {

// Empty when the picture is null or memory runs out.
QByteArray encode(const QImage& image, int level = 2);

} // namespace PngBands
