#pragma once

#include "model/ModelServices.h"
#include "core/AppSettings.h"
#include "core/InboxIndex.h"
#include "core/RetryBackoff.h"
#include "core/TrackedFile.h"
#include "intake/DownloadsWatcher.h"
#include "intake/FileActions.h"
#include "platform/FileOpener.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>

// The centre of Dropwell: the settings, the index of tracked files, the state
// of the popover, and every operation the interface calls. It lives on the
// GUI thread; every change is announced by the signal named after the field.
//
// Construction reads the settings and nothing else; the work on disk starts
// with the first start(), which the popover calls each time it is shown.
class AppModel : public QObject {
    Q_OBJECT
public:
    explicit AppModel(ModelServices services, QObject* parent = nullptr);
    ~AppModel() override;

    // The process's model, registered by the application entry that owns it.
    static AppModel& shared();
    static void setShared(AppModel* model);

    // Published state.
    const AppSettings& settings() const { return settings_; }
    // The appearance the windows wear now; settingsChanged() follows a change
    // of the desktop's preference when it is followed.
    AppearanceMode shownAppearance() const { return ::shownAppearance(settings_.appearance, desktopPrefersDark_); }
    void setDesktopPrefersDark(bool dark);
    const TrackedFiles& files() const { return files_; }
    const QSet<QUuid>& selectedIDs() const { return selectedIDs_; }
    void setSelectedIDs(const QSet<QUuid>& ids);
    const QString& search() const { return search_; }
    void setSearch(const QString& search);
    // The popover's one-line message: a new one replaces the old, only the
    // user dismisses it.
    const std::optional<QString>& toast() const { return toast_; }
    void setToast(const std::optional<QString>& toast);
    bool isSelecting() const { return isSelecting_; }
    void setSelecting(bool selecting);
    const std::optional<QUuid>& renamingID() const { return renamingID_; }
    void setRenamingID(const std::optional<QUuid>& id);
    const QStringList& recentMoveFolders() const { return recentMoveFolders_; }
    // The redirect is wanted but screenshots are not going to the Inbox.
    bool locationDrift() const { return locationDrift_; }
    const FolderService& folders() const { return services_.folders; }
    // The model's clock: what every time shown is relative to.
    QDateTime now() const;
    const Clock& clock() const { return *services_.clock; }
    Timers& timers() const { return *services_.timers; }

    // Changes the settings and writes them at once.
    void changeSettings(const std::function<void(AppSettings&)>& change);

    // Lifecycle and the index.
    void start();
    bool isStarted() const { return started_; }
    // Re-reads the Inbox and Expired folders after a change on disk.
    void ingestInbox();
    // Stores one record: replaced where its id is, else put first.
    void update(const TrackedFile& file);

    // Derived lists, computed on each call.
    TrackedFiles inboxItems() const; // newest first
    TrackedFiles visibleInbox() const; // inboxItems matching the search
    TrackedFiles selectedFiles() const;
    TrackedFiles expiredItems() const; // most recently expired first
    int inboxCount() const;

    // Expiry.
    void recomputeInboxExpiry();
    // Starts a pass, which goes on in slices when it has many files to move;
    // a pass already under way goes on instead.
    void runExpiryPass();
    void undoExpiry(const TrackedFile& file);
    void undoLastExpiry();
    int expireTonightCount() const;
    bool isExpiryPaused() const;
    void pauseExpiryFor24Hours();
    void pauseExpiryUntilMonday();
    void resumeExpiry();
    void setScreenshotExpiryHours(qint64 hours);
    void setOtherExpiryDays(qint64 days);
    void setNotificationsEnabled(bool enabled);

    // Files taken in from elsewhere.
    void setWatchDownloads(bool on);
    const DownloadsWatcher& downloadsWatcher() const { return downloads_; }
    void setScreenshotsEnabled(bool on);
    void fixScreenshotLocation();
    void restoreScreenshotLocation();
    void dismissDriftBanner();
    const ScreenshotSource& screenshotSource() const { return services_.screenshots; }

