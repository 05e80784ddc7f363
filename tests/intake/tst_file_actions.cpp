// Moving, renaming and naming files on real file systems: no move replaces a
// file, a move to another disk loses nothing, odd names survive.
#include "core/FileNames.h"
#include "intake/FileActions.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class FileActionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        actions = std::make_unique<FileActions>(world->trash, world->clipboard, world->fileManager, world->previewer);
    }

    void cleanup()
    {
        actions.reset(); // before the world whose services it uses
        world.reset();
    }

    void uniqueDestination_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("expected");
        QTest::addRow("taken twice") << QStringLiteral("photo.png")
                                     << QStringList {QStringLiteral("photo.png"), QStringLiteral("photo (2).png")} << QStringLiteral("photo (3).png");
        QTest::addRow("no extension") << QStringLiteral("README") << QStringList {QStringLiteral("README")} << QStringLiteral("README (2)");
        QTest::addRow("two dots") << QStringLiteral("archive.tar.gz") << QStringList {QStringLiteral("archive.tar.gz")}
                                  << QStringLiteral("archive.tar (2).gz");
        QTest::addRow("leading dot") << QStringLiteral(".bashrc") << QStringList {QStringLiteral(".bashrc")} << QStringLiteral(".bashrc (2)");
        QTest::addRow("taken by a folder") << QStringLiteral("x.txt") << QStringList {QStringLiteral("x.txt/")} << QStringLiteral("x (2).txt");
        // 254 bytes each: with " (2)" they would be too long for the file system.
        const QString accents = QString(125, QChar(0x00E9)) + QStringLiteral(".txt");
        QTest::addRow("two-byte characters, shortened whole") << accents << QStringList {accents}
                                                              << QString(123, QChar(0x00E9)) + QStringLiteral(" (2).txt");
        const QString longExtension = QStringLiteral("a.") + QString(252, QLatin1Char('x'));
        QTest::addRow("no room for the base, shortened with the extension")
            << longExtension << QStringList {longExtension} << longExtension.left(251) + QStringLiteral(" (2)");
    }

    void uniqueDestination()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QFETCH(QString, expected);
        for (const QString& other : taken)
            other.endsWith(QLatin1Char('/')) ? void(QDir().mkpath(in(other))) : writeFile(in(other));
        const auto destination = FileNames::uniqueDestination(folder() + QStringLiteral("/new/.."), name);
        QVERIFY(destination.ok());
        QCOMPARE(destination.value(), in(expected));
    }

    void moveNeverReplaces()
    {
        writeFile(in("a.txt"), "mine");
        writeFile(in("b.txt"), "theirs");
        QVERIFY(!FileSystem::moveNoReplace(in("a.txt"), in("b.txt")).ok());
        QCOMPARE(readFile(in("a.txt")), QByteArray("mine"));
        QCOMPARE(readFile(in("b.txt")), QByteArray("theirs"));
        // A file gone since it was listed cannot be renamed.
        const TrackedFile gone = fileNamed(QStringLiteral("gone.txt"));
        QVERIFY(QFile::remove(gone.path));
        QVERIFY(!actions->rename(gone, QStringLiteral("other")).ok());
    }

    void rename_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected"); // empty: refused
        QTest::addRow("keeps the extension") << QStringLiteral("photo.png") << QStringLiteral("holiday") << QStringLiteral("holiday.png");
        QTest::addRow("takes a new extension") << QStringLiteral("photo.png") << QStringLiteral("holiday.jpg") << QStringLiteral("holiday.jpg");
        QTest::addRow("slash and colon") << QStringLiteral("photo.png") << QStringLiteral("a/b:c") << QStringLiteral("a-b-c.png");
        QTest::addRow("trimmed, leading dots dropped") << QStringLiteral("photo.png") << QStringLiteral(" ..hidden ") << QStringLiteral("hidden.png");
        QTest::addRow("only dots") << QStringLiteral("photo.png") << QStringLiteral("...") << QString();
        QTest::addRow("unchanged") << QStringLiteral("photo.png") << QStringLiteral("photo") << QStringLiteral("photo.png");
        QTest::addRow("no extension") << QStringLiteral("README") << QStringLiteral("NOTES") << QStringLiteral("NOTES");
        QTest::addRow("newline inside") << QStringLiteral("a.txt") << QStringLiteral("one\ntwo") << QStringLiteral("one\ntwo.txt");
        QTest::addRow("Unicode") << QStringLiteral("a.txt") << QStringLiteral("\u00FCber \u6F22") << QStringLiteral("\u00FCber \u6F22.txt");
        QTest::addRow("too long") << QStringLiteral("a.txt") << QString(300, QLatin1Char('x')) << QString();
    }

    void rename()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, expected);
        const TrackedFile file = fileNamed(from);
        const auto renamed = actions->rename(file, to);
        QCOMPARE(renamed.ok(), !expected.isEmpty());
        QCOMPARE(namesIn(folder()), QStringList(expected.isEmpty() ? from : expected));
        if (renamed.ok()) {
            QCOMPARE(renamed.value().name(), expected);
            QCOMPARE(renamed.value().id, file.id);
        }
    }

    void renameToATakenNameNumbersItUnlessOnlyTheCaseChanges()
    {
        writeFile(in("holiday.png"), "other");
        const auto renamed = actions->rename(fileNamed(QStringLiteral("photo.png")), QStringLiteral("holiday"));
        QVERIFY(renamed.ok());
        QCOMPARE(renamed.value().name(), QStringLiteral("holiday (2).png"));
        QCOMPARE(readFile(in("holiday.png")), QByteArray("other"));

        const auto recased = actions->rename(renamed.value(), QStringLiteral("Holiday (2).png"));
        QVERIFY(recased.ok());
        QCOMPARE(namesIn(folder()), QStringList({QStringLiteral("Holiday (2).png"), QStringLiteral("holiday.png")}));
        // Where another file already has that spelling, the rename numbers it.
        const auto again = actions->rename(recased.value(), QStringLiteral("holiday.png"));
        QVERIFY(again.ok());
        QCOMPARE(again.value().name(), QStringLiteral("holiday (2).png"));
    }

    void moveAcrossFileSystemsKeepsContentsAndTimes()
    {
        QString why;
        const auto disk = ScopedMount::mount(world->path(QStringLiteral("usb")), "size=1536k", why);
        if (!disk)
            QSKIP(qPrintable(why));
        const QByteArray contents(1 << 20, 'z');
        const TrackedFile file = fileNamed(QStringLiteral("big file.bin"), contents);
        const QDateTime modified(QDate(2025, 5, 5), QTime(5, 5, 5), Qt::UTC);
        QFile handle(file.path);
        QVERIFY(handle.open(QIODevice::ReadWrite) && handle.setFileTime(modified, QFileDevice::FileModificationTime));
        handle.close();

        const auto moved = actions->move(file, disk->path());
        QVERIFY2(moved.ok(), qPrintable(moved.status().message()));
        QVERIFY(!QFileInfo::exists(file.path));
        QCOMPARE(readFile(moved.value().path), contents);
        QCOMPARE(QFileInfo(moved.value().path).lastModified().toUTC(), modified);
    }

private:
    QString folder() const { return world->path(QStringLiteral("f")); }
    QString in(const QString& name) const { return folder() + QLatin1Char('/') + name; }
    QString in(const char* name) const { return in(QString::fromUtf8(name)); }
    TrackedFile fileNamed(const QString& name, const QByteArray& contents = "data")
    {
        writeFile(in(name), contents);
        return recordAt(in(name), FileFolder::Inbox, world->clock.now());
    }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<FileActions> actions;
};

QTEST_GUILESS_MAIN(FileActionsTest)
#include "tst_file_actions.moc"
