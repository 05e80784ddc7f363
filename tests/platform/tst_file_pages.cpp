#include "platform/linux/FilePages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype fileSize = 4 << 20;

// How many of the pages from `start` on this process has in memory.
qsizetype residentPages(const char* start, qsizetype pages)
{
    std::vector<quint64> entries(pages); // bit 63: present
    const int pagemap = ::open("/proc/self/pagemap", O_RDONLY);
    const auto bytes = ssize_t(entries.size() * sizeof(quint64));
    const bool read = pread(pagemap, entries.data(), bytes, off_t(reinterpret_cast<quintptr>(start) / 4096 * sizeof(quint64))) == bytes;
    ::close(pagemap);
    return read ? std::count_if(entries.cbegin(), entries.cend(), [](quint64 entry) { return entry >> 63; }) : -1;
}

constexpr qsizetype filePages = fileSize / 4096;

struct Mapped {
    Mapped(int fd, int protection) : bytes(static_cast<char*>(mmap(nullptr, fileSize, protection, MAP_PRIVATE, fd, 0))) {}
    ~Mapped() { munmap(bytes, fileSize); }
    Mapped(const Mapped&) = delete;
    Mapped& operator=(const Mapped&) = delete;

    quint64 sum() const
    {
        quint64 total = 0;
        for (qsizetype i = 0; i < fileSize; i += 512)
            total = total * 31 + quint8(bytes[i]);
        return total;
    }

    char* bytes = nullptr;
};

} // namespace

class FilePagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // On a disk, as libraries are: pages of a memory file system have
        // nowhere to go without swap.
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("a library with spaces.so"));
        QFile file(path_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray content(fileSize, Qt::Uninitialized);
        for (qsizetype i = 0; i < fileSize; ++i)
            content[i] = char(i * 7 / 3);
        QCOMPARE(file.write(content), fileSize);
        // Clean, as a library's pages are: dirty ones would wait for the disk.
        QVERIFY(file.flush() && fsync(file.handle()) == 0);
    }

    void readOnlyPagesGoAndComeBackUnchanged_data()
    {
        QTest::addColumn<bool>("asAnotherUser");
        QTest::newRow("for the file's owner") << false;
        // A user's libraries belong to the system: the user may read them, never
        // write them, and the kernel pages out only files the caller may write.
        QTest::newRow("for a user who may not write them") << true;
    }

    void readOnlyPagesGoAndComeBackUnchanged()
    {
        QFETCH(bool, asAnotherUser);
        if (asAnotherUser && geteuid() != 0)
            QSKIP("Only a test run as root can run part of itself as another user");
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        const pid_t child = fork();
        if (child == 0) {
            constexpr uid_t nobody = 65534;
            // Changing user hides the process's own /proc files from it; a
            // user's programs can read theirs.
            const bool becameUser = !asAnotherUser || (setgid(nobody) == 0 && setuid(nobody) == 0 && prctl(PR_SET_DUMPABLE, 1) == 0);
            _exit(becameUser ? releasedAndUnchanged(fd) : 9);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        ::close(fd);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // What the loader wrote into a library (relocations, then made read-only)
    // and what a writable mapping holds exist nowhere but in memory; a
    // relocated mapping's other pages still go.
    void pagesThisProcessWroteStay()
    {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDWR);
        Mapped relocated(fd, PROT_READ | PROT_WRITE);
        Mapped writable(fd, PROT_READ | PROT_WRITE);
        ::close(fd);
        QVERIFY(relocated.bytes != MAP_FAILED && writable.bytes != MAP_FAILED);
        constexpr qsizetype everyOtherPage = 8192;
        for (qsizetype i = 0; i < fileSize; i += everyOtherPage) {
            relocated.bytes[i] = 'R';
            writable.bytes[i] = 'W';
        }
        // Every page read in after the writes, which may have unmapped the
        // rest of a large folio; a sum nobody uses would not be read.
        QVERIFY(relocated.sum() != 0);
        QCOMPARE(mprotect(relocated.bytes, fileSize, PROT_READ), 0);

        FilePages::release();
        QCOMPARE(residentPages(relocated.bytes, filePages), filePages / 2);
        for (qsizetype i = 0; i < fileSize; i += everyOtherPage) {
            QCOMPARE(relocated.bytes[i], 'R');
            QCOMPARE(writable.bytes[i], 'W');
            QCOMPARE(relocated.bytes[i + 4096], char((i + 4096) * 7 / 3));
        }
    }

private:
    // 0 when the pages of a read-only mapping of `fd` went and came back as
    // they were; what went wrong otherwise.
    static int releasedAndUnchanged(int fd)
    {
        Mapped library(fd, PROT_READ);
        if (library.bytes == MAP_FAILED)
            return 1;
        const quint64 before = library.sum();
        if (residentPages(library.bytes, filePages) < filePages)
            return 2;
        if (FilePages::release() < std::size_t(fileSize))
            return 3;
        if (residentPages(library.bytes, filePages) >= filePages / 4)
            return 4;
        return library.sum() == before ? 0 : 5;
    }

    QTemporaryDir dir_ {QDir::currentPath() + QStringLiteral("/file-pages-XXXXXX")};
    QString path_;
};

QTEST_GUILESS_MAIN(FilePagesTest)
#include "tst_file_pages.moc"
