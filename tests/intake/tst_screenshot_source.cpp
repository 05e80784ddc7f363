// The screenshot redirect over real configuration files: the one key changes
// and nothing else, the previous folder is kept and put back, drift is seen.
#include "core/DefaultsKeys.h"
#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/IniText.h"
#include "platform/linux/SessionScreenshotTools.h"
#include "platform/linux/ToolNamings.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTest>

using Spelling = ConfigFileScreenshotTool::Spelling;

using namespace std::chrono_literals;

namespace {

const QByteArray flameshotIni = "; written by hand\n[General]\ncontrastOpacity=188\nsavePath=/home/ann/Bilder \\xfc\n"
                                "savePathFixed=true\n\n[Shortcuts]\nTYPE_COPY=Ctrl+C\n";

} // namespace

class ScreenshotSourceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void iniEditsOneKey_data();
    void iniEditsOneKey();
    void qtSpelling_data();
    void qtSpelling();
    void qtSpellingReadsWhatQtNeverWrites();

    void firstRedirectRemembersAndRestores_data();
    void firstRedirectRemembersAndRestores();
    void unsetSettingRemembersTheDefault();
    void toolAlreadyAtTheInboxRemembersItsDefault();
    void reEnableKeepsThePreviousLocation();
    void driftIsSeenOnlyWhenLookedFor();
    void unreadableConfigurationIsNeverWritten();
    void otherToolsFollowAndGoBack();
    void offAtStartUndoesOnlyOurRedirect();
    void shellFolderIsPulledFrom();
    void redirectedToolsNameScreenshots();
    void shellRecordingsArePulledFrom();
    void gnomeShellFoldersFollowTheUsersFolders();

private:
    ConfigFileScreenshotTool& addTool(const QString& id, const QByteArray& contents, QByteArray group, QByteArray key,
        Spelling spelling, std::function<ScreenshotNaming(const IniText&)> naming = {});
    void makeModel(ScreenshotTool* primary, std::optional<QString> pulled = std::nullopt,
        std::optional<QString> pulledRecordings = std::nullopt);
    // The record of the Inbox file `name`, once the index has it.
    std::optional<TrackedFile> recordOf(const QString& name) const;
    QString config(const QString& id) const { return world->path(QStringLiteral("config/") + id); }
    QString inbox() const { return world->folders().inbox(); }

    std::unique_ptr<TestWorld> world;
    std::vector<std::unique_ptr<ConfigFileScreenshotTool>> tools;
    std::unique_ptr<AppModel> model;
};

void ScreenshotSourceTest::init() { world = std::make_unique<TestWorld>(); }

void ScreenshotSourceTest::cleanup()
{
    model.reset();
    tools.clear();
    world.reset();
}

ConfigFileScreenshotTool& ScreenshotSourceTest::addTool(const QString& id, const QByteArray& contents, QByteArray group,
    QByteArray key, Spelling spelling, std::function<ScreenshotNaming(const IniText&)> naming)
{
    if (!contents.isNull())
        writeFile(config(id), contents);
    tools.push_back(std::make_unique<ConfigFileScreenshotTool>(ConfigFileScreenshotTool::Description {id, id, config(id),
        std::move(group), std::move(key), spelling, world->path(QStringLiteral("Pictures")), true, std::move(naming)}));
    return *tools.back();
}

void ScreenshotSourceTest::makeModel(
    ScreenshotTool* primary, std::optional<QString> pulled, std::optional<QString> pulledRecordings)
{
    std::vector<ScreenshotTool*> all;
    for (const auto& tool : tools)
        all.push_back(tool.get());
    ModelServices services = world->services();
    services.screenshots = ScreenshotSource(all, primary, std::move(pulled), std::move(pulledRecordings));
    services.downloadsStableWait = services.shellPullStableWait;
    model = std::make_unique<AppModel>(services);
}

std::optional<TrackedFile> ScreenshotSourceTest::recordOf(const QString& name) const
{
    for (const TrackedFile& file : model->files()) {
        if (file.name() == name && file.folder == FileFolder::Inbox)
            return file;
    }
    return std::nullopt;
}

