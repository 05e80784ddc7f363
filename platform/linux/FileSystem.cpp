#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio> // renameat2 and RENAME_NOREPLACE (glibc, _GNU_SOURCE)

namespace FileSystem {
namespace {

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// The hidden name of a copy being made for a move; mkostemp completes it.
const QString unfinishedMovePrefix = QStringLiteral(".dropwell-move-");

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { if (fd_ >= 0) ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closing can report a late write error (for example on a network file system).
    int close() { const int result = ::close(fd_); fd_ = -1; return result; }
private:
    int fd_;
};

Kind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::RegularFile;
    if (S_ISDIR(mode))
        return Kind::Folder;
    if (S_ISLNK(mode))
        return Kind::Link;
    return Kind::Other;
}

Kind kindOfType(unsigned char type)
{
    switch (type) {
    case DT_REG:
        return Kind::RegularFile;
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
        return Kind::Link;
    case DT_UNKNOWN:
        return Kind::Unknown;
    default:
        return Kind::Other;
    }
}

// A name Qt cannot carry as text without loss would come back as another path.
bool isRepresentable(const char* name)
{
    const QByteArray raw(name);
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

Status copyContents(int from, int to, const QString& target)
{
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (copied == 0)
            return Status::success();
        if (copied > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
            break; // this pair of file systems cannot copy in the kernel: copy by hand
        return Status::fromErrno(errno, target);
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0)
            return Status::success();
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Status::fromErrno(errno, target);
        }
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(to, buffer + written, size_t(got - written));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return Status::fromErrno(errno, target);
            }
            written += put;
        }
    }
}

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
}

// Renames within one file system without ever replacing what `to` names:
// renameat2 where the file system can refuse a replacement, else a hard link
// (link(2) never replaces), else the name is claimed with an empty file of our
// own that the rename then replaces. Returns 0 or the errno.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0)
            return 0;
        const int unlinkError = errno;
        ::unlink(to.constData());
        return unlinkError;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    Descriptor claim(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (claim.get() < 0)
        return errno;
    claim.close();
    if (::rename(from.constData(), to.constData()) == 0)
        return 0;
    const int renameError = errno;
    ::unlink(to.constData());
    return renameError;
}

// A rename is durable only once its folder is; a file system that cannot sync
// folders says so with EINVAL, and has nothing better to offer.
Status syncFolder(const QString& folder)
{
    Descriptor dir(::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0 || (::fsync(dir.get()) != 0 && errno != EINVAL))
        return Status::fromErrno(errno, folder);
    return Status::success();
}

// The copy of a move to another file system, complete and on disk under a
// hidden name beside `to`, or nothing and why not.
Status writeCopy(int in, const struct stat& info, QByteArray& temporary, const QString& to)
{
    temporary = encoded(folderOf(to) + QLatin1Char('/') + unfinishedMovePrefix + QStringLiteral("XXXXXX"));
    Descriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (out.get() < 0) {
        temporary.clear();
        return Status::fromErrno(errno, to);
    }
    const timespec times[2] = {info.st_atim, info.st_mtim};
    Status status = copyContents(in, out.get(), to);
    if (status.ok() && ::fchmod(out.get(), info.st_mode & 07777) != 0)
        status = Status::fromErrno(errno, to);
    if (status.ok() && ::futimens(out.get(), times) != 0)
        status = Status::fromErrno(errno, to);
    if (status.ok() && ::fsync(out.get()) != 0)
        status = Status::fromErrno(errno, to);
    if (out.close() != 0 && status.ok())
        status = Status::fromErrno(errno, to);
    return status;
}

