// The full-page run itself, against a made-up program whose window answers
// at once: how far a wheel click goes is learnt, a step that leaves no
// overlap is taken back and made smaller, and the page comes out whole,
// pixel for pixel, whatever the program does with the wheel; read off the
// screen with the desktop's own pointer, or from the cast of the window a
// desktop granted with the pointer over it.
#include "model/AppModel.h"
#include "app/ModelCaptureHost.h"
#include "capture/CaptureService.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/DesktopWindows.h"
#include "platform/PageAccessibility.h"
#include "platform/PageCast.h"
#include "platform/PageInput.h"
#include "tests/support/FakeScreenCapture.h"
#include "tests/support/QuietCaptureServices.h"
#include "tests/support/TestSupport.h"

#include <QCursor>
#include <QDir>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <functional>
#include <utility>

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

// Which turn of the wheel a busy program shows only with the next one.
enum class Late { Never, FirstClickDown, FirstTurnUp };

// A program's window: a bar on top, its page below, scrolled by the wheel
// as far as `moved` says for so many clicks. A busy one stops three
// quarters of the way for `stopsFor` grabs after each turn, shows one turn
// only with the next (`late`), or answers each turn only `answersAfter` grabs
// later, while the first of them shows the desktop's pointer where the
// wheel turned. Where `bannerFrom` is set, the first turn down to that row
// shows a banner across the page until the wheel turns again.
class ScrollingWindow final : public ScreenCapture, public PageAccessibility, public PageInput {
public:
    ScrollingWindow(std::function<int(int clicks)> moved, int stopsFor, Late late, int answersAfter)
        : moved_(std::move(moved)), stopsFor_(stopsFor), lateTurn_(late), answersAfter_(answersAfter)
    {
    }

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
        if (unanswered_ > 0 && --unanswered_ == 0)
            answer();
        QImage shot(crop.size(), QImage::Format_RGB32);
        shot.fill(qRgb(210, 210, 210));
        int shown = offset;
        if (stoppedFor_ > 0) {
            --stoppedFor_;
            shown = offsetBefore_ + (offset - offsetBefore_) * 3 / 4;
        }
        const int viewportRows = frame.height() - barRows;
        for (int y = 0; y < viewportRows; ++y)
            std::memcpy(shot.scanLine(barRows + y), page.constScanLine(shown + y), std::size_t(frame.width()) * 4);
        if (banner_) {
            QPainter banner(&shot);
            banner.fillRect(QRect(0, barRows + 100, shot.width(), 100), qRgb(250, 200, 40));
        }
        if (std::exchange(pointerShown_, false)) {
            QPainter pointer(&shot);
            pointer.fillRect(QRect(shot.rect().center(), QSize(12, 20)), Qt::black);
        }
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
    void wheel(QPoint at, int clicks) override
    {
        turns.push_back(clicks);
        wheeledAt.push_back(at);
        banner_ = false;
        const int rows = clicks < 0 ? moved_(-clicks) : -moved_(clicks);
        if (lateTurn_ == (clicks < 0 ? Late::FirstClickDown : Late::FirstTurnUp)) {
            lateTurn_ = Late::Never;
            late_ = rows;
            return;
        }
        pending_ = rows;
        unanswered_ = answersAfter_;
        pointerShown_ = answersAfter_ > 0;
        if (unanswered_ == 0)
            answer();
    }
    void activate(const CaptureWindow&) override {}

    FakeScreenCapture screens;
    const QImage page = makePage();
    int offset = 1234; // where the user left it
    std::vector<int> turns;
    std::vector<QPoint> wheeledAt;
    int bannerFrom = -1;

private:
    void answer()
    {
        offsetBefore_ = offset;
        stoppedFor_ = stopsFor_;
        offset = std::clamp(offset + pending_ + std::exchange(late_, 0), 0, pageRows - (frame.height() - barRows));
        banner_ = bannerFrom >= 0 && offset >= bannerFrom && !std::exchange(bannerShown_, true);
    }

    std::function<int(int)> moved_;
    const int stopsFor_;
    Late lateTurn_;
    const int answersAfter_;
    int late_ = 0;
    int pending_ = 0;
    int unanswered_ = 0;
    bool pointerShown_ = false;
    bool banner_ = false;
    bool bannerShown_ = false;
    int stoppedFor_ = 0;
    int offsetBefore_ = 0;
    QPoint pointer_;
};

// The same window as a desktop grants it through its own dialog: the
// window's own pictures, the wheel over them in their own pixels.
class GrantedWindow final : public PageCasts, public PageCast {
public:
    explicit GrantedWindow(ScrollingWindow& window) : window_(window) {}

    QCoro::Task<StatusOr<std::unique_ptr<PageCast>>> open() override
    {
        ++opened;
        co_return std::unique_ptr<PageCast>(new Borrowed(*this));
    }
    QCoro::Task<StatusOr<QImage>> picture() override
    {
        QCoro::Task<StatusOr<QImage>> grabbing = window_.grabDisplay({}, QRect(QPoint(), frame.size()), false);
        co_return co_await grabbing;
    }
    PageInput& input() override { return window_; }

