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

#include <QGuiApplication>
#include <QScreen>
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
    // much a refusal as the desktop's own.
    void aScreenshotNotGrantedTakesThePermissionStep_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<uint>("response");
        // Both answers become the same refusal before either action sees it.
        QTest::addRow("visible, refused") << Action::Visible << 2u;
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
        QVERIFY(desk->inboxNames().isEmpty());

        // Allowed now: the desktop's picture is Dropwell's file, and the steps start over.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        screenshot->size = screen.size();
        screenshot->response = 0;
        desk->model->setToast(std::nullopt);
        desk->service.capture(CaptureKind::Visible);
        QTRY_COMPARE(desk->inboxNames().size(), 1);
        QTRY_VERIFY(idle());
        QCOMPARE(recoveryStep(), 0);
        QVERIFY(!desk->model->toast());
        QCOMPARE(desk->shutter.played, 1);
        const QImage written(desk->world.folders().inbox() + QLatin1Char('/') + desk->inboxNames().front());
        QCOMPARE(written.size(), screen.size());
        QCOMPARE(written.pixel(screen.width() / 2, screen.height() / 2), screenshot->colour.rgb());
        // The desktop's file was for this capture only.
        QCOMPARE(screenshot->files.size(), 1);
        QVERIFY(!QFile::exists(screenshot->files.front()));
    }

    // Casts, for recordings and for a window's picture: the desktop asks the
    // user in its own dialog, where the user may also just close it (answer 1),
    // which takes no permission step. A full page asks in the same dialog for the
    // pointer over the window, cast as its monitor where the desktop casts no
    // single windows; a user who shares the picture but keeps the pointer has
    // refused.
    void theDesktopsAnswerToACast_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<uint>("response");
        QTest::addColumn<uint>("offered"); // source types
        QTest::addColumn<uint>("granted"); // devices
        QTest::addColumn<uint>("sourceType");
        for (const auto& [name, action, type] : {std::tuple("recording", Action::RecordDisplay, 1u),
                 std::tuple("window recording", Action::RecordWindow, 2u), std::tuple("window capture", Action::Window, 2u),
                 std::tuple("full page", Action::Page, 2u)}) {
            QTest::addRow("%s refused", name) << action << 2u << 3u << 2u << type;
            QTest::addRow("%s cancelled", name) << action << 1u << 3u << 2u << type;
        }
        QTest::addRow("full page, pointer kept, windows offered") << Action::Page << 0u << 3u << 1u << 2u;
        QTest::addRow("full page, pointer kept, monitors only") << Action::Page << 0u << 1u << 1u << 1u;
    }

    void theDesktopsAnswerToACast()
    {
        QFETCH(Action, action);
        QFETCH(uint, response);
        QFETCH(uint, offered);
        QFETCH(uint, granted);
        QFETCH(uint, sourceType);
        const bool permissionStep = response != 1;
        screenCast->sourceTypes = offered;
        screenCast->startResponse = response;
        remoteDesktop->startResponse = response;
        remoteDesktop->devicesGranted = granted;
        QVERIFY(portal->serve());
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
        if (action == Action::Page) {
            QCOMPARE(remoteDesktop->devices.value(QStringLiteral("types")).toUInt(), 2u);
            // Dropwell moves the pointer itself, and the desktop keeps no choice.
            QCOMPARE(screenCast->selected.value(QStringLiteral("cursor_mode")).toUInt(), 1u);
            QVERIFY(!screenCast->selected.contains(QStringLiteral("persist_mode")));
        }
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
        QTest::addRow("full page, no portals") << Action::Page << int(NoPortals) << PageCapture::cannotScroll() << QString();
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
