// The screenshot redirect over real configuration files: the one key changes
// and nothing else, the previous folder is kept and put back, drift is seen;
// and how each tool names its files, read from its configuration as the tool
// writes it.
#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/GSettingsScreenshotTool.h"
#include "platform/linux/IniText.h"
#include "platform/linux/SessionScreenshotTools.h"
#include "platform/linux/ToolNamings.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTest>

#include <functional>
#include <initializer_list>
#include <utility>

using Spelling = ConfigFileScreenshotTool::Spelling;
using Naming = std::function<ScreenshotNaming(const IniText&)>;

using namespace std::chrono_literals;

namespace {

// Where a tool's configuration file keeps its folder, and how the tool names
// its files.
struct ToolFile {
    QByteArray group;
    QByteArray key;
    Spelling spelling;
    Naming naming;
};

const ToolFile flameshotFile {"General", "savePath", Spelling::QtEscapedPath, flameshotNaming};
const ToolFile spectacleFile {"Save", "defaultSaveLocation", Spelling::FileUrlWithSlash, {}};
const ToolFile xfceFile {{}, "screenshot_dir", Spelling::FileUrl, xfceScreenshooterNaming};

const QByteArray flameshotIni = "; written by hand\n[General]\ncontrastOpacity=188\nsavePath=/home/ann/Bilder \\xfc\n"
                                "savePathFixed=true\n\n[Shortcuts]\nTYPE_COPY=Ctrl+C\n";
const QString flameshotPrevious = QStringLiteral("/home/ann/Bilder \u00FC");

ScreenshotNaming read(const Naming& naming, const QByteArray& config) { return naming(IniText::parse(config).value()); }

} // namespace

Q_DECLARE_METATYPE(Naming)
Q_DECLARE_METATYPE(ToolFile)

class ScreenshotSourceTest : public QObject {
    Q_OBJECT

    ConfigFileScreenshotTool& addTool(const QString& id, const QByteArray& contents, const ToolFile& file)
    {
        if (!contents.isNull())
            writeFile(config(id), contents);
        tools.push_back(std::make_unique<ConfigFileScreenshotTool>(ConfigFileScreenshotTool::Description {
            id, id, config(id), file.group, file.key, file.spelling, world->path(QStringLiteral("Pictures")), true, file.naming}));
        return *tools.back();
    }
    // A started model whose screenshots come from `primary` or, without one,
    // are pulled from the shell's folders.
    void startModel(ScreenshotTool* primary, std::optional<QString> pulled = std::nullopt,
        std::optional<QString> pulledRecordings = std::nullopt)
    {
        std::vector<ScreenshotTool*> all;
        for (const auto& tool : tools)
            all.push_back(tool.get());
        ModelServices services = world->services();
        services.screenshots = ScreenshotSource(all, primary, std::move(pulled), std::move(pulledRecordings));
        services.downloadsStableWait = services.shellPullStableWait;
        model = std::make_unique<AppModel>(services);
        model->start();
    }
    // The record of the Inbox file `name`, once the index has it.
    std::optional<TrackedFile> recordOf(const QString& name) const
    {
        for (const TrackedFile& file : model->files()) {
            if (file.name() == name && file.folder == FileFolder::Inbox)
                return file;
        }
        return std::nullopt;
    }
    void settleShellPull()
    {
        QVERIFY(world->timers.settle(DirectoryWatcher::defaultQuietPeriod));
        world->timers.advance(world->services().shellPullStableWait);
    }
    QString config(const QString& id) const { return world->path(QStringLiteral("config/") + id); }
    QString inbox() const { return world->folders().inbox(); }

    std::unique_ptr<TestWorld> world;
    std::vector<std::unique_ptr<ConfigFileScreenshotTool>> tools;
    std::unique_ptr<AppModel> model;

private Q_SLOTS:
    // GSettings in memory, never the desktop's dconf.
    void initTestCase() { qputenv("GSETTINGS_BACKEND", "memory"); }
    void init() { world = std::make_unique<TestWorld>(); }
    void cleanup()
    {
        model.reset();
        tools.clear();
        world.reset();
    }

