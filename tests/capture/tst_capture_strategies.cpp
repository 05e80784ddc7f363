// Captures on a desktop unlike X11: one whose own picker chooses what to
// capture and answers later, and one that lets no program scroll another's
// window.
#include "app/ModelCaptureHost.h"
#include "capture/CapturePreviewPanel.h"
#include "capture/CaptureService.h"
#include "capture/recording/ScreenRecorder.h"
#include "core/DefaultsKeys.h"
#include "platform/DesktopPicker.h"
#include "platform/DesktopWindows.h"
#include "tests/support/FakeScreenCapture.h"
#include "tests/support/QuietCaptureServices.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <qcoro/qcorotimer.h>

#include <cerrno>

namespace {

// The desktop's dialog: it answers what the test says, on a later turn of
// the event loop, as a desktop service over the bus would.
class AnsweringPicker final : public DesktopPicker {
public:
    QCoro::Task<StatusOr<DesktopPick>> pick(Target target) override
    {
        asked.push_back(target);
        QTimer later;
        later.setSingleShot(true);
        later.start(0);
        co_await later;
        co_return answer;
    }

    StatusOr<DesktopPick> answer = Status::failure(ECANCELED, QStringLiteral("the dialog was closed"));
    std::vector<Target> asked;
};

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class CaptureStrategiesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        model = world->makeModel();
        host = std::make_unique<ModelCaptureHost>(*model);
        screen = FakeScreenCapture();
        picker = AnsweringPicker();
        screen.picker = &picker;
        recorder = std::make_unique<ScreenRecorder>(ScreenRecorder::Ports {});
        // No accessibility and no page input: a desktop that lets nobody scroll.
        service = std::make_unique<CaptureService>(*host,
            CaptureService::Ports {&screen, &shutter, &relauncher, world->defaults.get(), recorder.get(), &escape, nullptr, nullptr, &desktop},
            CaptureService::Timing {std::chrono::milliseconds(10), std::chrono::milliseconds(0), 300,
                std::chrono::milliseconds(10), PageScroller::defaultTiming});
    }

    void cleanup()
    {
        QTRY_VERIFY(!service->isBusy());
        service.reset();
        recorder.reset();
        host.reset();
        model.reset();
        world.reset();
    }

    void desktopPickerHandsOverThePicture_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("namesAWindow"); // rather than giving a picture: Dropwell grabs it
        QTest::addRow("region") << int(CaptureKind::Region) << int(DesktopPicker::Target::Region) << false;
        QTest::addRow("window") << int(CaptureKind::Window) << int(DesktopPicker::Target::Window) << false;
        QTest::addRow("visible") << int(CaptureKind::Visible) << int(DesktopPicker::Target::Display) << false;
        QTest::addRow("window named") << int(CaptureKind::Window) << int(DesktopPicker::Target::Window) << true;
    }
    void desktopPickerHandsOverThePicture()
    {
        QFETCH(int, kind);
        QFETCH(int, target);
        QFETCH(bool, namesAWindow);
        const CaptureWindow window {9, QRect(40, 40, 300, 200), QStringLiteral("Editor"), QStringLiteral("Report"),
            QStringLiteral("editor"), 4242};
        const QImage picture = namesAWindow ? filled(window.frame.size(), FakeScreenCapture::windowColor(window.id))
                                            : filled(QSize(64, 48), qRgb(12, 200, 34));
        picker.answer = namesAWindow ? DesktopPick {std::nullopt, window, QImage()} : DesktopPick {std::nullopt, std::nullopt, picture};
        QSignalSpy hidden(service.get(), &CaptureService::hideChromeRequested);
        service->capture(CaptureKind(kind));
        QVERIFY(!service->overlay()); // Dropwell's overlay never comes up
        QTRY_COMPARE(inboxNames().size(), 1);
        QTRY_VERIFY(!service->isBusy()); // the file is in place a moment before the preview comes
        QCOMPARE(picker.asked.size(), size_t(1));
        QCOMPARE(int(picker.asked.front()), target);
        QCOMPARE(written().convertToFormat(QImage::Format_RGB32), picture);
        QCOMPARE(hidden.count(), 1);
        QVERIFY(service->previewPanel().isShown());
    }

    void desktopPickerCancelsAndRefuses()
    {
        QSignalSpy restored(service.get(), &CaptureService::restoreChromeRequested);
        service->capture(CaptureKind::Region); // the dialog is closed
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(restored.count(), 1);
        QVERIFY(!model->toast());

        // A dialog that answers nothing to capture is a failure, not a blank file.
        picker.answer = DesktopPick {};
        service->capture(CaptureKind::Region);
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(model->toast(), QStringLiteral("The desktop's picker gave Dropwell nothing to capture."));
        // A picture alone gives a recording nothing to record.
        picker.answer = DesktopPick {std::nullopt, std::nullopt, filled(QSize(8, 8), qRgb(1, 2, 3))};
        service->record(true, false);
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(model->toast(), QStringLiteral("The desktop named no window to record."));
        QVERIFY(!service->isRecording());
        QVERIFY(inboxNames().isEmpty());

        // A refusal takes the first step of the permission flow, then a success
        // starts it again.
        model->setToast(std::nullopt);
        picker.answer = Status::failure(EACCES, QStringLiteral("refused"));
        service->capture(CaptureKind::Visible);
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(model->toast(), QStringLiteral("Allow screen capture, then click capture again."));
        QCOMPARE(world->defaults->intValue(DefaultsKeys::captureRecoveryStep), 1);
        picker.answer = DesktopPick {std::nullopt, std::nullopt, filled(QSize(8, 8), qRgb(1, 2, 3))};
        service->capture(CaptureKind::Visible);
        QTRY_COMPARE(inboxNames().size(), 1);
        QCOMPARE(world->defaults->intValue(DefaultsKeys::captureRecoveryStep), 0);
    }

    void fullPageWithoutPageInputSaysWhy()
    {
        QSignalSpy hidden(service.get(), &CaptureService::hideChromeRequested);
        QSignalSpy attention(service.get(), &CaptureService::attentionRequested);
        service->capture(CaptureKind::Page);
        QTRY_VERIFY(!service->isBusy());
        QCOMPARE(model->toast(),
            QStringLiteral("This desktop does not let Dropwell scroll other windows, so a full page cannot be captured here."));
        QCOMPARE(attention.count(), 1);
        QCOMPARE(hidden.count(), 0); // nothing of Dropwell's left the screen for nothing
        QVERIFY(picker.asked.empty());
        QVERIFY(inboxNames().isEmpty());
    }

private:
    QStringList inboxNames() const { return QDir(world->folders().inbox()).entryList(QDir::Files, QDir::Name); }
    QImage written() const { return QImage(world->folders().inbox() + QLatin1Char('/') + inboxNames().back()); }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<ModelCaptureHost> host;
    FakeScreenCapture screen;
    AnsweringPicker picker;
    Silence shutter;
    NoRelaunch relauncher;
    HeldEscape escape;
    PlainDesktopWindows desktop {false};
    std::unique_ptr<ScreenRecorder> recorder;
    std::unique_ptr<CaptureService> service;
};

QTEST_MAIN(CaptureStrategiesTest)
#include "tst_capture_strategies.moc"
