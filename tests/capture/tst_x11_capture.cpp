// Screen capture on a real X server, checked pixel by pixel against windows
// of known colours and patterns shown by this very process. The same tests
// run on one plain screen, on a screen at twice the density
// (QT_SCALE_FACTOR=2) and on two monitors of different sizes.
#include "platform/x11/X11ScreenCapture.h"
#include "tests/capture/PatternWindow.h"
#include "tests/support/Awaited.h"
#include "tests/support/RealCaptureRun.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WindowManager.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

const QColor red(220, 30, 40);
const QColor blue(20, 60, 210);
const QColor magenta(255, 0, 255);

// Where a logical point of a display lies in the display's own pixels.
QPoint devicePixel(const CaptureDisplay& display, QPoint logical)
{
    return (logical - display.geometry.topLeft()) * display.devicePixelRatio;
}

int indexOf(const std::vector<CaptureWindow>& windows, const QWindow& window)
{
    for (size_t i = 0; i < windows.size(); ++i)
        if (windows[i].id == window.winId())
            return int(i);
    return -1;
}

// The window's entry in the window list; id 0 when it is not listed.
CaptureWindow listed(ScreenCapture& capture, const QWindow& window)
{
    const std::vector<CaptureWindow> windows = awaited(capture.content()).value().windows;
    const int index = indexOf(windows, window);
    return index < 0 ? CaptureWindow {} : windows[size_t(index)];
}

// A window the X server paints itself with a pixel whose top byte is zero,
// as depth 24 allows: no client's drawing makes it opaque on the way.
class ServerFilledWindow {
public:
    static constexpr quint32 pixel = 0x00204060;

    // `geometry` in the X server's pixels.
    explicit ServerFilledWindow(const QRect& geometry)
        : connection_(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection())
        , id_(xcb_generate_id(connection_))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const std::array<quint32, 2> values {pixel, 1}; // background, override-redirect
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, id_, screen->root, qint16(geometry.x()), qint16(geometry.y()),
            quint16(geometry.width()), quint16(geometry.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
            XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values.data());
        xcb_map_window(connection_, id_);
        xcb_flush(connection_);
    }
    ~ServerFilledWindow()
    {
        xcb_destroy_window(connection_, id_);
        xcb_flush(connection_);
    }
    ServerFilledWindow(const ServerFilledWindow&) = delete;
    ServerFilledWindow& operator=(const ServerFilledWindow&) = delete;

private:
    xcb_connection_t* connection_;
    xcb_window_t id_;
};

} // namespace

