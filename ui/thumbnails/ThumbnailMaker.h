#pragma once

#include "ui/thumbnails/ThumbnailCache.h"

#include <QImage>
#include <QString>

// Makes the thumbnail of one file: pictures, videos and PDFs. Runs off the
// GUI thread; everything it touches is its own or read-only.
class ThumbnailMaker {
public:
    enum class Kind { None, Picture, Video, Pdf };

    explicit ThumbnailMaker(ThumbnailCache cache);

    // Told by the name alone, without touching the disk, so that a row can
    // ask while it is painted.
    static Kind kindOf(const QString& path);

    // The desktop's cached thumbnail when it is current, otherwise one made
    // now (and written to the cache); null when the file is gone, not a
    // regular file, too large to decode or cannot be read.
    QImage thumbnail(const QString& path) const;

private:
    static QImage make(const QString& path, Kind kind);
    static QImage picture(const QString& path);

    ThumbnailCache cache_;
};
