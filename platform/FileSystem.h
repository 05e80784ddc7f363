#pragma once

#include "platform/Status.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// The few file-system operations Dropwell's logic is built on, with the
// guarantees it needs: no move ever replaces a file, a move to another file
// system loses nothing, and listings see exactly the regular files a user sees.
namespace FileSystem {

enum class Kind { RegularFile, Folder, Link, Other, Unknown };

struct Entry {
    QString name;
    QString path;
    Kind kind = Kind::Unknown;
};

// Everything directly inside `folder`, hidden names included, in the order the
// system lists them; names that cannot be represented as text are left out.
// A folder that cannot be listed gives an empty list.
std::vector<Entry> listEntries(const QString& folder);

// The regular files among them that a user sees: no folders, no symbolic
// links, no hidden names.
std::vector<Entry> listRegularFiles(const QString& folder);

// Moves a regular file (nothing else) to `to`, which must not exist. Within one file system this is
// one atomic rename that refuses to replace; across file systems the file is
// copied under a hidden name beside `to`, flushed, renamed into place and
// only then removed at its source, which fails at once where its folder would
// not let it go. On failure nothing has changed: the source is where it was
// and no partial copy remains.
Status moveNoReplace(const QString& from, const QString& to);
// The hidden name of a copy a move left behind when the process died during
// it; its source is still where it was, so the copy can simply go.
bool isUnfinishedMove(const QString& name);
void removeUnfinishedMoves(const QString& folder);

// Creates `folder` and its missing parents; an existing folder is no error.
Status makeFolders(const QString& folder);

// Something (file, folder, even a dangling link) has this name.
bool exists(const QString& path);
Kind kindOf(const QString& path);
bool isFolder(const QString& path);
// Both names lead to one file (for example a case-only rename on a
// case-insensitive file system).
bool sameFile(const QString& a, const QString& b);

std::optional<qint64> fileSize(const QString& path);
// When the file last changed in any way (contents, name, attributes), in
// nanoseconds since the epoch, as the file system stamped it: no program can
// set it back.
std::optional<qint64> changeTime(const QString& path);
// A moment no later than the change time of any change made after it.
qint64 changeClock();
std::optional<QDateTime> modificationTime(const QString& path);

// A file is open for writing by some process (a download still being
// written, a document being saved). Where the file system cannot tell,
// false. A file that cannot be opened for reading counts as busy.
bool isBeingWritten(const QString& path);

// Longest file name the system accepts, in bytes of its encoded form.
constexpr int maxNameBytes = 255;

} // namespace FileSystem
