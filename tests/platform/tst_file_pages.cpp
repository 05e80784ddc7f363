#include "platform/linux/FilePages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr qsizetype fileSize = 4 << 20;

// The resident kilobytes of the mapping that starts at `start`.
qint64 residentKb(const void* start)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = QByteArray::number(reinterpret_cast<quintptr>(start), 16) + '-';
    bool inside = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QByteArray first = line.left(line.indexOf(' '));
        if (!first.endsWith(':'))
            inside = first.startsWith(head); // "start-end perms offset dev inode path"
        else if (inside && first == "Rss:")
            return line.mid(4).simplified().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Mapped {
    Mapped(const QString& path, int protection, int flags)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), protection & PROT_WRITE ? O_RDWR : O_RDONLY);
        bytes = static_cast<char*>(mmap(nullptr, fileSize, protection, flags, fd, 0));
        ::close(fd);
    }
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

    void readOnlyPagesGoAndComeBackUnchanged()
    {
        Mapped library(path_, PROT_READ, MAP_PRIVATE);
        QVERIFY(library.bytes != MAP_FAILED);
        const quint64 before = library.sum();
        QVERIFY(residentKb(library.bytes) >= fileSize / 1024);

        QVERIFY(FilePages::release() >= std::size_t(fileSize));
        QCOMPARE_LT(residentKb(library.bytes), fileSize / 1024 / 4);
        QCOMPARE(library.sum(), before);
    }

    // What the loader wrote into a library (relocations, then made read-only)
    // and what a writable mapping holds exist nowhere but in memory.
    void pagesThisProcessWroteStay()
    {
        Mapped relocated(path_, PROT_READ | PROT_WRITE, MAP_PRIVATE);
        Mapped writable(path_, PROT_READ | PROT_WRITE, MAP_PRIVATE);
        QVERIFY(relocated.bytes != MAP_FAILED && writable.bytes != MAP_FAILED);
        for (qsizetype i = 0; i < fileSize; i += 4096) {
            relocated.bytes[i] = 'R';
            writable.bytes[i] = 'W';
        }
        QCOMPARE(mprotect(relocated.bytes, fileSize, PROT_READ), 0);

        FilePages::release();
        for (qsizetype i = 0; i < fileSize; i += 4096) {
            QCOMPARE(relocated.bytes[i], 'R');
            QCOMPARE(writable.bytes[i], 'W');
        }
        QFile file(path_);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(1), QByteArray(1, '\0'));
    }

private:
    QTemporaryDir dir_ {QDir::currentPath() + QStringLiteral("/file-pages-XXXXXX")};
    QString path_;
};

QTEST_GUILESS_MAIN(FilePagesTest)
#include "tst_file_pages.moc"
