#include "ui/inbox/InboxListModel.h"

#include "model/AppModel.h"
#include "ui/InboxRowText.h"

#include <QMimeData>
#include <QUrl>

namespace {

// Room for the thumbnail's square in a row on a screen of twice the density.
constexpr int keptThumbnailSide = 64;

} // namespace

InboxListModel::InboxListModel(AppModel& model, const QString& thumbnailRoot, QObject* parent)
    : QAbstractListModel(parent), model_(model), thumbnails_(ThumbnailCache(thumbnailRoot), keptThumbnailSide)
{
    connect(&thumbnails_, &Thumbnails::ready, this, &InboxListModel::thumbnailArrived);
}

int InboxListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

QVariant InboxListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const TrackedFile& file = rows_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return file.name();
    case IdRole:
        return file.id;
    case PathRole:
        return file.path;
    case MetaRole:
        return InboxRowText::meta(file, model_.now(), relative_);
    case SymbolRole:
        return symbolFor(file);
    case ThumbnailRole:
        return thumbnails_.thumbnail(file.path);
    default:
        return {};
    }
}

Qt::ItemFlags InboxListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
    // Only the row the model asked to rename takes an editor.
    if (index.isValid() && model_.renamingID() == rows_.at(index.row()).id)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QStringList InboxListModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

QMimeData* InboxListModel::mimeData(const QModelIndexList& indexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes)
        urls.append(QUrl::fromLocalFile(index.data(PathRole).toString()));
    auto* data = new QMimeData; // the drag takes ownership
    data->setUrls(urls);
    return data;
}

int InboxListModel::rowOf(const QUuid& id) const
{
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_.at(row).id == id)
            return row;
    }
    return -1;
}

bool InboxListModel::refresh()
{
    thumbnails_.retryFailed();
    TrackedFiles rows = model_.visibleInbox();
    const bool sameRows = std::equal(rows.begin(), rows.end(), rows_.begin(), rows_.end(),
        [](const TrackedFile& a, const TrackedFile& b) { return a.id == b.id; });
    if (!sameRows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        return true;
    }
    rows_ = std::move(rows);
    if (!rows_.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(rows_.size()) - 1));
    return false;
}

QString InboxListModel::symbolFor(const TrackedFile& file)
{
    if (InboxRowText::isRecording(file))
        return QStringLiteral("video");
    switch (file.source) {
    case FileSource::Screenshot:
        return QStringLiteral("camera");
    case FileSource::Downloads:
    case FileSource::BrowserDownload:
        return QStringLiteral("download");
    case FileSource::Manual:
        return QStringLiteral("doc");
    }
    return QStringLiteral("doc");
}

void InboxListModel::thumbnailArrived(const QString& path)
{
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_.at(row).path == path)
            Q_EMIT dataChanged(index(row), index(row), {ThumbnailRole});
    }
}
