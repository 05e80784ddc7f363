#include "ui/thumbnails/ThumbnailCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <glib.h>

#include <cstdio>

namespace {

const char* const uriKey = "Thumb::URI";
const char* const modifiedKey = "Thumb::MTime";
const char* const sizeKey = "Thumb::Size";

} // namespace

ThumbnailCache::ThumbnailCache(QString root) : root_(std::move(root)) {}

QString ThumbnailCache::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/thumbnails");
}

QByteArray ThumbnailCache::uriOf(const QString& path)
{
    g_autofree char* uri = g_filename_to_uri(QFile::encodeName(path).constData(), nullptr, nullptr);
    return uri ? QByteArray(uri) : QByteArray();
}

QString ThumbnailCache::fileNameOf(const QString& path)
{
    return QString::fromLatin1(QCryptographicHash::hash(uriOf(path), QCryptographicHash::Md5).toHex())
        + QStringLiteral(".png");
}

std::optional<QImage> ThumbnailCache::find(const QString& path, qint64 modifiedSeconds) const
{
    const QByteArray uri = uriOf(path);
    if (uri.isEmpty())
        return std::nullopt;
    const QString name = fileNameOf(path);
    for (const char* folder : {"normal", "large"}) {
        // QImageReader's own text keys split at the first colon, which these
        // keys hold; the image's keys are whole. A thumbnail is small to read.
        QImage image(root_ + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/') + name, "png");
        if (image.isNull() || image.text(QString::fromLatin1(uriKey)).toUtf8() != uri)
            continue;
        bool numeric = false;
        const qint64 recorded = image.text(QString::fromLatin1(modifiedKey)).toLongLong(&numeric);
        if (numeric && recorded == modifiedSeconds)
            return image;
    }
    return std::nullopt;
}

bool ThumbnailCache::store(const QString& path, qint64 modifiedSeconds, qint64 size, const QImage& thumbnail) const
{
    const QByteArray uri = uriOf(path);
    if (uri.isEmpty() || thumbnail.isNull())
        return false;
    const QString folder = root_ + QStringLiteral("/normal");
    if (!QDir().mkpath(folder))
        return false;
    // The standard asks for private folders: thumbnails show what the files hold.
    QFile::setPermissions(root_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QImage keyed = thumbnail.width() > normalSide || thumbnail.height() > normalSide
        ? thumbnail.scaled(normalSide, normalSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        : thumbnail;
    keyed.setText(QString::fromLatin1(uriKey), QString::fromUtf8(uri));
    keyed.setText(QString::fromLatin1(modifiedKey), QString::number(modifiedSeconds));
    keyed.setText(QString::fromLatin1(sizeKey), QString::number(size));
    keyed.setText(QStringLiteral("Software"), QStringLiteral("Dropwell"));

    const QString target = folder + QLatin1Char('/') + fileNameOf(path);
    // A reader must never see half a file: write beside it under a unique
    // name (made readable by its owner alone), then rename over.
    QTemporaryFile file(target + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(keyed) || !file.flush())
        return false;
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}
