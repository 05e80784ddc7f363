// What the user does to tracked files, applied to the index and the selection.
// The index is saved once at the end of a batch.
#include "model/AppModel.h"

#include "intake/RecentFolders.h"
#include "platform/FileOpener.h"

#include <QDir>

namespace {

QStringList pathsOf(const TrackedFiles& files)
{
    QStringList paths;
    paths.reserve(files.size());
    for (const TrackedFile& file : files)
        paths.append(file.path);
    return paths;
}

// Runs `act` on each file in turn. A file it fails on shows `failure` with the
// file's name (the toast holds one message: the last failure's) and the batch
// goes on. Returns the ids of the files done.
QSet<QUuid> eachFile(AppModel& model, const TrackedFiles& files, const QString& failure,
    const std::function<bool(const TrackedFile&)>& act)
{
    QSet<QUuid> done;
    for (const TrackedFile& file : files) {
        if (act(file))
            done.insert(file.id);
        else
            model.setToast(failure.arg(file.name()));
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

void AppModel::keep(const TrackedFiles& files)
{
    const QString destination = services_.folders.keepDestination(settings_);
    // Kept there, a file would be tracked and expired all over again.
    const bool refused = services_.folders.isExpiringFolder(destination);
    finishBatch(eachFile(*this, files, tr("Could not keep '%1'."), [&](const TrackedFile& file) {
        if (refused || !mayTouch(file))
            return false;
        const auto moved = actions_.move(file, destination);
        if (!moved.ok())
            return false;
        store(markedKept(moved.value()));
        downloads_.markKnown(moved.value().path); // kept in Downloads: not taken back
        return true;
    }));
}

void AppModel::move(const TrackedFiles& files, const QString& folder)
{
    const QString target = QDir::cleanPath(folder);
    const bool refused = services_.folders.isExpiringFolder(target);
    const bool toKept = FolderService::sameFolder(target, services_.folders.kept());
    finishBatch(eachFile(*this, files, tr("Could not move '%1'."), [&](const TrackedFile& file) {
        if (refused || !mayTouch(file))
            return false;
        const auto moved = actions_.move(file, target);
        if (!moved.ok())
            return false;
        downloads_.markKnown(moved.value().path);
        // Moved anywhere but Kept, the file leaves Dropwell's care.
        if (toKept)
            store(markedKept(moved.value()));
        else
            removeRecord(file.id);
        return true;
    }));
    if (refused)
        return; // never offered again as a place to move to
    RecentFolders::remember(*services_.defaults, target);
    recentMoveFolders_ = RecentFolders::load(*services_.defaults);
    Q_EMIT recentMoveFoldersChanged();
}

void AppModel::chooseMove(const TrackedFiles& files)
{
    const TrackedFiles chosen = files.isEmpty() ? selectedFiles() : files;
    if (chosen.isEmpty())
        return;
    if (const auto folder = actions_.chooseFolder(tr("Move")))
        move(chosen, *folder);
}

void AppModel::deleteFiles(const TrackedFiles& files)
{
    finishBatch(eachFile(*this, files, tr("Could not move '%1' to Trash."), [&](const TrackedFile& file) {
        if (!mayTouch(file) || !actions_.trash(file.path).ok())
            return false;
        removeRecord(file.id);
        return true;
    }));
}

void AppModel::finishBatch(const QSet<QUuid>& done)
{
    if (done.isEmpty())
        return;
    saveIndex();
    unselect(done);
    Q_EMIT filesChanged();
}

void AppModel::beginRename(const std::optional<TrackedFile>& file)
{
    std::optional<TrackedFile> target = file;
    if (!target) {
        const TrackedFiles selected = selectedFiles();
        const TrackedFiles visible = selected.isEmpty() ? visibleInbox() : selected;
        if (!visible.isEmpty())
            target = visible.front();
    }
    if (!target)
        return;
    setSelectedIDs({target->id});
    setRenamingID(target->id);
}

void AppModel::commitRename(const TrackedFile& file, const QString& name)
{
    setRenamingID(std::nullopt);
    if (!mayTouch(file)) {
        setToast(tr("Could not rename '%1'.").arg(file.name()));
        return;
    }
    const auto renamed = actions_.rename(file, name);
    if (!renamed.ok()) {
        setToast(tr("Could not rename '%1'.").arg(file.name()));
        return;
    }
    if (renamed.value() != file)
        update(renamed.value());
}

void AppModel::copySelected()
{
    TrackedFiles files = selectedFiles();
    if (files.isEmpty())
        files = visibleInbox().mid(0, 1);
    copy(files);
}

void AppModel::copy(const TrackedFiles& files) { actions_.copy(pathsOf(files)); }

void AppModel::revealSelected()
{
    const TrackedFiles selected = selectedFiles();
    if (!selected.isEmpty())
        actions_.reveal(pathsOf(selected));
}

QList<OpeningApplication> AppModel::applicationsFor(const TrackedFile& file) const
{
    return services_.opener ? services_.opener->applicationsFor(file.path) : QList<OpeningApplication>();
}

void AppModel::openWith(const TrackedFile& file, const QString& applicationId)
{
    if (!services_.opener)
        return;
    if (const Status opened = services_.opener->open(file.path, applicationId); !opened.ok()) {
        qWarning("Opening %s: %s", qUtf8Printable(file.path), qUtf8Printable(opened.message()));
        setToast(tr("Could not open '%1'.").arg(file.name()));
    }
}

TrackedFiles AppModel::targets(const TrackedFile& file) const
{
    if (selectedIDs_.contains(file.id) && selectedIDs_.size() >= 2)
        return selectedFiles();
    return {file};
}

void AppModel::quickLook(const TrackedFile& file)
{
    const TrackedFiles files = targets(file);
    const auto at = std::find_if(files.begin(), files.end(), [&](const TrackedFile& f) { return f.id == file.id; });
    actions_.toggleQuickLook(pathsOf(files), at == files.end() ? 0 : int(at - files.begin()));
}

void AppModel::toggleQuickLook()
{
    if (actions_.isPreviewVisible()) {
        actions_.closePreview();
        return;
    }
    TrackedFiles files = selectedFiles();
    if (files.isEmpty()) {
        const TrackedFiles visible = visibleInbox();
        if (visible.isEmpty())
            return;
        files = visible.mid(0, 1);
        setSelectedIDs({files.front().id});
    }
    actions_.toggleQuickLook(pathsOf(files), 0);
}

void AppModel::selectAllVisible()
{
    QSet<QUuid> ids;
    for (const TrackedFile& file : visibleInbox())
        ids.insert(file.id);
    setSelectedIDs(ids);
    setSelecting(true);
}

void AppModel::setKeepDestination(KeepDestination destination)
{
    if (destination != KeepDestination::Other) {
        changeSettings([&](AppSettings& s) { s.keepDestination = destination; });
        return;
    }
    const auto folder = actions_.chooseFolder(tr("Keep folder"));
    if (!folder)
        return;
    if (services_.folders.isExpiringFolder(*folder)) {
        setToast(tr("Choose a Keep folder outside Dropwell's Inbox and Expired folders."));
        return;
    }
    changeSettings([&](AppSettings& s) {
        s.keepDestination = KeepDestination::Other;
        s.keepDestinationPath = QDir::cleanPath(*folder);
    });
}
