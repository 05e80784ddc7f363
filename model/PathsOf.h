#pragma once

#include "core/TrackedFile.h"

#include <QStringList>

// The files' paths, in their order.
inline QStringList pathsOf(const TrackedFiles& files)
{
    QStringList paths;
    paths.reserve(files.size());
    for (const TrackedFile& file : files)
        paths.append(file.path);
    return paths;
}
