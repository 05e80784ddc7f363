#include "core/InboxIndex.h"

#include "platform/FileSystem.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Provisional due times of a new record; the model recomputes them from the
// settings right after every reconciliation.
constexpr qint64 provisionalScreenshotSeconds = 48 * 3600;
constexpr qint64 provisionalOtherSeconds = 7 * 24 * 3600;

TrackedFile newRecord(const FileSystem::Entry& entry, FileFolder folder, const QDateTime& now, FileSource hint)
{
    TrackedFile file;
    file.id = QUuid::createUuid();
    file.path = entry.path;
    file.size = FileSystem::fileSize(entry.path).value_or(0);
    file.source = TrackedFile::inferSource(entry.name, hint);
    file.landedAt = now;
    file.expiresAt = now.addSecs(
        file.source == FileSource::Screenshot ? provisionalScreenshotSeconds : provisionalOtherSeconds);
    file.folder = folder;
    return file;
}

// The records a listed file can match, found in constant time: the first
// record with a path, and the first record of `folder` with a name. Names in
// one listing are distinct, so the changes a match makes never affect a later
// lookup, and the tables built once answer exactly as a linear search in order.
struct Lookup {
    QHash<QString, qsizetype> byPath;
    QHash<QString, qsizetype> byName;

    Lookup(const TrackedFiles& files, FileFolder folder)
    {
        byPath.reserve(files.size());
        byName.reserve(files.size());
        for (qsizetype i = 0; i < files.size(); ++i) {
            addFirst(byPath, files[i].path, i);
            if (files[i].folder == folder)
                addFirst(byName, files[i].name(), i);
        }
    }

    static void addFirst(QHash<QString, qsizetype>& table, const QString& key, qsizetype index)
    {
        if (!table.contains(key))
            table.insert(key, index);
    }

    static std::optional<qsizetype> find(const QHash<QString, qsizetype>& table, const QString& key)
    {
        const auto found = table.constFind(key);
        return found == table.constEnd() ? std::nullopt : std::optional(*found);
    }
};

struct Listing {
    QSet<QString> seen;
    TrackedFiles added;
};

// Records of `folder` whose file is neither listed nor anywhere at its path.
// A symbolic link put where a file was is not that file: following it would
// let expiry reach whatever it points to.
void retireMissing(TrackedFiles& files, FileFolder folder, const QSet<QString>& seen)
{
    for (TrackedFile& file : files) {
        if (file.folder != folder || seen.contains(file.path))
            continue;
        const FileSystem::Kind kind = FileSystem::kindOf(file.path);
        if (kind == FileSystem::Kind::Unknown || kind == FileSystem::Kind::Link)
            file.folder = FileFolder::Trash;
    }
}

// Matches every file listed in `folder` to a record of `kind`: the first
// record with its path, else the first record of `kind` with its name, else a
// new record. `arrived` finishes a record found by path or new.
template <typename Arrived>
Listing matchFolder(TrackedFiles& files, const QString& folder, FileFolder kind, const QDateTime& now,
    const ScreenshotNames& screenshotNames, Arrived arrived)
{
    const std::vector<FileSystem::Entry> entries = FileSystem::listRegularFiles(folder);
    Listing listing;
    listing.seen.reserve(qsizetype(entries.size()));
    const Lookup lookup(files, kind);
    for (const FileSystem::Entry& entry : entries) {
        listing.seen.insert(entry.path);
        if (const auto match = Lookup::find(lookup.byPath, entry.path)) {
            files[*match].folder = kind;
            arrived(files[*match], entry);
        } else if (const auto byName = Lookup::find(lookup.byName, entry.name)) {
            files[*byName].path = entry.path;
        } else {
            const FileSource hint = screenshotNames.matches(entry.name) ? FileSource::Screenshot : FileSource::Manual;
            listing.added.append(newRecord(entry, kind, now, hint));
            arrived(listing.added.back(), entry);
        }
    }
    return listing;
}

} // namespace

InboxIndex::InboxIndex(QObject* parent) : QObject(parent) {}

qsizetype InboxIndex::confine(TrackedFiles& files, const FolderService& folders)
{
    for (TrackedFile& file : files) {
        if (!folders.holds(file.path))
            file.path = folders.rehomed(file.path).value_or(file.path);
    }
    // Keep sends files to folders of the user's choosing; such a record is
    // never acted upon, it only remembers the keep.
    return files.removeIf([&](const TrackedFile& file) {
        return !folders.holds(file.path) && !(file.kept && file.folder == FileFolder::Kept);
    });
}

void InboxIndex::startWatching(const QString& inbox, std::chrono::milliseconds quietPeriod, Timers& timers)
{
    watcher_ = std::make_unique<DirectoryWatcher>(inbox, quietPeriod, timers);
    connect(watcher_.get(), &DirectoryWatcher::changed, this, &InboxIndex::changed);
    watcher_->start();
}

void InboxIndex::reconcile(TrackedFiles& files, const QString& inbox, const std::optional<QString>& expired,
    const QDateTime& now, const ScreenshotNames& savedByTools)
{
    Listing listing = matchFolder(
        files, inbox, FileFolder::Inbox, now, savedByTools, [](TrackedFile&, const FileSystem::Entry&) {});
    // Each new record goes to the front, so the last file found ends up first.
    std::reverse(listing.added.begin(), listing.added.end());
    files = listing.added + files;
    retireMissing(files, FileFolder::Inbox, listing.seen);
    if (expired)
        absorbExpired(files, *expired, now);
    files.removeIf([](const TrackedFile& file) {
        return file.folder == FileFolder::Trash && !file.trashedAt
            && FileSystem::kindOf(file.path) != FileSystem::Kind::RegularFile;
    });
}

void InboxIndex::absorbKept(TrackedFiles& files, const QString& kept, const QDateTime& now)
{
    Listing listing = matchFolder(files, kept, FileFolder::Kept, now, ScreenshotNames(), [](TrackedFile&, const FileSystem::Entry&) {});
    for (TrackedFile& file : listing.added) {
        file.kept = true;
        file.expiresAt.reset();
    }
    files += listing.added;
}

void InboxIndex::absorbExpired(TrackedFiles& files, const QString& expired, const QDateTime& now)
{
    // A file found in Expired without its moment (put there by hand, or moved
    // by a pass that died before it saved) starts its day of grace now: its
    // modification time says nothing of when it expired, and taking it would
    // send it to the Trash without its day.
    const Listing listing = matchFolder(files, expired, FileFolder::Expired, now, ScreenshotNames(),
        [&](TrackedFile& file, const FileSystem::Entry&) {
            if (!file.expiredAt)
                file.expiredAt = now;
        });
    files += listing.added;
    retireMissing(files, FileFolder::Expired, listing.seen);
}
