#include "platform/linux/FilePages.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(pagesLog, "dropwell.pages", QtWarningMsg)

struct Mapping {
    quintptr start = 0;
    quintptr end = 0;
};

// A line of /proc/self/maps: "start-end perms offset dev inode path". Only a
// mapping of a file on a disk qualifies: shared memory (/dev/shm, memfd) is
// another program's as well, and "[heap]" or "[vdso]" are no file at all.
bool readOnlyFile(const QByteArray& line, Mapping& mapping)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() < 6 || fields[1].contains('w') || fields[4] == "0")
        return false;
    const QByteArray path = line.mid(line.indexOf('/')).trimmed();
    if (!path.startsWith('/') || path.startsWith("/dev/") || path.startsWith("/memfd:") || path.endsWith(" (deleted)"))
        return false;
    const QList<QByteArray> range = fields[0].split('-');
    bool startOk = false;
    bool endOk = false;
    mapping.start = range.value(0).toULongLong(&startOk, 16);
    mapping.end = range.value(1).toULongLong(&endOk, 16);
    return startOk && endOk && mapping.end > mapping.start;
}

// A page the file holds as it is, mapped by this process alone: its
// /proc/self/pagemap entry says present, of a file (not a copy this process
// wrote), and mapped once. Any user may read these bits of their own pages.
bool onlyOursAndClean(std::uint64_t entry)
{
    constexpr std::uint64_t present = 1ULL << 63;
    constexpr std::uint64_t swapped = 1ULL << 62;
    constexpr std::uint64_t fileOrShared = 1ULL << 61;
    constexpr std::uint64_t mappedOnce = 1ULL << 56;
    return (entry & (present | swapped | fileOrShared | mappedOnce)) == (present | fileOrShared | mappedOnce);
}

// Unmaps the runs of such pages in one mapping; the bytes let go.
std::size_t letGo(int pagemap, const Mapping& mapping, std::size_t pageSize)
{
    const std::size_t pages = (mapping.end - mapping.start) / pageSize;
    std::vector<std::uint64_t> entries(pages);
    const off_t at = off_t(mapping.start / pageSize * sizeof(std::uint64_t));
    const ssize_t read = pread(pagemap, entries.data(), pages * sizeof(std::uint64_t), at);
    if (read < 0)
        return 0;
    entries.resize(std::size_t(read) / sizeof(std::uint64_t));
    std::size_t released = 0;
    for (std::size_t first = 0; first < entries.size();) {
        if (!onlyOursAndClean(entries[first])) {
            ++first;
            continue;
        }
        std::size_t last = first;
        while (last + 1 < entries.size() && onlyOursAndClean(entries[last + 1]))
            ++last;
        // A private mapping's unwritten page comes back from its file as it
        // was; the written ones, which exist only here, were left out above.
        // Paging out instead would also drop the page from the file cache,
        // but the kernel allows that only on files the process may write,
        // which a user's libraries are not.
        const std::size_t bytes = (last - first + 1) * pageSize;
        if (madvise(reinterpret_cast<void*>(mapping.start + first * pageSize), bytes, MADV_DONTNEED) == 0)
            released += bytes;
        first = last + 1;
    }
    return released;
}

} // namespace

std::size_t FilePages::release()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        qCInfo(pagesLog, "Cannot read the process's mappings: %s", qPrintable(maps.errorString()));
        return 0;
    }
    const int pagemap = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    if (pagemap < 0) {
        qCInfo(pagesLog, "Cannot read the process's pages: %s", std::strerror(errno));
        return 0;
    }
    // Read whole before any advice: the list changes as the kernel splits
    // or merges what it is advised about.
    const QList<QByteArray> lines = maps.readAll().split('\n');
    const auto pageSize = std::size_t(sysconf(_SC_PAGESIZE));
    std::size_t released = 0;
    for (const QByteArray& line : lines) {
        Mapping mapping;
        if (readOnlyFile(line, mapping))
            released += letGo(pagemap, mapping, pageSize);
    }
    ::close(pagemap);
    qCInfo(pagesLog, "Let go of %zu KB of file pages", released / 1024);
    return released;
}
