#pragma once

#include "platform/Status.h"

#include <QMap>
#include <QString>

// One channel of Xfce's settings store (xfconf), as far as shortcuts need it:
// string properties by their path ("/commands/custom/<Primary>p").
class XfconfChannel {
public:
    virtual ~XfconfChannel() = default;

    // The string properties right under `base`, by their last name.
    virtual StatusOr<QMap<QString, QString>> strings(const QString& base) const = 0;
    virtual Status setString(const QString& property, const QString& value) = 0;
    // Removes the user's value with everything under it; where the system
    // has one, that one counts again.
    virtual Status reset(const QString& property) = 0;
};
