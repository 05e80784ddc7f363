// The full-page run itself, against a made-up program whose window answers
// at once: how far a wheel click goes is learnt, a step that leaves no
// overlap is taken back and made smaller, and the page comes out whole,
// pixel for pixel, whatever the program does with the wheel; read off the
// screen with the desktop's own pointer, or from the cast of the window a
// desktop granted with the pointer over it. A window of one colour is no
// picture.
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
// Where the user left the desktop's pointer, away from the window.
constexpr QPoint userPointer(7, 9);

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

// What a program does with the wheel: it scrolls as far as `moved` says
// for so many clicks. A busy one stops three quarters of the way for
// `stopsFor` grabs after each turn, shows one turn only with the next
// (`late`), or answers each turn only `answersAfter` grabs later, while the
// first of them shows the desktop's pointer where the wheel turned. Where
// `bannerFrom` is set, the first turn down to that row shows a banner across
// the page until the wheel turns again.
struct Program {
    std::function<int(int clicks)> moved = [](int clicks) { return 53 * clicks; };
    int stopsFor = 0;
    Late late = Late::Never;
    int answersAfter = 0;
    int bannerFrom = -1;
};

// The program's window: a bar on top, its page below. Where the desktop
// scrolls, it grants the window through its own dialog: the window's own
// pictures, the wheel over them in their own pixels.
class ScrollingWindow final : public ScreenCapture, public PageAccessibility, public PageInput, public PageCasts {
public:
    explicit ScrollingWindow(Program program) : program_(std::move(program)), lateTurn_(program_.late) {}

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
        const int rows = clicks < 0 ? program_.moved(-clicks) : -program_.moved(clicks);
        if (lateTurn_ == (clicks < 0 ? Late::FirstClickDown : Late::FirstTurnUp)) {
            lateTurn_ = Late::Never;
            late_ = rows;
            return;
        }
        pending_ = rows;
        unanswered_ = program_.answersAfter;
        pointerShown_ = program_.answersAfter > 0;
        if (unanswered_ == 0)
            answer();
    }
    void activate(const CaptureWindow&) override {}

    QCoro::Task<StatusOr<std::unique_ptr<PageCast>>> open() override
    {
        ++opened;
        co_return std::unique_ptr<PageCast>(new Granted(*this));
    }

    FakeScreenCapture screens;
    QImage page = makePage();
    int offset = 1234; // where the user left it
    std::vector<int> turns;
    std::vector<QPoint> wheeledAt;
    int opened = 0;

private:
    // The run owns what it opened; the test keeps the window.
    class Granted final : public PageCast {
    public:
        explicit Granted(ScrollingWindow& window) : window_(window) {}
        QCoro::Task<StatusOr<QImage>> picture() override { return window_.grabDisplay({}, QRect(QPoint(), frame.size()), false); }
        PageInput& input() override { return window_; }

    private:
        ScrollingWindow& window_;
    };

    void answer()
    {
        offsetBefore_ = offset;
        stoppedFor_ = program_.stopsFor;
        offset = std::clamp(offset + pending_ + std::exchange(late_, 0), 0, pageRows - (frame.height() - barRows));
        banner_ = program_.bannerFrom >= 0 && offset >= program_.bannerFrom && !std::exchange(bannerShown_, true);
    }

    const Program program_;
    Late lateTurn_;
    int late_ = 0;
    int pending_ = 0;
    int unanswered_ = 0;
    bool pointerShown_ = false;
    bool banner_ = false;
    bool bannerShown_ = false;
    int stoppedFor_ = 0;
    int offsetBefore_ = 0;
    QPoint pointer_ = userPointer;
};

enum class Path { Screen, Cast };

} // namespace

Q_DECLARE_METATYPE(Path)
Q_DECLARE_METATYPE(Program)

class PageRunTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageComesOutWhole_data()
    {
        QTest::addColumn<Path>("path");
        QTest::addColumn<Program>("program");
        QTest::addColumn<bool>("stepsBack");
        QTest::addRow("screen, a whole screen a click")
            << Path::Screen << Program {.moved = [](int clicks) { return 300 * clicks; }} << false;
        // A program that answers a turn after the run stopped waiting for it
        // has a page all the same, from its top.
        QTest::addRow("screen, the first click answered late") << Path::Screen << Program {.late = Late::FirstClickDown} << false;
        QTest::addRow("cast, the first turn up answered late") << Path::Cast << Program {.late = Late::FirstTurnUp} << false;
        // What defeats one step may be the page at one place: the steps after
        // it grow back to their size.
        QTest::addRow("screen, a banner over the page once") << Path::Screen << Program {.bannerFrom = 1000} << true;
        // Some programs speed the wheel up: one click goes 40 rows, several
        // go three times as far each. Two grabs the same mid-scroll are no
        // proof the page has stopped, nor is a page on its way back that
        // shows some of the last shot.
        QTest::addRow("cast, a busy program whose wheel speeds up")
            << Path::Cast << Program {.moved = [](int clicks) { return clicks > 2 ? 120 * clicks : 40 * clicks; }, .stopsFor = 3}
            << true;
        // The desktop's pointer passing over the page is no motion of it,
        // and a program may answer only after that.
        QTest::addRow("cast, the pointer shows before the page moves") << Path::Cast << Program {.answersAfter = 4} << false;
    }
    void pageComesOutWhole()
    {
        QFETCH(Path, path);
        QFETCH(Program, program);
        QFETCH(bool, stepsBack);
        ScrollingWindow window(program);
        const auto [toast, saved] = capture(window, path, program.stopsFor > 0);
        QCOMPARE(toast, std::nullopt);
        QCOMPARE(saved.size(), 1);
        // Opaque, as every column of it scrolls.
        QCOMPARE(saved.front(), window.page);
        const auto back =
            std::adjacent_find(window.turns.begin() + 1, window.turns.end(), [](int a, int b) { return a < 0 && b > 0; });
        QCOMPARE(back != window.turns.end(), stepsBack);
        if (program.bannerFrom >= 0)
            QVERIFY(std::find(back + 1, window.turns.end(), *back) != window.turns.end());
        // Where the desktop scrolls, it grants the window for the run only;
        // its wheel turns in the middle of the window's own picture.
        QCOMPARE(window.opened, path == Path::Cast ? 1 : 0);
        const QPoint over = path == Path::Cast ? QRect(QPoint(), frame.size()).center() : frame.center();
        QVERIFY(std::all_of(window.wheeledAt.begin(), window.wheeledAt.end(), [over](QPoint at) { return at == over; }));
        // Where Dropwell moved the desktop's pointer, it puts it back.
        if (path == Path::Screen)
            QCOMPARE(window.pointer(), userPointer);
    }

    // A window that neither scrolls nor shows anything but one colour.
    void blankWindowIsNoPicture()
    {
        ScrollingWindow window(Program {.moved = [](int) { return 0; }});
        window.page.fill(qRgb(210, 210, 210));
        const auto [toast, saved] = capture(window, Path::Screen, false);
        QCOMPARE(toast, QStringLiteral("Couldn't read that page."));
        QVERIFY(saved.isEmpty());
    }

private:
    // Captures a full page of `window`, off the screen or from the cast the
    // desktop grants; the toast left and the pictures in the Inbox.
    static std::pair<std::optional<QString>, QList<QImage>> capture(ScrollingWindow& window, Path path, bool busy)
    {
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
        // Far longer than a busy program's stops last, however slow the grabs.
        timing.pageScroll.stillFor = std::chrono::milliseconds(busy ? 1000 : 0);
        ModelCaptureHost host(*model);
        CaptureService service(host,
            CaptureService::Ports {&window, &shutter, &relauncher, world.defaults.get(), &recorder, &escape, &window,
                path == Path::Screen ? &window : nullptr, &desktop, &window},
            timing);
        QCursor::setPos(frame.center());
        service.capture(CaptureKind::Page);
        if (!QTest::qWaitFor([&] { return !service.isBusy(); }, 30000))
            return {QStringLiteral("still capturing"), {}};
        QList<QImage> saved;
        const QDir inbox(world.folders().inbox());
        for (const QString& name : inbox.entryList({QStringLiteral("*.png")}, QDir::Files))
            saved.append(QImage(inbox.filePath(name)));
        return {model->toast(), saved};
    }
};

QTEST_MAIN(PageRunTest)
#include "tst_page_run.moc"