void ScreenshotSourceTest::iniEditsOneKey_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("after");
    QTest::addRow("value replaced, spacing kept") << QByteArray("# c\n[Save]\na = 1\ndefaultSaveLocation = file:///old/\nz=2\n")
                                                  << QByteArray("Save")
                                                  << QByteArray("# c\n[Save]\na = 1\ndefaultSaveLocation = NEW\nz=2\n");
    QTest::addRow("key added to its group") << QByteArray("[Save]\na=1\n\n[Other]\nb=2")
                                            << QByteArray("Save")
                                            << QByteArray("[Save]\na=1\ndefaultSaveLocation=NEW\n\n[Other]\nb=2");
    QTest::addRow("group added") << QByteArray("[Other]\nb=2\n") << QByteArray("Save")
                                 << QByteArray("[Other]\nb=2\n\n[Save]\ndefaultSaveLocation=NEW\n");
    QTest::addRow("no headers") << QByteArray("app=none\ndefaultSaveLocation=file:/x\nshow_mouse=1\n") << QByteArray()
                                << QByteArray("app=none\ndefaultSaveLocation=NEW\nshow_mouse=1\n");
    QTest::addRow("empty file") << QByteArray() << QByteArray("Save") << QByteArray("[Save]\ndefaultSaveLocation=NEW\n");
    QTest::addRow("Windows line ends") << QByteArray("[Save]\r\ndefaultSaveLocation=old\r\nz=1\r\n") << QByteArray("Save")
                                       << QByteArray("[Save]\r\ndefaultSaveLocation=NEW\r\nz=1\r\n");
    QTest::addRow("same key in another group untouched")
        << QByteArray("[A]\ndefaultSaveLocation=a\n[Save]\ndefaultSaveLocation=b\n") << QByteArray("Save")
        << QByteArray("[A]\ndefaultSaveLocation=a\n[Save]\ndefaultSaveLocation=NEW\n");
}

void ScreenshotSourceTest::iniEditsOneKey()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, after);
    auto ini = IniText::parse(before);
    QVERIFY(ini);
    ini->setValue(group, "defaultSaveLocation", "NEW");
    QCOMPARE(ini->text(), after);
    QCOMPARE(ini->value(group, "defaultSaveLocation"), QByteArray("NEW"));
    QVERIFY(!IniText::parse("[Save]\nthis line is neither\n"));
    QVERIFY(!IniText::parse("[Save\nkey=value\n"));
}

void ScreenshotSourceTest::qtSpelling_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");
    // As Qt 5's QSettings writes them (Flameshot reads nothing else).
    QTest::addRow("plain") << QStringLiteral("/home/ann/Dropwell/Inbox") << QByteArray("/home/ann/Dropwell/Inbox");
    QTest::addRow("space and percent") << QStringLiteral("/home/ann/my 100% folder") << QByteArray("/home/ann/my 100% folder");
    QTest::addRow("umlaut") << QStringLiteral("/home/ann/Bilder-\u00FC") << QByteArray("/home/ann/Bilder-\\xfc");
    QTest::addRow("hex digit after an escape") << QStringLiteral("/x/\u00FC" "a1") << QByteArray("/x/\\xfc\\x61\\x31");
    QTest::addRow("CJK") << QStringLiteral("/x/\u622A\u56FE") << QByteArray("/x/\\x622a\\x56fe");
    QTest::addRow("quoted") << QStringLiteral("C:\\a;b,c\"d") << QByteArray("\"C:\\\\a;b,c\\\"d\"");
}

void ScreenshotSourceTest::qtSpelling()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    QCOMPARE(ConfigFileScreenshotTool::qtEscaped(value), written);
    QCOMPARE(ConfigFileScreenshotTool::qtUnescaped(written), value);
}

void ScreenshotSourceTest::qtSpellingReadsWhatQtNeverWrites()
{
    QCOMPARE(ConfigFileScreenshotTool::qtUnescaped("C:\\"), QStringLiteral("C:\\"));
    QCOMPARE(ConfigFileScreenshotTool::qtUnescaped("a\\xd800"), QStringLiteral("a\uFFFD")); // half a surrogate pair
}

void ScreenshotSourceTest::firstRedirectRemembersAndRestores_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("spelling");
    QTest::addColumn<QString>("previous");
    QTest::addRow("Flameshot") << flameshotIni << QByteArray("General") << QByteArray("savePath")
                               << int(Spelling::QtEscapedPath) << QStringLiteral("/home/ann/Bilder \u00FC");
    QTest::addRow("Spectacle") << QByteArray("[GuiConfig]\nwindow-position=50,50\n\n[Save]\ndefaultSaveLocation=file:///home/ann/Pictures/\n")
                               << QByteArray("Save") << QByteArray("defaultSaveLocation") << int(Spelling::FileUrlWithSlash)
                               << QStringLiteral("file:///home/ann/Pictures/");
    QTest::addRow("Xfce, with a tilde") << QByteArray("app=none\nscreenshot_dir=~/Shots\nshow_mouse=1\n") << QByteArray()
                                        << QByteArray("screenshot_dir") << int(Spelling::FileUrl) << QStringLiteral("~/Shots");
}

