#include "platform/linux/FilePages.h"

#include <QFile>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <sys/mman.h>

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

} // namespace

std::size_t FilePages::release()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        qCInfo(pagesLog, "Cannot read the process's mappings: %s", qPrintable(maps.errorString()));
        return 0;
    }
    // Read whole before any advice: the list changes as the kernel splits
    // or merges what it is advised about.
    const QList<QByteArray> lines = maps.readAll().split('\n');
    std::size_t asked = 0;
    for (const QByteArray& line : lines) {
        Mapping mapping;
        if (!readOnlyFile(line, mapping))
            continue;
        // MADV_PAGEOUT only ever drops clean pages or writes them to swap:
        // whatever the advice meets, nothing the process holds is lost.
        if (madvise(reinterpret_cast<void*>(mapping.start), mapping.end - mapping.start, MADV_PAGEOUT) != 0) {
            // Kernels before 5.4 know no such advice; nothing to do there.
            qCInfo(pagesLog, "The kernel takes no advice to page out: %s", std::strerror(errno));
            return asked;
        }
        asked += mapping.end - mapping.start;
    }
    return asked;
}
