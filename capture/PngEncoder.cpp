#include "capture/PngEncoder.h"

#include "capture/PngBytes.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

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
        return Status::failure(EINVAL, QCoreApplication::translate("PngEncoder", "There is no picture to write"));
    const QString partial = partialPathFor(path);
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Status::failure(EIO, partial + QStringLiteral(": ") + file.errorString());
    const QByteArray png = PngBytes::encode(image);
    if (png.isEmpty() || file.write(png) != png.size() || !file.flush()) {
        const QString reason = png.isEmpty() ? QCoreApplication::translate("PngEncoder", "not enough memory to encode the picture") : file.errorString();
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
