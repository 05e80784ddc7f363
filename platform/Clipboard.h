#pragma once

#include <QStringList>

// The desktop clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard with references to these files, in one write, so
    // file managers paste the files themselves. With `alsoAsPicture`, the one
    // file is also offered as a picture when it can be read as one.
    virtual void copyFiles(const QStringList& paths, bool alsoAsPicture) = 0;
};
