#include "model/DownloadsIntake.h"

#include "core/Clock.h"
#include "core/DefaultsKeys.h"
#include "model/InboxIntake.h"
#include "model/ModelServices.h"
#include "model/ModelSettings.h"
#include "model/PopoverState.h"

namespace {

bool isInside(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

DownloadsIntake::DownloadsIntake(
    const ModelServices& services, ModelSettings& settings, PopoverState& popover, InboxIntake& intake)
    : services_(services)
    , settings_(settings)
    , popover_(popover)
    , intake_(intake)
    , watcher_(services.folders.downloads(), services.downloadsStableWait, *services.timers)
{
    // Direct: the watcher looks whether the file went once this returns.
    connect(&watcher_, &DownloadsWatcher::stableFiles, this, &DownloadsIntake::ingest);
    watcher_.rememberIn(*services.defaults, DefaultsKeys::downloadsSeenUntil);
}

void DownloadsIntake::setWatching(bool on)
{
    const QDateTime moment = services_.clock->now();
    if (on)
        watcher_.takeSnapshot(); // everything there now is left alone
    settings_.change([&](AppSettings& s) {
        s.watchDownloadsEnabled = on;
        s.downloadsWatchEnabledAt = on ? std::optional(moment) : std::nullopt;
    });
    sync(on);
}

std::optional<QString> DownloadsIntake::refusal() const
{
    // The XDG setting can point anywhere; taking "new files" from a folder
    // that holds Dropwell's own, or lies inside them, would move the user's
    // home or Dropwell's folders into the Inbox.
    const FolderService& folders = services_.folders;
    const QString downloads = FolderService::canonical(folders.downloads());
    const QString root = FolderService::canonical(folders.root());
    if (downloads == FolderService::canonical(folders.home()) || isInside(root, downloads))
        return tr("Downloads holds Dropwell's own folders, so Dropwell does not watch it.");
    if (downloads == root || isInside(downloads, root))
        return tr("Downloads is inside Dropwell's own folder, so Dropwell does not watch it.");
    return std::nullopt;
}

void DownloadsIntake::sync(bool tellWhy)
{
    const bool wanted = settings_.value().watchDownloadsEnabled;
    const std::optional<QString> refused = wanted ? refusal() : std::nullopt;
    if (!wanted || refused) {
        watcher_.stop();
        if (refused && tellWhy)
            popover_.setToast(*refused);
        return;
    }
    watcher_.start();
}

void DownloadsIntake::ingest(const QStringList& paths)
{
    if (!intake_.take(paths, FileSource::Downloads))
        popover_.setToast(tr("Could not move download into Inbox."));
}
