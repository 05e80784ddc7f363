#include "model/PopoverState.h"

#include "model/FileIndex.h"

PopoverState::PopoverState(const FileIndex& index)
    : index_(index)
{
}

void PopoverState::setSelectedIDs(const QSet<QUuid>& ids)
{
    if (ids == selectedIDs_)
        return;
    selectedIDs_ = ids;
    Q_EMIT selectedIDsChanged();
}

void PopoverState::setSearch(const QString& search)
{
    if (search == search_)
        return;
    search_ = search;
    Q_EMIT searchChanged();
}

void PopoverState::setToast(const std::optional<QString>& toast)
{
    if (toast == toast_)
        return;
    toast_ = toast;
    Q_EMIT toastChanged();
}

void PopoverState::setSelecting(bool selecting)
{
    if (selecting == isSelecting_)
        return;
    isSelecting_ = selecting;
    Q_EMIT isSelectingChanged();
}

void PopoverState::setRenamingID(const std::optional<QUuid>& id)
{
    if (id == renamingID_)
        return;
    renamingID_ = id;
    Q_EMIT renamingIDChanged();
}

TrackedFiles PopoverState::visibleInbox() const
{
    TrackedFiles items = index_.inboxItems();
    const QString query = search_.trimmed().toLower();
    if (!query.isEmpty())
        items.removeIf([&](const TrackedFile& file) { return !file.name().toLower().contains(query); });
    return items;
}

TrackedFiles PopoverState::selectedFiles() const
{
    TrackedFiles items = visibleInbox();
    items.removeIf([&](const TrackedFile& file) { return !selectedIDs_.contains(file.id); });
    return items;
}

TrackedFiles PopoverState::targets(const TrackedFile& file) const
{
    if (selectedIDs_.contains(file.id) && selectedIDs_.size() >= 2)
        return selectedFiles();
    return {file};
}

void PopoverState::selectAllVisible()
{
    QSet<QUuid> ids;
    for (const TrackedFile& file : visibleInbox())
        ids.insert(file.id);
    setSelectedIDs(ids);
    setSelecting(true);
}

void PopoverState::unselect(const QSet<QUuid>& ids)
{
    if (selectedIDs_.intersects(ids))
        setSelectedIDs(selectedIDs_ - ids);
}

void PopoverState::pruneSelection()
{
    if (selectedIDs_.isEmpty())
        return;
    QSet<QUuid> present;
    for (const TrackedFile& file : index_.files()) {
        if (selectedIDs_.contains(file.id))
            present.insert(file.id);
    }
    setSelectedIDs(present);
}