void ScreenshotSourceTest::firstRedirectRemembersAndRestores()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, key);
    QFETCH(int, spelling);
    QFETCH(QString, previous);
    ConfigFileScreenshotTool& tool = addTool(QStringLiteral("tool"), contents, group, key, Spelling(spelling));
    makeModel(&tool);
    model->start();
    QCOMPARE(model->settings().previousScreenshotLocation, previous);
    QVERIFY(ScreenshotSource::points(tool, inbox()));
    QVERIFY(!model->locationDrift());
    // Only the one key changed.
    auto expected = IniText::parse(contents);
    expected->setValue(group, key, *IniText::parse(readFile(config(QStringLiteral("tool"))))->value(group, key));
    QCOMPARE(readFile(config(QStringLiteral("tool"))), expected->text());

    model->restoreScreenshotLocation();
    QCOMPARE(readFile(config(QStringLiteral("tool"))), contents);
    QVERIFY(!model->settings().screenshotsEnabled);
    QVERIFY(!model->locationDrift());
}

void ScreenshotSourceTest::unsetSettingRemembersTheDefault()
{
    ConfigFileScreenshotTool& tool = addTool(QStringLiteral("flameshot.ini"), "[General]\ncontrastOpacity=188\n",
        "General", "savePath", Spelling::QtEscapedPath);
    makeModel(&tool);
    model->start();
    QCOMPARE(model->settings().previousScreenshotLocation, world->path(QStringLiteral("Pictures")));
    model->restoreScreenshotLocation();
    QCOMPARE(tool.stored().value(), world->path(QStringLiteral("Pictures")));
}

void ScreenshotSourceTest::toolAlreadyAtTheInboxRemembersItsDefault()
{
    // The settings file was lost while the redirect stood.
    ConfigFileScreenshotTool& tool = addTool(QStringLiteral("x"),
        "screenshot_dir=file://" + QFile::encodeName(inbox()) + "/\n", {}, "screenshot_dir", Spelling::FileUrl);
    makeModel(&tool);
    model->start();
    QCOMPARE(model->settings().previousScreenshotLocation,
        QString::fromUtf8(QUrl::fromLocalFile(world->path(QStringLiteral("Pictures"))).toEncoded()));
    QVERIFY(!model->locationDrift()); // a trailing slash is the same folder
}

void ScreenshotSourceTest::reEnableKeepsThePreviousLocation()
{
    ConfigFileScreenshotTool& tool = addTool(QStringLiteral("f"), flameshotIni, "General", "savePath", Spelling::QtEscapedPath);
    makeModel(&tool);
    model->start();
    model->restoreScreenshotLocation();
    QVERIFY(tool.store(QStringLiteral("/somewhere/else")).ok());
    model->setScreenshotsEnabled(true);
    QCOMPARE(model->settings().previousScreenshotLocation, QStringLiteral("/home/ann/Bilder \u00FC"));
    QVERIFY(ScreenshotSource::points(tool, inbox()));
}

void ScreenshotSourceTest::driftIsSeenOnlyWhenLookedFor()
{
    ConfigFileScreenshotTool& tool = addTool(QStringLiteral("f"), flameshotIni, "General", "savePath", Spelling::QtEscapedPath);
    makeModel(&tool);
    model->start();
    model->dismissDriftBanner();
    QVERIFY(tool.store(QStringLiteral("/home/ann/Desktop")).ok()); // the user changed it
    QVERIFY(!model->locationDrift());
    model->start(); // the popover opens again
    QVERIFY(model->locationDrift());
    model->fixScreenshotLocation();
    QVERIFY(!model->locationDrift());
    QVERIFY(!model->settings().locationDriftBannerDismissed);
    QVERIFY(ScreenshotSource::points(tool, inbox()));
    model->setScreenshotsEnabled(false);
    QVERIFY(tool.store(QStringLiteral("/anywhere")).ok());
    model->start();
    QVERIFY(!model->locationDrift()); // off: never drift
}

void ScreenshotSourceTest::unreadableConfigurationIsNeverWritten()
{
    const QByteArray broken = "[General]\nsavePath=/home/ann/Pictures\nthis is not a setting\n";
    ConfigFileScreenshotTool& tool = addTool(QStringLiteral("f"), broken, "General", "savePath", Spelling::QtEscapedPath);
    makeModel(&tool);
    model->start();
    QCOMPARE(readFile(config(QStringLiteral("f"))), broken);
    QVERIFY(!model->settings().previousScreenshotLocation);
    QVERIFY(model->locationDrift());
    model->restoreScreenshotLocation();
    QCOMPARE(readFile(config(QStringLiteral("f"))), broken);
}

