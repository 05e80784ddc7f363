#pragma once

#include "platform/Status.h"

class QString;

// The user's Trash, where deleted files can still be restored from.
class Trash {
public:
    virtual ~Trash() = default;
    virtual Status moveToTrash(const QString& path) = 0;
};
