// Captures from the click to the file in the Inbox, over a desktop the test
// arranges: names, crops, window picking, cancels, failures, the way
// through a desktop that refuses screen capture, and a desktop whose own
// dialog picks what to capture and that lets no program scroll another's.
#include "app/ModelCaptureHost.h"
#include "capture/CaptureOverlay.h"
#include "capture/CapturePreviewPanel.h"
#include "capture/CaptureService.h"
#include "capture/Pause.h"
#include "capture/PermissionPanel.h"
#include "capture/RecordingBar.h"
#include "core/DefaultsKeys.h"
#include "platform/DesktopPicker.h"
#include "platform/DesktopWindows.h"
#include "tests/recording/GatedFrames.h"
#include "tests/support/FakeScreenCapture.h"
#include "tests/support/QuietCaptureServices.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>

namespace {

// The desktop's dialog: it answers what the test says, on a later turn of
// the event loop, as a desktop service over the bus would.
class AnsweringPicker final : public DesktopPicker {
public:
    QCoro::Task<StatusOr<DesktopPick>> pick(Target target) override
    {
        asked.push_back(target);
        QCoro::Task<> later = pause(std::chrono::milliseconds(0));
        co_await later;
        co_return answer;
    }

    StatusOr<DesktopPick> answer = Status::failure(ECANCELED, QStringLiteral("the dialog was closed"));
    std::vector<Target> asked;
};

enum class Trouble { NoDisplay, FolderBlocked, NoAccessibility, PickerGivesNothing, NothingMayScroll };

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

Q_DECLARE_METATYPE(Trouble)

class CaptureServiceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        model = world->makeModel();
        host = std::make_unique<ModelCaptureHost>(*model);
        screen = FakeScreenCapture();
        picker = AnsweringPicker();
        shutter.played = 0;
        relauncher.relaunched = 0;
        pages.enabled = Status::success();
        frames = std::make_unique<GatedFrameSources>();
        recorder = std::make_unique<ScreenRecorder>(ScreenRecorder::Ports {frames.get(), &sound});
        service = serviceWaiting(std::chrono::milliseconds(10), std::chrono::milliseconds(0));
        QCursor::setPos(screen.displays.front().geometry.center());
    }

    void cleanup()
    {
        QTRY_VERIFY(!service->isBusy());
        frames->open(); // a grabbing thread still waiting must be let go
        service.reset();
        recorder.reset();
        host.reset();
        model.reset();
        world.reset();
    }

    void visibleWritesTheScreenUnderThePointer()
    {
        service->capture(CaptureKind::Visible);
        QTRY_COMPARE(inboxNames().size(), 1);
        QTRY_VERIFY(!service->isBusy());
        QVERIFY(QRegularExpression(QStringLiteral("^Screenshot \\d{4}-\\d\\d-\\d\\d at \\d\\d\\.\\d\\d\\.\\d\\d\\.png$"))
                    .match(inboxNames().front()).hasMatch());
        const QImage image = written();
        QCOMPARE(image.size(), screen.displays.front().geometry.size());
        QCOMPARE(image.pixel(300, 200), FakeScreenCapture::pixelAt(300, 200));
        QVERIFY(screen.lastWithPointer);
        QCOMPARE(shutter.played, 1);
        QVERIFY(service->previewPanel().isShown());
        QVERIFY(model->isStarted()); // whatever came first, the Inbox is watched now
        // A second capture within the same second keeps the first.
        service->capture(CaptureKind::Visible);
        QTRY_COMPARE(inboxNames().size(), 2);
    }

    // Escape, or a click without a drag, cancels; a drag is the crop.
    void regionCancelsOrCropsExactlyThePickedPixels()
    {
        QSignalSpy restored(service.get(), &CaptureService::restoreChromeRequested);
        for (const bool escape : {true, false}) {
            QVERIFY(picking(CaptureKind::Region));
            if (escape)
                QTest::keyClick(overlayView(), Qt::Key_Escape);
            else
                QTest::mouseClick(overlayView(), Qt::LeftButton, {}, QPoint(300, 300));
            QTRY_VERIFY(!service->isBusy());
            QVERIFY(!service->overlay());
        }
        QCOMPARE(restored.count(), 2);
        QVERIFY(inboxNames().isEmpty());
        QVERIFY(!model->toast());

        QVERIFY(picking(CaptureKind::Region));
        QTest::mousePress(overlayView(), Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mouseMove(overlayView(), QPoint(250, 180));
        QTest::mouseRelease(overlayView(), Qt::LeftButton, {}, QPoint(420, 290));
        QTRY_COMPARE(inboxNames().size(), 1);
        const QImage image = written();
        const QPoint origin = screen.displays.front().geometry.topLeft() + QPoint(100, 50);
        QCOMPARE(image.size(), QSize(320, 240));
        QCOMPARE(image.pixel(0, 0), FakeScreenCapture::pixelAt(origin.x(), origin.y()));
        QCOMPARE(image.pixel(319, 239), FakeScreenCapture::pixelAt(origin.x() + 319, origin.y() + 239));
        QVERIFY(!screen.lastWithPointer);
    }

    void windowPicking()
    {
        const QRect desk = screen.displays.front().geometry;
        const auto window = [&](quint32 id, QRect frame, QString title = QStringLiteral("Report"), qint64 pid = 4242, bool chrome = false) {
            return CaptureWindow {id, frame.translated(desk.topLeft()), QStringLiteral("Editor"), std::move(title),
                QStringLiteral("editor"), pid, true, chrome};
        };
        screen.windows = {
            window(1, QRect(300, 120, 100, 50)), // too small: not a target, in front of 2
            window(3, QRect(500, 300, 300, 200), QStringLiteral("   ")), // a target, in front of 2
            window(4, QRect(0, 0, 1920, 30), QString(), 4242, true), // a panel
            window(5, QRect(50, 600, 300, 200), QStringLiteral("Dropwell"), QCoreApplication::applicationPid()),
            window(2, QRect(200, 100, 400, 300)),
        };
        const std::vector<CaptureWindow> targets {screen.windows[1], screen.windows[4]};
        QCOMPARE(OverlayView::windowAt(targets, desk.topLeft() + QPoint(550, 350))->id, 3u); // the covering target wins
        QCOMPARE(OverlayView::titleOf(targets.front()), QStringLiteral("Editor")); // a blank title
        QCOMPARE(OverlayView::titleOf(targets.back()), QStringLiteral("Editor — Report"));
        // The panel and Dropwell's own window are never picked: a click there cancels.
        QVERIFY(picking(CaptureKind::Window));
        QTest::mouseClick(overlayView(), Qt::LeftButton, {}, QPoint(100, 650));
        QTRY_VERIFY(!service->isBusy());
        QVERIFY(inboxNames().isEmpty());

        // Through a window too small to be a target, the one behind it is picked.
        QVERIFY(picking(CaptureKind::Window));
        QTest::mouseMove(overlayView(), QPoint(320, 130));
        QTest::mouseClick(overlayView(), Qt::LeftButton, {}, QPoint(320, 130));
        QTRY_COMPARE(inboxNames().size(), 1);
        QCOMPARE(written().size(), QSize(400, 300));
        QCOMPARE(written().pixel(10, 10), FakeScreenCapture::windowColor(2));
    }

    // Whatever goes wrong ends in one message that asks for attention, with
    // nothing written and no shutter.
    void failuresBecomeTheMessage_data()
    {
        QTest::addColumn<Trouble>("trouble");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message"); // empty: the blocked folder's path
        QTest::addRow("no display") << Trouble::NoDisplay << int(CaptureKind::Visible) << QStringLiteral("Couldn't find a display to capture.");
        QTest::addRow("a file where the folder should be") << Trouble::FolderBlocked << int(CaptureKind::Visible) << QString();
        // The page is read from its pixels: without the accessibility tree the
        // run goes on, to find no page under the pointer.
        QTest::addRow("full page without the accessibility tree or a page") << Trouble::NoAccessibility << int(CaptureKind::Page)
                                                                            << QStringLiteral("Click the page you want, then try Full page again.");
        QTest::addRow("the desktop's picker gives nothing") << Trouble::PickerGivesNothing << int(CaptureKind::Region)
                                                            << QStringLiteral("The desktop's picker gave Dropwell nothing to capture.");
        QTest::addRow("full page where nothing may scroll") << Trouble::NothingMayScroll << int(CaptureKind::Page)
            << QStringLiteral("This desktop does not let Dropwell scroll other windows, so a full page cannot be captured here.");
    }

    void failuresBecomeTheMessage()
    {
        QFETCH(Trouble, trouble);
        QFETCH(int, kind);
        QFETCH(QString, message);
        screen.windows.clear(); // nothing but Dropwell and the desktop
        if (trouble == Trouble::NoDisplay)
            screen.displays.clear();
        if (trouble == Trouble::FolderBlocked) {
            QDir(world->folders().root()).removeRecursively();
            writeFile(world->folders().root(), "a file where Dropwell's folder should be");
            message = world->folders().root();
        }
        if (trouble == Trouble::NoAccessibility) {
            pages.enabled = Status::failure(ENOTSUP, QStringLiteral("Turn on assistive technologies."));
            QTest::ignoreMessage(QtWarningMsg, "Full page without the accessibility tree: Turn on assistive technologies.");
        }
        if (trouble == Trouble::PickerGivesNothing || trouble == Trouble::NothingMayScroll) {
            onADesktopThatPicks();
            picker.answer = DesktopPick {};
        }
        QSignalSpy hidden(service.get(), &CaptureService::hideChromeRequested);
        QSignalSpy attention(service.get(), &CaptureService::attentionRequested);
        QVERIFY(captured(CaptureKind(kind)));
        QVERIFY2(model->toast() && model->toast()->contains(message), qPrintable(model->toast().value_or(QString())));
        QCOMPARE(attention.count(), 1);
        QCOMPARE(hidden.count(), trouble == Trouble::NothingMayScroll ? 0 : 1); // nothing left the screen for nothing
        QCOMPARE(picker.asked.size(), size_t(trouble == Trouble::PickerGivesNothing));
        QVERIFY(inboxNames().isEmpty());
        QCOMPARE(shutter.played, 0);
    }

    void refusalsStepThroughThePermissionFlow_data()
    {
        QTest::addColumn<bool>("picturesOnly");
        QTest::addRow("the screens refused") << false;
        QTest::addRow("only their pictures refused") << true;
    }
    void refusalsStepThroughThePermissionFlow()
    {
        QFETCH(bool, picturesOnly);
        (picturesOnly ? screen.refusingPictures : screen.refusing) = true;
        const auto step = [this] { return world->defaults->intValue(DefaultsKeys::captureRecoveryStep); };

        QVERIFY(captured(CaptureKind::Visible));
        QCOMPARE(model->toast(), QStringLiteral("Allow screen capture, then click capture again."));
        QCOMPARE(screen.accessRequests, picturesOnly ? 0 : 1); // a desktop that lists the screens has nothing to ask
        QCOMPARE(step(), 1);

        model->setToast(std::nullopt);
        QVERIFY(captured(CaptureKind::Visible));
        QCOMPARE(relauncher.relaunched, 1);
        QVERIFY(world->defaults->boolValue(DefaultsKeys::captureAutoRelaunched));
        QVERIFY(world->defaults->boolValue(DefaultsKeys::showCaptureReadyToast));
        QVERIFY(!model->toast()); // a refusal has no message of its own

        QVERIFY(captured(CaptureKind::Visible));
        QVERIFY(service->blockedUntilRelaunch());
        QVERIFY(service->permissionPanel() && service->permissionPanel()->isVisible());
        QCOMPARE(step(), 3);
        QCOMPARE(relauncher.relaunched, 1);
        QVERIFY(inboxNames().isEmpty());

        screen.refusing = screen.refusingPictures = false; // the user allowed it
        service->capture(CaptureKind::Visible);
        QTRY_COMPARE(inboxNames().size(), 1);
        QVERIFY(!service->blockedUntilRelaunch());
        QVERIFY(!service->permissionPanel()->isVisible());
        QCOMPARE(step(), 0);
        QVERIFY(!world->defaults->boolValue(DefaultsKeys::captureAutoRelaunched));
    }

    // Asked for a microphone where there is none, the recording takes the
    // system's sound and says so, as switching the microphone on does.
    void recordingRunsFromBarToFile()
    {
        QVERIFY(service->setMicrophoneEnabled(true));
        QCOMPARE(model->toast(), QStringLiteral("No microphone found."));
        model->setToast(std::nullopt);
        QSignalSpy changed(service.get(), &CaptureService::recordingChanged);
        QSignalSpy stopped(recorder.get(), &ScreenRecorder::stopped);
        service->record(false, true);
        QVERIFY(service->isBusy());
        QVERIFY(service->recordingBar().isShown());
        frames->open();
        QTRY_VERIFY(service->isRecording());
        service->record(true, false); // nothing while one runs
        QVERIFY(!service->isBusy());
        QTRY_VERIFY(frames->grabbed() >= 3);
        Q_EMIT globalEscape.pressed(); // anywhere: the bar's stop
        QTRY_VERIFY(!service->isRecording());
        QCOMPARE(stopped.count(), 1);
        QVERIFY(stopped.front().at(1).toBool());
        QVERIFY(!service->recordingBar().isShown());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(inboxNames().size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^Screen Recording \\d{4}-\\d\\d-\\d\\d at \\d\\d\\.\\d\\d\\.\\d\\d\\.mp4$"))
                    .match(inboxNames().front()).hasMatch());
        QCOMPARE(model->toast(), QStringLiteral("No microphone found."));
    }

    void stopWhileTheBarComesUpLeavesNothing()
    {
        QSignalSpy changed(service.get(), &CaptureService::recordingChanged);
        service->record(false, false);
        service->stopRecording();
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(changed.count(), 0);
        QVERIFY(!service->recordingBar().isShown());
        QVERIFY(QDir(world->folders().inbox()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void ownWindowsStayOutOfEveryShot()
    {
        QWidget settings;
        settings.setWindowTitle(QStringLiteral("Settings"));
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        frames->open();
        service->record(false, false);
        QTRY_VERIFY(service->isRecording());
        QWidget* bar = service->recordingBar().window();
        QVERIFY(bar->isVisible());

        QStringList onScreenAtGrab;
        screen.grabbing = [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible())
                    onScreenAtGrab << window->windowTitle() + QLatin1Char('|') + QLatin1String(window->metaObject()->className());
            }
        };
        QVERIFY(captured(CaptureKind::Visible));
        QVERIFY2(onScreenAtGrab.isEmpty(), qPrintable(onScreenAtGrab.join(QStringLiteral(", "))));
        QVERIFY(bar->isVisible());
        QVERIFY(service->isRecording());

        // A recording that ends while the user picks takes its bar with it for good.
        QVERIFY(picking(CaptureKind::Region));
        QVERIFY(!settings.isVisible());
        service->stopRecording();
        QTest::keyClick(overlayView(), Qt::Key_Escape);
        QTRY_VERIFY(!service->isBusy());
        QTRY_VERIFY(!service->isRecording());
        QVERIFY(settings.isVisible());
        QVERIFY(!bar->isVisible());
    }

    void nothingToHideMeansNoWait()
    {
        // Print Screen with nothing of Dropwell's on screen goes straight to the grab.
        service = serviceWaiting(std::chrono::hours(1), std::chrono::hours(1));
        service->capture(CaptureKind::Visible);
        QTRY_COMPARE(inboxNames().size(), 1);
    }

    void desktopPickerHandsOverThePicture_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("namesAWindow"); // rather than giving a picture: Dropwell grabs it
        QTest::addRow("region") << int(CaptureKind::Region) << int(DesktopPicker::Target::Region) << false;
        QTest::addRow("visible") << int(CaptureKind::Visible) << int(DesktopPicker::Target::Display) << false;
        QTest::addRow("window named") << int(CaptureKind::Window) << int(DesktopPicker::Target::Window) << true;
    }
    void desktopPickerHandsOverThePicture()
    {
        QFETCH(int, kind);
        QFETCH(int, target);
        QFETCH(bool, namesAWindow);
        onADesktopThatPicks();
        const CaptureWindow window {9, QRect(40, 40, 300, 200), QStringLiteral("Editor"), QStringLiteral("Report"),
            QStringLiteral("editor"), 4242};
        const QImage picture = namesAWindow ? filled(window.frame.size(), FakeScreenCapture::windowColor(window.id))
                                            : filled(QSize(64, 48), qRgb(12, 200, 34));
        picker.answer = namesAWindow ? DesktopPick {std::nullopt, window, QImage()} : DesktopPick {std::nullopt, std::nullopt, picture};
        world->defaults->setInt(DefaultsKeys::captureRecoveryStep, 1); // a grant starts the permission steps over
        service->capture(CaptureKind(kind));
        QVERIFY(!service->overlay()); // Dropwell's overlay never comes up
        QTRY_COMPARE(inboxNames().size(), 1);
        QTRY_VERIFY(!service->isBusy()); // the file is in place a moment before the preview comes
        QCOMPARE(picker.asked.size(), size_t(1));
        QCOMPARE(int(picker.asked.front()), target);
        QCOMPARE(written().convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(world->defaults->intValue(DefaultsKeys::captureRecoveryStep), 0);
    }

    // A picture alone gives a recording nothing to record.
    void recordingWhereTheDesktopNamesNoWindow()
    {
        onADesktopThatPicks();
        picker.answer = DesktopPick {std::nullopt, std::nullopt, filled(QSize(8, 8), qRgb(1, 2, 3))};
        service->record(true, false);
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(model->toast(), QStringLiteral("The desktop named no window to record."));
        QVERIFY(!service->isRecording());
        QVERIFY(inboxNames().isEmpty());
    }

private:
    // What the user sees: a capture's hidden partial file does not count.
    QStringList inboxNames() const { return QDir(world->folders().inbox()).entryList(QDir::Files, QDir::Name); }
    OverlayView* overlayView() const; // out of line, where GCC sees no null dereference in the checks that use it
    // Whether the capture ended, or its overlay came up for the user to pick.
    [[nodiscard]] bool captured(CaptureKind kind)
    {
        service->capture(kind);
        return QTest::qWaitFor([this] { return !service->isBusy(); });
    }
    [[nodiscard]] bool picking(CaptureKind kind)
    {
        service->capture(kind);
        return QTest::qWaitFor([this] { return overlayView() && overlayView()->isVisible(); });
    }
    QImage written() const
    {
        const QStringList names = inboxNames();
        return names.isEmpty() ? QImage() : QImage(world->folders().inbox() + QLatin1Char('/') + names.back());
    }
    // A service over this test's desktop that waits `settle` for Dropwell's
    // windows to leave the screen, `overlaySettle` before the overlay; with
    // no page ports where nothing `scrolls` another's window.
    std::unique_ptr<CaptureService> serviceWaiting(std::chrono::milliseconds settle, std::chrono::milliseconds overlaySettle, bool scrolls = true)
    {
        return std::make_unique<CaptureService>(*host,
            CaptureService::Ports {&screen, &shutter, &relauncher, world->defaults.get(), recorder.get(), &globalEscape,
                scrolls ? &pages : nullptr, scrolls ? &pages : nullptr, &desktop},
            CaptureService::Timing {settle, overlaySettle, 300, std::chrono::milliseconds(40), PageScroller::defaultTiming});
    }
    // A desktop unlike X11: its own dialog picks, and nothing may scroll.
    void onADesktopThatPicks()
    {
        screen.picker = &picker;
        service = serviceWaiting(std::chrono::milliseconds(10), std::chrono::milliseconds(0), false);
    }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<ModelCaptureHost> host;
    FakeScreenCapture screen;
    AnsweringPicker picker;
    Silence shutter;
    CountingRelauncher relauncher;
    std::unique_ptr<GatedFrameSources> frames;
    SilentComputer sound;
    std::unique_ptr<ScreenRecorder> recorder;
    HeldEscape globalEscape;
    PlainDesktopWindows desktop {false};
    NoPages pages;
    std::unique_ptr<CaptureService> service;
};

OverlayView* CaptureServiceTest::overlayView() const
{
    return service->overlay() && !service->overlay()->views().empty() ? service->overlay()->views().front().get() : nullptr;
}

QTEST_MAIN(CaptureServiceTest)
#include "tst_capture_service.moc"