void ScreenshotSourceTest::otherToolsFollowAndGoBack()
{
    ConfigFileScreenshotTool& primary = addTool(QStringLiteral("p"), flameshotIni, "General", "savePath", Spelling::QtEscapedPath);
    ConfigFileScreenshotTool& other = addTool(QStringLiteral("o"), "app=none\nscreenshot_dir=file:///home/ann/Shots\n", {},
        "screenshot_dir", Spelling::FileUrl);
    makeModel(&primary);
    model->start();
    QVERIFY(ScreenshotSource::points(other, inbox()));
    QCOMPARE(world->defaults->string(DefaultsKeys::previousScreenshotLocationOf(QStringLiteral("o"))),
        QStringLiteral("file:///home/ann/Shots"));
    model->restoreScreenshotLocation();
    QCOMPARE(readFile(config(QStringLiteral("o"))), QByteArray("app=none\nscreenshot_dir=file:///home/ann/Shots\n"));
}

void ScreenshotSourceTest::offAtStartUndoesOnlyOurRedirect()
{
    ConfigFileScreenshotTool& ours = addTool(QStringLiteral("ours"), flameshotIni, "General", "savePath", Spelling::QtEscapedPath);
    ConfigFileScreenshotTool& theirs = addTool(QStringLiteral("theirs"), "screenshot_dir=file:///mine\n", {},
        "screenshot_dir", Spelling::FileUrl);
    makeModel(&ours);
    model->start();
    model->setScreenshotsEnabled(false);
    QVERIFY(ours.store(ours.rawFor(inbox())).ok()); // pointed at the Inbox again meanwhile
    QVERIFY(theirs.store(QStringLiteral("file:///their/choice")).ok());
    makeModel(&ours); // the next launch, with the redirect off
    model->start();
    QCOMPARE(ours.stored().value(), QStringLiteral("/home/ann/Bilder \u00FC"));
    QCOMPARE(theirs.stored().value(), QStringLiteral("file:///their/choice"));
}

void ScreenshotSourceTest::shellFolderIsPulledFrom()
{
    const QString shell = world->path(QStringLiteral("Pictures/Screenshots"));
    writeFile(shell + QStringLiteral("/Screenshot from 2026-12-01 09-00-00.png"));
    makeModel(nullptr, shell);
    model->start();
    QCOMPARE(model->settings().previousScreenshotLocation, shell);
    QVERIFY(!model->locationDrift());
    writeFile(shell + QStringLiteral("/Screenshot from 2026-12-06 10-00-00.png"));
    QVERIFY(world->timers.settle(DirectoryWatcher::defaultQuietPeriod));
    world->timers.advance(world->services().shellPullStableWait);
    QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("Screenshot from 2026-12-06 10-00-00.png")));
    QCOMPARE(model->inboxItems().front().source, FileSource::Screenshot);
    QCOMPARE(namesIn(shell), QStringList(QStringLiteral("Screenshot from 2026-12-01 09-00-00.png")));
    model->restoreScreenshotLocation();
    writeFile(shell + QStringLiteral("/Screenshot from 2026-12-06 11-00-00.png"));
    world->timers.advance(1h);
    QCOMPARE(namesIn(shell).size(), 2);
}

