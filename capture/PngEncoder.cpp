#include "capture/PngEncoder.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <cerrno>

namespace {

// Qt's quality 80 is zlib level 2 in libpng: as small as the usual level 6
// for screen content, at a third of the time.
constexpr int fastQuality = 80;

// ".<name>.part" beside the final name: hidden, so the Inbox never lists it.
QString partialPathFor(const QString& path)
{
    const QFileInfo target(path);
    return target.path() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".part");
}

} // namespace

namespace PngEncoder {

Status write(const QImage& image, const QString& path)
{
    if (image.isNull())
        return Status::failure(EINVAL, QStringLiteral("There is no picture to write"));
    const QString partial = partialPathFor(path);
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Status::failure(EIO, partial + QStringLiteral(": ") + file.errorString());
    QImageWriter writer(&file, "png");
    writer.setQuality(fastQuality);
    if (!writer.write(image) || !file.flush()) {
        const QString reason = writer.error() != QImageWriter::UnknownError ? writer.errorString() : file.errorString();
        file.remove();
        return Status::failure(EIO, path + QStringLiteral(": ") + reason);
    }
    file.close();
    Status moved = FileSystem::moveNoReplace(partial, path);
    if (!moved.ok())
        QFile::remove(partial);
    return moved;
}

} // namespace PngEncoder
