#pragma once

#include "platform/Status.h"

#include <QImage>
#include <QString>

// Writes captures as PNG files, compressed at a fast level: a
// screenshot is on disk before the shutter sound ends, and the file stays
// close in size to what the usual screenshot tools write.
namespace PngEncoder {

// Writes `image` to `path`, which must not exist yet. The file is written
// under a hidden name beside it and appears under `path` only when complete,
// so a folder watcher never sees half a picture. Safe on any thread.
Status write(const QImage& image, const QString& path);

} // namespace PngEncoder
