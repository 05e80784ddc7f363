#include "ui/thumbnails/Thumbnails.h"

#include <QFuture>
#include <QTimer>
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
    // The rows of a first paint ask together: their work starts after the
    // paint, so that it never competes with it for the processor.
    if (waiting_.isEmpty())
        QTimer::singleShot(0, this, &Thumbnails::startWaiting);
    waiting_.append(path);
    return {};
}

void Thumbnails::startWaiting()
{
    const int side = keptSide_;
    for (const QString& path : std::exchange(waiting_, {})) {
        if (!pending_.contains(path))
            continue; // forgotten meanwhile
        QtConcurrent::run(&workers_, [maker = maker_, path, side] {
            QImage image = maker.thumbnail(path);
            if (image.width() > side || image.height() > side)
                image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            return std::pair(image, ThumbnailMaker::kindOf(path) != ThumbnailMaker::Kind::None);
        }).then(this, [this, path](const std::pair<QImage, bool>& made) {
            if (!pending_.remove(path))
                return; // forgotten meanwhile: the file changed while it was read
            const auto& [image, canHaveOne] = made;
            if (image.isNull() && canHaveOne)
                failed_.insert(path);
            const qsizetype bytes = image.isNull() ? 0 : image.sizeInBytes();
            known_.insert(path, new QPixmap(QPixmap::fromImage(image)), std::max<qsizetype>(1, bytes / 1024));
            Q_EMIT ready(path);
        });
    }
}

void Thumbnails::forget(const QString& path)
{
    known_.remove(path);
    pending_.remove(path);
    failed_.remove(path);
}

void Thumbnails::retryFailed()
{
    for (const QString& path : std::as_const(failed_))
        known_.remove(path);
    failed_.clear();
}
