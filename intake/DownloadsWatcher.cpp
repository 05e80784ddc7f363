#include "intake/DownloadsWatcher.h"

#include "core/FileNames.h"
#include "platform/DefaultsStore.h"
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

void DownloadsWatcher::rememberIn(DefaultsStore& store, QString key)
{
    store_ = &store;
    key_ = std::move(key);
}

QString DownloadsWatcher::lateEntry(const QString& name, qint64 changed)
{
    return QString::number(changed) + QLatin1Char(' ') + name;
}

bool DownloadsWatcher::Seen::covers(const QString& name, qint64 changed) const
{
    return changed < moment || late.contains(lateEntry(name, changed));
}

QStringList DownloadsWatcher::list(Seen& seen) const
{
    seen = {FileSystem::changeClock(), {}};
    QStringList paths;
    for (const FileSystem::Entry& entry : FileSystem::listEntries(folder_)) {
        const qint64 changed = FileSystem::changeTime(entry.path).value_or(0);
        if (changed >= seen.moment)
            seen.late.append(lateEntry(entry.name, changed));
        paths.append(entry.path);
    }
    return paths;
}

// Stored as the folder, the moment, then the late entries: what was seen of
// another folder (the Downloads setting changed) says nothing of this one.
std::optional<DownloadsWatcher::Seen> DownloadsWatcher::remembered() const
{
    const QStringList stored = store_ ? store_->stringList(key_) : QStringList();
    bool valid = false;
    const qint64 moment = stored.size() < 2 || stored.front() != folder_ ? 0 : stored.at(1).toLongLong(&valid);
    if (!valid)
        return std::nullopt;
    return Seen {moment, stored.mid(2)};
}

void DownloadsWatcher::remember(const Seen& seen)
{
    if (store_)
        store_->setStringList(key_, QStringList {folder_, QString::number(seen.moment)} + seen.late);
}

void DownloadsWatcher::takeSnapshot() { takeSnapshot(std::nullopt); }

void DownloadsWatcher::takeSnapshot(const std::optional<Seen>& before)
{
    Seen now;
    known_.clear();
    for (const QString& path : list(now)) {
        if (!before || before->covers(FileNames::lastComponent(path), FileSystem::changeTime(path).value_or(0)))
            known_.insert(path);
    }
    snapshotTaken_ = true;
    if (!before)
        remember(now);
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
        takeSnapshot(remembered());
    watcher_ = std::make_unique<DirectoryWatcher>(folder_, quietPeriod_, timers_);
    connect(watcher_.get(), &DirectoryWatcher::changed, this, &DownloadsWatcher::scan);
    watcher_->start();
    scan();
}

void DownloadsWatcher::stop()
{
    watcher_.reset();
    pending_.clear();
    checks_.clear();
}

bool DownloadsWatcher::isIgnoredName(const QString& name)
{
    return name == QStringLiteral(".DS_Store") || name.startsWith(QStringLiteral("~$"))
        || FileSystem::isUnfinishedMove(name) || unfinishedExtensions.contains(FileNames::split(name).extension.toLower());
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

DownloadsWatcher::State DownloadsWatcher::stateOf(const QString& path)
{
    return {FileSystem::fileSize(path).value_or(0), FileSystem::changeTime(path).value_or(0)};
}

void DownloadsWatcher::scan()
{
    QStringList changed;
    for (const QString& path : list(scanned_)) {
        if (known_.contains(path) || shouldIgnore(path))
            continue;
        const auto waiting = pending_.find(path);
        if (waiting == pending_.end() || waiting->second.state != stateOf(path))
            changed.append(path);
    }
    scheduleCheck(changed);
    if (pending_.empty())
        remember(scanned_);
}

void DownloadsWatcher::scheduleCheck(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    const quint64 id = ++lastCheck_;
    for (const QString& path : paths)
        pending_[path] = {stateOf(path), id};
    auto& timer = checks_[id];
    timer.reset(timers_.make().release()); // owned by `checks_`, which deletes it later
    connect(timer.get(), &OneShotTimer::timeout, this, [this, id] { check(id); });
    timer->start(stableWait_);
}

void DownloadsWatcher::check(quint64 id)
{
    checks_.erase(id);
    QStringList stable, again;
    for (auto it = pending_.begin(); it != pending_.end();) {
        const auto& [path, pending] = *it;
        if (pending.check != id) {
            ++it;
            continue;
        }
        if (!FileSystem::exists(path) || shouldIgnore(path)) {
            it = pending_.erase(it);
            continue;
        }
        if (isBusy(path) || stateOf(path) != pending.state)
            again.append(path);
        else
            stable.append(path);
        ++it;
    }
    scheduleCheck(again);
    for (const QString& path : std::as_const(stable)) {
        known_.insert(path);
        pending_.erase(path);
    }
    if (stable.isEmpty())
        return;
    Q_EMIT stableFiles(stable);
    // Taken away: a later download of the same name is new again. Still here
    // (the move failed): it stays known and is not offered again.
    for (const QString& path : std::as_const(stable)) {
        if (!FileSystem::exists(path))
            known_.remove(path);
    }
    // Everything the last scan listed has been dealt with.
    if (pending_.empty())
        remember(scanned_);
}
