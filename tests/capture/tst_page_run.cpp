// The full-page run itself, against a made-up program whose window answers
// at once: how far a wheel click goes is learnt, a step that leaves no
// overlap is taken back and made smaller, and the page comes out whole,
// pixel for pixel, whatever the program does with the wheel.
#include "model/AppModel.h"
#include "app/ModelCaptureHost.h"
#include "capture/CaptureService.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/DesktopWindows.h"
#include "platform/PageAccessibility.h"
#include "platform/PageInput.h"
#include "tests/support/FakeScreenCapture.h"
#include "tests/support/QuietCaptureServices.h"
#include "tests/support/TestSupport.h"

#include <QCursor>
#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

constexpr QRect frame(100, 80, 480, 420);
constexpr int barRows = 60;
constexpr int pageRows = 2400;

// A page of rows unlike each other.
QImage makePage()
{
    QImage page(frame.width(), pageRows, QImage::Format_RGB32);
    QRandomGenerator random(31);
    for (int y = 0; y < pageRows; ++y) {
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            row[x] = qRgb(random.bounded(256), y % 256, x % 256);
    }
    return page;
}

// A program's window: a bar on top, its page below, scrolled by the wheel
// as far as `moved` says for so many clicks.
class ScrollingWindow final : public ScreenCapture, public PageAccessibility, public PageInput {
public:
    explicit ScrollingWindow(std::function<int(int clicks)> moved) : moved_(std::move(moved)) {}

    QCoro::Task<StatusOr<CaptureContent>> content() override
    {
        CaptureWindow window {7, frame, QStringLiteral("Reader"), QStringLiteral("A page"), QStringLiteral("reader"), 4242};
        co_return CaptureContent {screens.displays, {window}};
    }
    bool hasAccess() override { return true; }
    QCoro::Task<> requestAccess() override { co_return; }
    bool openAccessSettings() override { return false; }
    QCoro::Task<StatusOr<QImage>> grabDisplay(CaptureDisplay, QRect crop, bool) override
    {
        QImage shot(crop.size(), QImage::Format_RGB32);
        shot.fill(qRgb(210, 210, 210));
        const int viewportRows = frame.height() - barRows;
        for (int y = 0; y < viewportRows; ++y)
            std::memcpy(shot.scanLine(barRows + y), page.constScanLine(offset + y), std::size_t(frame.width()) * 4);
        co_return shot;
    }
    QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow window) override { co_return screens.windowImage(window); }

    Status ensureEnabled() override { return Status::success(); }
    void raise(const CaptureWindow&) override {}
    void focus(const CaptureWindow&) override {}
    bool scrollToTop(const CaptureWindow&) override { return false; }
    std::optional<QRect> webAreaFrame(const CaptureWindow&) override { return std::nullopt; }

    QPoint pointer() override { return pointer_; }
    void warpPointer(QPoint to) override { pointer_ = to; }
    bool hold() override { return true; }
    void release() override {}
    void wheel(QPoint, int clicks) override
    {
        turns.push_back(clicks);
        const int rows = clicks < 0 ? moved_(-clicks) : -moved_(clicks);
        offset = std::clamp(offset + rows, 0, pageRows - (frame.height() - barRows));
    }
    void activate(const CaptureWindow&) override {}

    FakeScreenCapture screens;
    const QImage page = makePage();
    int offset = 1234; // where the user left it
    std::vector<int> turns;

private:
    std::function<int(int)> moved_;
    QPoint pointer_;
};

} // namespace

class PageRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageComesOutWhole_data()
    {
        QTest::addColumn<std::function<int(int)>>("moved");
        QTest::addColumn<bool>("stepsBack");
        QTest::addRow("53 rows a click") << std::function<int(int)>([](int clicks) { return 53 * clicks; }) << false;
        QTest::addRow("a whole screen a click")
            << std::function<int(int)>([](int clicks) { return 300 * clicks; }) << false;
        // Some programs speed the wheel up: one click goes 40 rows, several go
        // three times as far each.
        QTest::addRow("a wheel that speeds up")
            << std::function<int(int)>([](int clicks) { return clicks > 2 ? 120 * clicks : 40 * clicks; }) << true;
    }
    void pageComesOutWhole()
    {
        QFETCH(std::function<int(int)>, moved);
        QFETCH(bool, stepsBack);
        ScrollingWindow window(moved);
        Silence shutter;
        NoRelaunch relauncher;
        HeldEscape escape;
        PlainDesktopWindows desktop {false};
        ScreenRecorder recorder {ScreenRecorder::Ports {}};
        TestWorld world;
        const std::unique_ptr<AppModel> model = world.makeModel();
        CaptureService::Timing timing = CaptureService::defaultTiming;
        // The window has moved as soon as the wheel has turned.
        timing.pageScroll.movesWithin = std::chrono::milliseconds(300);
        ModelCaptureHost host(*model);
        CaptureService service(host,
            CaptureService::Ports {&window, &shutter, &relauncher, world.defaults.get(), &recorder, &escape, &window, &window, &desktop},
            timing);
        QCursor::setPos(frame.center());

        service.capture(CaptureKind::Page);
        QTRY_VERIFY_WITH_TIMEOUT(!service.isBusy(), 30000);
        QCOMPARE(model->toast(), std::nullopt);
        const QStringList names = QDir(world.folders().inbox()).entryList({QStringLiteral("*.png")}, QDir::Files);
        QCOMPARE(names.size(), 1);
        const QImage stitched(world.folders().inbox() + QLatin1Char('/') + names.front());
        QCOMPARE(stitched.convertToFormat(QImage::Format_RGB32), window.page);
        const bool wentBack = std::adjacent_find(window.turns.begin() + 1, window.turns.end(),
                                  [](int a, int b) { return a < 0 && b > 0; })
            != window.turns.end();
        QCOMPARE(wentBack, stepsBack);
    }
};

QTEST_MAIN(PageRunTest)
#include "tst_page_run.moc"
