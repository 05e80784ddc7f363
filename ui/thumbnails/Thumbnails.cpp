#include "ui/thumbnails/Thumbnails.h"

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

Thumbnails::Thumbnails(ThumbnailCache cache, int keptSide, QObject* parent)
    : QObject(parent), maker_(std::move(cache)), keptSide_(keptSide), known_(keptKilobytes)
{
    // One file at a time: the machine has other work, and the list can wait.
    workers_.setMaxThreadCount(1);
}

Thumbnails::~Thumbnails()
{
    workers_.clear();
    workers_.waitForDone();
}

QPixmap Thumbnails::thumbnail(const QString& path)
{
    if (const QPixmap* known = known_.object(path))
        return *known;
    if (pending_.contains(path))
        return {};
    pending_.insert(path);
    const int side = keptSide_;
    QtConcurrent::run(&workers_, [maker = maker_, path, side] {
        QImage image = maker.thumbnail(path);
        if (image.width() > side || image.height() > side)
            image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return image;
    }).then(this, [this, path](const QImage& image) {
        if (!pending_.remove(path))
            return; // forgotten meanwhile: the file changed while it was read
        const qsizetype bytes = image.isNull() ? 0 : image.sizeInBytes();
        known_.insert(path, new QPixmap(QPixmap::fromImage(image)), std::max<qsizetype>(1, bytes / 1024));
        Q_EMIT ready(path);
    });
    return {};
}

void Thumbnails::forget(const QString& path)
{
    known_.remove(path);
    pending_.remove(path);
}
