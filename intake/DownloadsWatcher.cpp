#include "intake/DownloadsWatcher.h"

#include "core/FileNames.h"
#include "platform/FileSystem.h"

#include <QDir>

namespace {

// Extensions of downloads still in progress (Chromium, Safari, Firefox) and of
// temporary files.
const QStringList unfinishedExtensions {
    QStringLiteral("crdownload"), QStringLiteral("download"), QStringLiteral("part"), QStringLiteral("tmp")};

} // namespace

DownloadsWatcher::DownloadsWatcher(QString folder, std::chrono::milliseconds stableWait, Timers& timers,
    std::chrono::milliseconds quietPeriod, QObject* parent)
    : QObject(parent)
    , folder_(QDir::cleanPath(folder))
    , stableWait_(stableWait)
    , timers_(timers)
    , quietPeriod_(quietPeriod)
{
}

DownloadsWatcher::~DownloadsWatcher() = default;

QSet<QString> DownloadsWatcher::currentNames() const
{
    QSet<QString> names;
    for (const FileSystem::Entry& entry : FileSystem::listEntries(folder_))
        names.insert(entry.path);
    return names;
}

void DownloadsWatcher::takeSnapshot()
{
    known_ = currentNames();
    snapshotTaken_ = true;
}

void DownloadsWatcher::markKnown(const QString& path)
{
    if (FileNames::parentFolder(path) == folder_)
        known_.insert(QDir::cleanPath(path));
}

void DownloadsWatcher::start()
{
    // Once, not whenever the known set happens to be empty: an empty
    // Downloads folder must not make later arrivals count as old.
    if (!snapshotTaken_)
        takeSnapshot();
    watcher_ = std::make_unique<DirectoryWatcher>(folder_, quietPeriod_, timers_);
    connect(watcher_.get(), &DirectoryWatcher::changed, this, &DownloadsWatcher::scan);
    watcher_->start();
    scan();
}

void DownloadsWatcher::stop()
{
    watcher_.reset();
    pending_.clear();
}

bool DownloadsWatcher::isIgnoredName(const QString& name)
{
    return name == QStringLiteral(".DS_Store") || name.startsWith(QStringLiteral("~$"))
        || unfinishedExtensions.contains(FileNames::split(name).extension.toLower());
}

bool DownloadsWatcher::shouldIgnore(const QString& path) const
{
    if (isIgnoredName(FileNames::lastComponent(path)))
        return true;
    const FileSystem::Kind kind = FileSystem::kindOf(path);
    return kind != FileSystem::Kind::RegularFile && kind != FileSystem::Kind::Unknown;
}

bool DownloadsWatcher::isBusy(const QString& path) const
{
    // Firefox keeps an empty file under the final name while the download is
    // written to "<name>.part" beside it, and renames over it at the end.
    for (const QString& extension : unfinishedExtensions) {
        if (FileSystem::exists(path + QLatin1Char('.') + extension))
            return true;
    }
    return FileSystem::isBeingWritten(path);
}

void DownloadsWatcher::scan()
{
    for (const FileSystem::Entry& entry : FileSystem::listEntries(folder_)) {
        if (!known_.contains(entry.path) && !shouldIgnore(entry.path))
            scheduleCheck(entry.path);
    }
}

void DownloadsWatcher::scheduleCheck(const QString& path)
{
    const qint64 size = FileSystem::fileSize(path).value_or(0);
    Pending& pending = pending_[path];
    pending.size = size;
    pending.check.reset(timers_.make().release()); // owned by `pending`, which deletes it later
    connect(pending.check.get(), &OneShotTimer::timeout, this, [this, path, size] { finalizeIfStable(path, size); });
    pending.check->start(stableWait_);
}

void DownloadsWatcher::finalizeIfStable(const QString& path, qint64 expectedSize)
{
    if (!FileSystem::exists(path) || shouldIgnore(path)) {
        pending_.erase(path);
        return;
    }
    if (isBusy(path) || FileSystem::fileSize(path).value_or(0) != expectedSize) {
        scheduleCheck(path);
        return;
    }
    known_.insert(path);
    pending_.erase(path);
    Q_EMIT stableFile(path);
    // Taken away: a later download of the same name is new again. Still here
    // (the move failed): it stays known and is not offered again.
    if (!FileSystem::exists(path))
        known_.remove(path);
}
