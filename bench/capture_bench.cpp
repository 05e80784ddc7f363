// Print Screen against scrot on the same screen: from the command to the
// PNG closed in the folder, for `dropwell --capture visible` sent to a running
// Dropwell and for a whole scrot process; then the click on Region to the
// overlay on screen. Run it in a session of its own, with the number of rounds
// (a smoke run takes 1):
//   tests/support/run-in-session build/bench/capture_bench [rounds]
#include "app/ModelCaptureHost.h"
#include "model/AppModel.h"
#include "capture/CaptureOverlay.h"
#include "capture/CaptureService.h"
#include "capture/PngBytes.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/DesktopBackend.h"
#include "platform/Relauncher.h"
#include "platform/ShutterSound.h"
#include "platform/linux/PulseSoundSources.h"
#include "tests/support/Awaited.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The preview of one capture leaves the screen after about five seconds; a
// capture while it is up waits for it to go, which is not what is measured.
constexpr int previewGoneMs = 6000;

class Silent final : public ShutterSound, public Relauncher {
public:
    void play() override {}
    void relaunch() override {}
};

// A photograph on the whole screen: soft shades under fine grain, the
// hardest kind of picture to compress.
class Photo final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QImage image(size(), QImage::Format_RGB32);
        quint32 seed = 11;
        for (int y = 0; y < height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = int(seed >> 29);
                const int sky = 120 + (y * 100) / std::max(1, height());
                line[x] = qRgb(std::min(255, sky / 2 + x % 97 / 8 + grain), std::min(255, sky - 20 + grain),
                    std::min(255, 90 + (x * 120) / std::max(1, width()) + grain));
            }
        }
        QPainter(this).drawImage(0, 0, image);
    }
};

// Waits until a file whose name does not start with a dot appears in the
// watched folder: a PNG that is complete, since it is written under a hidden
// name and renamed.
class NewFiles {
public:
    explicit NewFiles(const QString& folder) : fd_(inotify_init1(IN_CLOEXEC))
    {
        QDir().mkpath(folder);
        inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CREATE);
    }
    ~NewFiles() { ::close(fd_); }
    NewFiles(const NewFiles&) = delete;
    NewFiles& operator=(const NewFiles&) = delete;

    QString next(int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < timeoutMs) {
            pollfd ready {fd_, POLLIN, 0};
            if (::poll(&ready, 1, int(timeoutMs - waited.elapsed())) <= 0)
                break;
            alignas(inotify_event) char buffer[4096];
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                const QString name = event->len ? QFile::decodeName(event->name) : QString();
                if (!name.isEmpty() && !name.startsWith(QLatin1Char('.')))
                    return name;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return {};
    }

private:
    int fd_;
};

struct Figures {
    std::vector<double> ms;
    qint64 bytes = 0;
    double median() const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
};

double elapsedMs(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

void settle(int ms) { QTest::qWait(ms); }

// A Dropwell of its own over a temporary home (the real home is hidden under
// it in a mount namespace), on this session's bus, in a real tray.
class RunningDropwell {
public:
    explicit RunningDropwell(const QString& home)
    {
        QDir().mkpath(home);
        tray_.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--height"), QStringLiteral("32")});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DROPWELL_PRIVATE_HOME"), home);
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A group of its own, to end it with everything it started and
        // never a Dropwell of the user's.
        process_.setChildProcessModifier([] { ::setsid(); });
        process_.start(QStringLiteral(PRIVATE_HOME_RUNNER), {QStringLiteral(DROPWELL_EXECUTABLE)});
    }
    ~RunningDropwell()
    {
        if (process_.processId() > 0)
            ::kill(-pid_t(process_.processId()), SIGTERM);
        process_.waitForFinished(3000);
        tray_.terminate();
        tray_.waitForFinished(3000);
    }
    RunningDropwell(const RunningDropwell&) = delete;
    RunningDropwell& operator=(const RunningDropwell&) = delete;

    // A launcher that finds no Dropwell starts one, over the real home: never
    // send a command unless ours still runs.
    bool isRunning() const { return process_.state() == QProcess::Running; }

    // What a key binding runs; the running Dropwell takes it over the bus.
    static bool capture()
    {
        return QProcess::execute(QStringLiteral(DROPWELL_EXECUTABLE), {QStringLiteral("--capture"), QStringLiteral("visible")}) == 0;
    }

private:
    QProcess tray_;
    QProcess process_;
};

