// The two stored files: exact keys and forms, strict all-or-nothing reading,
// and writes that never leave a broken file behind.
#include "core/Iso8601.h"
#include "core/Persistence.h"
#include "core/StoredJson.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTest>

namespace {

const QByteArray goodRecord = R"("id": "5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10", "path": "/b", "size": 2, "source": "downloads", "landedAt": "2026-12-01T08:00:00Z", "kept": false, "folder": "inbox")";

} // namespace

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

    // What a settings file holds is read in the model's start; here, one value
    // of a wrong form refuses the whole file.
    void settingsAreRefusedAsAWhole_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addRow("Boolean as text") << QByteArray(R"({"recordWithMic": "true"})");
        QTest::addRow("date with fraction") << QByteArray(R"({"expiryPausedUntil": "2026-12-06T12:00:00.250Z"})");
        QTest::addRow("array instead of object") << QByteArray("[]");
        QTest::addRow("not JSON") << QByteArray("{\"otherExpiryDays\": 3");
    }

    void settingsAreRefusedAsAWhole()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!StoredJson::decodeSettings(json));
    }

    void settingsEncodeOmitsOnlyAbsentKeys()
    {
        AppSettings settings;
        for (const char* absent : {"expiryPausedUntil", "keepDestinationPath"})
            QVERIFY(!StoredJson::encodeSettings(settings).contains(absent));

        settings.expiryPausedUntil = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        settings.keepDestination = KeepDestination::Other;
        settings.keepDestinationPath = QStringLiteral("/home/ann/Archive");
        settings.appearance = AppearanceMode::Grey;
        const QByteArray text = StoredJson::encodeSettings(settings);
        QVERIFY(text.contains(R"("expiryPausedUntil": "2026-12-07T09:00:00Z")"));
        QVERIFY(text.contains(R"("keepDestination": "other")"));
        QVERIFY(text.contains(R"("appearance": "grey")"));
        // Every key that is not optional is always written, at its default too.
        QVERIFY(text.contains(R"("safariPlaceholderShown": true)"));
    }

    // Indexes written before read back whole and are written again byte for
    // byte; a browser's own download keeps the spelling stored files use.
    void indexHasTheStoredFormAndKeepsEveryField()
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

        TrackedFile full = recordAt(QStringLiteral("/tmp/odd \"name\"\nwith\ttabs \u00E9\u6F22.txt"), FileFolder::Expired, file.landedAt);
        full.inode = std::numeric_limits<quint64>::max();
        full.size = std::numeric_limits<qint64>::max();
        full.expiresAt = file.landedAt.addDays(7);
        full.expiredAt = file.landedAt.addDays(8);
        full.trashedAt = file.landedAt.addDays(9);
        full.kept = true;
        const auto back = StoredJson::decodeIndex(StoredJson::encodeIndex({file, full}));
        QVERIFY(back);
        QCOMPARE(*back, TrackedFiles({file, full}));
    }

    void indexIsRefusedAsAWhole_data()
    {
        QTest::addColumn<QByteArray>("record");
        const auto changed = [](const char* from, const char* to) { return QByteArray(goodRecord).replace(from, to); };
        QTest::addRow("null required key") << changed(R"("path": "/b")", R"("path": null)");
        QTest::addRow("fractional size") << changed(R"("size": 2)", R"("size": 2.0)");
        QTest::addRow("size beyond 64 bits signed") << changed(R"("size": 2)", R"("size": 9223372036854775808)");
        QTest::addRow("negative inode") << QByteArray(goodRecord + R"(, "inode": -1)");
        QTest::addRow("braced id") << changed(R"("5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10")", R"("{5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10}")");
        QTest::addRow("list in a field") << changed(R"("/b")", R"(["/b"])");
    }

    void indexIsRefusedAsAWhole()
    {
        QFETCH(QByteArray, record);
        QVERIFY(StoredJson::decodeIndex("[{" + goodRecord + "}, {" + goodRecord + "}]"));
        QVERIFY(!StoredJson::decodeIndex("[{" + goodRecord + "}, {" + record + "}]"));
    }

    void decodersAreBounded()
    {
        const auto nested = [](int depth) { return QByteArray(depth, '[').append(QByteArray(depth, ']')); };
        const auto index = [](const QByteArray& future) -> QByteArray { return "[{" + goodRecord + ", \"future\": " + future + "}]"; };
        // Unknown keys may hold lists and objects, down to the depth bound (a
        // record is two levels deep, the settings one); brackets in strings do
        // not count.
        const QByteArray bracketsInAString = "{\"a\": [1, {\"b\": \"" + QByteArray(20, '[') + "\\\\ \\\"\"}]}";
        QCOMPARE(StoredJson::decodeIndex(index(bracketsInAString))->size(), 1);
        QVERIFY(StoredJson::decodeIndex(index(nested(StoredJson::maxDepth - 2))));
        QVERIFY(!StoredJson::decodeIndex(index(nested(StoredJson::maxDepth - 1))));
        QVERIFY(!StoredJson::decodeIndex(nested(1'000'000)));
        // In the settings too; a null there is the default, as a missing key is.
        const auto settings = StoredJson::decodeSettings(R"({"otherExpiryDays": null, "future": )" + nested(StoredJson::maxDepth - 1) + "}");
        QVERIFY(settings);
        QCOMPARE(*settings, AppSettings());
        QVERIFY(!StoredJson::decodeSettings("{\"future\": " + nested(StoredJson::maxDepth) + "}"));
        // Every element of the list is a record.
        for (const QByteArray& element : {QByteArray("[]"), QByteArray("1"), QByteArray("null"), QByteArray("\"x\"")})
            QVERIFY2(!StoredJson::decodeIndex("[{" + goodRecord + "}, " + element + "]"), element.constData());
        QVERIFY(!StoredJson::decodeIndex(R"({"a": 1})"));
        QCOMPARE(StoredJson::decodeIndex("[]")->size(), 0);

        // Size: the bound itself passes, one byte more is refused.
        QByteArray text = "[{" + goodRecord + "}]";
        text += QByteArray(StoredJson::maxIndexBytes - text.size(), ' ');
        QCOMPARE(StoredJson::decodeIndex(text)->size(), 1);
        QVERIFY(!StoredJson::decodeIndex(text + ' '));
        QByteArray settingsText = "{}";
        settingsText += QByteArray(StoredJson::maxSettingsBytes - settingsText.size(), ' ');
        QVERIFY(StoredJson::decodeSettings(settingsText));
        QVERIFY(!StoredJson::decodeSettings(settingsText + ' '));
    }

    // The round trip and the states of whole files are seen in the model's
    // start; these are what it never meets. Each file kept aside gets a name
    // of its own.
    void filesThatCannotBeReadAreRefusedAndKeptAside()
    {
        TestWorld world;
        const Persistence persistence(world.support());
        QVERIFY(persistence.saveSettings(AppSettings())); // and leaves no temporary file beside it
        for (const char* broken : {"broken", "also broken"}) {
            writeFile(persistence.indexPath(), broken);
            QVERIFY(persistence.keepAside(persistence.indexPath()));
        }
        QCOMPARE(namesIn(world.support()), QStringList({QStringLiteral("index.unreadable (2).json"),
                                               QStringLiteral("index.unreadable.json"), QStringLiteral("settings.json")}));
        QCOMPARE(readFile(world.support() + QStringLiteral("/index.unreadable.json")), QByteArray("broken"));
        // A settings file over the bound is never read into memory.
        writeFile(persistence.settingsPath(), QByteArray(StoredJson::maxSettingsBytes + 1, ' '));
        QCOMPARE(persistence.loadSettings().state, Persistence::LoadState::TooLarge);
        // A folder where the file should be cannot be read either.
        QVERIFY(QFile::remove(persistence.settingsPath()));
        QVERIFY(QDir().mkpath(persistence.settingsPath()));
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
        const QString longPath = QStringLiteral("/") + QString(100'000, QLatin1Char('a'));
        QVERIFY(!persistence.saveIndex({recordAt(longPath, FileFolder::Inbox, world.clock.now())})); // the disk is full
        QCOMPARE(persistence.loadIndex().value, small);
        QCOMPARE(namesIn(world.support()), QStringList(QStringLiteral("index.json")));
    }
};

QTEST_GUILESS_MAIN(StoredJsonTest)
#include "tst_stored_json.moc"