    // What the user does to files.
    void keep(const TrackedFiles& files);
    void move(const TrackedFiles& files, const QString& folder);
    void chooseMove(const TrackedFiles& files);
    void deleteFiles(const TrackedFiles& files);
    void beginRename(const std::optional<TrackedFile>& file = std::nullopt);
    void commitRename(const TrackedFile& file, const QString& name);
    void copySelected();
    void copy(const TrackedFiles& files);
    void revealSelected();
    // The desktop's programs for the file, its default first; none without an opener.
    QList<OpeningApplication> applicationsFor(const TrackedFile& file) const;
    // Opens the file in `applicationId` (the default program when empty).
    void openWith(const TrackedFile& file, const QString& applicationId);
    TrackedFiles targets(const TrackedFile& file) const;
    void quickLook(const TrackedFile& file);
    // Previews the selection (or the first visible file), or closes the preview.
    void toggleQuickLook();
    bool isPreviewVisible() const { return actions_.isPreviewVisible(); }
    // Previews files that may not be in the index yet (a capture just written).
    void togglePreview(const QStringList& paths, int startAt) { actions_.toggleQuickLook(paths, startAt); }
    void closePreview() { actions_.closePreview(); }
    void selectAllVisible();
    void setKeepDestination(KeepDestination destination);

Q_SIGNALS:
    void settingsChanged();
    void filesChanged();
    void selectedIDsChanged();
    void searchChanged();
    void toastChanged();
    void isSelectingChanged();
    void renamingIDChanged();
    void recentMoveFoldersChanged();
    void locationDriftChanged();

private:
    void firstStart();
    void continueExpiryPass();
    // The managed folders are plain folders in their place; else the popover
    // says why and nothing in them is touched.
    bool foldersUsable();
    // Dropwell may move, rename or trash this record's file: it lies directly
    // in a managed folder that is as it must be, and is not a link.
    bool mayTouch(const TrackedFile& file) const;
    void loadIndex();
    // What the popover tells once at the first start: files kept aside,
    // settings brought into range.
    void tellStartNotes();
    void noteKeptAside(const QString& what, Persistence::LoadState state, const QString& path, const QString& instead);
    void reconcileWithDisk();
    void saveIndex();
    void saveSettings();
    // Stores without saving; a batch saves once at its end.
    void store(const TrackedFile& file);
    void removeRecord(const QUuid& id);
    // Saves once after a batch of actions and drops the files done from the selection.
    void finishBatch(const QSet<QUuid>& done);
    void unselect(const QSet<QUuid>& ids);
    void pruneSelection();
    // Starts or stops the Downloads intake to match the setting; `tellWhy`
    // shows why a Downloads folder is refused.
    void syncDownloadsWatcher(bool tellWhy = false);
    std::optional<QString> downloadsRefusal() const;
    void ingestDownloads(const QStringList& paths);
    void ingestShellScreenshots(const QStringList& paths);
    void ingestShellRecordings(const QStringList& paths);
    void applyScreenshotSource();
    void refreshDrift();
    void setLocationDrift(bool drift);
    void rememberPreviousLocations();
    std::optional<QString> previousLocationOf(const ScreenshotTool& tool) const;
    void syncShellPull(bool on);
    // Moves files from outside into the Inbox and tracks them, saving the
    // index once; false if any of them could not be moved.
    bool takeIntoInbox(const QStringList& paths, FileSource hint);

    ModelServices services_;
    FileActions actions_;
    InboxIndex indexStore_;
    DownloadsWatcher downloads_;
    std::unique_ptr<DownloadsWatcher> shellPull_; // only where GNOME Shell saves screenshots
    std::unique_ptr<DownloadsWatcher> shellRecordingsPull_; // and its screen recordings
    std::unique_ptr<OneShotTimer> expiryTimer_;
    // The pass under way, between its slices.
    struct ExpiryPass {
        QDateTime moment;
        QSet<QUuid> tried; // moved, trashed, or failed: not again in this pass
        int movedToExpired = 0;
    };
    std::optional<ExpiryPass> expiryPass_;
    std::unique_ptr<OneShotTimer> expirySlice_;
    // Moves into Expired that failed wait longer before each new try.
    RetryBackoff expiryRetries_;

    AppSettings settings_;
    bool desktopPrefersDark_ = false;
    // Unreadable or too large: the file on disk is kept aside before the first save.
    Persistence::LoadState settingsLoadState_ = Persistence::LoadState::Missing;
    QStringList settingsCorrections_; // values out of range, brought into it on load
    QStringList startNotes_;
    TrackedFiles files_;
    QSet<QUuid> selectedIDs_;
    QString search_;
    std::optional<QString> toast_;
    bool isSelecting_ = false;
    std::optional<QUuid> renamingID_;
    QStringList recentMoveFolders_;
    bool locationDrift_ = false;
    bool started_ = false;
};
