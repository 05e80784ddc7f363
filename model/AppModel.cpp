#include "model/AppModel.h"

#include "core/Clock.h"
#include "core/DefaultsKeys.h"
#include "core/FileNames.h"
#include "core/SettingsRanges.h"
#include "core/Timers.h"
#include "intake/RecentFolders.h"
#include "platform/DefaultsStore.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <utility>

namespace {

AppModel* sharedModel = nullptr;

} // namespace

AppModel::AppModel(ModelServices services, QObject* parent)
    : QObject(parent)
    , services_(std::move(services))
    , actions_(*services_.trash, *services_.clipboard, *services_.fileManager, *services_.previewer)
    , downloads_(services_.folders.downloads(), services_.downloadsStableWait, *services_.timers)
    , expiryTimer_(services_.timers->make())
    , expirySlice_(services_.timers->make())
{
    recentMoveFolders_ = RecentFolders::load(*services_.defaults);
    services_.persistence.ensureSupport();
    const auto loaded = services_.persistence.loadSettings();
    settings_ = loaded.value;
    settingsLoadState_ = loaded.state;
    settingsCorrections_ = SettingsRanges::correct(settings_);

    connect(expiryTimer_.get(), &OneShotTimer::timeout, this, [this] {
        runExpiryPass();
        expiryTimer_->start(services_.expiryPassPeriod);
    });
    connect(expirySlice_.get(), &OneShotTimer::timeout, this, &AppModel::continueExpiryPass);
    connect(&indexStore_, &InboxIndex::changed, this, &AppModel::ingestInbox, Qt::QueuedConnection);
    // Direct: the watcher looks whether the file went once this returns.
    connect(&downloads_, &DownloadsWatcher::stableFiles, this, &AppModel::ingestDownloads);
    downloads_.rememberIn(*services_.defaults, DefaultsKeys::downloadsSeenUntil);
    if (const auto& pulled = services_.screenshots.pulledFolder()) {
        shellPull_ = std::make_unique<DownloadsWatcher>(*pulled, services_.shellPullStableWait, *services_.timers);
        connect(shellPull_.get(), &DownloadsWatcher::stableFiles, this, &AppModel::ingestShellScreenshots);
    }
    if (const auto& pulled = services_.screenshots.pulledRecordingsFolder()) {
        shellRecordingsPull_ = std::make_unique<DownloadsWatcher>(*pulled, services_.shellPullStableWait, *services_.timers);
        connect(shellRecordingsPull_.get(), &DownloadsWatcher::stableFiles, this, &AppModel::ingestShellRecordings);
    }
}

AppModel::~AppModel()
{
    if (sharedModel == this)
        sharedModel = nullptr;
}

AppModel& AppModel::shared()
{
    Q_ASSERT_X(sharedModel, "AppModel::shared", "the application entry registers its model first");
    return *sharedModel;
}

void AppModel::setShared(AppModel* model) { sharedModel = model; }

QDateTime AppModel::now() const { return services_.clock->now(); }

// Published state ----------------------------------------------------------

void AppModel::setSelectedIDs(const QSet<QUuid>& ids)
{
    if (ids == selectedIDs_)
        return;
    selectedIDs_ = ids;
    Q_EMIT selectedIDsChanged();
}

void AppModel::setSearch(const QString& search)
{
    if (search == search_)
        return;
    search_ = search;
    Q_EMIT searchChanged();
}

void AppModel::setToast(const std::optional<QString>& toast)
{
    if (toast == toast_)
        return;
    toast_ = toast;
    Q_EMIT toastChanged();
}

void AppModel::setSelecting(bool selecting)
{
    if (selecting == isSelecting_)
        return;
    isSelecting_ = selecting;
    Q_EMIT isSelectingChanged();
}

void AppModel::setRenamingID(const std::optional<QUuid>& id)
{
    if (id == renamingID_)
        return;
    renamingID_ = id;
    Q_EMIT renamingIDChanged();
}

void AppModel::changeSettings(const std::function<void(AppSettings&)>& change)
{
    AppSettings changed = settings_;
    change(changed);
    if (changed == settings_)
        return;
    settings_ = std::move(changed);
    saveSettings();
    Q_EMIT settingsChanged();
}

void AppModel::setDesktopPrefersDark(bool dark)
{
    if (std::exchange(desktopPrefersDark_, dark) != dark && settings_.appearance == AppearanceMode::Desktop)
        Q_EMIT settingsChanged();
}

void AppModel::saveSettings()
{
    if (Persistence::mustKeepAside(settingsLoadState_)) {
        // The unreadable file may be the user's only copy of their choices.
        noteKeptAside(tr("settings"), settingsLoadState_, services_.persistence.settingsPath(),
            tr("so it uses the default settings"));
        settingsLoadState_ = Persistence::LoadState::Loaded;
    }
    services_.persistence.saveSettings(settings_);
}

void AppModel::saveIndex() { services_.persistence.saveIndex(files_); }

// Lifecycle ------------------------------------------------------------------

void AppModel::start()
{
    if (!started_) {
        firstStart();
        return;
    }
    if (!foldersUsable())
        return;
    refreshDrift();
    reconcileWithDisk();
    syncDownloadsWatcher();
    runExpiryPass();
}

