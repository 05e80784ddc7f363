#include "platform/linux/FreedesktopTrash.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>

Status FreedesktopTrash::moveToTrash(const QString& path)
{
    if (!FileSystem::exists(path))
        return Status::fromErrno(ENOENT, path);
    // Qt finds no home trash where the data folder itself is missing.
    (void)FileSystem::makeFolders(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile file(path);
    if (!file.moveToTrash())
        return Status::failure(EIO, path + QStringLiteral(": ") + file.errorString());
    return Status::success();
}
