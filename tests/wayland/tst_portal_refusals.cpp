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

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString allowFirst = QStringLiteral("Allow screen capture, then click capture again.");

enum class Action { Visible, Region, Window, RecordDisplay, RecordWindow, Page };

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
    // much a refusal as the desktop's own.
    void aScreenshotNotGrantedTakesThePermissionStep_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<uint>("response");
        QTest::addRow("visible, refused") << Action::Visible << 2u;
        QTest::addRow("visible, cancelled") << Action::Visible << 1u;
        QTest::addRow("region, refused") << Action::Region << 2u;
        QTest::addRow("region, cancelled") << Action::Region << 1u;
    }

    void aScreenshotNotGrantedTakesThePermissionStep()
    {
        QFETCH(Action, action);
        QFETCH(uint, response);
        QVERIFY(portal->serve());
        screenshot->response = response;
        act(action);
        QTRY_VERIFY(!screenshot->asked.isEmpty() && idle());
        QCOMPARE(screenshot->asked.value(QStringLiteral("interactive")), QVariant(false));
        QCOMPARE(desk->model->toast(), allowFirst);
        QCOMPARE(attention->count(), 1);
        QCOMPARE(recoveryStep(), 1);
        QVERIFY(!desk->service.overlay());
        QVERIFY(inboxNames().isEmpty());

        // Allowed now: the desktop's picture is Dropwell's file, and the steps start over.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        screenshot->size = screen.size();
        screenshot->response = 0;
        desk->model->setToast(std::nullopt);
        desk->service.capture(CaptureKind::Visible);
        QTRY_COMPARE(inboxNames().size(), 1);
        QTRY_VERIFY(idle());
        QCOMPARE(recoveryStep(), 0);
        QVERIFY(!desk->model->toast());
        QCOMPARE(desk->shutter.played, 1);
        const QImage written(desk->world.folders().inbox() + QLatin1Char('/') + inboxNames().front());
        QCOMPARE(written.size(), screen.size());
        QCOMPARE(written.pixel(screen.width() / 2, screen.height() / 2), screenshot->colour.rgb());
        // The desktop's file was for this capture only.
        QCOMPARE(screenshot->files.size(), 1);
        QVERIFY(!QFile::exists(screenshot->files.front()));
    }

    // Casts, for recordings and for a window's picture: the desktop asks the
    // user in its own dialog, where the user may also just close it.
    void theDesktopsAnswerToACast_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<uint>("response");
        QTest::addColumn<uint>("sourceType");
        QTest::addColumn<bool>("permissionStep");
        QTest::addRow("recording refused") << Action::RecordDisplay << 2u << 1u << true;
        QTest::addRow("recording cancelled") << Action::RecordDisplay << 1u << 1u << false;
        QTest::addRow("window recording refused") << Action::RecordWindow << 2u << 2u << true;
        QTest::addRow("window recording cancelled") << Action::RecordWindow << 1u << 2u << false;
        QTest::addRow("window capture refused") << Action::Window << 2u << 2u << true;
        QTest::addRow("window capture cancelled") << Action::Window << 1u << 2u << false;
        QTest::addRow("full page refused") << Action::Page << 2u << 2u << true;
        QTest::addRow("full page cancelled") << Action::Page << 1u << 2u << false;
    }

    void theDesktopsAnswerToACast()
    {
        QFETCH(Action, action);
        QFETCH(uint, response);
        QFETCH(uint, sourceType);
        QFETCH(bool, permissionStep);
        QVERIFY(portal->serve());
        screenCast->startResponse = response;
        remoteDesktop->startResponse = response;
        QSignalSpy restored(&desk->service, &CaptureService::restoreChromeRequested);
        act(action);
        // The desktop's dialog picks: Dropwell's overlay never comes up for it.
        QTRY_VERIFY(!screenCast->selected.isEmpty());
        QVERIFY(!desk->service.overlay());
        QCOMPARE(screenCast->selected.value(QStringLiteral("types")).toUInt(), sourceType);
        QTRY_VERIFY(idle());
        QVERIFY(!desk->service.overlay());
        QVERIFY(screenshot->asked.isEmpty());
        QCOMPARE(desk->model->toast(), permissionStep ? std::optional(allowFirst) : std::nullopt);
        QCOMPARE(attention->count(), permissionStep ? 1 : 0);
        QCOMPARE(recoveryStep(), permissionStep ? 1 : 0);
        if (!permissionStep)
            QCOMPARE(restored.count(), 1); // what was hidden for the dialog is back
        QVERIFY(!desk->service.recordingBar().isShown());
        QVERIFY(inboxNames().isEmpty());
    }

    void withoutPortalsTheMessageSaysWhatIsMissing_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("screenshotsOnly"); // else no portals at all
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("advice");
        const QString screenshots = QStringLiteral("No screenshot portal answered");
        const QString casts = QStringLiteral("No screen-cast portal is running");
        const QString install = QStringLiteral("install xdg-desktop-portal");
        QTest::addRow("visible") << Action::Visible << false << screenshots << install;
        QTest::addRow("region") << Action::Region << false << screenshots << install;
        QTest::addRow("window") << Action::Window << false << casts << install;
        QTest::addRow("recording") << Action::RecordDisplay << false << casts << install;
        QTest::addRow("window recording") << Action::RecordWindow << false << casts << install;
        QTest::addRow("recording where the portal casts nothing") << Action::RecordDisplay << true
                                                                  << QStringLiteral("The desktop's portal offers no screen casting")
                                                                  << QStringLiteral("install the portal backend for your desktop");
    }

    // Nothing to allow: the permission steps would send the user after a
    // setting that cannot help.
    void withoutPortalsTheMessageSaysWhatIsMissing()
    {
        QFETCH(Action, action);
        QFETCH(bool, screenshotsOnly);
        QFETCH(QString, missing);
        QFETCH(QString, advice);
        std::unique_ptr<FakeDesktop> screenshots;
        if (screenshotsOnly) {
            screenshots = std::make_unique<FakeDesktop>(bus->connect(QStringLiteral("screenshots")));
            new FakeScreenshot(screenshots.get());
            QVERIFY(screenshots->serve());
        }
        act(action);
        QTRY_VERIFY(idle());
        QVERIFY(desk->model->toast());
        QVERIFY2(desk->model->toast()->startsWith(missing) && desk->model->toast()->contains(advice), qPrintable(*desk->model->toast()));
        QCOMPARE(attention->count(), 1);
        QCOMPARE(recoveryStep(), 0);
        QVERIFY(!desk->service.overlay());
        QVERIFY(inboxNames().isEmpty());
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

    // One dialog of the desktop's for the window and the pointer over it: the
    // window is cast as its monitor where the desktop casts no single windows.
    // A user who shares the picture but keeps the pointer has refused.
    void aFullPageAsksForAWindowAndThePointer_data()
    {
        QTest::addColumn<uint>("offered");
        QTest::addColumn<uint>("asked");
        QTest::addRow("windows offered") << 3u << 2u;
        QTest::addRow("monitors only") << 1u << 1u;
    }

    void aFullPageAsksForAWindowAndThePointer()
    {
        QFETCH(uint, offered);
        QFETCH(uint, asked);
        screenCast->sourceTypes = offered;
        remoteDesktop->devicesGranted = 1;
        QVERIFY(portal->serve());
        act(Action::Page);
        QTRY_VERIFY(!remoteDesktop->session.isEmpty() && idle());
        QCOMPARE(remoteDesktop->devices.value(QStringLiteral("types")).toUInt(), 2u);
        QCOMPARE(screenCast->selected.value(QStringLiteral("types")).toUInt(), asked);
        // Dropwell moves the pointer itself, and the desktop keeps no choice.
        QCOMPARE(screenCast->selected.value(QStringLiteral("cursor_mode")).toUInt(), 1u);
        QVERIFY(!screenCast->selected.contains(QStringLiteral("persist_mode")));
        QCOMPARE(desk->model->toast(), allowFirst);
        QCOMPARE(recoveryStep(), 1);
        QVERIFY(remoteDesktop->steps.isEmpty());
        QVERIFY(inboxNames().isEmpty());
    }

    void withoutTheDesktopsPointerAFullPageCannotScroll_data()
    {
        QTest::addColumn<bool>("portals");
        QTest::addColumn<bool>("remote");
        QTest::addColumn<uint>("devices");
        QTest::addRow("no portals") << false << false << 0u;
        QTest::addRow("no RemoteDesktop portal") << true << false << 0u;
        QTest::addRow("a keyboard only") << true << true << 1u;
    }

    // Asked when the page is captured; nothing to allow, no dialog shown.
    void withoutTheDesktopsPointerAFullPageCannotScroll()
    {
        QFETCH(bool, portals);
        QFETCH(bool, remote);
        QFETCH(uint, devices);
        if (!remote) {
            delete remoteDesktop;
            remoteDesktop = nullptr;
        } else {
            remoteDesktop->deviceTypes = devices;
        }
        if (portals)
            QVERIFY(portal->serve());
        act(Action::Page);
        QTRY_VERIFY(idle());
        QCOMPARE(desk->model->toast(), PageCapture::cannotScroll());
        QCOMPARE(attention->count(), 1);
        QCOMPARE(recoveryStep(), 0);
        QVERIFY(screenCast->selected.isEmpty());
        QVERIFY(inboxNames().isEmpty());
    }

private:
    void act(Action action)
    {
        switch (action) {
        case Action::Visible:
            return desk->service.capture(CaptureKind::Visible);
        case Action::Region:
            return desk->service.capture(CaptureKind::Region);
        case Action::Window:
            return desk->service.capture(CaptureKind::Window);
        case Action::RecordDisplay:
            return desk->service.record(false, false);
        case Action::RecordWindow:
            return desk->service.record(true, false);
        case Action::Page:
            return desk->service.capture(CaptureKind::Page);
        }
    }
    // The action is over, whatever its end.
    bool idle() const { return !desk->service.isBusy() && !desk->service.isRecording(); }
    int recoveryStep() const { return desk->world.defaults->intValue(DefaultsKeys::captureRecoveryStep); }
    QStringList inboxNames() const { return desk->inboxNames(); }

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
