// A Wayland desktop that says no: captures and recordings through the
// portal backend, against portals of the test's own that refuse, that the
// user cancels, or that are not there at all. Each must end the way the
// user can act on: the permission step, nothing, or a message that names
// what is missing; never a file, a recording or Dropwell's overlay.
#include "capture/RecordingBar.h"
#include "core/DefaultsKeys.h"
#include "platform/wayland/PortalBackend.h"
#include "platform/wayland/PortalScreenCapture.h"
#include "tests/support/Awaited.h"
#include "tests/support/BackendCaptureDesk.h"
#include "tests/wayland/FakePortal.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString allowFirst = QStringLiteral("Allow screen capture, then click capture again.");

enum class Action { Visible, Region, Window, RecordDisplay, RecordWindow, Page };
// What the desktop offers where a capture finds nothing to allow.
enum Desktop { NoPortals, ScreenshotsOnly, NoRemoteDesktop, KeyboardOnly };

} // namespace

Q_DECLARE_METATYPE(Action)

class PortalRefusalsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        bus = std::make_unique<PrivateBus>();
        portal = std::make_unique<FakeDesktop>(bus->connect(QStringLiteral("desktop")));
        screenshot = new FakeScreenshot(portal.get());
        screenCast = new FakeScreenCast(portal.get());
        remoteDesktop = new FakeRemoteDesktop(portal.get(), *screenCast);
        desk = std::make_unique<BackendCaptureDesk>(
            [this](DefaultsStore& defaults) { return std::make_unique<PortalBackend>(bus->connect(QStringLiteral("dropwell")), &defaults); },
            sound);
        attention = std::make_unique<QSignalSpy>(&desk->service, &CaptureService::attentionRequested);
    }

    void cleanup()
    {
        QTRY_VERIFY(idle());
        attention.reset();
        desk.reset();
        portal.reset();
        bus.reset();
    }

    // The Screenshot portal is asked not to show a dialog of its own, so a
    // cancelled answer means the user turned down the desktop's question, as
    // much a refusal as the desktop's own. Casts, for recordings and for a
    // window's picture, ask in the desktop's own dialog, which the user may
    // also just close (answer 1): no permission step. A full page asks in the
    // same dialog for the pointer over the window, cast as its monitor where
    // the desktop casts no single windows; a user who shares the picture but
    // keeps the pointer has refused.
    void theDesktopsAnswer_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<uint>("response");
        QTest::addColumn<bool>("refused"); // else the capture ends as if never asked for
        QTest::addColumn<bool>("monitorsOnly"); // the desktop casts no single windows
        // Both answers become the same refusal before either action sees it.
        QTest::addRow("visible, refused") << Action::Visible << 2u << true << false;
        QTest::addRow("region, cancelled") << Action::Region << 1u << true << false;
        for (const auto& [name, action] : {std::pair("recording", Action::RecordDisplay), std::pair("window capture", Action::Window),
                 std::pair("full page", Action::Page)}) {
            QTest::addRow("%s refused", name) << action << 2u << true << false;
            QTest::addRow("%s cancelled", name) << action << 1u << false << false;
        }
        // A window's recording ends the way the display's does once its cast
        // is asked for; it differs only in asking for a window.
        QTest::addRow("window recording cancelled") << Action::RecordWindow << 1u << false << false;
        QTest::addRow("full page, pointer kept, monitors only") << Action::Page << 0u << true << true;
    }

    void theDesktopsAnswer()
    {
        QFETCH(Action, action);
        QFETCH(uint, response);
        QFETCH(bool, refused);
        QFETCH(bool, monitorsOnly);
        screenshot->response = screenCast->startResponse = response;
        if (response == 0)
            remoteDesktop->devicesGranted = 1; // the keyboard only
        if (monitorsOnly)
            screenCast->sourceTypes = 1;
        QVERIFY(portal->serve());
        QSignalSpy restored(&desk->service, &CaptureService::restoreChromeRequested);
        act(action);
        if (action == Action::Visible || action == Action::Region) {
            QTRY_VERIFY(!screenshot->asked.isEmpty());
            QCOMPARE(screenshot->asked.value(QStringLiteral("interactive")), QVariant(false));
        } else {
            // The desktop's dialog picks: Dropwell's overlay never comes up for it.
            QTRY_VERIFY(!screenCast->selected.isEmpty());
            QVERIFY(!desk->service.overlay());
            // A monitor (1) for the display's recording, else a window (2) where the desktop casts one.
            QCOMPARE(screenCast->selected.value(QStringLiteral("types")).toUInt(), action == Action::RecordDisplay || monitorsOnly ? 1u : 2u);
            QVERIFY(screenshot->asked.isEmpty());
        }
        if (action == Action::Page) {
            QCOMPARE(remoteDesktop->devices.value(QStringLiteral("types")).toUInt(), 2u);
            // Dropwell moves the pointer itself, and the desktop keeps no choice.
            QCOMPARE(screenCast->selected.value(QStringLiteral("cursor_mode")).toUInt(), 1u);
            QVERIFY(!screenCast->selected.contains(QStringLiteral("persist_mode")));
        }
        QTRY_VERIFY(idle());
        QCOMPARE(desk->model->toast(), refused ? std::optional(allowFirst) : std::nullopt);
        QCOMPARE(attention->count(), refused ? 1 : 0);
        QCOMPARE(recoveryStep(), refused ? 1 : 0);
        if (!refused)
            QCOMPARE(restored.count(), 1); // what was hidden for the dialog is back
        QVERIFY(remoteDesktop->steps.isEmpty());
        QVERIFY(!desk->service.recordingBar().isShown());
        QVERIFY(desk->inboxNames().isEmpty());
    }

    // Nothing to allow: the permission steps would send the user after a
    // setting that cannot help. A full page asks for the desktop's pointer
    // when it is captured, and shows no dialog without it.
    void withoutPortalsTheMessageSaysWhatIsMissing_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("desktop");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("advice"); // none: the message is `missing`
        const QString screenshots = QStringLiteral("No screenshot portal answered");
        const QString casts = QStringLiteral("No screen-cast portal is running");
        const QString install = QStringLiteral("install xdg-desktop-portal");
        QTest::addRow("visible") << Action::Visible << int(NoPortals) << screenshots << install;
        QTest::addRow("region") << Action::Region << int(NoPortals) << screenshots << install;
        QTest::addRow("window") << Action::Window << int(NoPortals) << casts << install;
        QTest::addRow("recording") << Action::RecordDisplay << int(NoPortals) << casts << install;
        QTest::addRow("recording where the portal casts nothing") << Action::RecordDisplay << int(ScreenshotsOnly)
                                                                  << QStringLiteral("The desktop's portal offers no screen casting")
                                                                  << QStringLiteral("install the portal backend for your desktop");
        QTest::addRow("full page, no RemoteDesktop portal") << Action::Page << int(NoRemoteDesktop) << PageCapture::cannotScroll() << QString();
        QTest::addRow("full page, a keyboard only") << Action::Page << int(KeyboardOnly) << PageCapture::cannotScroll() << QString();
    }

    void withoutPortalsTheMessageSaysWhatIsMissing()
    {
        QFETCH(Action, action);
        QFETCH(int, desktop);
        QFETCH(QString, missing);
        QFETCH(QString, advice);
        std::unique_ptr<FakeDesktop> screenshots;
        if (desktop == ScreenshotsOnly) {
            screenshots = std::make_unique<FakeDesktop>(bus->connect(QStringLiteral("screenshots")));
            new FakeScreenshot(screenshots.get());
            QVERIFY(screenshots->serve());
        } else if (desktop == NoRemoteDesktop) {
            delete std::exchange(remoteDesktop, nullptr);
        } else if (desktop == KeyboardOnly) {
            remoteDesktop->deviceTypes = 1;
        }
        if (desktop >= NoRemoteDesktop)
            QVERIFY(portal->serve());
        act(action);
        QTRY_VERIFY(idle());
        const QString toast = desk->model->toast().value_or(QStringLiteral("(none)"));
        QVERIFY2(advice.isEmpty() ? toast == missing : toast.startsWith(missing) && toast.contains(advice), qPrintable(toast));
        QCOMPARE(attention->count(), 1);
        QCOMPARE(recoveryStep(), 0);
        QVERIFY(!desk->service.overlay());
        QVERIFY(screenCast->selected.isEmpty());
        QVERIFY(desk->inboxNames().isEmpty());
    }

    void aScreenshotTheDesktopNeverGivesFailsInTime()
    {
        QVERIFY(portal->serve());
        screenshot->answers = false;
        PortalScreenCapture capture(bus->connect(QStringLiteral("impatient")), nullptr, std::chrono::seconds(1));
        const CaptureDisplay display {QStringLiteral("one"), QRect(0, 0, 64, 48), 1.0};
        const StatusOr<QImage> shot = awaited(capture.grabDisplay(display, QRect(), false));
        QCOMPARE(shot.status().code(), ETIMEDOUT);
        QCOMPARE(shot.status().message(), QStringLiteral("The desktop's portal did not answer within 1 seconds."));
    }

private:
    void act(Action action)
    {
        switch (action) {
        case Action::Visible: return desk->service.capture(CaptureKind::Visible);
        case Action::Region: return desk->service.capture(CaptureKind::Region);
        case Action::Window: return desk->service.capture(CaptureKind::Window);
        case Action::Page: return desk->service.capture(CaptureKind::Page);
        case Action::RecordDisplay: return desk->service.record(false, false);
        case Action::RecordWindow: return desk->service.record(true, false);
        }
    }
    // The action is over, whatever its end.
    bool idle() const { return !desk->service.isBusy() && !desk->service.isRecording(); }
    int recoveryStep() const { return desk->world.defaults->intValue(DefaultsKeys::captureRecoveryStep); }

    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<FakeDesktop> portal;
    FakeScreenshot* screenshot = nullptr;
    FakeScreenCast* screenCast = nullptr;
    FakeRemoteDesktop* remoteDesktop = nullptr;
    SilentComputer sound;
    std::unique_ptr<BackendCaptureDesk> desk;
    std::unique_ptr<QSignalSpy> attention;
};

QTEST_MAIN(PortalRefusalsTest)
#include "tst_portal_refusals.moc"
