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
    void initTestCase()
    {
        // GSettings in a file of the test's own, never in the desktop's dconf.
        qputenv("GSETTINGS_BACKEND", "keyfile");
        world = std::make_unique<TestWorld>();
    }

    void toolsSaveIntoTheInboxUntilRestored()
    {
        // Each installed tool, as Print Screen starts it.
        QList<QStringList> commands {{QStringLiteral("flameshot"), QStringLiteral("full")}, {QStringLiteral("gnome-screenshot")}};
        commands.removeIf([](const QStringList& command) { return QStandardPaths::findExecutable(command.front()).isEmpty(); });
        if (commands.isEmpty())
            QSKIP("neither flameshot nor gnome-screenshot is installed");
        const auto takeScreenshots = [&] {
            for (const QStringList& command : commands) {
                QProcess tool;
                tool.setProcessChannelMode(QProcess::ForwardedErrorChannel); // what it says goes into the test's log
                tool.start(command.front(), command.mid(1));
                // One that never ends is killed with the QProcess.
                QVERIFY2(tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0,
                    qPrintable(command.front()));
            }
        };
        const int expected = int(commands.size());

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
        QVERIFY(!model.screenshotRedirect().locationDrift());

        takeScreenshots();
        QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
        QTRY_COMPARE(model.inboxItems().size(), expected);
        for (const TrackedFile& file : model.inboxItems()) {
            QVERIFY2(file.name().endsWith(QStringLiteral(".png")) && file.size > 0, qPrintable(file.path));
            // Flameshot's own naming ("2026-12-07_00-59.png") says nothing of a screenshot.
            QVERIFY2(file.source == FileSource::Screenshot, qPrintable(file.name()));
        }

        model.screenshotRedirect().restore();
        QCOMPARE(readFile(flameshotIni), userIni);
        takeScreenshots();
        QTRY_COMPARE_WITH_TIMEOUT(namesIn(pictures).size(), expected, 5000);
        QCOMPARE(namesIn(world->folders().inbox()).size(), expected);
    }

private:
    // GLib keeps the first configuration folder it sees: one world for all.
    std::unique_ptr<TestWorld> world;
};

QTEST_GUILESS_MAIN(RealScreenshotToolsTest)
#include "tst_real_screenshot_tools.moc"
