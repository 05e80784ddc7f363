#pragma once

#include "platform/Status.h"

#include <QString>

// Rules for the names Dropwell gives files.
namespace FileNames {

// "archive.tar.gz" splits into "archive.tar" and "gz"; a name without a dot
// after its first character ("README", ".bashrc") has no extension.
struct Split {
    QString base;
    QString extension; // without the dot; empty when there is none
};
Split split(const QString& name);

QString lastComponent(const QString& path);
QString parentFolder(const QString& path);

// The free place for `name` in `folder`, creating the folder first: the name
// itself, else "base (2).ext", "base (3).ext" and so on. A numbered name that
// would be longer than the file system allows is shortened in its base.
StatusOr<QString> uniqueDestination(const QString& folder, const QString& name);

} // namespace FileNames
