// The defaults file: what one process writes the next one reads, and a
// write of what is stored already leaves the file alone (every write waits
// for the disk, and some come with each capture).
#include "platform/linux/QSettingsDefaults.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

class SettingsDefaultsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { path = folder.filePath(QStringLiteral("Dropwell %1.conf").arg(QLatin1String(QTest::currentTestFunction()))); }

    void whatOneWritesTheNextReads()
    {
        {
            QSettingsDefaults defaults(path);
            defaults.setBool(QStringLiteral("shown"), true);
            defaults.setInt(QStringLiteral("step"), 3);
            defaults.setString(QStringLiteral("name"), QStringLiteral("a, b = c; \"d\""));
            defaults.setStringList(QStringLiteral("one"), {QStringLiteral("only")});
            defaults.setStringList(QStringLiteral("two"), {QStringLiteral("x, y"), QString()});
        }
        const QSettingsDefaults again(path);
        QCOMPARE(again.boolValue(QStringLiteral("shown")), true);
        QCOMPARE(again.intValue(QStringLiteral("step")), 3);
        QCOMPARE(again.string(QStringLiteral("name")), QStringLiteral("a, b = c; \"d\""));
        QCOMPARE(again.stringList(QStringLiteral("one")), QStringList {QStringLiteral("only")});
        QCOMPARE(again.stringList(QStringLiteral("two")), (QStringList {QStringLiteral("x, y"), QString()}));
        QCOMPARE(again.string(QStringLiteral("never")), std::nullopt);
    }

    void writingWhatIsStoredLeavesTheFileAlone()
    {
        QSettingsDefaults defaults(path);
        const auto writeAll = [&](int step) {
            defaults.setBool(QStringLiteral("ready"), false);
            defaults.setInt(QStringLiteral("step"), step);
            defaults.setString(QStringLiteral("name"), QStringLiteral("1"));
            defaults.setStringList(QStringLiteral("one"), {QStringLiteral("only")});
        };
        writeAll(0);
        // A second name for the file as it is: it keeps that inode taken, so
        // a file written anew cannot get its number.
        const QString witness = path + QStringLiteral(".before");
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(witness).constData()) == 0);
        writeAll(0);
        QCOMPARE(inodeOf(path), inodeOf(witness));

        // The file is replaced whole when anything in it changes.
        writeAll(1);
        QVERIFY(inodeOf(path) != inodeOf(witness));
        QCOMPARE(QSettingsDefaults(path).intValue(QStringLiteral("step")), 1);
        // A value of another type under the same key is a change too.
        defaults.setString(QStringLiteral("step"), QStringLiteral("one"));
        QCOMPARE(QSettingsDefaults(path).string(QStringLiteral("step")), QStringLiteral("one"));
    }

private:
    QTemporaryDir folder;
    QString path;
};

QTEST_GUILESS_MAIN(SettingsDefaultsTest)
#include "tst_settings_defaults.moc"
