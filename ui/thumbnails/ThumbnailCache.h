#pragma once

#include <QImage>
#include <QString>

#include <optional>

// The desktop's shared thumbnail cache, as the freedesktop.org Thumbnail
// Managing Standard lays it out: <root>/normal (128 pixels) and
// <root>/large (256), one PNG per file named after the MD5 of the file's
// URI, which it carries with the file's modification time. A file manager
// may have made the thumbnail already; one we make is left there for it.
class ThumbnailCache {
public:
    static constexpr int normalSide = 128;

    // `root` is normally $XDG_CACHE_HOME/thumbnails.
    explicit ThumbnailCache(QString root);
    static QString defaultRoot();

    // The file's URI as GLib writes it, which every thumbnailer hashes.
    static QByteArray uriOf(const QString& path);
    // <md5 of the URI in hex>.png
    static QString fileNameOf(const QString& path);

    // A thumbnail made for the file as it is now: one whose recorded URI or
    // modification time differs belongs to another file or an older version.
    std::optional<QImage> find(const QString& path, qint64 modifiedSeconds) const;
    // Keeps `thumbnail` in the normal size folder for other programs too,
    // written under a temporary name and renamed into place, readable by
    // its owner alone. False when the cache cannot be written.
    bool store(const QString& path, qint64 modifiedSeconds, qint64 size, const QImage& thumbnail) const;

private:
    QString root_;
};
