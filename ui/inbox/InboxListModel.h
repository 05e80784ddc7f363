#pragma once

#include "core/TrackedFile.h"
#include "ui/RelativeTime.h"
#include "ui/thumbnails/Thumbnails.h"

#include <QAbstractListModel>

class AppModel;

// The visible Inbox as rows for Qt's views: one model over the list, never a
// widget per row. Rows are reloaded only when their identities or order
// change; a change of their details (an expiry time, a size) only repaints.
class InboxListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        PathRole,
        MetaRole, // "2 hr. ago · Screenshot · expires in 6 days"
        SymbolRole, // the row's symbol name
        ThumbnailRole, // a QPixmap of what the file shows; null while it is made and for files that have none
    };

    // Thumbnails are taken from, and added to, the thumbnail cache under `thumbnailRoot`.
    explicit InboxListModel(AppModel& model, const QString& thumbnailRoot = ThumbnailCache::defaultRoot(), QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

    const TrackedFile& file(int row) const { return rows_.at(row); }
    int rowOf(const QUuid& id) const;
    // Pulls the visible Inbox from the app's model. True when the rows
    // themselves changed (and the view was reset).
    bool refresh();

    static QString symbolFor(const TrackedFile& file);

private:
    void thumbnailArrived(const QString& path);

    AppModel& model_;
    TrackedFiles rows_;
    RelativeTime relative_;
    mutable Thumbnails thumbnails_; // asking for one starts its work, which changes no row
};
