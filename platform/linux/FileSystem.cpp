#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio> // renameat2 and RENAME_NOREPLACE (glibc, _GNU_SOURCE)

namespace FileSystem {
namespace {

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

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

// The move to another file system: the copy is complete and on disk before the
// source goes; if anything fails the copy is removed and the source stays.
Status copyThenRemove(const QString& from, const QString& to)
{
    const QByteArray source = encoded(from), target = encoded(to);
    Descriptor in(::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0)
        return Status::fromErrno(errno, from);
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        return Status::fromErrno(errno, from);
    if (!S_ISREG(info.st_mode))
        return Status::failure(EXDEV, from + QStringLiteral(": only files can move to another file system"));

    Descriptor out(::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777));
    if (out.get() < 0)
        return Status::fromErrno(errno, to);

    const timespec times[2] = {info.st_atim, info.st_mtim};
    Status status = copyContents(in.get(), out.get(), to);
    if (status.ok() && ::fchmod(out.get(), info.st_mode & 07777) != 0)
        status = Status::fromErrno(errno, to);
    if (status.ok() && ::futimens(out.get(), times) != 0)
        status = Status::fromErrno(errno, to);
    if (status.ok() && ::fsync(out.get()) != 0)
        status = Status::fromErrno(errno, to);
    if (out.close() != 0 && status.ok())
        status = Status::fromErrno(errno, to);
    if (status.ok() && ::unlink(source.constData()) != 0)
        status = Status::fromErrno(errno, from);
    if (!status.ok())
        ::unlink(target.constData());
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
    const QByteArray source = encoded(from), target = encoded(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Status::success();
    const int renameError = errno;
    if (renameError == EXDEV)
        return copyThenRemove(from, to);
    if (renameError != EINVAL && renameError != ENOSYS)
        return Status::fromErrno(renameError, to);

    // The file system cannot refuse a replacing rename by itself: a hard link
    // can, since link(2) never replaces.
    if (::link(source.constData(), target.constData()) == 0) {
        if (::unlink(source.constData()) == 0)
            return Status::success();
        const int unlinkError = errno;
        ::unlink(target.constData());
        return Status::fromErrno(unlinkError, from);
    }
    const int linkError = errno;
    if (linkError == EPERM || linkError == EOPNOTSUPP || linkError == EXDEV)
        return copyThenRemove(from, to);
    return Status::fromErrno(linkError, to);
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

std::optional<QDateTime> modificationTime(const QString& path)
{
    struct stat info {};
    if (::stat(encoded(path).constData(), &info) != 0)
        return std::nullopt;
    const qint64 ms = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

} // namespace FileSystem