    void iniEditsOneKey_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<QByteArray>("after");
        const auto row = [](const char* what, const char* before, const char* group, const char* after) {
            QTest::addRow("%s", what) << QByteArray(before) << QByteArray(group) << QByteArray(after);
        };
        row("value replaced, spacing kept", "# c\n[Save]\na = 1\ndefaultSaveLocation = file:///old/\nz=2\n", "Save",
            "# c\n[Save]\na = 1\ndefaultSaveLocation = NEW\nz=2\n");
        row("key added to its group", "[Save]\na=1\n\n[Other]\nb=2", "Save", "[Save]\na=1\ndefaultSaveLocation=NEW\n\n[Other]\nb=2");
        row("group added", "[Other]\nb=2\n", "Save", "[Other]\nb=2\n\n[Save]\ndefaultSaveLocation=NEW\n");
        row("no headers", "app=none\ndefaultSaveLocation=file:/x\nshow_mouse=1\n", nullptr,
            "app=none\ndefaultSaveLocation=NEW\nshow_mouse=1\n");
        row("empty file", "", "Save", "[Save]\ndefaultSaveLocation=NEW\n");
        row("Windows line ends", "[Save]\r\ndefaultSaveLocation=old\r\nz=1\r\n", "Save", "[Save]\r\ndefaultSaveLocation=NEW\r\nz=1\r\n");
        row("same key in another group untouched", "[A]\ndefaultSaveLocation=a\n[Save]\ndefaultSaveLocation=b\n", "Save",
            "[A]\ndefaultSaveLocation=a\n[Save]\ndefaultSaveLocation=NEW\n");
        row("neither key nor group", "[Save]\nthis line is neither\n", nullptr, nullptr);
        row("unclosed group", "[Save\nkey=value\n", nullptr, nullptr);
    }

    void iniEditsOneKey()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, group);
        QFETCH(QByteArray, after);
        auto ini = IniText::parse(before);
        QCOMPARE(bool(ini), !after.isNull());
        if (!ini)
            return;
        ini->setValue(group, "defaultSaveLocation", "NEW");
        QCOMPARE(ini->text(), after);
        QCOMPARE(ini->value(group, "defaultSaveLocation"), QByteArray("NEW"));
    }

    void qtSpelling_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<bool>("qtWritesIt");
        // As Qt 5's QSettings writes them (Flameshot reads nothing else).
        QTest::addRow("space and percent") << QStringLiteral("/home/ann/my 100% folder") << QByteArray("/home/ann/my 100% folder") << true;
        QTest::addRow("hex digit after an escape") << QStringLiteral("/x/\u00FC" "a1") << QByteArray("/x/\\xfc\\x61\\x31") << true;
        QTest::addRow("CJK") << QStringLiteral("/x/\u622A\u56FE") << QByteArray("/x/\\x622a\\x56fe") << true;
        QTest::addRow("quoted") << QStringLiteral("C:\\a;b,c\"d") << QByteArray("\"C:\\\\a;b,c\\\"d\"") << true;
        QTest::addRow("trailing backslash") << QStringLiteral("C:\\") << QByteArray("C:\\") << false;
        QTest::addRow("half a surrogate pair") << QStringLiteral("a\uFFFD") << QByteArray("a\\xd800") << false;
    }
    void qtSpelling()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, written);
        QFETCH(bool, qtWritesIt);
        if (qtWritesIt)
            QCOMPARE(ConfigFileScreenshotTool::qtEscaped(value), written);
        QCOMPARE(ConfigFileScreenshotTool::qtUnescaped(written), value);
    }

    void firstRedirectRemembersAndRestores_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<ToolFile>("file");
        QTest::addColumn<QString>("previous");
        QTest::addRow("Spectacle") << QByteArray("[GuiConfig]\nwindow-position=50,50\n\n[Save]\ndefaultSaveLocation=file:///home/ann/Pictures/\n")
                                   << spectacleFile << QStringLiteral("file:///home/ann/Pictures/");
        QTest::addRow("Xfce, with a tilde") << QByteArray("app=none\nscreenshot_dir=~/Shots\nshow_mouse=1\n") << xfceFile
                                            << QStringLiteral("~/Shots");
    }
    void firstRedirectRemembersAndRestores()
    {
        QFETCH(QByteArray, contents);
        QFETCH(ToolFile, file);
        QFETCH(QString, previous);
        ConfigFileScreenshotTool& tool = addTool(QStringLiteral("tool"), contents, file);
        startModel(&tool);
        QCOMPARE(model->settings().previousScreenshotLocation, previous);
        QVERIFY(ScreenshotSource::points(tool, inbox()));
        QVERIFY(!model->screenshotRedirect().locationDrift());
        // The restore edits only the key of the file the redirect left: had
        // the redirect touched anything else, it would still show.
        model->screenshotRedirect().restore();
        QCOMPARE(readFile(config(QStringLiteral("tool"))), contents);
        QVERIFY(!model->settings().screenshotsEnabled);
        QVERIFY(!model->screenshotRedirect().locationDrift());
    }

    void withoutAFolderOfItsOwnTheToolsDefaultIsRemembered_data()
    {
        QTest::addColumn<bool>("atInbox");
        QTest::addRow("never set") << false;
        QTest::addRow("file lost while the redirect stood") << true;
    }
    void withoutAFolderOfItsOwnTheToolsDefaultIsRemembered()
    {
        QFETCH(bool, atInbox);
        const QString pictures = world->path(QStringLiteral("Pictures"));
        ConfigFileScreenshotTool& tool = atInbox
            ? addTool(QStringLiteral("x"), "screenshot_dir=file://" + QFile::encodeName(inbox()) + "/\n", xfceFile)
            : addTool(QStringLiteral("f"), "[General]\ncontrastOpacity=188\n", flameshotFile);
        startModel(&tool);
        const QString previous = atInbox ? QString::fromUtf8(QUrl::fromLocalFile(pictures).toEncoded()) : pictures;
        QCOMPARE(model->settings().previousScreenshotLocation, previous);
        QVERIFY(!model->screenshotRedirect().locationDrift()); // a trailing slash is the same folder
        model->screenshotRedirect().restore();
        QCOMPARE(tool.stored().value(), previous);
    }

    void driftIsSeenOnlyWhenLookedFor()
    {
        ConfigFileScreenshotTool& tool = addTool(QStringLiteral("f"), flameshotIni, flameshotFile);
        startModel(&tool);
        model->screenshotRedirect().dismissDriftBanner();
        QVERIFY(tool.store(QStringLiteral("/home/ann/Desktop")).ok()); // the user changed it
        QVERIFY(!model->screenshotRedirect().locationDrift());
        model->start(); // the popover opens again
        QVERIFY(model->screenshotRedirect().locationDrift());
        model->screenshotRedirect().fix();
        QVERIFY(!model->screenshotRedirect().locationDrift());
        QVERIFY(!model->settings().locationDriftBannerDismissed);
        QVERIFY(ScreenshotSource::points(tool, inbox()));
        model->screenshotRedirect().setEnabled(false);
        QVERIFY(tool.store(QStringLiteral("/anywhere")).ok());
        model->start();
        QVERIFY(!model->screenshotRedirect().locationDrift()); // off: never drift
        // On again: what the user had before the first redirect is still what
        // a restore puts back.
        model->screenshotRedirect().setEnabled(true);
        QCOMPARE(model->settings().previousScreenshotLocation, flameshotPrevious);
        QVERIFY(ScreenshotSource::points(tool, inbox()));
    }

    void otherToolsFollowAndGoBack()
    {
        const QByteArray otherIni = "app=none\nscreenshot_dir=file:///home/ann/Shots\n";
        ConfigFileScreenshotTool& primary = addTool(QStringLiteral("p"), flameshotIni, flameshotFile);
        ConfigFileScreenshotTool& other = addTool(QStringLiteral("o"), otherIni, xfceFile);
        startModel(&primary);
        QVERIFY(ScreenshotSource::points(other, inbox()));
        model->screenshotRedirect().restore(); // what it remembered of the other tool is what it writes back
        QCOMPARE(readFile(config(QStringLiteral("o"))), otherIni);

        // Turned off, then pointed at the Inbox again meanwhile, while the
        // other tool's user chose a folder of their own: the next launch
        // undoes only the redirect.
        QVERIFY(primary.store(primary.rawFor(inbox())).ok());
        QVERIFY(other.store(QStringLiteral("file:///their/choice")).ok());
        startModel(&primary);
        QCOMPARE(primary.stored().value(), flameshotPrevious);
        QCOMPARE(other.stored().value(), QStringLiteral("file:///their/choice"));
    }

    void gnomeShellFoldersAreFoundAndPulledFrom()
    {
        const QString pictures = world->path(QStringLiteral("Bilder"));
        const QString videos = world->path(QStringLiteral("Filme"));
        const auto find = [&](const QString& desktop) {
            return SessionScreenshotTools::find({desktop, world->path(QStringLiteral("config")), pictures, world->home(), videos});
        };
        const SessionScreenshotTools xfceSession = find(QStringLiteral("XFCE"));
        QVERIFY(!xfceSession.shellFolder && !xfceSession.shellRecordingsFolder);
        const SessionScreenshotTools gnome = find(QStringLiteral("ubuntu:GNOME"));
        QVERIFY(!gnome.primary);
        // Inside the user's own folders, wherever those are.
        const QString shots = pictures + QStringLiteral("/Screenshots");
        const QString casts = videos + QStringLiteral("/Screencasts");
        writeFile(shots + QStringLiteral("/Screenshot from 2026-12-01 09-00-00.png"));
        writeFile(casts + QStringLiteral("/Screencast from 2026-12-01 09-00-00.webm"));
        startModel(nullptr, gnome.shellFolder, gnome.shellRecordingsFolder);
        QCOMPARE(model->settings().previousScreenshotLocation, shots);
        QVERIFY(!model->screenshotRedirect().locationDrift());
        const QString shot = QStringLiteral("Screenshot from 2026-12-06 10-00-00.png");
        const QString cast = QStringLiteral("Screencast From 2026-12-06 10-00-00.webm");
        writeFile(shots + QLatin1Char('/') + shot);
        writeFile(casts + QLatin1Char('/') + cast);
        settleShellPull();
        QCOMPARE(namesIn(inbox()), QStringList({cast, shot}));
        QCOMPARE(recordOf(shot)->source, FileSource::Screenshot);
        QCOMPARE(recordOf(cast)->source, FileSource::Screenshot);
        QCOMPARE(namesIn(shots).size(), 1); // what was there before stays
        QCOMPARE(namesIn(casts).size(), 1);

        // Off: new ones stay where GNOME Shell put them, while a download
        // written after them, with the same wait, is taken.
        model->screenshotRedirect().restore();
        QVERIFY(QDir().mkpath(world->folders().downloads()));
        model->downloads().setWatching(true);
        writeFile(shots + QStringLiteral("/Screenshot from 2026-12-06 11-00-00.png"));
        writeFile(casts + QStringLiteral("/Screencast From 2026-12-06 11-00-00.webm"));
        writeFile(world->folders().downloads() + QStringLiteral("/report.pdf"));
        settleShellPull();
        QVERIFY(recordOf(QStringLiteral("report.pdf")));
        world->timers.advance(1h);
        QCOMPARE(namesIn(shots).size(), 2);
        QCOMPARE(namesIn(casts).size(), 2);
    }

    void redirectedToolsNameScreenshotsAnUnreadableOneIsNeverWritten()
    {
        // The primary tool's file cannot be read: it is never written, nor are
        // its names a screenshot's. Flameshot, with a pattern of the user's
        // own, is redirected all the same.
        const QByteArray broken = "screenshot_dir=file:///home/ann\nnot a setting\n";
        ConfigFileScreenshotTool& xfce = addTool(QStringLiteral("xfce"), broken, xfceFile);
        addTool(QStringLiteral("flameshot.ini"), "[General]\nfilenamePattern=capture %d.%m. %H%M\nsavePath=/home/ann/Pictures\n", flameshotFile);
        startModel(&xfce);
        QCOMPARE(readFile(config(QStringLiteral("xfce"))), broken);
        QVERIFY(!model->settings().previousScreenshotLocation);
        QVERIFY(model->screenshotRedirect().locationDrift());

        const QString flameshotShot = QStringLiteral("capture 07.12. 0059.png");
        const QString xfceShot = QStringLiteral("Screenshot_2026-12-07_00-59-00.png");
        writeFile(inbox() + QLatin1Char('/') + flameshotShot);
        writeFile(inbox() + QLatin1Char('/') + xfceShot);
        QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
        QTRY_VERIFY(recordOf(flameshotShot) && recordOf(xfceShot));
        QCOMPARE(recordOf(flameshotShot)->source, FileSource::Screenshot);
        QCOMPARE(recordOf(xfceShot)->source, FileSource::Manual);

        // With the redirect off, the same name is anybody's file.
        model->screenshotRedirect().restore();
        QCOMPARE(readFile(config(QStringLiteral("xfce"))), broken);
        const QString afterwards = QStringLiteral("capture 07.12. 0100.png");
        writeFile(inbox() + QLatin1Char('/') + afterwards);
        QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
        QTRY_VERIFY(recordOf(afterwards));
        QCOMPARE(recordOf(afterwards)->source, FileSource::Manual);
        QCOMPARE(recordOf(flameshotShot)->source, FileSource::Screenshot); // a record keeps what it was
    }

    void toolsNameTheirFiles_data()
    {
        QTest::addColumn<Naming>("naming");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");

        const Naming flameshot = flameshotNaming, xfce = xfceScreenshooterNaming;
        const Naming spectacle23 = [](const IniText& ini) { return spectacleNaming(ini, false); };
        const Naming spectacle24 = [](const IniText& ini) { return spectacleNaming(ini, true); };
        // Names the tool gives, then names it never gives.
        const auto rows = [](const char* what, const Naming& naming, const QByteArray& config, std::initializer_list<const char*> given,
                              std::initializer_list<const char*> notGiven = {}) {
            for (const auto& [names, matches] : {std::pair(given, true), std::pair(notGiven, false)}) {
                for (const char* name : names)
                    QTest::addRow("%s: %s", what, name) << naming << config << QString::fromUtf8(name) << matches;
            }
        };
        // Flameshot, by default and with the names it actually gave under Xvfb.
        rows("Flameshot default", flameshot, QByteArray(), {"2026-12-07_00-59.png", "2026-12-07_00-59_1.png", "2026-12-07_00-59_12.jpg"},
            {"2026-12-07_00-59.txt", "2026-12-07_00-59-00.png", "invoice 2026-12-07_00-59.png", "2026-12-07_00-59_copy.png"});
        rows("Flameshot empty pattern", flameshot, "[General]\nfilenamePattern=\n", {"2026-12-07_00-59.png"});
        // As Flameshot 12 writes its file once the user set a pattern.
        rows("Flameshot custom", flameshot,
            "[General]\ncontrastOpacity=188\nfilenamePattern=shot %T %a:%p %e\nsavePath=/home/ann/Pictures\nsavePathFixed=true\n",
            {"shot 02-11-33 Mon-AM  7.png", "shot 14-11-33 Dienstag- 17.png"},
            {"shot 02:11:33 Mon:AM  7.png", "2026-12-07_00-59.png"});
        rows("Flameshot quoted", flameshot, "[General]\nfilenamePattern=\"%Y, %H\"\n", {"2026, 02.png"});
        rows("Flameshot slash", flameshot, "[General]\nfilenamePattern=%D\n", {"12\u204407\u204426.png"});
        rows("Flameshot unknown field", flameshot, "[General]\nfilenamePattern=x%iy\n", {"x%iy.png"});
        rows("Flameshot locale's date", flameshot, "[General]\nfilenamePattern=%c\n", {"Mon Dec  7 02-12-17 2026.png"});
        rows("Flameshot glibc flags", flameshot, "[General]\nfilenamePattern=%-d.%_m\n", {"7. 1.png"});
        rows("Flameshot emoji", flameshot, "[General]\nfilenamePattern=\xF0\x9F\x93\xB8 %F\n", {"\xF0\x9F\x93\xB8 2026-12-07.png"});
        rows("Flameshot emoji after a percent sign", flameshot, "[General]\nfilenamePattern=x%\xF0\x9F\x93\xB8y\n",
            {"x%\xF0\x9F\x93\xB8y.png"});

        // Spectacle up to 23, as Debian 12 ships it.
        rows("Spectacle 23 default", spectacle23, QByteArray(), {"Screenshot_20261207_005900.png", "Screenshot_20261207_005900-1.png"},
            {"Screenshot_20261207_005900_1.png"});
        // A window's title, or nothing together with its separator for a screen.
        rows("Spectacle 23 title", spectacle23, "[GuiConfig]\ncaptureMode=0\n\n[Save]\nsaveFilenameFormat=%D.%M.%Y-%H%m_%T\n",
            {"07.12.2026-0059_Kate - notes.txt.png", "07.12.2026-0059.png"}, {"07.12.26-0059.png"});
        rows("Spectacle 23 emoji", spectacle23, "[Save]\nsaveFilenameFormat=\xF0\x9F\x93\xB8_%Y\n", {"\xF0\x9F\x93\xB8_2026.png"});
        // Spectacle 24 and later.
        rows("Spectacle 24 default", spectacle24, QByteArray(), {"Screenshot_20261207_005900.png", "Screenshot_20261207_005900-2.webp"},
            {"Screenshot_2026127_005900.png"});
        rows("Spectacle 24 own", spectacle24, "[ImageSave]\nimageFilenameTemplate=shot_<yyyy>-<MMM>-<d>_<title>\n",
            {"shot_2026-Dez.-7_Firefox.png"}, {"shot_2026-12-7_Firefox.png"});

        // The Xfce screenshooter.
        rows("Xfce default", xfce, QByteArray(), {"Screenshot_2026-12-07_00-59-00.png", "Screenshot_2026-12-07_00-59-00-1.png"},
            {"Screenshot_2026-12-07_00-59.png"});
        rows("Xfce own title", xfce, "title=Shot 100%\ntimestamp=true\n", {"Shot 100%_2026-12-07_00-59-00.png"});
        rows("Xfce no time", xfce, "title=Desk\ntimestamp=false\n", {"Desk.png", "Desk-3.png"}, {"Desktop.png"});

        // gnome-screenshot 41, as it named its files under Xvfb.
        const Naming gnome = [](const IniText&) { return GSettingsScreenshotTool(QString()).naming(); };
        rows("GNOME", gnome, QByteArray(),
            {"Screenshot from 2026-12-07 02-12-38.png", "Screenshot from 2026-12-07 02-12-38 - 2.png"},
            {"Screenshot from 2026-12-07.png", "2026-12-07_00-59.png"});
    }

    void toolsNameTheirFiles()
    {
        QFETCH(Naming, naming);
        QFETCH(QByteArray, config);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(read(naming, config).matches(name), matches);
    }

    void namesOfSeveralTools()
    {
        ScreenshotNames names;
        QVERIFY(!names.matches(QStringLiteral("2026-12-07_00-59.png")));
        names.add(ScreenshotNaming()); // a tool whose naming cannot be read adds nothing
        names.add(read(flameshotNaming, "[General]\nfilenamePattern=" + QByteArray("%r").repeated(2000))); // nor one too long to test
        QVERIFY(names.isEmpty());
        names.add(read(flameshotNaming, QByteArray()));
        names.add(read(xfceScreenshooterNaming, QByteArray()));
        QVERIFY(names.matches(QStringLiteral("2026-12-07_00-59.png")));
        QVERIFY(names.matches(QStringLiteral("Screenshot_2026-12-07_00-59-00.png")));
        QVERIFY(!names.matches(QStringLiteral("report.pdf")));
    }
};

QTEST_GUILESS_MAIN(ScreenshotSourceTest)
#include "tst_screenshot_source.moc"
