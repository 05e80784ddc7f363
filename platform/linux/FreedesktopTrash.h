#pragma once

#include "platform/Trash.h"

// The freedesktop.org Trash: the home trash, or the trash folder of the
// file's own volume, so trashing never copies a file across disks.
class FreedesktopTrash final : public Trash {
public:
    Status moveToTrash(const QString& path) override;
};