void AppModel::firstStart()
{
    if (!services_.folders.ensure().ok())
        setToast(tr("Could not create Dropwell folders."));
    // Not started: the next start looks again, once the user has mended it.
    if (!foldersUsable())
        return;
    started_ = true;
    // Copies of moves a crash cut short; each one's source is still in place.
    for (const QString& folder : {services_.folders.inbox(), services_.folders.kept(), services_.folders.expired()})
        FileSystem::removeUnfinishedMoves(folder);
    services_.persistence.ensureSupport();
    if (!settingsCorrections_.isEmpty()) {
        startNotes_ += settingsCorrections_;
        settingsCorrections_.clear();
        saveSettings();
    }
    loadIndex();
    InboxIndex::absorbKept(files_, services_.folders.kept(), now());
    reconcileWithDisk();
    indexStore_.startWatching(services_.folders.inbox(), services_.inboxQuietPeriod, *services_.timers);
    applyScreenshotSource();
    refreshDrift();
    syncDownloadsWatcher(true);

    if (!settings_.onboardingCompleted) {
        changeSettings([](AppSettings& s) { s.onboardingCompleted = true; });
        applyScreenshotSource();
        syncDownloadsWatcher();
    }
    if (services_.defaults->boolValue(DefaultsKeys::showCaptureReadyToast)) {
        services_.defaults->setBool(DefaultsKeys::showCaptureReadyToast, false);
        setToast(tr("Ready to capture — click the button again."));
    }
    runExpiryPass();
    expiryTimer_->start(services_.expiryPassPeriod);
    tellStartNotes();
}

bool AppModel::foldersUsable()
{
    const auto refusal = services_.folders.refusal();
    if (refusal)
        setToast(*refusal);
    return !refusal;
}

bool AppModel::mayTouch(const TrackedFile& file) const
{
    return services_.folders.holds(file.path) && !services_.folders.refusal();
}

void AppModel::tellStartNotes()
{
    if (startNotes_.isEmpty())
        return;
    setToast(startNotes_.join(QLatin1Char(' ')));
    startNotes_.clear();
}

void AppModel::noteKeptAside(
    const QString& what, Persistence::LoadState state, const QString& path, const QString& instead)
{
    const auto keptAs = services_.persistence.keepAside(path);
    const QString problem = state == Persistence::LoadState::TooLarge
        ? tr("Dropwell's %1 file was too large to read").arg(what)
        : tr("Dropwell could not read its %1 file").arg(what);
    const QString kept = keptAs ? tr("the file is kept as %1.").arg(FileNames::lastComponent(*keptAs))
                                : tr("the file could not be kept aside.");
    startNotes_.append(QStringLiteral("%1, %2; %3").arg(problem, instead, kept));
}

void AppModel::loadIndex()
{
    const Persistence& persistence = services_.persistence;
    auto loaded = persistence.loadIndex();
    // The rebuilt list is about to be written over the file; an unreadable
    // index may still hold the only record of what the user kept.
    if (Persistence::mustKeepAside(loaded.state)) {
        noteKeptAside(tr("index"), loaded.state, persistence.indexPath(),
            tr("so it rebuilt the list from its folders"));
    }
    files_ = std::move(loaded.value);
    if (const qsizetype dropped = InboxIndex::confine(files_, services_.folders))
        qWarning("Dropwell: dropped %lld index records of files outside its folders", qint64(dropped));
}

void AppModel::reconcileWithDisk()
{
    if (services_.folders.refusal())
        return;
    // What the redirected tools save is theirs only while the redirect stands.
    const QString inbox = services_.folders.inbox();
    const ScreenshotNames savedByTools
        = settings_.screenshotsEnabled ? services_.screenshots.namesSavedInto(inbox) : ScreenshotNames();
    InboxIndex::reconcile(files_, inbox, services_.folders.expired(), now(), savedByTools);
    recomputeInboxExpiry();
    pruneSelection();
}

void AppModel::ingestInbox() { reconcileWithDisk(); }

void AppModel::update(const TrackedFile& file)
{
    store(file);
    saveIndex();
    Q_EMIT filesChanged();
}

void AppModel::store(const TrackedFile& file)
{
    const auto found = std::find_if(files_.begin(), files_.end(), [&](const TrackedFile& f) { return f.id == file.id; });
    if (found != files_.end())
        *found = file;
    else
        files_.prepend(file);
}

void AppModel::removeRecord(const QUuid& id)
{
    files_.removeIf([&](const TrackedFile& f) { return f.id == id; });
}

void AppModel::unselect(const QSet<QUuid>& ids)
{
    if (selectedIDs_.intersects(ids))
        setSelectedIDs(selectedIDs_ - ids);
}

void AppModel::pruneSelection()
{
    if (selectedIDs_.isEmpty())
        return;
    QSet<QUuid> present;
    for (const TrackedFile& file : std::as_const(files_)) {
        if (selectedIDs_.contains(file.id))
            present.insert(file.id);
    }
    setSelectedIDs(present);
}

// Derived lists --------------------------------------------------------------

TrackedFiles AppModel::inboxItems() const
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

TrackedFiles AppModel::visibleInbox() const
{
    TrackedFiles items = inboxItems();
    const QString query = search_.trimmed().toLower();
    if (!query.isEmpty())
        items.removeIf([&](const TrackedFile& file) { return !file.name().toLower().contains(query); });
    return items;
}

TrackedFiles AppModel::selectedFiles() const
{
    TrackedFiles items = visibleInbox();
    items.removeIf([&](const TrackedFile& file) { return !selectedIDs_.contains(file.id); });
    return items;
}

TrackedFiles AppModel::expiredItems() const
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

int AppModel::inboxCount() const
{
    return int(std::count_if(files_.begin(), files_.end(),
        [](const TrackedFile& file) { return file.folder == FileFolder::Inbox && !file.kept; }));
}
