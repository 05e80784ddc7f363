#pragma once

#include "intake/ScreenshotSource.h"

#include <QObject>

#include <memory>
#include <optional>

class DownloadsWatcher;
class InboxIntake;
class ModelSettings;
class PopoverState;
struct ModelServices;

// The redirect of the system screenshot tools into the Inbox: applied at
// start, checked for drift when the popover opens, fixed and restored on the
// user's word. Where GNOME Shell saves into folders of its own, the redirect
// pulls its screenshots and recordings from there instead.
class ScreenshotRedirect : public QObject {
    Q_OBJECT
public:
    ScreenshotRedirect(const ModelServices& services, ModelSettings& settings, PopoverState& popover, InboxIntake& intake);
    ~ScreenshotRedirect() override;

    // The redirect is wanted but screenshots are not going to the Inbox.
    bool locationDrift() const { return locationDrift_; }
    const ScreenshotSource& source() const;
    // What the redirected tools save into the Inbox is theirs only while the
    // redirect stands: the names they give, none while it is off.
    ScreenshotNames namesSavedIntoInbox() const;

    // At the first start: from now on, turning the redirect off undoes it.
    void start();
    // Points the tools at the Inbox, or back, to match the setting.
    void apply();
    void refreshDrift();

    void setEnabled(bool on);
    void fix();
    void restore();
    void dismissDriftBanner();

Q_SIGNALS:
    void locationDriftChanged();

private:
    void setLocationDrift(bool drift);
    void rememberPreviousLocations();
    std::optional<QString> previousLocationOf(const ScreenshotTool& tool) const;
    void syncShellPull(bool on);
    void ingestShellScreenshots(const QStringList& paths);
    void ingestShellRecordings(const QStringList& paths);

    const ModelServices& services_;
    ModelSettings& settings_;
    PopoverState& popover_;
    InboxIntake& intake_;
    std::unique_ptr<DownloadsWatcher> shellPull_; // only where GNOME Shell saves screenshots
    std::unique_ptr<DownloadsWatcher> shellRecordingsPull_; // and its screen recordings
    bool locationDrift_ = false;
    bool started_ = false;
};
