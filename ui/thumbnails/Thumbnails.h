#pragma once

#include "ui/thumbnails/ThumbnailMaker.h"

#include <QCache>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QThreadPool>

// Thumbnails for the Inbox list, found or made off the GUI thread. A row
// asks while it is painted and gets nothing at first; `ready` tells when to
// paint it again. What was found, and which files have none, stays in memory
// up to a bound, so a long list scrolled to and fro is not worked again.
class Thumbnails final : public QObject {
    Q_OBJECT
public:
    // Thumbnails are kept at most `keptSide` device pixels wide and high.
    explicit Thumbnails(ThumbnailCache cache, int keptSide, QObject* parent = nullptr);
    // Waits for the file being worked on, never for the ones still queued.
    ~Thumbnails() override;

    // The thumbnail when it is known; null while it is being made and for a
    // file that has none.
    QPixmap thumbnail(const QString& path);
    // Forgets what is known of `path`, for a file that changed.
    void forget(const QString& path);
    // Looks again, when next asked, at the pictures, videos and PDFs that had
    // none: one read while it was still being written may be whole now.
    void retryFailed();

Q_SIGNALS:
    void ready(const QString& path);

private:
    static constexpr int keptKilobytes = 8 * 1024;

    void startWaiting();

    ThumbnailMaker maker_;
    int keptSide_;
    QThreadPool workers_;
    QCache<QString, QPixmap> known_; // a null pixmap: the file has no thumbnail
    QSet<QString> pending_;
    QStringList waiting_; // asked for during a paint, started once it is over
    QSet<QString> failed_;
};
