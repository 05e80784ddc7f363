#pragma once

#include "core/AppSettings.h"
#include "core/TrackedFile.h"
#include "platform/FileOpener.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QUuid>

class DownloadsIntake;
class FileActions;
class FileIndex;
class ModelSettings;
class PopoverState;
struct ModelServices;

// What the user does to tracked files, applied to the disk, the index and
// the selection: keep, move, delete, copy, show in the file manager, open.
// A file that fails shows why in the popover and the batch goes on; the
// index is saved once at the end of a batch.
class FileOperations : public QObject {
    Q_OBJECT
public:
    FileOperations(const ModelServices& services, const FileActions& actions, FileIndex& index,
        ModelSettings& settings, PopoverState& popover, DownloadsIntake& downloads);

    void keep(const TrackedFiles& files);
    void move(const TrackedFiles& files, const QString& folder);
    // Asks for a folder, then moves `files` (the selection when empty) there.
    void chooseMove(const TrackedFiles& files);
    void deleteFiles(const TrackedFiles& files);
    // The selection, or else the first visible file, on the clipboard.
    void copySelected();
    void copy(const TrackedFiles& files);
    void revealSelected();
    // The desktop's programs for the file, its default first; none without an opener.
    QList<OpeningApplication> applicationsFor(const TrackedFile& file) const;
    // Opens the file in `applicationId` (the default program when empty).
    void openWith(const TrackedFile& file, const QString& applicationId);
    // Where Keep sends files; Other asks for the folder.
    void setKeepDestination(KeepDestination destination);
    // The folders last moved to, most recent first.
    const QStringList& recentMoveFolders() const { return recentMoveFolders_; }

Q_SIGNALS:
    void recentMoveFoldersChanged();

private:
    // Saves once after a batch and drops the files done from the selection.
    void finishBatch(const QSet<QUuid>& done);

    const ModelServices& services_;
    const FileActions& actions_;
    FileIndex& index_;
    ModelSettings& settings_;
    PopoverState& popover_;
    DownloadsIntake& downloads_;
    QStringList recentMoveFolders_;
};
