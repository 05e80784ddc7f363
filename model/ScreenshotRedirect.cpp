#include "model/ScreenshotRedirect.h"

#include "core/DefaultsKeys.h"
#include "intake/DownloadsWatcher.h"
#include "model/InboxIntake.h"
#include "model/ModelServices.h"
#include "model/ModelSettings.h"
#include "model/PopoverState.h"
#include "platform/DefaultsStore.h"
#include "platform/FileSystem.h"

ScreenshotRedirect::ScreenshotRedirect(
    const ModelServices& services, ModelSettings& settings, PopoverState& popover, InboxIntake& intake)
    : services_(services)
    , settings_(settings)
    , popover_(popover)
    , intake_(intake)
{
    if (const auto& pulled = services.screenshots.pulledFolder()) {
        shellPull_ = std::make_unique<DownloadsWatcher>(*pulled, services.shellPullStableWait, *services.timers);
        connect(shellPull_.get(), &DownloadsWatcher::stableFiles, this, &ScreenshotRedirect::ingestShellScreenshots);
    }
    if (const auto& pulled = services.screenshots.pulledRecordingsFolder()) {
        shellRecordingsPull_ = std::make_unique<DownloadsWatcher>(*pulled, services.shellPullStableWait, *services.timers);
        connect(shellRecordingsPull_.get(), &DownloadsWatcher::stableFiles, this,
            &ScreenshotRedirect::ingestShellRecordings);
    }
}

ScreenshotRedirect::~ScreenshotRedirect() = default;

const ScreenshotSource& ScreenshotRedirect::source() const { return services_.screenshots; }

ScreenshotNames ScreenshotRedirect::namesSavedIntoInbox() const
{
    return settings_.value().screenshotsEnabled ? services_.screenshots.namesSavedInto(services_.folders.inbox())
                                                : ScreenshotNames();
}

void ScreenshotRedirect::start()
{
    started_ = true;
    apply();
}

void ScreenshotRedirect::setEnabled(bool on)
{
    settings_.change([&](AppSettings& s) { s.screenshotsEnabled = on; });
    apply();
    refreshDrift();
}

void ScreenshotRedirect::fix()
{
    settings_.change([](AppSettings& s) {
        s.screenshotsEnabled = true;
        s.locationDriftBannerDismissed = false;
    });
    apply();
    refreshDrift();
}

void ScreenshotRedirect::restore()
{
    for (ScreenshotTool* tool : services_.screenshots.tools())
        (void)ScreenshotSource::restore(*tool, previousLocationOf(*tool));
    syncShellPull(false);
    settings_.change([](AppSettings& s) { s.screenshotsEnabled = false; });
    setLocationDrift(false);
}

void ScreenshotRedirect::dismissDriftBanner()
{
    settings_.change([](AppSettings& s) { s.locationDriftBannerDismissed = true; });
}

void ScreenshotRedirect::apply()
{
    const ScreenshotSource& source = services_.screenshots;
    const QString inbox = services_.folders.inbox();
    if (settings_.value().screenshotsEnabled) {
        rememberPreviousLocations();
        (void)services_.folders.ensure(); // the first start tells of a failure
        for (ScreenshotTool* tool : source.tools()) {
            // An unreadable configuration is never written over.
            if (tool->stored().ok() && !ScreenshotSource::points(*tool, inbox))
                (void)tool->store(tool->rawFor(inbox));
        }
        syncShellPull(true);
        return;
    }
    if (!started_)
        return;
    // Off: undo the redirect where it still stands, and leave every tool
    // that points elsewhere as its user set it.
    for (ScreenshotTool* tool : source.tools()) {
        if (ScreenshotSource::points(*tool, inbox))
            (void)ScreenshotSource::restore(*tool, previousLocationOf(*tool));
    }
    syncShellPull(false);
}

void ScreenshotRedirect::rememberPreviousLocations()
{
    // Each record is made once, before the first redirect, and never
    // overwritten: it always holds what the user had.
    const ScreenshotSource& source = services_.screenshots;
    const QString inbox = services_.folders.inbox();
    if (!settings_.value().previousScreenshotLocation) {
        const auto previous = source.primary() ? ScreenshotSource::previousLocation(*source.primary(), inbox)
                                               : source.pulledFolder();
        if (previous)
            settings_.change([&](AppSettings& s) { s.previousScreenshotLocation = previous; });
    }
    for (ScreenshotTool* tool : source.tools()) {
        const QString key = DefaultsKeys::previousScreenshotLocationOf(tool->id());
        if (tool == source.primary() || services_.defaults->string(key))
            continue;
        if (const auto previous = ScreenshotSource::previousLocation(*tool, inbox))
            services_.defaults->setString(key, *previous);
    }
}

std::optional<QString> ScreenshotRedirect::previousLocationOf(const ScreenshotTool& tool) const
{
    if (&tool == services_.screenshots.primary())
        return settings_.value().previousScreenshotLocation;
    return services_.defaults->string(DefaultsKeys::previousScreenshotLocationOf(tool.id()));
}

void ScreenshotRedirect::refreshDrift()
{
    const ScreenshotSource& source = services_.screenshots;
    if (!settings_.value().screenshotsEnabled)
        setLocationDrift(false);
    else if (source.primary())
        setLocationDrift(!ScreenshotSource::points(*source.primary(), services_.folders.inbox()));
    else if (shellPull_)
        setLocationDrift(!shellPull_->isWatching());
    else
        setLocationDrift(false); // no tool to point anywhere
}

void ScreenshotRedirect::setLocationDrift(bool drift)
{
    if (drift == locationDrift_)
        return;
    locationDrift_ = drift;
    Q_EMIT locationDriftChanged();
}

void ScreenshotRedirect::syncShellPull(bool on)
{
    for (DownloadsWatcher* pull : {shellPull_.get(), shellRecordingsPull_.get()}) {
        if (!pull)
            continue;
        if (!on) {
            pull->stop();
            continue;
        }
        // GNOME Shell creates its folders with the first file; a watch needs
        // them to be there already.
        (void)FileSystem::makeFolders(pull->folder());
        pull->start();
    }
}

void ScreenshotRedirect::ingestShellScreenshots(const QStringList& paths)
{
    if (!intake_.take(paths, FileSource::Screenshot))
        popover_.setToast(tr("Could not move screenshot into Inbox."));
}

void ScreenshotRedirect::ingestShellRecordings(const QStringList& paths)
{
    // A recording expires like a screenshot; its kind comes from the file.
    if (!intake_.take(paths, FileSource::Screenshot))
        popover_.setToast(tr("Could not move screen recording into Inbox."));
}
