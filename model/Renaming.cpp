#include "model/Renaming.h"

#include "intake/FileActions.h"
#include "model/FileIndex.h"
#include "model/MayTouch.h"
#include "model/PopoverState.h"

Renaming::Renaming(const FolderService& folders, const FileActions& actions, FileIndex& index, PopoverState& popover)
    : folders_(folders)
    , actions_(actions)
    , index_(index)
    , popover_(popover)
{
}

void Renaming::begin(const std::optional<TrackedFile>& file)
{
    std::optional<TrackedFile> target = file;
    if (!target) {
        const TrackedFiles selected = popover_.selectedFiles();
        const TrackedFiles visible = selected.isEmpty() ? popover_.visibleInbox() : selected;
        if (!visible.isEmpty())
            target = visible.front();
    }
    if (!target)
        return;
    popover_.setSelectedIDs({target->id});
    popover_.setRenamingID(target->id);
}

void Renaming::commit(const TrackedFile& file, const QString& name)
{
    popover_.setRenamingID(std::nullopt);
    if (!mayTouch(folders_, file)) {
        popover_.setToast(tr("Could not rename '%1'.").arg(file.name()));
        return;
    }
    const auto renamed = actions_.rename(file, name);
    if (!renamed.ok()) {
        popover_.setToast(tr("Could not rename '%1'.").arg(file.name()));
        return;
    }
    if (renamed.value() != file)
        index_.update(renamed.value());
}
