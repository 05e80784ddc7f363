#include "platform/linux/FreedesktopTrash.h"

#include "platform/FileSystem.h"

#include <QFile>

#include <gio/gio.h>

#include <cerrno>

namespace {

// GIO writes a trashed file's record, `<name>.trashinfo`, through a temporary
// file with a dot and six more characters, and puts a number into a name the
// Trash holds already ("a.txt" becomes "a.2.txt"). Where the temporary name
// would be too long it moves the file anyway and leaves the record empty: the
// file sits in the Trash with no way back. Such names are refused before GIO
// sees them, keeping room for a number up to 999.
constexpr int recordNameBytes = int(sizeof(".trashinfo.XXXXXX")) - 1;
constexpr int sameNameNumberBytes = int(sizeof(".999")) - 1;
constexpr int longestName = FileSystem::maxNameBytes - recordNameBytes - sameNameNumberBytes;

} // namespace

Status FreedesktopTrash::moveToTrash(const QString& path)
{
    if (!FileSystem::exists(path))
        return Status::fromErrno(ENOENT, path);
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() - encoded.lastIndexOf('/') - 1 > longestName)
        return Status::failure(ENAMETOOLONG, path + QStringLiteral(": the name is too long for the Trash to record where it came from"));
    // The local file system needs none of the modules GIO would otherwise
    // load for other kinds of location.
    g_autoptr(GFile) file = g_vfs_get_file_for_path(g_vfs_get_local(), encoded.constData());
    g_autoptr(GError) error = nullptr;
    if (g_file_trash(file, nullptr, &error))
        return Status::success();
    return Status::failure(EIO, path + QStringLiteral(": ") + QString::fromUtf8(error->message));
}