    int opened = 0;

private:
    // The run owns what it opened; the test keeps the window.
    class Borrowed final : public PageCast {
    public:
        explicit Borrowed(PageCast& cast) : cast_(cast) {}
        QCoro::Task<StatusOr<QImage>> picture() override { return cast_.picture(); }
        PageInput& input() override { return cast_.input(); }

    private:
        PageCast& cast_;
    };

    ScrollingWindow& window_;
};

enum class Path { Screen, Cast };

} // namespace

Q_DECLARE_METATYPE(Path)
Q_DECLARE_METATYPE(Late)

class PageRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageComesOutWhole_data()
    {
        QTest::addColumn<Path>("path");
        QTest::addColumn<std::function<int(int)>>("moved");
        QTest::addColumn<bool>("stepsBack");
        QTest::addColumn<int>("stopsFor");
        QTest::addColumn<Late>("late");
        QTest::addColumn<int>("answersAfter");
        QTest::addColumn<int>("bannerFrom");
        const std::function<int(int)> evenly = [](int clicks) { return 53 * clicks; };
        // Some programs speed the wheel up: one click goes 40 rows, several
        // go three times as far each.
        const std::function<int(int)> speedsUp = [](int clicks) { return clicks > 2 ? 120 * clicks : 40 * clicks; };
        for (const auto& [path, name] : {std::pair(Path::Screen, "screen"), std::pair(Path::Cast, "cast")}) {
            const Late never = Late::Never;
            QTest::addRow("%s, 53 rows a click", name) << path << evenly << false << 0 << never << 0 << -1;
            QTest::addRow("%s, a whole screen a click", name)
                << path << std::function<int(int)>([](int clicks) { return 300 * clicks; }) << false << 0 << never << 0 << -1;
            QTest::addRow("%s, a wheel that speeds up", name) << path << speedsUp << true << 0 << never << 0 << -1;
            // Two grabs the same mid-scroll are no proof the page has stopped,
            // nor is a page on its way back that shows some of the last shot.
            QTest::addRow("%s, a busy program stops mid-scroll", name) << path << evenly << false << 3 << never << 0 << -1;
            QTest::addRow("%s, a busy program whose wheel speeds up", name) << path << speedsUp << true << 3 << never << 0 << -1;
            // A program that answers a turn after the run stopped waiting
            // for it has a page all the same, from its top.
            QTest::addRow("%s, the first click answered late", name)
                << path << evenly << false << 0 << Late::FirstClickDown << 0 << -1;
            QTest::addRow("%s, the first turn up answered late", name)
                << path << evenly << false << 0 << Late::FirstTurnUp << 0 << -1;
            // What defeats one step may be the page at one place: the steps
            // after it grow back to their size.
            QTest::addRow("%s, a banner over the page once", name) << path << evenly << true << 0 << never << 0 << 1000;
            // The desktop's pointer passing over the page is no motion of it,
            // and a program may answer only after that.
            QTest::addRow("%s, the pointer shows before the page moves", name)
                << path << evenly << false << 0 << never << 4 << -1;
        }
    }
    void pageComesOutWhole()
    {
        QFETCH(Path, path);
        QFETCH(std::function<int(int)>, moved);
        QFETCH(bool, stepsBack);
        QFETCH(int, stopsFor);
        QFETCH(Late, late);
        QFETCH(int, answersAfter);
        QFETCH(int, bannerFrom);
        ScrollingWindow window(moved, stopsFor, late, answersAfter);
        window.bannerFrom = bannerFrom;
        GrantedWindow granted(window);
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
        // Far longer than the program's stops last, however slow the grabs.
        timing.pageScroll.stillFor = std::chrono::milliseconds(stopsFor > 0 ? 1000 : 0);
        ModelCaptureHost host(*model);
        CaptureService service(host,
            CaptureService::Ports {&window, &shutter, &relauncher, world.defaults.get(), &recorder, &escape, &window,
                path == Path::Screen ? &window : nullptr, &desktop, &granted},
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
        if (bannerFrom >= 0) {
            const auto back = std::adjacent_find(window.turns.begin() + 1, window.turns.end(),
                [](int a, int b) { return a < 0 && b > 0; });
            QVERIFY(std::find(back + 1, window.turns.end(), *back) != window.turns.end());
        }
        // Where the desktop scrolls, it grants the window for the run only;
        // its wheel turns in the middle of the window's own picture.
        QCOMPARE(granted.opened, path == Path::Cast ? 1 : 0);
        const QPoint over = path == Path::Cast ? QRect(QPoint(), frame.size()).center() : frame.center();
        QVERIFY(std::all_of(window.wheeledAt.begin(), window.wheeledAt.end(), [over](QPoint at) { return at == over; }));
    }
};

QTEST_MAIN(PageRunTest)
#include "tst_page_run.moc"