// The move to another file system. The copy is written under a hidden name
// and renamed into place only when complete and on disk, so a crash never
// leaves a partial file under the final name; the source goes last. If
// anything fails the copy is removed and the source stays.
Status copyThenRemove(const QString& from, const QString& to)
{
    const QByteArray source = encoded(from), target = encoded(to);
    // A source its folder will not let go would be copied in full only for
    // the copy to be deleted again.
    if (::faccessat(AT_FDCWD, encoded(folderOf(from)).constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return Status::fromErrno(errno, from);
    Descriptor in(::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0)
        return Status::fromErrno(errno, from);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        return Status::fromErrno(errno, from);
    if (!S_ISREG(info.st_mode))
        return Status::failure(EXDEV, from + QStringLiteral(": only files can move to another file system"));

    QByteArray temporary;
    Status status = writeCopy(in.get(), info, temporary, to);
    if (status.ok()) {
        if (const int error = renameNoReplace(temporary, target)) {
            status = Status::fromErrno(error, to);
        } else {
            temporary.clear();
            status = syncFolder(folderOf(to));
            if (status.ok() && ::unlink(source.constData()) != 0)
                status = Status::fromErrno(errno, from);
            if (!status.ok())
                ::unlink(target.constData());
        }
    }
    if (!temporary.isEmpty())
        ::unlink(temporary.constData());
    return status;
}

} // namespace

std::vector<Entry> listEntries(const QString& folder)
{
    std::vector<Entry> entries;
    DIR* dir = ::opendir(encoded(folder).constData());
    if (!dir)
        return entries;
    const QString prefix = QDir::cleanPath(folder) + QLatin1Char('/');
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0
            || !isRepresentable(entry->d_name))
            continue;
        Kind kind = kindOfType(entry->d_type);
        if (kind == Kind::Unknown) {
            struct stat info {};
            if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
                kind = kindOfMode(info.st_mode);
        }
        QString name = QFile::decodeName(entry->d_name);
        QString path = prefix + name;
        entries.push_back({std::move(name), std::move(path), kind});
    }
    ::closedir(dir);
    return entries;
}

std::vector<Entry> listRegularFiles(const QString& folder)
{
    std::vector<Entry> entries = listEntries(folder);
    std::erase_if(entries, [](const Entry& entry) { return entry.kind != Kind::RegularFile || entry.name.startsWith(QLatin1Char('.')); });
    return entries;
}

Status moveNoReplace(const QString& from, const QString& to)
{
    // A folder put where a file was is the user's, with all it holds.
    struct stat info {};
    if (::lstat(encoded(from).constData(), &info) != 0)
        return Status::fromErrno(errno, from);
    if (!S_ISREG(info.st_mode))
        return Status::failure(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, from + QStringLiteral(": only files are moved"));
    const int error = renameNoReplace(encoded(from), encoded(to));
    if (error == 0)
        return Status::success();
    if (error == EXDEV)
        return copyThenRemove(from, to);
    return Status::fromErrno(error, to);
}

bool isUnfinishedMove(const QString& name) { return name.startsWith(unfinishedMovePrefix); }

void removeUnfinishedMoves(const QString& folder)
{
    for (const Entry& entry : listEntries(folder)) {
        if (entry.kind == Kind::RegularFile && isUnfinishedMove(entry.name))
            ::unlink(encoded(entry.path).constData());
    }
}

Status makeFolders(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (isFolder(clean))
        return Status::success();
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    if (slash > 0) {
        const Status parent = makeFolders(clean.left(slash));
        if (!parent.ok())
            return parent;
    }
    if (::mkdir(encoded(clean).constData(), 0777) != 0 && !(errno == EEXIST && isFolder(clean)))
        return Status::fromErrno(errno, clean);
    return Status::success();
}

bool exists(const QString& path)
{
    struct stat info {};
    return ::lstat(encoded(path).constData(), &info) == 0;
}

Kind kindOf(const QString& path)
{
    struct stat info {};
    if (::lstat(encoded(path).constData(), &info) != 0)
        return Kind::Unknown;
    return kindOfMode(info.st_mode);
}

bool isBeingWritten(const QString& path)
{
    Descriptor file(::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (file.get() < 0)
        return true;
    // The kernel grants a read lease only while no process has the file open
    // for writing: the one reliable sign on Linux that a writer is at work.
    if (::fcntl(file.get(), F_SETLEASE, F_RDLCK) != 0)
        return errno == EAGAIN || errno == EBUSY;
    ::fcntl(file.get(), F_SETLEASE, F_UNLCK);
    return file.close() != 0;
}

bool isFolder(const QString& path)
{
    struct stat info {};
    return ::stat(encoded(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {}, second {};
    return ::lstat(encoded(a).constData(), &first) == 0 && ::lstat(encoded(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::optional<qint64> fileSize(const QString& path)
{
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0)
        return std::nullopt;
    return qint64(info.st_size);
}

std::optional<qint64> changeTime(const QString& path)
{
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0)
        return std::nullopt;
    return qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
}

qint64 changeClock()
{
    // The coarse clock is the one the kernel stamps changes with; the precise
    // one may already be ahead of a change made a moment later.
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::optional<QDateTime> modificationTime(const QString& path)
{
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0)
        return std::nullopt;
    const qint64 ms = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

} // namespace FileSystem