Figures printScreen(int rounds, const QString& home)
{
    Figures figures;
    const RunningDropwell dropwell(home);
    NewFiles inbox(home + QStringLiteral("/Dropwell/Inbox"));
    settle(2000); // started, docked and on the bus
    for (int round = -1; round < rounds; ++round) { // the first one warms up
        QElapsedTimer timer;
        timer.start();
        if (!dropwell.isRunning() || !RunningDropwell::capture())
            return {};
        const QString name = inbox.next(10000);
        if (name.isEmpty())
            return {};
        if (round >= 0) {
            figures.ms.push_back(elapsedMs(timer));
            figures.bytes = QFileInfo(home + QStringLiteral("/Dropwell/Inbox/") + name).size();
        }
        settle(previewGoneMs);
    }
    return figures;
}

Figures scrot(int rounds, const QString& folder)
{
    Figures figures;
    QDir().mkpath(folder);
    for (int round = 0; round < rounds; ++round) {
        const QString path = folder + QStringLiteral("/scrot %1.png").arg(round);
        QElapsedTimer timer;
        timer.start();
        if (QProcess::execute(QStringLiteral("scrot"), {QStringLiteral("--pointer"), path}) != 0)
            return {};
        figures.ms.push_back(elapsedMs(timer));
        figures.bytes = QFileInfo(path).size();
    }
    return figures;
}

// The median time of one step, run `rounds` times.
double medianMs(int rounds, const std::function<void()>& step)
{
    Figures figures;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        step();
        figures.ms.push_back(elapsedMs(timer));
    }
    return figures.median();
}

// The steps of a capture inside Dropwell, on the picture the screen shows:
// where the time goes.
void printSteps(int rounds)
{
    const std::unique_ptr<DesktopBackend> desktop = openDesktopBackend();
    ScreenCapture& capture = desktop->screenCapture();
    const StatusOr<CaptureContent> content = awaited(capture.content());
    if (!content.ok() || content.value().displays.empty())
        return;
    const CaptureDisplay display = content.value().displays.front();
    QImage shot;
    std::printf("of which the screen's layout  median %.1f ms\n", medianMs(rounds, [&] { (void)awaited(capture.content()); }));
    std::printf("of which the grab             median %.1f ms\n", medianMs(rounds, [&] {
        const StatusOr<QImage> grabbed = awaited(capture.grabDisplay(display, {}, true));
        shot = grabbed.ok() ? grabbed.value() : QImage();
    }));
    std::printf("of which the PNG encoding     median %.1f ms\n", medianMs(rounds, [&] { (void)PngBytes::encode(shot); }));
}

double regionClickToOverlay()
{
    TestWorld world;
    AppModel model(world.services());
    Silent silent;
    const std::unique_ptr<DesktopBackend> desktop = openDesktopBackend();
    PulseSoundSources sound;
    ScreenRecorder recorder(ScreenRecorder::Ports {&desktop->frameSources(), &sound});
    ModelCaptureHost host(model);
    CaptureService service(host, {&desktop->screenCapture(), &silent, &silent, world.defaults.get(), &recorder,
                                     &desktop->globalEscape(), nullptr, nullptr, &desktop->windows()});
    QElapsedTimer click;
    click.start();
    service.capture(CaptureKind::Region);
    while (!(service.overlay() && !service.overlay()->views().empty() && service.overlay()->views().front()->isVisible()
               && QTest::qWaitForWindowExposed(service.overlay()->views().front().get(), 5))
        && click.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = elapsedMs(click);
    if (service.overlay())
        service.overlay()->close();
    while (service.isBusy())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 7;
    Photo photo;
    photo.setWindowFlag(Qt::FramelessWindowHint);
    photo.setGeometry(QGuiApplication::primaryScreen()->geometry());
    photo.show();
    if (!QTest::qWaitForWindowExposed(&photo))
        return 1;
    settle(300);

    QTemporaryDir folder;
    const Figures ours = printScreen(rounds, folder.filePath(QStringLiteral("home")));
    const Figures theirs = scrot(rounds, folder.filePath(QStringLiteral("scrot")));
    if (ours.ms.empty() || theirs.ms.empty()) {
        std::fprintf(stderr, "A capture failed\n");
        return 1;
    }
    const QSize screen = QGuiApplication::primaryScreen()->size();
    std::printf("screen                        %d x %d, a photograph\n", screen.width(), screen.height());
    std::printf("dropwell --capture visible    median of %d %.1f ms, %lld bytes\n", rounds, ours.median(), ours.bytes);
    std::printf("scrot                         median of %d %.1f ms, %lld bytes\n", rounds, theirs.median(), theirs.bytes);
    std::printf("time ratio                    %.2f (goal: at most 0.80)\n", ours.median() / theirs.median());
    std::printf("size ratio                    %.2f (goal: at most 1.10)\n", double(ours.bytes) / double(theirs.bytes));
    printSteps(rounds);
    std::printf("Region click to overlay       %.0f ms (goal: within 100 ms)\n", regionClickToOverlay());
    return 0;
}
