#include "platform/linux/FreedesktopTrash.h"

#include "platform/FileSystem.h"

#include <QFile>

#include <gio/gio.h>

#include <cerrno>
#include <memory>

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

struct GObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};

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
    const std::unique_ptr<GFile, GObjectDeleter> file(g_vfs_get_file_for_path(g_vfs_get_local(), encoded.constData()));
    GError* failure = nullptr;
    if (g_file_trash(file.get(), nullptr, &failure))
        return Status::success();
    const std::unique_ptr<GError, GErrorDeleter> error(failure);
    return Status::failure(EIO, path + QStringLiteral(": ") + QString::fromUtf8(error->message));
}