class X11CaptureTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The displays are the screens, however many and however dense.
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Swatches"));
        capture = std::make_unique<X11ScreenCapture>();
        QVERIFY(capture->hasAccess());
        const StatusOr<CaptureContent> content = awaited(capture->content());
        QVERIFY2(content.ok(), qPrintable(content.status().message()));
        const std::vector<CaptureDisplay>& displays = content.value().displays;
        const QList<QScreen*> screens = QGuiApplication::screens();
        QCOMPARE(displays.size(), size_t(screens.size()));
        for (size_t i = 0; i < displays.size(); ++i) {
            QCOMPARE(displays[i].name, screens[int(i)]->name());
            QCOMPARE(displays[i].geometry, screens[int(i)]->geometry());
            QCOMPARE(displays[i].devicePixelRatio, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
        }
        // The runner of the two-monitor session says what it set up.
        if (qEnvironmentVariableIsSet("DROPWELL_TEST_TWO_MONITORS")) {
            QCOMPARE(displays.size(), size_t(2));
            QCOMPARE(displays[0].geometry, QRect(0, 0, 1920, 1080));
            QCOMPARE(displays[1].geometry, QRect(1920, 0, 1280, 1024));
        }
    }

    void cleanup() { swatches.clear(); }

    void displayCrops_data()
    {
        // A crop is placed on each display at a corner (the fraction of its
        // size) plus an offset. Each row takes the whole display first.
        QTest::addColumn<QPointF>("corner");
        QTest::addColumn<QRect>("crop");
        QTest::addRow("inside") << QPointF() << QRect(101, 57, 300, 211);
        QTest::addRow("over the top-left corner") << QPointF() << QRect(-20, -10, 100, 80);
        QTest::addRow("over the bottom-right corner") << QPointF(1, 1) << QRect(-50, -30, 200, 100);
        QTest::addRow("along the right edge") << QPointF(1, 0) << QRect(-1, 0, 1, 5000);
    }

    void displayCrops()
    {
        QFETCH(QPointF, corner);
        QFETCH(QRect, crop);
        const std::vector<CaptureDisplay> displays = awaited(capture->content()).value().displays;
        for (const CaptureDisplay& display : displays) {
            const QRect screen = display.geometry;
            QVERIFY(show(std::nullopt, screen));
            const QRect wholeScreen(QPoint(), screen.size() * display.devicePixelRatio);
            const auto showsPattern = [](const QImage& image, QRect area) {
                return difference(image, area.size(), [area](QPoint pixel) { return pattern(area.topLeft() + pixel); });
            };
            QTRY_COMPARE(showsPattern(awaited(capture->grabDisplay(display, {}, false)).value(), wholeScreen), QString());

            const QRect logical = crop.translated(screen.topLeft() + QPoint(int(corner.x() * screen.width()), int(corner.y() * screen.height())));
            // Rounded outward: every pixel the crop touches is in.
            const QRectF exact(QPointF(logical.topLeft() - screen.topLeft()) * display.devicePixelRatio,
                QSizeF(logical.size()) * display.devicePixelRatio);
            const StatusOr<QImage> image = awaited(capture->grabDisplay(display, logical, false));
            QVERIFY2(image.ok(), qPrintable(image.status().message()));
            QCOMPARE(showsPattern(image.value(), exact.toAlignedRect() & wholeScreen), QString());
            swatches.clear();
        }
    }

    void pointerOnlyWithPointer()
    {
        const CaptureDisplay display = awaited(capture->content()).value().displays.front();
        QVERIFY(show(std::nullopt, display.geometry));
        QPixmap arrow(12, 12);
        arrow.fill(magenta);
        swatches.back()->setCursor(QCursor(arrow, 0, 0));
        const QPoint pointer = display.geometry.topLeft() + QPoint(301, 203);
        QCursor::setPos(QGuiApplication::screens().front(), pointer);
        const QPoint hotSpot = devicePixel(display, pointer);

        QTRY_COMPARE(QColor(awaited(capture->grabDisplay(display, {}, true)).value().pixel(hotSpot)), magenta);
        const QImage with = awaited(capture->grabDisplay(display, {}, true)).value();
        const QImage without = awaited(capture->grabDisplay(display, {}, false)).value();
        // Without the pointer the screen is the pattern everywhere; with it,
        // only the few pixels the arrow covers differ.
        QCOMPARE(difference(without, with.size(), pattern), QString());
        const QRect arrowArea(hotSpot, QSize(12, 12) * 2 * display.devicePixelRatio);
        QCOMPARE(difference(with, with.size(), [&](QPoint pixel) { return arrowArea.contains(pixel) ? with.pixel(pixel) : pattern(pixel); }), QString());
        // A crop that holds the pointer holds it in the same place.
        const QRect around(pointer - QPoint(10, 10), QSize(40, 40));
        QCOMPARE(QColor(awaited(capture->grabDisplay(display, around, true)).value().pixel(QPoint(10, 10) * display.devicePixelRatio)), magenta);
    }

    // A grab on its own keeps the memory the X server wrote into as its
    // picture; the grabs of a burst copy out of a kept segment. Every
    // picture is opaque and stays whole through the grabs after it and after
    // the capture is gone.
    void picturesOwnTheirPixels()
    {
        const CaptureDisplay display = awaited(capture->content()).value().displays.front();
        QVERIFY(show(std::nullopt, display.geometry));
        const QRect filledPixels(20, 30, 64, 48);
        const ServerFilledWindow window(filledPixels.translated(display.geometry.topLeft() * display.devicePixelRatio));
        const QSize size = display.geometry.size() * display.devicePixelRatio;
        const auto expected = [&](QPoint at) { return filledPixels.contains(at) ? ServerFilledWindow::pixel | 0xff000000u : pattern(at); };
        QTRY_COMPARE(difference(awaited(capture->grabDisplay(display, {}, false)).value(), size, expected), QString());

        auto own = std::make_unique<X11ScreenCapture>();
        std::vector<QImage> pictures;
        for (int burst = 0; burst < 2; ++burst) {
            for (int grab = 0; grab < 3; ++grab)
                pictures.push_back(awaited(own->grabDisplay(display, {}, false)).value());
            own->releaseBuffers(); // the burst is over
        }
        own.reset();
        for (const QImage& picture : pictures) {
            QCOMPARE(difference(picture, size, expected), QString());
            // pixel() reads an RGB32 picture as opaque whatever it holds.
            const auto* pixels = reinterpret_cast<const QRgb*>(picture.constBits());
            QVERIFY(std::all_of(pixels, pixels + picture.width() * picture.height(), [](QRgb pixel) { return qAlpha(pixel) == 255; }));
        }
    }

    void coveredWindowCapturedWholeAndChromeMarked()
    {
        // On the last display, so a second monitor's offset is part of it.
        const CaptureDisplay display = awaited(capture->content()).value().displays.back();
        const QPoint origin = display.geometry.topLeft();
        QVERIFY(show(red, QRect(origin + QPoint(100, 100), QSize(300, 200))));
        QVERIFY(show(blue, QRect(origin + QPoint(250, 150), QSize(200, 200))));
        Swatch& covered = *swatches[0];
        covered.setTitle(QStringLiteral("Red — under blue"));
        const QPoint overlap = devicePixel(display, origin + QPoint(300, 200));
        QTRY_COMPARE(QColor(awaited(capture->grabDisplay(display, {}, false)).value().pixel(overlap)), blue);

        QTRY_COMPARE(listed(*capture, covered).title, covered.title());
        const std::vector<CaptureWindow> windows = awaited(capture->content()).value().windows;
        QVERIFY(indexOf(windows, *swatches[1]) >= 0);
        QVERIFY(indexOf(windows, *swatches[1]) < indexOf(windows, covered));
        const CaptureWindow window = windows[size_t(indexOf(windows, covered))];
        QCOMPARE(window.frame, covered.geometry());
        QVERIFY(window.onScreen);
        QVERIFY(!window.isDesktopChrome);
        QCOMPARE(window.application, QStringLiteral("Swatches"));
        QCOMPARE(window.pid, QCoreApplication::applicationPid());

        const StatusOr<QImage> image = awaited(capture->grabWindow(window));
        QVERIFY2(image.ok(), qPrintable(image.status().message()));
        QCOMPARE(difference(image.value(), covered.geometry().size() * display.devicePixelRatio, [](QPoint) { return red.rgb(); }), QString());

        // A window typed as the desktop's own, as a splash screen is, is chrome.
        swatches[1]->setFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        QTRY_VERIFY(listed(*capture, *swatches[1]).isDesktopChrome);
    }

    void refusalsAreStatuses()
    {
        QVERIFY(show(red, QRect(40, 40, 120, 90)));
        const CaptureWindow window = listed(*capture, *swatches.back());
        QVERIFY(window.id);

        swatches.back()->hide();
        // Without a window manager an unmapped window leaves the list altogether.
        QTRY_VERIFY(!listed(*capture, *swatches.back()).id || !listed(*capture, *swatches.back()).onScreen);
        const auto refused = [](const StatusOr<QImage>& image) { return !image.ok() && !image.status().message().isEmpty(); };
        QVERIFY(refused(awaited(capture->grabWindow(window))));
        swatches.back()->destroy();
        QVERIFY(refused(awaited(capture->grabWindow(window))));

        const CaptureDisplay display = awaited(capture->content()).value().displays.front();
        QVERIFY(refused(awaited(capture->grabDisplay({QStringLiteral("nowhere"), QRect(-5000, -5000, 10, 10), 1}, {}, false))));
        QVERIFY(refused(awaited(capture->grabDisplay(display, display.geometry.translated(0, 5000), false))));
    }

    void windowManagerFramesAndStacking()
    {
        WindowManager manager;
        if (!manager.start())
            QSKIP("openbox is not installed (scripts/install-deps test)");

        const QPoint origin = awaited(capture->content()).value().displays.front().geometry.topLeft();
        QVERIFY(show(red, QRect(origin + QPoint(200, 200), QSize(320, 200)), true));
        const Swatch& framed = *swatches.back();
        // Managed: the window sits in a frame with a title bar above it.
        QTRY_VERIFY(listed(*capture, framed).frame.top() < framed.geometry().top());
        QTRY_COMPARE(listed(*capture, framed).frame, framed.frameGeometry());
        QVERIFY(show(blue, QRect(framed.geometry().center(), QSize(300, 300)), true));
        const std::vector<CaptureWindow> windows = awaited(capture->content()).value().windows;
        QVERIFY(indexOf(windows, *swatches.back()) < indexOf(windows, framed));

        const CaptureWindow window = listed(*capture, framed);
        const StatusOr<QImage> image = awaited(capture->grabWindow(window));
        QVERIFY2(image.ok(), qPrintable(image.status().message()));
        const qreal ratio = framed.devicePixelRatio();
        // The frame's logical rectangle is rounded outward from its pixels.
        const QSize rounding = window.frame.size() * ratio - image.value().size();
        QVERIFY(rounding.width() >= 0 && rounding.height() >= 0 && rounding.width() < 2 * ratio && rounding.height() < 2 * ratio);
        const QRect client = QRect((framed.geometry().topLeft() - window.frame.topLeft()) * ratio, framed.geometry().size() * ratio)
                                 .adjusted(rounding.width(), rounding.height(), -rounding.width(), -rounding.height());
        QCOMPARE(difference(image.value().copy(client), client.size(), [](QPoint) { return red.rgb(); }), QString());
        QVERIFY(QColor(image.value().pixel(client.center().x(), client.top() / 2)) != red); // the title bar

        swatches.front()->showMinimized();
        QTRY_COMPARE(listed(*capture, framed).onScreen, false);
        QVERIFY(listed(*capture, framed).id == framed.winId());
    }

    void dropwellsOwnWindowsAreNeverInTheShot()
    {
        const CaptureDisplay display = awaited(capture->content()).value().displays.front();
        QVERIFY(show(blue, display.geometry)); // what the user works on
        // A window of Dropwell's own in front of it, as the settings would be.
        QWidget settings;
        settings.setWindowFlag(Qt::FramelessWindowHint);
        settings.setPalette(QPalette(red, red));
        settings.setAutoFillBackground(true);
        settings.setGeometry(QRect(display.geometry.center() - QPoint(200, 150), QSize(400, 300)));
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        QTRY_COMPARE(QColor(awaited(capture->grabDisplay(display, {}, false)).value().pixel(devicePixel(display, display.geometry.center()))), red);

        RealCaptureRun run;
        run.makeService();
        QCursor::setPos(display.geometry.center());
        run.service->capture(CaptureKind::Visible);
        QTRY_VERIFY(!run.service->isBusy());
        const QImage shot = run.writtenPng();
        QVERIFY(!shot.isNull());
        QCOMPARE(QColor(shot.pixel(devicePixel(display, display.geometry.center() + QPoint(40, 40)))), blue);
        QVERIFY(settings.isVisible()); // back once the picture is taken
    }

private:
    // Shows one more swatch (the pattern without a colour); whether it came on screen.
    [[nodiscard]] bool show(std::optional<QColor> colour, const QRect& geometry, bool framed = false)
    {
        Swatch& swatch = *swatches.emplace_back(std::make_unique<Swatch>(colour));
        swatch.setFlag(Qt::FramelessWindowHint, !framed);
        swatch.setGeometry(geometry);
        swatch.show();
        return QTest::qWaitForWindowExposed(&swatch);
    }

    std::unique_ptr<X11ScreenCapture> capture;
    std::vector<std::unique_ptr<Swatch>> swatches;
};

QTEST_MAIN(X11CaptureTest)
#include "tst_x11_capture.moc"
