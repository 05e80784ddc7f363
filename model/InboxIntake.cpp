#include "model/InboxIntake.h"

#include "core/Clock.h"
#include "intake/FileActions.h"
#include "model/ExpirySchedule.h"
#include "model/FileIndex.h"
#include "model/ModelServices.h"
#include "platform/FileSystem.h"

InboxIntake::InboxIntake(const ModelServices& services, const FileActions& actions, FileIndex& index, ExpirySchedule& expiry)
    : services_(services)
    , actions_(actions)
    , index_(index)
    , expiry_(expiry)
{
}

bool InboxIntake::take(const QStringList& paths, FileSource hint)
{
    const FolderService& folders = services_.folders;
    // An Inbox that leads elsewhere would put the file where Dropwell does not look.
    if (!folders.ensure().ok() || folders.refusal())
        return false;
    const QDateTime landed = services_.clock->now();
    bool allMoved = true;
    bool anyMoved = false;
    for (const QString& path : paths) {
        TrackedFile file;
        file.path = path;
        const auto moved = actions_.move(file, folders.inbox());
        if (!moved.ok()) {
            allMoved = false;
            continue;
        }
        file.id = QUuid::createUuid();
        file.path = moved.value().path;
        file.size = FileSystem::fileSize(file.path).value_or(0);
        file.source = TrackedFile::inferSource(file.name(), hint);
        file.landedAt = landed;
        file.folder = FileFolder::Inbox;
        index_.records().prepend(file);
        anyMoved = true;
    }
    // Once for the whole batch: a save rewrites the whole index.
    if (anyMoved)
        expiry_.recomputeInboxExpiry(); // sets the due times from the settings and saves
    return allMoved;
}
