// Files that come into the Inbox from elsewhere: finished downloads.
#include "model/AppModel.h"

#include "core/Clock.h"
#include "core/FileNames.h"
#include "platform/FileSystem.h"

namespace {

bool isInside(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

void AppModel::setWatchDownloads(bool on)
{
    const QDateTime moment = now();
    if (on)
        downloads_.takeSnapshot(); // everything there now is left alone
    changeSettings([&](AppSettings& s) {
        s.watchDownloadsEnabled = on;
        s.downloadsWatchEnabledAt = on ? std::optional(moment) : std::nullopt;
    });
    syncDownloadsWatcher(on);
}

std::optional<QString> AppModel::downloadsRefusal() const
{
    // The XDG setting can point anywhere; taking "new files" from a folder
    // that holds Dropwell's own, or lies inside them, would move the user's
    // home or Dropwell's folders into the Inbox.
    const QString downloads = FolderService::canonical(services_.folders.downloads());
    const QString root = FolderService::canonical(services_.folders.root());
    if (downloads == FolderService::canonical(services_.folders.home()) || isInside(root, downloads))
        return tr("Downloads holds Dropwell's own folders, so Dropwell does not watch it.");
    if (downloads == root || isInside(downloads, root))
        return tr("Downloads is inside Dropwell's own folder, so Dropwell does not watch it.");
    return std::nullopt;
}

void AppModel::syncDownloadsWatcher(bool tellWhy)
{
    const std::optional<QString> refusal = settings_.watchDownloadsEnabled ? downloadsRefusal() : std::nullopt;
    if (!settings_.watchDownloadsEnabled || refusal) {
        downloads_.stop();
        if (refusal && tellWhy)
            setToast(*refusal);
        return;
    }
    downloads_.start();
}

void AppModel::ingestDownloads(const QStringList& paths)
{
    if (!takeIntoInbox(paths, FileSource::Downloads))
        setToast(tr("Could not move download into Inbox."));
}

bool AppModel::takeIntoInbox(const QStringList& paths, FileSource hint)
{
    // An Inbox that leads elsewhere would put the file where Dropwell does not look.
    if (!services_.folders.ensure().ok() || services_.folders.refusal())
        return false;
    const QDateTime landed = now();
    bool allMoved = true;
    bool anyMoved = false;
    for (const QString& path : paths) {
        TrackedFile file;
        file.path = path;
        const auto moved = actions_.move(file, services_.folders.inbox());
        if (!moved.ok()) {
            allMoved = false;
            continue;
        }
        file.id = QUuid::createUuid();
        file.path = moved.value().path;
        file.size = FileSystem::fileSize(file.path).value_or(0);
        file.source = TrackedFile::inferSource(file.name(), hint);
        file.landedAt = landed;
        file.folder = FileFolder::Inbox;
        files_.prepend(file);
        anyMoved = true;
    }
    // Once for the whole batch: a save rewrites the whole index.
    if (anyMoved)
        recomputeInboxExpiry(); // sets the due times from the settings and saves
    return allMoved;
}
