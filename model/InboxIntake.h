#pragma once

#include "core/TrackedFile.h"

#include <QStringList>

class ExpirySchedule;
class FileActions;
class FileIndex;
struct ModelServices;

// Moves files from outside into the Inbox and tracks them: finished
// downloads, and what a screenshot tool saved into a folder of its own.
class InboxIntake {
public:
    InboxIntake(const ModelServices& services, const FileActions& actions, FileIndex& index, ExpirySchedule& expiry);

    // Saves the index once for all of them; false if any could not be moved.
    bool take(const QStringList& paths, FileSource hint);

private:
    const ModelServices& services_;
    const FileActions& actions_;
    FileIndex& index_;
    ExpirySchedule& expiry_;
};
