#pragma once

#include "platform/Trash.h"

// The freedesktop.org Trash through GIO: the home trash for files on the
// home's file system, else the trash folder of the file's own volume
// (`.Trash/$uid` or `.Trash-$uid` at its top), so trashing never copies a file
// across disks. Where no trash folder can take the file, it stays where it is
// and the call fails.
class FreedesktopTrash final : public Trash {
public:
    Status moveToTrash(const QString& path) override;
};
