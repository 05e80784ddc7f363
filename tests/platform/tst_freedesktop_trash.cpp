// The real Trash, with the home and its data folder on a file system of the
// test's own: files go where the freedesktop.org Trash says and can be put
// back; where no trash folder takes a file, it stays and nothing at all is
// written, least of all into the current folder.
//
// GLib reads the home and data folders once per process, so the whole run
// shares one home; each case changes what lies in it.
#include "platform/linux/FreedesktopTrash.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every name below `root`, folders marked with a slash and links with an @,
// so that a comparison shows anything written, moved or removed.
QStringList everythingUnder(const QString& root)
{
    QStringList names;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        names.append(info.filePath().mid(root.size() + 1) + (info.isSymLink() ? QStringLiteral("@") : info.isDir() ? QStringLiteral("/") : QString()));
    }
    names.sort();
    return names;
}

// A trashed file's record as a file manager reads it, and the place it names,
// relative paths taken from the top of the trash's volume. Path= holds
// nothing but printable ASCII: every other byte is escaped.
QString originalPath(const QString& trashFolder, const QString& trashName, const QString& top)
{
    static const QRegularExpression record(
        QStringLiteral("^\\[Trash Info\\]\nPath=([!-~]+)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n\\z"));
    const QRegularExpressionMatch match
        = record.match(QString::fromLatin1(readFile(trashFolder + QStringLiteral("/info/") + trashName + QStringLiteral(".trashinfo"))));
    if (!match.hasMatch())
        return QStringLiteral("<not a complete record, or an unescaped byte in Path>");
    const QString path = QFile::decodeName(QByteArray::fromPercentEncoding(match.captured(1).toLatin1()));
    return path.startsWith(QLatin1Char('/')) ? path : top + QLatin1Char('/') + path;
}

} // namespace

class FreedesktopTrashTest : public QObject {
    Q_OBJECT
public:
    explicit FreedesktopTrashTest(QString root) : root_(std::move(root)) {}

private:
    QString home() const { return root_ + QStringLiteral("/home"); }
    QString data() const { return home() + QStringLiteral("/.local/share"); }
    QString homeTrash() const { return data() + QStringLiteral("/Trash"); }
    QString expired() const { return home() + QStringLiteral("/Dropwell/Expired"); }
    QString volume() const { return home() + QStringLiteral("/Volume"); }
    QString current() const { return root_ + QStringLiteral("/current"); }
    QString root_;
    FreedesktopTrash trash;

private Q_SLOTS:
    void init()
    {
        QDir(home()).removeRecursively();
        QVERIFY(QDir().mkpath(expired()));
        QVERIFY(QDir().mkpath(data()));
        QVERIFY(QDir().mkpath(current()));
        QVERIFY(QDir::setCurrent(current()));
    }

    void cleanup() { QCOMPARE(everythingUnder(current()), QStringList()); }

