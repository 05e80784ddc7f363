#pragma once

#include "platform/Status.h"

#include <QString>

// Whether Dropwell starts with the user's session.
class Autostart {
public:
    virtual ~Autostart() = default;

    virtual bool isEnabled() const = 0;
    virtual Status setEnabled(bool enabled) = 0;
    // The file that says it, to be watched for changes made by hand.
    virtual QString entryPath() const = 0;
};
