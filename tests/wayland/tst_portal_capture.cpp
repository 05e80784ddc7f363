// Captures and recordings in a real Wayland session: sway, with the
// Screenshot and ScreenCast portals of the wlr backend and PipeWire. What
// Dropwell writes must be what the compositor shows, pixel for pixel, which
// grim reads from the compositor directly.
#include "capture/CaptureOverlay.h"
#include "capture/OverlayView.h"
#include "platform/ScreenCapture.h"
#include "platform/linux/PulseSoundSources.h"
#include "platform/wayland/PortalFrameSources.h"
#include "tests/capture/PatternWindow.h"
#include "tests/recording/RecordedFile.h"
#include "tests/support/Awaited.h"
#include "tests/support/BackendCaptureDesk.h"
#include "tests/wayland/Compositor.h"

#include <QGuiApplication>
#include <QTest>

namespace {

// The pattern's device pixels under the logical `area`, at `ratio` device
// pixels to the logical one.
QString firstDifference(const QImage& image, const QRect& area, qreal ratio)
{
    const QPoint origin = area.topLeft() * ratio;
    return difference(image, area.size() * ratio, [origin](QPoint pixel) { return pattern(origin + pixel); });
}

} // namespace

class PortalCaptureTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        desktop = openDesktopBackend();
        pattern.showFullScreen();
        QVERIFY(QTest::qWaitForWindowExposed(&pattern));
        const StatusOr<CaptureContent> content = awaited(desktop->screenCapture().content());
        QVERIFY(content.ok());
        QCOMPARE(content.value().displays.size(), size_t(1));
        display = content.value().displays.front();
        QCOMPARE(display.name, QStringLiteral("HEADLESS-1"));
        // 1920 x 1080 device pixels, at whatever scale the session gave the output.
        QCOMPARE(display.geometry.size() * display.devicePixelRatio, QSize(1920, 1080));
        qInfo("The output: %d x %d logical pixels at %g device pixels each", display.geometry.width(), display.geometry.height(),
            display.devicePixelRatio);
        // Full screen covers the bar; until then the compositor shows something else.
        QTRY_COMPARE_WITH_TIMEOUT(firstDifference(compositorPicture(display.name), display.geometry, display.devicePixelRatio), QString(), 10000);
    }

    void init()
    {
        // The desktop's permissions go into this test's own defaults.
        desk = std::make_unique<BackendCaptureDesk>([](DefaultsStore& defaults) { return openDesktopBackend(&defaults); }, sound);
    }

    void cleanup()
    {
        QTRY_VERIFY(!desk->service.isBusy());
        desk.reset();
    }

    void cropsAndAllDisplaysAreWhatTheCompositorShows()
    {
        // The display whole is the visible capture's to check.
        ScreenCapture& screen = desktop->screenCapture();
        const QPoint last = display.geometry.bottomRight();
        for (const QRect crop : {QRect(101, 57, 333, 211), QRect(0, 0, 1, 1), QRect(last, QSize(1, 1)), QRect(last - QPoint(99, 59), QSize(400, 400))}) {
            const StatusOr<QImage> part = awaited(screen.grabDisplay(display, crop, false));
            QVERIFY2(part.ok(), qPrintable(part.status().message()));
            QCOMPARE(firstDifference(part.value(), crop.intersected(display.geometry), display.devicePixelRatio), QString());
        }
        const StatusOr<std::vector<QImage>> all = awaited(screen.grabDisplays({display}));
        QVERIFY(all.ok());
        QCOMPARE(all.value().size(), size_t(1));
        QCOMPARE(firstDifference(all.value().front(), display.geometry, display.devicePixelRatio), QString());
    }

    void visibleCaptureWritesTheOutput()
    {
        desk->service.capture(CaptureKind::Visible);
        QTRY_COMPARE_WITH_TIMEOUT(inboxNames().size(), 1, 10000);
        QTRY_VERIFY(!desk->service.isBusy());
        QCOMPARE(firstDifference(written(), display.geometry, display.devicePixelRatio), QString());
        QCOMPARE(desk->shutter.played, 1);
        // The portal's own file is gone: only Dropwell's copy is left.
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/out.png")));
    }

    void regionIsPickedOverTheFrozenOutput()
    {
        desk->service.capture(CaptureKind::Region);
        QTRY_VERIFY_WITH_TIMEOUT(desk->service.overlay() && !desk->service.overlay()->views().empty(), 10000);
        OverlayView* view = desk->service.overlay()->views().front().get();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::mouseMove(view, QPoint(250, 180));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(420, 290));
        QTRY_COMPARE_WITH_TIMEOUT(inboxNames().size(), 1, 10000);
        QCOMPARE(firstDifference(written(), QRect(QPoint(100, 50), QPoint(419, 289)), display.devicePixelRatio), QString());
    }

    // A recording of the output, cast by the portal; the first asks the desktop
    // (which the wlr portal grants by its configuration) and keeps its token,
    // the second hands it back.
    void recordingsAreCastAndAskOnce()
    {
        QString firstToken;
        for (int round = 0; round < 2; ++round) {
            desk->service.record(false, false);
            QTRY_VERIFY_WITH_TIMEOUT(desk->service.isRecording(), 10000);
            QTest::qWait(3000); // the length of the recording
            desk->service.stopRecording();
            QTRY_VERIFY_WITH_TIMEOUT(!desk->service.isRecording() && inboxNames().size() == round + 1, 20000);
            RecordedFile file;
            QCOMPARE(RecordedFile::read(desk->world.folders().inbox() + QLatin1Char('/') + inboxNames().back(), file), QString());
            QCOMPARE(QSize(file.width, file.height), display.geometry.size() * display.devicePixelRatio);
            QVERIFY2(file.durationSeconds > 2.5 && file.durationSeconds < 4.5, qPrintable(QString::number(file.durationSeconds)));
            // The still output sends a picture or two; the recording repeats them.
            // (A starved machine drops some to keep up: the count is not a rate.)
            QVERIFY2(file.pictures.size() >= 30, qPrintable(QString::number(file.pictures.size())));
            const std::optional<QString> token = desk->world.defaults->string(PortalFrameSources::restoreTokenKey);
            QVERIFY(token && !token->isEmpty());
            if (round == 0)
                firstToken = *token;
            else
                QCOMPARE(*token, firstToken); // the wlr portal gives the same one back for the same output
        }
    }

private:
    QStringList inboxNames() const { return desk->inboxNames(); }
    QImage written() const
    {
        return QImage(desk->world.folders().inbox() + QLatin1Char('/') + inboxNames().back()).convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<DesktopBackend> desktop;
    Swatch pattern;
    CaptureDisplay display;
    PulseSoundSources sound;
    std::unique_ptr<BackendCaptureDesk> desk;
};

QTEST_MAIN(PortalCaptureTest)
#include "tst_portal_capture.moc"