    void trashedFilesCanBePutBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("odd bytes, escaped in the record") << QStringLiteral("new\nline\t100% \u00e9\u0001.txt");
        // The second one's record has a numbered name.
        QTest::newRow("the longest name the Trash takes") << QString(230, QLatin1Char('n')) + QStringLiteral(".txt");
    }

    // Twice, into a home Trash made where it was missing; then one is put
    // back the way a file manager does.
    void trashedFilesCanBePutBack()
    {
        QFETCH(QString, name);
        QVERIFY(QDir(home() + QStringLiteral("/.local")).removeRecursively());
        const QString file = expired() + QLatin1Char('/') + name;
        for (const QByteArray& contents : {QByteArray("first"), QByteArray("second")}) {
            writeFile(file, contents);
            const Status status = trash.moveToTrash(file);
            QVERIFY2(status.ok(), qPrintable(status.message()));
        }
        const QStringList inTrash = namesIn(homeTrash() + QStringLiteral("/files"));
        QCOMPARE(inTrash.size(), 2);
        for (const QString& trashName : inTrash) {
            QCOMPARE(originalPath(homeTrash(), trashName, data()), file);
            QCOMPARE(readFile(homeTrash() + QStringLiteral("/files/") + trashName), QByteArray(trashName == name ? "first" : "second"));
        }
        QVERIFY(QFile::rename(homeTrash() + QStringLiteral("/files/") + name, file));
        QCOMPARE(readFile(file), QByteArray("first"));
    }

    void unusableTrashKeepsTheFile_data()
    {
        QTest::addColumn<QString>("trashIs");
        QTest::addColumn<int>("nameBytes"); // 0: a short name
        QTest::newRow("a plain file") << QStringLiteral("file") << 0;
        QTest::newRow("a dangling link") << QStringLiteral("link") << 0;
        QTest::newRow("in a read-only data folder") << QStringLiteral("read-only") << 0;
        QTest::newRow("given a file that is gone") << QStringLiteral("gone") << 0;
        QTest::newRow("none on a system volume") << QStringLiteral("system") << 0;
        QTest::newRow("given the longest a name can be") << QString() << 255;
        // GIO would move it and leave its record empty.
        QTest::newRow("given a name too long for a record of it") << QString() << 239;
    }

    void unusableTrashKeepsTheFile()
    {
        QFETCH(QString, trashIs);
        QFETCH(int, nameBytes);
        const bool system = trashIs == QLatin1String("system");
        const QString file = (system ? volume() : expired()) + QLatin1Char('/')
            + (nameBytes ? QString(nameBytes - 4, QLatin1Char('n')) : QStringLiteral("a")) + QStringLiteral(".txt");
        QString why;
        // GIO leaves tmpfs alone as a system file system.
        std::unique_ptr<ScopedMount> mount = system ? ScopedMount::mount(volume(), "size=256k", why) : nullptr;
        QVERIFY2(mount || !system, qPrintable(why));
        writeFile(file, "mine");
        if (trashIs == QLatin1String("file")) {
            writeFile(homeTrash(), "not a folder");
        } else if (trashIs == QLatin1String("link")) {
            QVERIFY(QFile::link(root_ + QStringLiteral("/nowhere"), homeTrash()));
        } else if (trashIs == QLatin1String("read-only")) {
            mount = ScopedMount::bindReadOnly(data(), why);
            QVERIFY2(mount, qPrintable(why));
        } else if (trashIs == QLatin1String("gone")) {
            QVERIFY(QFile::remove(file));
        }
        const QStringList before = everythingUnder(root_);

        const Status status = trash.moveToTrash(file);
        QVERIFY2(!status.ok() && status.message().startsWith(file + QStringLiteral(": ")), qPrintable(status.message()));
        if (nameBytes)
            QCOMPARE(status.code(), ENAMETOOLONG);
        QCOMPARE(everythingUnder(root_), before);
        if (trashIs != QLatin1String("gone"))
            QCOMPARE(readFile(file), QByteArray("mine"));
    }

    void anotherVolumeKeepsItsOwnTrash_data()
    {
        QTest::addColumn<QString>("trashFolder");
        QTest::newRow("a trash folder of the user's") << QStringLiteral(".Trash-%1");
        QTest::newRow("the volume's shared trash") << QStringLiteral(".Trash/%1");
    }

    void anotherVolumeKeepsItsOwnTrash()
    {
        QFETCH(QString, trashFolder);
        QString why;
        // Unlike tmpfs, ramfs is an ordinary file system to GIO.
        const auto disk = ScopedMount::mount(volume(), "mode=0755", why, "ramfs");
        QVERIFY2(disk, qPrintable(why));
        if (trashFolder.startsWith(QStringLiteral(".Trash/"))) {
            QVERIFY(QDir().mkpath(volume() + QStringLiteral("/.Trash")));
            QVERIFY(::chmod(QFile::encodeName(volume() + QStringLiteral("/.Trash")).constData(), 01777) == 0);
        }
        const QString file = volume() + QStringLiteral("/Dropwell/far.txt");
        writeFile(file, "far");

        const Status status = trash.moveToTrash(file);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        const QString itsTrash = volume() + QLatin1Char('/') + trashFolder.arg(::geteuid());
        QCOMPARE(readFile(itsTrash + QStringLiteral("/files/far.txt")), QByteArray("far"));
        QCOMPARE(originalPath(itsTrash, QStringLiteral("far.txt"), volume()), file);
        QVERIFY(!QFile::exists(homeTrash())); // never copied home
    }
};

// Sets up a home of its own on a file system of its own before anything reads
// the environment, then runs the tests there; 77 where that cannot be done.
int main(int argc, char** argv)
{
    QTemporaryDir base;
    QString why;
    const auto fileSystem = base.isValid() ? ScopedMount::mount(base.path(), "size=8m,mode=0755", why) : nullptr;
    if (!fileSystem) {
        std::printf("SKIP: %s\n", qPrintable(base.isValid() ? why : base.errorString()));
        return 77;
    }
    qputenv("HOME", QFile::encodeName(base.path() + QStringLiteral("/home")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base.path() + QStringLiteral("/home/.local/share")));
    QCoreApplication app(argc, argv);
    FreedesktopTrashTest test(base.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_freedesktop_trash.moc"