void ScreenshotSourceTest::redirectedToolsNameScreenshots()
{
    // Flameshot with a pattern of the user's own, and an Xfce screenshooter
    // whose file Dropwell cannot read, so it is never redirected.
    const QByteArray flameshotOwn = "[General]\nfilenamePattern=capture %d.%m. %H%M\nsavePath=/home/ann/Pictures\n";
    addTool(QStringLiteral("flameshot.ini"), flameshotOwn, "General", "savePath", Spelling::QtEscapedPath, flameshotNaming);
    addTool(QStringLiteral("xfce"), "screenshot_dir=file:///home/ann\nnot a setting\n", {}, "screenshot_dir",
        Spelling::FileUrl, xfceScreenshooterNaming);
    makeModel(tools.front().get());
    model->start();

    const QString flameshotShot = QStringLiteral("capture 07.12. 0059.png");
    const QString xfceShot = QStringLiteral("Screenshot_2026-12-07_00-59-00.png");
    const QString dropped = QStringLiteral("2026-12-07_00-59.png"); // Flameshot's default, not its pattern now
    for (const QString& name : {flameshotShot, xfceShot, dropped})
        writeFile(inbox() + QLatin1Char('/') + name);
    QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
    QTRY_VERIFY(recordOf(flameshotShot) && recordOf(xfceShot) && recordOf(dropped));
    const auto screenshotDue = [](const TrackedFile& file) { return file.landedAt.addSecs(48 * 3600); };
    const auto otherDue = [](const TrackedFile& file) { return file.landedAt.addDays(7); };
    QCOMPARE(recordOf(flameshotShot)->source, FileSource::Screenshot);
    QCOMPARE(recordOf(flameshotShot)->expiresAt, screenshotDue(*recordOf(flameshotShot)));
    QCOMPARE(recordOf(xfceShot)->source, FileSource::Manual);
    QCOMPARE(recordOf(xfceShot)->expiresAt, otherDue(*recordOf(xfceShot)));
    QCOMPARE(recordOf(dropped)->source, FileSource::Manual);
    // The index file spells the source as it always has.
    QVERIFY(readFile(world->services().persistence.indexPath()).contains("\"source\": \"screenshot\""));

    // With the redirect off, the same name is anybody's file.
    model->setScreenshotsEnabled(false);
    const QString afterwards = QStringLiteral("capture 07.12. 0100.png");
    writeFile(inbox() + QLatin1Char('/') + afterwards);
    QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
    QTRY_VERIFY(recordOf(afterwards));
    QCOMPARE(recordOf(afterwards)->source, FileSource::Manual);
    QCOMPARE(recordOf(afterwards)->expiresAt, otherDue(*recordOf(afterwards)));
    QCOMPARE(recordOf(flameshotShot)->source, FileSource::Screenshot); // a record keeps what it was
}

void ScreenshotSourceTest::shellRecordingsArePulledFrom()
{
    const QString shots = world->path(QStringLiteral("Pictures/Screenshots"));
    const QString casts = world->path(QStringLiteral("Videos/Screencasts"));
    const QString before = QStringLiteral("Screencast from 2026-12-01 09-00-00.webm");
    writeFile(casts + QLatin1Char('/') + before);
    makeModel(nullptr, shots, casts);
    model->start();
    QVERIFY(!model->locationDrift());
    const QString recording = QStringLiteral("Screencast From 2026-12-06 10-00-00.webm");
    writeFile(casts + QLatin1Char('/') + recording, QByteArray(4096, 'v'));
    QVERIFY(world->timers.settle(DirectoryWatcher::defaultQuietPeriod));
    world->timers.advance(world->services().shellPullStableWait);
    QVERIFY(recordOf(recording));
    QCOMPARE(recordOf(recording)->source, FileSource::Screenshot);
    QCOMPARE(recordOf(recording)->size, 4096);
    QCOMPARE(recordOf(recording)->expiresAt, recordOf(recording)->landedAt.addSecs(48 * 3600));
    QCOMPARE(namesIn(casts), QStringList(before));

    // Off: a new recording stays where GNOME Shell put it, while a download
    // written after it, with the same wait, is taken.
    model->restoreScreenshotLocation();
    QVERIFY(QDir().mkpath(world->folders().downloads()));
    model->setWatchDownloads(true);
    const QString later = QStringLiteral("Screencast From 2026-12-06 11-00-00.webm");
    writeFile(casts + QLatin1Char('/') + later);
    writeFile(world->folders().downloads() + QStringLiteral("/report.pdf"));
    QVERIFY(world->timers.settle(DirectoryWatcher::defaultQuietPeriod));
    world->timers.advance(world->services().shellPullStableWait);
    QVERIFY(recordOf(QStringLiteral("report.pdf")));
    world->timers.advance(1h);
    QCOMPARE(namesIn(casts), QStringList({later, before})); // in sorted order
}

void ScreenshotSourceTest::gnomeShellFoldersFollowTheUsersFolders()
{
    const QString pictures = world->path(QStringLiteral("Bilder"));
    const QString videos = world->path(QStringLiteral("Filme"));
    const SessionScreenshotTools gnome = SessionScreenshotTools::find(
        {QStringLiteral("ubuntu:GNOME"), world->path(QStringLiteral("config")), pictures, world->home(), videos});
    QVERIFY(!gnome.primary);
    QCOMPARE(gnome.shellFolder, pictures + QStringLiteral("/Screenshots"));
    QCOMPARE(gnome.shellRecordingsFolder, videos + QStringLiteral("/Screencasts"));
    const SessionScreenshotTools xfce = SessionScreenshotTools::find(
        {QStringLiteral("XFCE"), world->path(QStringLiteral("config")), pictures, world->home(), videos});
    QVERIFY(!xfce.shellFolder && !xfce.shellRecordingsFolder);
}

QTEST_GUILESS_MAIN(ScreenshotSourceTest)
#include "tst_screenshot_source.moc"
