#pragma once

#include "core/InboxIndex.h"
#include "intake/FileActions.h"
#include "model/DownloadsIntake.h"
#include "model/ExpirySchedule.h"
#include "model/FileIndex.h"
#include "model/FileOperations.h"
#include "model/InboxIntake.h"
#include "model/ModelServices.h"
#include "model/ModelSettings.h"
#include "model/PopoverState.h"
#include "model/PreviewControl.h"
#include "model/Renaming.h"
#include "model/ScreenshotRedirect.h"
#include "model/StartNotes.h"

#include <QObject>

// What the interface observes and calls: owns the parts of the model, each
// with one job, starts them, and passes on the settings, the index, the
// popover's state and the actions on files. The expiry schedule, the
// screenshot redirect and the Downloads intake are called through their
// accessors. It lives on the GUI thread; every change is announced by the
// signal named after the field.
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

    // Lifecycle.
    void start();
    bool isStarted() const { return started_; }
    // Re-reads the Inbox and Expired folders after a change on disk.
    void ingestInbox();

    // The parts.
    ExpirySchedule& expiry() { return expiry_; }
    const ExpirySchedule& expiry() const { return expiry_; }
    ScreenshotRedirect& screenshotRedirect() { return redirect_; }
    const ScreenshotRedirect& screenshotRedirect() const { return redirect_; }
    DownloadsIntake& downloads() { return downloads_; }
    FileIndex& index() { return index_; }

    const FolderService& folders() const { return services_.folders; }
    // The model's clock: what every time shown is relative to.
    QDateTime now() const;
    const Clock& clock() const { return *services_.clock; }
    Timers& timers() const { return *services_.timers; }

    // The settings.
    const AppSettings& settings() const { return settings_.value(); }
    AppearanceMode shownAppearance() const { return settings_.shownAppearance(); }
    void setDesktopPrefersDark(bool dark) { settings_.setDesktopPrefersDark(dark); }
    void changeSettings(const std::function<void(AppSettings&)>& change) { settings_.change(change); }

    // The index.
    const TrackedFiles& files() const { return index_.files(); }
    TrackedFiles inboxItems() const { return index_.inboxItems(); }
    TrackedFiles expiredItems() const { return index_.expiredItems(); }
    int inboxCount() const { return index_.inboxCount(); }

    // The popover's state.
    const QSet<QUuid>& selectedIDs() const { return popover_.selectedIDs(); }
    void setSelectedIDs(const QSet<QUuid>& ids) { popover_.setSelectedIDs(ids); }
    const QString& search() const { return popover_.search(); }
    void setSearch(const QString& search) { popover_.setSearch(search); }
    const std::optional<QString>& toast() const { return popover_.toast(); }
    void setToast(const std::optional<QString>& toast) { popover_.setToast(toast); }
    bool isSelecting() const { return popover_.isSelecting(); }
    void setSelecting(bool selecting) { popover_.setSelecting(selecting); }
    const std::optional<QUuid>& renamingID() const { return popover_.renamingID(); }
    void setRenamingID(const std::optional<QUuid>& id) { popover_.setRenamingID(id); }
    TrackedFiles visibleInbox() const { return popover_.visibleInbox(); }
    TrackedFiles selectedFiles() const { return popover_.selectedFiles(); }
    TrackedFiles targets(const TrackedFile& file) const { return popover_.targets(file); }
    void selectAllVisible() { popover_.selectAllVisible(); }

    // What the user does to files.
    void keep(const TrackedFiles& files) { operations_.keep(files); }
    void move(const TrackedFiles& files, const QString& folder) { operations_.move(files, folder); }
    void chooseMove(const TrackedFiles& files) { operations_.chooseMove(files); }
    void deleteFiles(const TrackedFiles& files) { operations_.deleteFiles(files); }
    void copySelected() { operations_.copySelected(); }
    void revealSelected() { operations_.revealSelected(); }
    QList<OpeningApplication> applicationsFor(const TrackedFile& file) const { return operations_.applicationsFor(file); }
    void openWith(const TrackedFile& file, const QString& applicationId) { operations_.openWith(file, applicationId); }
    void setKeepDestination(KeepDestination destination) { operations_.setKeepDestination(destination); }
    const QStringList& recentMoveFolders() const { return operations_.recentMoveFolders(); }
    void beginRename(const std::optional<TrackedFile>& file = std::nullopt) { renaming_.begin(file); }
    void commitRename(const TrackedFile& file, const QString& name) { renaming_.commit(file, name); }

    // The previewer.
    void togglePreviewOf(const TrackedFile& file) { previews_.togglePreviewOf(file); }
    void togglePreviewOfSelection() { previews_.togglePreviewOfSelection(); }
    void togglePreview(const QStringList& paths, int startAt) { previews_.togglePreview(paths, startAt); }
    bool isPreviewVisible() const { return previews_.isPreviewVisible(); }
    void closePreview() { previews_.closePreview(); }

Q_SIGNALS:
    void settingsChanged();
    void filesChanged();
    void selectedIDsChanged();
    void searchChanged();
    void toastChanged();
    void isSelectingChanged();
    void renamingIDChanged();
    void recentMoveFoldersChanged();

private:
    void firstStart();
    // The managed folders are plain folders in their place; else the popover
    // says why and nothing in them is touched.
    bool foldersUsable();
    void reconcileWithDisk();
    void tellStartNotes();

    ModelServices services_;
    FileActions actions_;
    StartNotes notes_;
    ModelSettings settings_;
    FileIndex index_;
    PopoverState popover_;
    InboxIndex inboxWatch_;
    ExpirySchedule expiry_;
    InboxIntake intake_;
    DownloadsIntake downloads_;
    ScreenshotRedirect redirect_;
    FileOperations operations_;
    Renaming renaming_;
    PreviewControl previews_;
    bool started_ = false;
};
