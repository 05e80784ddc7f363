// The model's start: what the first start sets up, what later starts redo,
// and what is kept of files that cannot be read.
#include "core/DefaultsKeys.h"
#include "core/StoredJson.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

class ModelStartTest : public QObject {
    Q_OBJECT

    QString support(const char* name) const { return world->support() + QLatin1Char('/') + QLatin1String(name); }
    QString inInbox(const char* name) const { return world->folders().inbox() + QLatin1Char('/') + QLatin1String(name); }

    std::unique_ptr<TestWorld> world;

private Q_SLOTS:
    void init() { world = std::make_unique<TestWorld>(); }
    void cleanup() { world.reset(); }

    void firstStartSetsUpEverythingAndLaterStartsOnlyRefresh()
    {
        writeFile(support("settings.json"), R"({"otherExpiryDays": 3})");
        world->defaults->setBool(DefaultsKeys::showCaptureReadyToast, true);
        auto model = world->makeModel();
        QCOMPARE(model->settings().otherExpiryDays, 3);
        QVERIFY(!QDir(world->folders().root()).exists());
        QCOMPARE(namesIn(world->support()), QStringList(QStringLiteral("settings.json")));

        writeFile(inInbox("early.txt"));
        model->start();
        for (const QString& folder : {world->folders().kept(), world->folders().expired()})
            QVERIFY(QDir(folder).exists());
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(Persistence(world->support()).loadIndex().value, model->files());
        // Onboarding is written before the first pass.
        QVERIFY(Persistence(world->support()).loadSettings().value.onboardingCompleted);
        QCOMPARE(model->toast(), QStringLiteral("Ready to capture — click the button again."));
        QVERIFY(!world->defaults->boolValue(DefaultsKeys::showCaptureReadyToast));

        world->defaults->setBool(DefaultsKeys::showCaptureReadyToast, true);
        model->setToast(std::nullopt);
        QSignalSpy toasts(model.get(), &AppModel::toastChanged);
        writeFile(inInbox("later.txt"));
        model->start();
        QCOMPARE(model->files().size(), 2); // rescanned
        QCOMPARE(toasts.count(), 0); // the one-shot flag is read only once
    }

    // A file is several events: one rescan for them all, by one watcher
    // however often the popover started the model.
    void droppedFileIsIndexedSoonByOneWatcher()
    {
        auto model = world->makeModel();
        model->start();
        model->start();
        QSignalSpy changes(model.get(), &AppModel::filesChanged);
        writeFile(inInbox("dropped.txt"));
        QTRY_VERIFY(world->timers.runs(TestWorld::inboxQuietPeriod));
        QCOMPARE(world->timers.runningCount(), 2); // and the expiry pass
        world->timers.advance(TestWorld::inboxQuietPeriod);
        QTRY_COMPARE(Persistence(world->support()).loadIndex().value.size(), 1);
        QCOMPARE(changes.count(), 1);
    }

    void unreadableFilesAreKeptAsideAndTold()
    {
        const QByteArray brokenIndex = R"([{"id": "5E0C5D6A-0B9B-4A39-9A36-1D4C8E2B7F10", "path": "/x/kept.txt"}])";
        const QByteArray brokenSettings = R"({"appearance": "purple", "otherExpiryDays": 30})";
        writeFile(support("index.json"), brokenIndex);
        writeFile(support("settings.json"), brokenSettings);
        writeFile(inInbox("a.txt"));
        auto model = world->makeModel();
        QCOMPARE(model->settings(), AppSettings());
        QCOMPARE(readFile(support("settings.json")), brokenSettings);
        model->start(); // onboarding saves the settings
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(readFile(support("index.unreadable.json")), brokenIndex);
        QCOMPARE(readFile(support("settings.unreadable.json")), brokenSettings);
        QVERIFY(Persistence(world->support()).loadSettings().value.onboardingCompleted);
        // Both are told, in one message.
        QCOMPARE(model->toast(), QStringLiteral("Dropwell could not read its index file, so it rebuilt the list from its "
                                                "folders; the file is kept as index.unreadable.json. Dropwell could not read "
                                                "its settings file, so it uses the default settings; the file is kept as "
                                                "settings.unreadable.json."));
    }

    void oversizedIndexIsKeptAsideAndTold()
    {
        writeFile(support("index.json"), "[");
        QVERIFY(QFile::resize(support("index.json"), StoredJson::maxIndexBytes + 1)); // sparse: costs no disk
        writeFile(inInbox("a.txt"));
        auto model = world->makeModel();
        model->start();
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(QFileInfo(support("index.unreadable.json")).size(), StoredJson::maxIndexBytes + 1);
        QCOMPARE(model->toast(), QStringLiteral("Dropwell's index file was too large to read, so it rebuilt the list from "
                                                "its folders; the file is kept as index.unreadable.json."));
    }

    void folderFailureIsToldAndStartGoesOn()
    {
        writeFile(world->folders().root(), "a file where the folder should be");
        auto model = world->makeModel();
        model->start();
        QCOMPARE(model->toast(), QStringLiteral("Could not create Dropwell folders."));
        QVERIFY(model->isStarted());
        QVERIFY(Persistence(world->support()).loadSettings().value.onboardingCompleted); // the start went on
    }

    void settingsOutOfRangeAreCorrectedAndToldOnce()
    {
        writeFile(support("settings.json"), R"({"screenshotExpiryHours": -5, "otherExpiryDays": 100000, "onboardingCompleted": true})");
        auto model = world->makeModel();
        QCOMPARE(model->settings().screenshotExpiryHours, 1);
        QCOMPARE(model->settings().otherExpiryDays, 3653);
        model->start();
        QCOMPARE(model->toast(), QStringLiteral("Screenshot expiry was -5 hours; it is now 1 hour. Expiry of other files "
                                                "was 100000 days; it is now 3653 days."));
        // Saved as corrected, so the next start has nothing to tell.
        QCOMPARE(Persistence(world->support()).loadSettings().value, model->settings());
    }
};

QTEST_GUILESS_MAIN(ModelStartTest)
#include "tst_model_start.moc"
