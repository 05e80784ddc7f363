// The redirect against the real screenshot tools Debian ships, on a private X
// server: with it on, their screenshots land in the Inbox and are indexed as
// screenshots, whatever the tool calls them; restored, the tools save where
// they did before.
#include "platform/linux/SessionScreenshotTools.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class RealScreenshotToolsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void toolsSaveIntoTheInboxUntilRestored();

private:
    static bool run(const QString& program, const QStringList& arguments);
    // GLib keeps the first configuration folder it sees: one world for all.
    std::unique_ptr<TestWorld> world;
};

void RealScreenshotToolsTest::initTestCase()
{
    // GSettings in a file of the test's own, never in the desktop's dconf.
    qputenv("GSETTINGS_BACKEND", "keyfile");
    world = std::make_unique<TestWorld>();
}

bool RealScreenshotToolsTest::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        qWarning() << program << "did not finish";
        return false;
    }
    if (process.exitCode() != 0)
        qWarning() << program << process.readAllStandardError();
    return process.exitCode() == 0;
}

void RealScreenshotToolsTest::toolsSaveIntoTheInboxUntilRestored()
{
    const bool flameshot = !QStandardPaths::findExecutable(QStringLiteral("flameshot")).isEmpty();
    const bool gnomeScreenshot = !QStandardPaths::findExecutable(QStringLiteral("gnome-screenshot")).isEmpty();
    if (!flameshot && !gnomeScreenshot)
        QSKIP("neither flameshot nor gnome-screenshot is installed");

    const QString pictures = world->path(QStringLiteral("Pictures"));
    QDir().mkpath(pictures);
    // A user who saves with Print Screen, without a dialog.
    const QString flameshotIni = world->path(QStringLiteral("config/flameshot/flameshot.ini"));
    const QByteArray userIni = "[General]\n; set by hand\nsavePathFixed=true\nsavePath=" + QFile::encodeName(pictures) + "\n";
    writeFile(flameshotIni, userIni);

    SessionScreenshotTools session = SessionScreenshotTools::find(
        {QString(), world->path(QStringLiteral("config")), pictures, world->home(), world->path(QStringLiteral("Videos"))});
    std::vector<ScreenshotTool*> tools;
    for (const auto& tool : session.installed)
        tools.push_back(tool.get());
    ModelServices services = world->services();
    services.screenshots = ScreenshotSource(tools, session.primary, std::nullopt);
    AppModel model(services);
    model.start();
    QVERIFY(!model.locationDrift());

    int expected = 0;
    if (flameshot) {
        QVERIFY(run(QStringLiteral("flameshot"), {QStringLiteral("full")}));
        ++expected;
    }
    if (gnomeScreenshot) {
        QVERIFY(run(QStringLiteral("gnome-screenshot"), {}));
        ++expected;
    }
    QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
    QTRY_COMPARE(model.inboxItems().size(), expected);
    for (const TrackedFile& file : model.inboxItems()) {
        QVERIFY2(file.name().endsWith(QStringLiteral(".png")) && file.size > 0, qPrintable(file.path));
        // Flameshot's own naming ("2026-12-07_00-59.png") says nothing of a screenshot.
        QVERIFY2(file.source == FileSource::Screenshot, qPrintable(file.name()));
        QCOMPARE(file.expiresAt, file.landedAt.addSecs(48 * 3600));
    }

    model.restoreScreenshotLocation();
    if (flameshot) {
        QCOMPARE(readFile(flameshotIni), userIni);
        QVERIFY(run(QStringLiteral("flameshot"), {QStringLiteral("full")}));
    }
    if (gnomeScreenshot)
        QVERIFY(run(QStringLiteral("gnome-screenshot"), {}));
    QTRY_COMPARE_WITH_TIMEOUT(namesIn(pictures).size(), expected, 5000);
    QCOMPARE(namesIn(world->folders().inbox()).size(), expected);
}

QTEST_GUILESS_MAIN(RealScreenshotToolsTest)
#include "tst_real_screenshot_tools.moc"
