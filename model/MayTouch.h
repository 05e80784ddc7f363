#pragma once

#include "core/FolderService.h"
#include "core/TrackedFile.h"

// Dropwell may move, rename or trash this record's file: it lies directly in
// a managed folder that is as it must be, and is not a link.
inline bool mayTouch(const FolderService& folders, const TrackedFile& file)
{
    return folders.holds(file.path) && !folders.refusal();
}
