#include "platform/linux/FreedesktopTrash.h"

#include "platform/FileSystem.h"

#include <QFile>

#include <cerrno>

Status FreedesktopTrash::moveToTrash(const QString& path)
{
    if (!FileSystem::exists(path))
        return Status::fromErrno(ENOENT, path);
    QFile file(path);
    if (!file.moveToTrash())
        return Status::failure(EIO, path + QStringLiteral(": ") + file.errorString());
    return Status::success();
}
