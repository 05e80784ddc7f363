// The redirect of the system screenshot tools into the Inbox: applied at
// start, checked for drift when the popover opens, fixed and restored on
// the user's word.
#include "model/AppModel.h"

#include "core/DefaultsKeys.h"
#include "platform/DefaultsStore.h"
#include "platform/FileSystem.h"

void AppModel::setScreenshotsEnabled(bool on)
{
    changeSettings([&](AppSettings& s) { s.screenshotsEnabled = on; });
    applyScreenshotSource();
    refreshDrift();
}

void AppModel::fixScreenshotLocation()
{
    changeSettings([](AppSettings& s) {
        s.screenshotsEnabled = true;
        s.locationDriftBannerDismissed = false;
    });
    applyScreenshotSource();
    refreshDrift();
}

void AppModel::restoreScreenshotLocation()
{
    const ScreenshotSource& source = services_.screenshots;
    for (ScreenshotTool* tool : source.tools())
        (void)ScreenshotSource::restore(*tool, previousLocationOf(*tool));
    syncShellPull(false);
    changeSettings([](AppSettings& s) { s.screenshotsEnabled = false; });
    setLocationDrift(false);
}

void AppModel::dismissDriftBanner()
{
    changeSettings([](AppSettings& s) { s.locationDriftBannerDismissed = true; });
}

void AppModel::applyScreenshotSource()
{
    const ScreenshotSource& source = services_.screenshots;
    const QString inbox = services_.folders.inbox();
    if (settings_.screenshotsEnabled) {
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

void AppModel::rememberPreviousLocations()
{
    // Each record is made once, before the first redirect, and never
    // overwritten: it always holds what the user had.
    const ScreenshotSource& source = services_.screenshots;
    const QString inbox = services_.folders.inbox();
    if (!settings_.previousScreenshotLocation) {
        const auto previous = source.primary() ? ScreenshotSource::previousLocation(*source.primary(), inbox)
                                               : source.pulledFolder();
        if (previous)
            changeSettings([&](AppSettings& s) { s.previousScreenshotLocation = previous; });
    }
    for (ScreenshotTool* tool : source.tools()) {
        const QString key = DefaultsKeys::previousScreenshotLocationOf(tool->id());
        if (tool == source.primary() || services_.defaults->string(key))
            continue;
        if (const auto previous = ScreenshotSource::previousLocation(*tool, inbox))
            services_.defaults->setString(key, *previous);
    }
}

std::optional<QString> AppModel::previousLocationOf(const ScreenshotTool& tool) const
{
    if (&tool == services_.screenshots.primary())
        return settings_.previousScreenshotLocation;
    return services_.defaults->string(DefaultsKeys::previousScreenshotLocationOf(tool.id()));
}

void AppModel::refreshDrift()
{
    const ScreenshotSource& source = services_.screenshots;
    if (!settings_.screenshotsEnabled)
        setLocationDrift(false);
    else if (source.primary())
        setLocationDrift(!ScreenshotSource::points(*source.primary(), services_.folders.inbox()));
    else if (shellPull_)
        setLocationDrift(!shellPull_->isWatching());
    else
        setLocationDrift(false); // no tool to point anywhere
}

void AppModel::setLocationDrift(bool drift)
{
    if (drift == locationDrift_)
        return;
    locationDrift_ = drift;
    Q_EMIT locationDriftChanged();
}

void AppModel::syncShellPull(bool on)
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

void AppModel::ingestShellScreenshots(const QStringList& paths)
{
    if (!takeIntoInbox(paths, FileSource::Screenshot))
        setToast(tr("Could not move screenshot into Inbox."));
}

void AppModel::ingestShellRecordings(const QStringList& paths)
{
    // A recording expires like a screenshot; its kind comes from the file.
    if (!takeIntoInbox(paths, FileSource::Screenshot))
        setToast(tr("Could not move screen recording into Inbox."));
}
