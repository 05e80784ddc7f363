#include "model/FileOperations.h"

#include "intake/FileActions.h"
#include "intake/RecentFolders.h"
#include "model/DownloadsIntake.h"
#include "model/FileIndex.h"
#include "model/MayTouch.h"
#include "model/ModelServices.h"
#include "model/ModelSettings.h"
#include "model/PathsOf.h"
#include "model/PopoverState.h"

#include <QDir>

#include <functional>

namespace {

// Runs `act` on each file in turn. A file it fails on shows `failure` with the
// file's name (the toast holds one message: the last failure's) and the batch
// goes on. Returns the ids of the files done.
QSet<QUuid> eachFile(PopoverState& popover, const TrackedFiles& files, const QString& failure,
    const std::function<bool(const TrackedFile&)>& act)
{
    QSet<QUuid> done;
    for (const TrackedFile& file : files) {
        if (act(file))
            done.insert(file.id);
        else
            popover.setToast(failure.arg(file.name()));
    }
    return done;
}

TrackedFile markedKept(TrackedFile file)
{
    file.folder = FileFolder::Kept;
    file.kept = true;
    file.expiresAt.reset();
    return file;
}

} // namespace

FileOperations::FileOperations(const ModelServices& services, const FileActions& actions, FileIndex& index,
    ModelSettings& settings, PopoverState& popover, DownloadsIntake& downloads)
    : services_(services)
    , actions_(actions)
    , index_(index)
    , settings_(settings)
    , popover_(popover)
    , downloads_(downloads)
    , recentMoveFolders_(RecentFolders::load(*services.defaults))
{
}

void FileOperations::keep(const TrackedFiles& files)
{
    const FolderService& folders = services_.folders;
    const QString destination = folders.keepDestination(settings_.value());
    // Kept there, a file would be tracked and expired all over again.
    const bool refused = folders.isExpiringFolder(destination);
    finishBatch(eachFile(popover_, files, tr("Could not keep '%1'."), [&](const TrackedFile& file) {
        if (refused || !mayTouch(folders, file))
            return false;
        const auto moved = actions_.move(file, destination);
        if (!moved.ok())
            return false;
        index_.store(markedKept(moved.value()));
        downloads_.markKnown(moved.value().path); // kept in Downloads: not taken back
        return true;
    }));
}

void FileOperations::move(const TrackedFiles& files, const QString& folder)
{
    const FolderService& folders = services_.folders;
    const QString target = QDir::cleanPath(folder);
    const bool refused = folders.isExpiringFolder(target);
    const bool toKept = FolderService::sameFolder(target, folders.kept());
    finishBatch(eachFile(popover_, files, tr("Could not move '%1'."), [&](const TrackedFile& file) {
        if (refused || !mayTouch(folders, file))
            return false;
        const auto moved = actions_.move(file, target);
        if (!moved.ok())
            return false;
        downloads_.markKnown(moved.value().path);
        // Moved anywhere but Kept, the file leaves Dropwell's care.
        if (toKept)
            index_.store(markedKept(moved.value()));
        else
            index_.remove(file.id);
        return true;
    }));
    if (refused)
        return; // never offered again as a place to move to
    RecentFolders::remember(*services_.defaults, target);
    recentMoveFolders_ = RecentFolders::load(*services_.defaults);
    Q_EMIT recentMoveFoldersChanged();
}

void FileOperations::chooseMove(const TrackedFiles& files)
{
    const TrackedFiles chosen = files.isEmpty() ? popover_.selectedFiles() : files;
    if (chosen.isEmpty())
        return;
    if (const auto folder = actions_.chooseFolder(tr("Move")))
        move(chosen, *folder);
}

void FileOperations::deleteFiles(const TrackedFiles& files)
{
    finishBatch(eachFile(popover_, files, tr("Could not move '%1' to Trash."), [&](const TrackedFile& file) {
        if (!mayTouch(services_.folders, file) || !actions_.trash(file.path).ok())
            return false;
        index_.remove(file.id);
        return true;
    }));
}

void FileOperations::finishBatch(const QSet<QUuid>& done)
{
    if (done.isEmpty())
        return;
    index_.save();
    popover_.unselect(done);
    index_.announce();
}

void FileOperations::copySelected()
{
    TrackedFiles files = popover_.selectedFiles();
    if (files.isEmpty())
        files = popover_.visibleInbox().mid(0, 1);
    copy(files);
}

void FileOperations::copy(const TrackedFiles& files) { actions_.copy(pathsOf(files)); }

void FileOperations::revealSelected()
{
    const TrackedFiles selected = popover_.selectedFiles();
    if (!selected.isEmpty())
        actions_.reveal(pathsOf(selected));
}

QList<OpeningApplication> FileOperations::applicationsFor(const TrackedFile& file) const
{
    return services_.opener ? services_.opener->applicationsFor(file.path) : QList<OpeningApplication>();
}

void FileOperations::openWith(const TrackedFile& file, const QString& applicationId)
{
    if (!services_.opener)
        return;
    if (const Status opened = services_.opener->open(file.path, applicationId); !opened.ok()) {
        qWarning("Opening %s: %s", qUtf8Printable(file.path), qUtf8Printable(opened.message()));
        popover_.setToast(tr("Could not open '%1'.").arg(file.name()));
    }
}

void FileOperations::setKeepDestination(KeepDestination destination)
{
    if (destination != KeepDestination::Other) {
        settings_.change([&](AppSettings& s) { s.keepDestination = destination; });
        return;
    }
    const auto folder = actions_.chooseFolder(tr("Keep folder"));
    if (!folder)
        return;
    if (services_.folders.isExpiringFolder(*folder)) {
        popover_.setToast(tr("Choose a Keep folder outside Dropwell's Inbox and Expired folders."));
        return;
    }
    settings_.change([&](AppSettings& s) {
        s.keepDestination = KeepDestination::Other;
        s.keepDestinationPath = QDir::cleanPath(*folder);
    });
}
