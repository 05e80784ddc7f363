#include "model/FileIndex.h"

#include "core/FolderService.h"
#include "core/InboxIndex.h"
#include "core/Persistence.h"
#include "model/StartNotes.h"

#include <algorithm>

FileIndex::FileIndex(const Persistence& persistence, const FolderService& folders)
    : persistence_(persistence)
    , folders_(folders)
{
}

void FileIndex::load(StartNotes& notes)
{
    auto loaded = persistence_.loadIndex();
    // The rebuilt list is about to be written over the file; an unreadable
    // index may still hold the only record of what the user kept.
    if (Persistence::mustKeepAside(loaded.state))
        notes.keepAside(tr("index"), loaded.state, persistence_.indexPath(), tr("so it rebuilt the list from its folders"));
    files_ = std::move(loaded.value);
    if (const qsizetype dropped = InboxIndex::confine(files_, folders_))
        qWarning("Dropwell: dropped %lld index records of files outside its folders", qint64(dropped));
}

void FileIndex::save() { persistence_.saveIndex(files_); }

void FileIndex::saveAndAnnounce()
{
    save();
    announce();
}

void FileIndex::update(const TrackedFile& file)
{
    store(file);
    saveAndAnnounce();
}

void FileIndex::store(const TrackedFile& file)
{
    const auto found = std::find_if(files_.begin(), files_.end(), [&](const TrackedFile& f) { return f.id == file.id; });
    if (found != files_.end())
        *found = file;
    else
        files_.prepend(file);
}

void FileIndex::remove(const QUuid& id)
{
    files_.removeIf([&](const TrackedFile& f) { return f.id == id; });
}

TrackedFiles FileIndex::inboxItems() const
{
    TrackedFiles items;
    for (const TrackedFile& file : files_) {
        if (file.folder == FileFolder::Inbox && !file.kept)
            items.append(file);
    }
    std::stable_sort(items.begin(), items.end(),
        [](const TrackedFile& a, const TrackedFile& b) { return a.landedAt > b.landedAt; });
    return items;
}

TrackedFiles FileIndex::expiredItems() const
{
    TrackedFiles items;
    for (const TrackedFile& file : files_) {
        if (file.folder == FileFolder::Expired)
            items.append(file);
    }
    // A record that never got its moment counts as the most distant past.
    std::stable_sort(items.begin(), items.end(), [](const TrackedFile& a, const TrackedFile& b) {
        return a.expiredAt.has_value() && (!b.expiredAt || *a.expiredAt > *b.expiredAt);
    });
    return items;
}

int FileIndex::inboxCount() const
{
    return int(std::count_if(files_.begin(), files_.end(),
        [](const TrackedFile& file) { return file.folder == FileFolder::Inbox && !file.kept; }));
}
