#include "ui/thumbnails/ThumbnailMaker.h"

#include "ui/thumbnails/PdfPages.h"
#include "ui/thumbnails/VideoFrame.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>

namespace {

constexpr int side = ThumbnailCache::normalSide;
// Formats that decode whole before they can be scaled would take seconds
// and hundreds of megabytes on a picture larger than this.
constexpr qint64 largestPicturePixels = 100'000'000;

} // namespace

ThumbnailMaker::ThumbnailMaker(ThumbnailCache cache) : cache_(std::move(cache)) {}

ThumbnailMaker::Kind ThumbnailMaker::kindOf(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (type.inherits(QStringLiteral("application/pdf")))
        return Kind::Pdf;
    if (type.name().startsWith(QLatin1String("video/")))
        return Kind::Video;
    if (type.name().startsWith(QLatin1String("image/")))
        return Kind::Picture;
    return Kind::None;
}

QImage ThumbnailMaker::thumbnail(const QString& path) const
{
    const Kind kind = kindOf(path);
    // A pipe or a device named like a picture would block the reader for good.
    const QFileInfo file(path);
    if (kind == Kind::None || !file.isFile())
        return {};
    const qint64 modified = file.lastModified().toSecsSinceEpoch();
    if (std::optional<QImage> cached = cache_.find(path, modified))
        return *cached;
    QImage made = make(path, kind);
    if (!made.isNull())
        (void)cache_.store(path, modified, file.size(), made); // a read-only cache only costs the next start the work
    return made;
}

QImage ThumbnailMaker::make(const QString& path, Kind kind)
{
    switch (kind) {
    case Kind::Picture:
        return picture(path);
    case Kind::Video:
        return VideoFrame::first(path, side);
    case Kind::Pdf:
        return PdfPages::first(path, side);
    case Kind::None:
        break;
    }
    return {};
}

QImage ThumbnailMaker::picture(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > largestPicturePixels)
        return {};
    // Readers that can (JPEG) decode straight at the small size.
    if (size.width() > side || size.height() > side)
        reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}
