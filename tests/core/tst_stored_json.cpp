// The two stored files: exact keys and forms, strict all-or-nothing reading,
// and writes that never leave a broken file behind.
#include "core/Iso8601.h"
#include "core/Persistence.h"
#include "core/StoredJson.h"
#include "tests/support/TestSupport.h"

#include <QTest>

class StoredJsonTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void datesParseOnlyInternetDateTime_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: refused
        const QDateTime noon(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
        QTest::addRow("utc") << QByteArray("2026-12-06T12:00:00Z") << noon;
        QTest::addRow("offset east") << QByteArray("2026-12-06T13:30:00+01:30") << noon;
        QTest::addRow("offset west") << QByteArray("2026-12-06T07:00:00-05:00") << noon;
        QTest::addRow("lower-case letters") << QByteArray("2026-12-06t12:00:00z") << noon;
        QTest::addRow("fraction") << QByteArray("2026-12-06T12:00:00.5Z") << QDateTime();
        QTest::addRow("no zone") << QByteArray("2026-12-06T12:00:00") << QDateTime();
        QTest::addRow("space for T") << QByteArray("2026-12-06 12:00:00Z") << QDateTime();
        QTest::addRow("no day 31 in November") << QByteArray("2026-11-31T12:00:00Z") << QDateTime();
        QTest::addRow("hour 24") << QByteArray("2026-12-06T24:00:00Z") << QDateTime();
        QTest::addRow("compact offset") << QByteArray("2026-12-06T12:00:00+0100") << QDateTime();
        QTest::addRow("trailing text") << QByteArray("2026-12-06T12:00:00Zjunk") << QDateTime();
        QTest::addRow("after 9999 in UTC") << QByteArray("9999-12-31T23:00:00-05:00") << QDateTime();
        QTest::addRow("before year 1 in UTC") << QByteArray("0001-01-01T00:30:00+01:00") << QDateTime();
    }

    void datesParseOnlyInternetDateTime()
    {
        QFETCH(QByteArray, text);
        QFETCH(QDateTime, expected);
        const auto parsed = Iso8601::parse(text.toStdString());
        QCOMPARE(parsed.has_value(), expected.isValid());
        if (parsed)
            QCOMPARE(*parsed, expected);
    }

    void datesAreWrittenToWholeSecondsInUtc()
    {
        const QDateTime withMs = QDateTime(QDate(2026, 12, 6), QTime(12, 0, 5, 999), Qt::UTC);
        QCOMPARE(Iso8601::format(withMs.toOffsetFromUtc(3600)), QStringLiteral("2026-12-06T12:00:05Z"));
        QCOMPARE(Iso8601::format(QDateTime::fromMSecsSinceEpoch(-1500, Qt::UTC)), QStringLiteral("1969-12-31T23:59:58Z"));
    }

    void settingsDecode_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<qint64>("days");
        QTest::addColumn<qint64>("hours");

        QTest::addRow("empty object is the defaults") << QByteArray("{}") << true << qint64(7) << qint64(48);
        QTest::addRow("zero hours kept as zero") << QByteArray(R"({"screenshotExpiryHours": 0})") << true << qint64(7) << qint64(0);
        QTest::addRow("null is the default") << QByteArray(R"({"otherExpiryDays": null})") << true << qint64(7) << qint64(48);
        QTest::addRow("unknown keys ignored") << QByteArray(R"({"future": [1, 2], "otherExpiryDays": 14})") << true << qint64(14) << qint64(48);
        QTest::addRow("unknown appearance") << QByteArray(R"({"appearance": "purple", "otherExpiryDays": 3})") << false << qint64(7) << qint64(48);
        QTest::addRow("Boolean as text") << QByteArray(R"({"recordWithMic": "true"})") << false << qint64(7) << qint64(48);
        QTest::addRow("fractional integer") << QByteArray(R"({"otherExpiryDays": 1.5})") << false << qint64(7) << qint64(48);
        QTest::addRow("date with fraction") << QByteArray(R"({"expiryPausedUntil": "2026-12-06T12:00:00.250Z"})") << false << qint64(7) << qint64(48);
        QTest::addRow("array instead of object") << QByteArray("[]") << false << qint64(7) << qint64(48);
        QTest::addRow("not JSON") << QByteArray("{\"otherExpiryDays\": 3") << false << qint64(7) << qint64(48);
    }

    void settingsDecode()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, readable);
        QFETCH(qint64, days);
        QFETCH(qint64, hours);
        const auto settings = StoredJson::decodeSettings(json);
        QCOMPARE(settings.has_value(), readable);
        if (!settings)
            return;
        AppSettings expected;
        expected.otherExpiryDays = days;
        expected.screenshotExpiryHours = hours;
        QCOMPARE(*settings, expected);
    }

    void settingsEncodeOmitsOnlyAbsentKeys()
    {
        AppSettings settings;
        QVERIFY(!StoredJson::encodeSettings(settings).contains("expiryPausedUntil"));
        QVERIFY(!StoredJson::encodeSettings(settings).contains("keepDestinationPath"));

        settings.expiryPausedUntil = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0, 400), Qt::UTC);
        settings.keepDestination = KeepDestination::Other;
        settings.keepDestinationPath = QStringLiteral("/home/ann/Archive");
        settings.appearance = AppearanceMode::Grey;
        const QByteArray text = StoredJson::encodeSettings(settings);
        QVERIFY(text.contains(R"("expiryPausedUntil": "2026-12-07T09:00:00Z")"));
        QVERIFY(text.contains(R"("keepDestination": "other")"));
        QVERIFY(text.contains(R"("appearance": "grey")"));
        // Every key that is not optional is always written, at its default too.
        QVERIFY(text.contains(R"("safariPlaceholderShown": true)"));

        const auto back = StoredJson::decodeSettings(text);
        QVERIFY(back);
        settings.expiryPausedUntil = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        QCOMPARE(*back, settings);
    }

    void indexRoundTripKeepsEveryField()
    {
        const QDateTime landed(QDate(2026, 12, 1), QTime(8, 30, 15), Qt::UTC);
        TrackedFile bare = recordAt(QStringLiteral("/home/ann/Dropwell/Inbox/Screenshot 1.png"), FileFolder::Inbox, landed);
        TrackedFile full = recordAt(QStringLiteral("/tmp/odd \"name\"\nwith\ttabs \u00E9\u6F22.txt"), FileFolder::Expired, landed);
        full.inode = std::numeric_limits<quint64>::max();
        full.size = std::numeric_limits<qint64>::max();
        full.source = FileSource::BrowserDownload;
        full.expiresAt = landed.addDays(7);
        full.expiredAt = landed.addDays(8);
        full.trashedAt = landed.addDays(9);
        full.kept = true;

        const auto back = StoredJson::decodeIndex(StoredJson::encodeIndex({bare, full}));
        QVERIFY(back);
        QCOMPARE(*back, TrackedFiles({bare, full}));

        // Milliseconds in memory are stored as whole seconds.
        TrackedFile precise = bare;
        precise.landedAt = landed.addMSecs(750);
        QCOMPARE(StoredJson::decodeIndex(StoredJson::encodeIndex({precise}))->front().landedAt, landed);
    }

    void indexIsRefusedAsAWhole_data()
    {
        QTest::addColumn<QByteArray>("record");
        const QByteArray good = R"("id": "0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0", "path": "/a", "size": 1, "source": "manual", "landedAt": "2026-12-01T08:00:00Z", "kept": false)";
        QTest::addRow("unknown folder") << QByteArray(good + R"(, "folder": "attic")");
        QTest::addRow("missing folder") << good;
        QTest::addRow("null required key") << QByteArray(R"("id": null, "path": "/a", "size": 1, "source": "manual", "landedAt": "2026-12-01T08:00:00Z", "kept": false, "folder": "inbox")");
        QTest::addRow("unknown source") << QByteArray(QByteArray(good).replace("manual", "browser") + R"(, "folder": "inbox")");
        QTest::addRow("fractional size") << QByteArray(QByteArray(good).replace("\"size\": 1", "\"size\": 1.0") + R"(, "folder": "inbox")");
        QTest::addRow("size beyond 64 bits signed") << QByteArray(QByteArray(good).replace("\"size\": 1", "\"size\": 9223372036854775808") + R"(, "folder": "inbox")");
        QTest::addRow("negative inode") << QByteArray(good + R"(, "folder": "inbox", "inode": -1)");
        QTest::addRow("braced id") << QByteArray(QByteArray(good).replace("\"0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0\"", "\"{0B1C2D3E-4F50-6172-8394-A5B6C7D8E9F0}\"") + R"(, "folder": "inbox")");
        QTest::addRow("list in a field") << QByteArray(QByteArray(good).replace("\"/a\"", "[\"/a\"]") + R"(, "folder": "inbox")");
        QTest::addRow("date without zone") << QByteArray(good + R"(, "folder": "inbox", "expiresAt": "2026-12-08T08:00:00")");
    }

    void indexIsRefusedAsAWhole()
    {
        QFETCH(QByteArray, record);
        const QByteArray valid = R"({"id": "5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10", "path": "/b", "size": 2, "source": "screenshot", "landedAt": "2026-12-01T08:00:00Z", "kept": false, "folder": "inbox"})";
        QVERIFY(StoredJson::decodeIndex("[" + valid + "]"));
        QVERIFY(!StoredJson::decodeIndex("[" + valid + ", {" + record + "}]"));
    }

    // Indexes written before read back whole and are written again byte for
    // byte; a browser's own download keeps the spelling stored files use.
    void indexTextHasTheStoredForm()
    {
        TrackedFile file;
        file.source = FileSource::BrowserDownload;
        file.id = QUuid::fromString(QStringLiteral("5e0c5d6a-0b9b-4a39-9a36-1d4c8e2b7f10"));
        file.path = QStringLiteral("/home/ann/Dropwell/Inbox/a.txt");
        file.size = 12;
        file.landedAt = QDateTime(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC);
        file.expiresAt = file.landedAt.addDays(7);
        const QByteArray text = R"([
  {
    "expiresAt": "2026-12-08T08:00:00Z",
    "folder": "inbox",
    "id": "5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10",
    "kept": false,
    "landedAt": "2026-12-01T08:00:00Z",
    "path": "\/home\/ann\/Dropwell\/Inbox\/a.txt",
    "size": 12,
    "source": "safari"
  }
]
)";
        QCOMPARE(StoredJson::encodeIndex({file}), text);
        const auto back = StoredJson::decodeIndex(text);
        QVERIFY(back);
        QCOMPARE(*back, TrackedFiles {file});
    }

    void decodersAreBounded()
    {
        const QByteArray record = R"({"id": "5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10", "path": "/b", "size": 2, "source": "downloads", "landedAt": "2026-12-01T08:00:00Z", "kept": false, "folder": "inbox")";
        const auto nested = [](int depth) { return QByteArray(depth, '[').append(QByteArray(depth, ']')); };
        const auto index = [&](const QByteArray& future) -> QByteArray { return "[" + record + ", \"future\": " + future + "}]"; };
        // Unknown keys may hold lists and objects, down to the depth bound (a
        // record is two levels deep, the settings one); brackets in strings do
        // not count.
        const QByteArray bracketsInAString = "{\"a\": [1, {\"b\": \"" + QByteArray(20, '[') + "\\\\ \\\"\"}]}";
        QCOMPARE(StoredJson::decodeIndex(index(bracketsInAString))->size(), 1);
        QVERIFY(StoredJson::decodeIndex(index(nested(StoredJson::maxDepth - 2))));
        QVERIFY(!StoredJson::decodeIndex(index(nested(StoredJson::maxDepth - 1))));
        QVERIFY(!StoredJson::decodeIndex(nested(1'000'000)));
        QVERIFY(StoredJson::decodeSettings("{\"future\": " + nested(StoredJson::maxDepth - 1) + "}"));
        QVERIFY(!StoredJson::decodeSettings("{\"future\": " + nested(StoredJson::maxDepth) + "}"));
        // Every element of the list is a record.
        for (const QByteArray& element : {QByteArray("[]"), QByteArray("1"), QByteArray("null"), QByteArray("\"x\"")})
            QVERIFY2(!StoredJson::decodeIndex("[" + record + "}, " + element + "]"), element.constData());
        QVERIFY(!StoredJson::decodeIndex(R"({"a": 1})"));
        QCOMPARE(StoredJson::decodeIndex("[]")->size(), 0);

        // Size: the bound itself passes, one byte more is refused.
        QByteArray text = "[" + record + "}]";
        text += QByteArray(StoredJson::maxIndexBytes - text.size(), ' ');
        QCOMPARE(StoredJson::decodeIndex(text)->size(), 1);
        QVERIFY(!StoredJson::decodeIndex(text + ' '));
        QByteArray settings = "{}";
        settings += QByteArray(StoredJson::maxSettingsBytes - settings.size(), ' ');
        QVERIFY(StoredJson::decodeSettings(settings));
        QVERIFY(!StoredJson::decodeSettings(settings + ' '));

        // A file over the bound is never read into memory.
        TestWorld world;
        const Persistence persistence(world.support());
        writeFile(persistence.indexPath(), "[]");
        QFile huge(persistence.indexPath());
        QVERIFY(huge.resize(StoredJson::maxIndexBytes + 1)); // sparse: costs no disk
        QCOMPARE(persistence.loadIndex().state, Persistence::LoadState::TooLarge);
        writeFile(persistence.settingsPath(), settings + ' ');
        QCOMPARE(persistence.loadSettings().state, Persistence::LoadState::TooLarge);
    }

    void persistenceRoundTripAndLoadStates()
    {
        TestWorld world;
        const Persistence persistence(world.support());
        QCOMPARE(persistence.loadIndex().state, Persistence::LoadState::Missing);
        QCOMPARE(persistence.loadSettings().state, Persistence::LoadState::Missing);
        QCOMPARE(persistence.loadSettings().value, AppSettings());

        AppSettings settings;
        settings.otherExpiryDays = 30;
        const TrackedFiles files {recordAt(QStringLiteral("/x/y.png"), FileFolder::Kept, world.clock.now())};
        QVERIFY(persistence.saveSettings(settings));
        QVERIFY(persistence.saveIndex(files));
        QCOMPARE(persistence.loadSettings().state, Persistence::LoadState::Loaded);
        QCOMPARE(persistence.loadSettings().value, settings);
        QCOMPARE(persistence.loadIndex().value, files);
        // No temporary file is left beside them.
        QCOMPARE(namesIn(world.support()), QStringList({QStringLiteral("index.json"), QStringLiteral("settings.json")}));

        // Unreadable files are kept aside, each under a name of its own.
        writeFile(persistence.indexPath(), "[{\"broken\": true}]");
        QCOMPARE(persistence.loadIndex().state, Persistence::LoadState::Unreadable);
        QCOMPARE(persistence.keepAside(persistence.indexPath()), world.support() + QStringLiteral("/index.unreadable.json"));
        writeFile(persistence.indexPath(), "also broken");
        QCOMPARE(persistence.keepAside(persistence.indexPath()), world.support() + QStringLiteral("/index.unreadable (2).json"));
        QCOMPARE(readFile(world.support() + QStringLiteral("/index.unreadable.json")), QByteArray("[{\"broken\": true}]"));
        // A folder where the file should be cannot be read either.
        QVERIFY(QFile::remove(persistence.settingsPath()));
        QDir().mkpath(persistence.settingsPath());
        QCOMPARE(persistence.loadSettings().state, Persistence::LoadState::Unreadable);
    }

    void failedWriteLeavesTheOldFile()
    {
        TestWorld world;
        QString why;
        const auto disk = ScopedMount::mount(world.support(), "size=64k", why);
        if (!disk)
            QSKIP(qPrintable(why));
        const Persistence persistence(world.support());
        const TrackedFiles small {recordAt(QStringLiteral("/a"), FileFolder::Inbox, world.clock.now())};
        QVERIFY(persistence.saveIndex(small));
        TrackedFiles huge;
        for (int i = 0; i < 2000; ++i)
            huge.append(recordAt(QStringLiteral("/a/long/path/%1").arg(i), FileFolder::Inbox, world.clock.now()));
        QVERIFY(!persistence.saveIndex(huge)); // the disk is full
        QCOMPARE(persistence.loadIndex().value, small);
        QCOMPARE(namesIn(world.support()), QStringList(QStringLiteral("index.json")));
    }
};

QTEST_GUILESS_MAIN(StoredJsonTest)
#include "tst_stored_json.moc"
