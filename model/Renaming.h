#pragma once

#include "core/TrackedFile.h"

#include <QCoreApplication>

#include <optional>

class FileActions;
class FileIndex;
class FolderService;
class PopoverState;

// The inline rename: the file it begins on, and the new name applied to the
// record that was being renamed.
class Renaming {
    Q_DECLARE_TR_FUNCTIONS(Renaming)
public:
    Renaming(const FolderService& folders, const FileActions& actions, FileIndex& index, PopoverState& popover);

    // Renames `file`, or else the first selected or visible file.
    void begin(const std::optional<TrackedFile>& file = std::nullopt);
    void commit(const TrackedFile& file, const QString& name);

private:
    const FolderService& folders_;
    const FileActions& actions_;
    FileIndex& index_;
    PopoverState& popover_;
};
