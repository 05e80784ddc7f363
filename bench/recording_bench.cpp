// Records 10 s of a 1920x1080 screen that plays a video-like animation, and
// ffmpeg's own screen grabber doing the same with the same encoder settings,
// one after the other in the same session. Prints the dropped frames, the
// CPU time each took and Dropwell's peak memory while recording. Run it in
// a session with a sound server:
//   tests/support/run-in-audio-session build/bench/recording_bench
// or on Wayland, cast through the portal, without ffmpeg's figures:
//   tests/wayland/in-session build/bench/recording_bench
#include "capture/recording/ScreenRecorder.h"
#include "capture/recording/VideoEncoder.h"
#include "platform/DesktopBackend.h"
#include "platform/linux/PulseSoundSources.h"
#include "tests/support/Awaited.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRasterWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdio>
#include <vector>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int framesPerSecond = 30;

// Five rounds of 10 s for the figures; a smoke run (--smoke) only shows that
// every step still works.
struct Plan {
    int recordMs = 10000;
    int rounds = 5;
};

// What a video looks like to an encoder: a sweeping gradient under moving
// grain, and shapes that cross the screen.
class Animation final : public QRasterWindow {
public:
    Animation() : grain_(QSize(2048, 2048), QImage::Format_ARGB32_Premultiplied)
    {
        QRandomGenerator random(7);
        for (int y = 0; y < grain_.height(); ++y) {
            auto* row = reinterpret_cast<quint32*>(grain_.scanLine(y));
            for (int x = 0; x < grain_.width(); ++x) {
                const quint32 level = random.bounded(48u);
                row[x] = qPremultiply(qRgba(255, 255, 255, int(level)));
            }
        }
        QObject::connect(&ticks_, &QTimer::timeout, this, [this] {
            ++step_;
            update();
        });
        ticks_.setTimerType(Qt::PreciseTimer);
        ticks_.start(1000 / framesPerSecond);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect all(QPoint(), size());
        QLinearGradient sweep(0, 0, width(), height());
        const qreal phase = (step_ % 240) / 240.0;
        sweep.setColorAt(0, QColor::fromHsvF(phase, 0.6, 0.5));
        sweep.setColorAt(1, QColor::fromHsvF(1 - phase, 0.7, 0.8));
        painter.fillRect(all, sweep);
        painter.drawImage(QPoint(), grain_, QRect(QPoint((step_ * 13) % 120, (step_ * 7) % 120), size()));
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 6; ++i) {
            const int x = (step_ * (6 + i * 3) + i * 300) % (width() + 200) - 100;
            painter.setBrush(QColor::fromHsv((i * 60 + step_) % 360, 200, 230));
            painter.drawEllipse(QPoint(x, 150 + i * 150), 90, 90);
        }
    }

private:
    QImage grain_;
    QTimer ticks_;
    int step_ = 0;
};

int animate(int argc, char** argv)
{
    QApplication app(argc, argv);
    Animation animation;
    animation.setFlag(Qt::FramelessWindowHint);
    animation.setGeometry(QGuiApplication::primaryScreen()->geometry());
    animation.show();
    return app.exec();
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double seconds(const timeval& time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double cpuSeconds(const rusage& usage)
{
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

qint64 statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLongLong();
    return 0;
}

int videoFrames(const QString& path)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return -1;
    int frames = 0;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        frames += format->streams[packet->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return frames;
}

struct Figures {
    double cpuSeconds = 0;
    qint64 peakKilobytes = 0;
    int frames = 0;
};

QString recordingLog;

Figures recordOurs(const QString& path, int recordMs)
{
    const std::unique_ptr<DesktopBackend> desktop = openDesktopBackend();
    FrameSources& frames = desktop->frameSources();
    PulseSoundSources sound;
    ScreenRecorder recorder({&frames, &sound});
    const QScreen* screen = QGuiApplication::primaryScreen();
    // Only the recording counts: the peak so far is forgotten.
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    QEventLoop stopped;
    QObject::connect(&recorder, &ScreenRecorder::stopped, &stopped, &QEventLoop::quit);
    const Status started = awaited(recorder.start(
        CaptureDisplay {screen->name(), screen->geometry(), screen->devicePixelRatio()}, RecordingSound::System, path));
    if (!started.ok()) {
        std::fprintf(stderr, "Cannot record: %s\n", qPrintable(started.message()));
        return {};
    }
    QTimer::singleShot(recordMs, Qt::PreciseTimer, &recorder, &ScreenRecorder::stop);
    stopped.exec();
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    return {cpuSeconds(after) - cpuSeconds(before), statusKilobytes("VmHWM:"), videoFrames(path)};
}

Figures recordWithFfmpeg(const QString& path, QSize size, int recordMs)
{
    const QByteArray videoSize = QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
    const QByteArray bitRate = QByteArray::number(VideoEncoder::bitRateFor(size));
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray output = path.toUtf8();
    const QByteArray seconds = QByteArray::number(recordMs / 1000);
    const char* arguments[] = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "x11grab", "-framerate", "30",
        "-video_size", videoSize.constData(), "-i", display.constData(), "-c:v", "libx264", "-preset", "ultrafast", "-g", "30",
        "-bf", "0", "-b:v", bitRate.constData(), "-t", seconds.constData(), output.constData(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, const_cast<char* const*>(arguments), environ) != 0) {
        std::fprintf(stderr, "Cannot run ffmpeg\n");
        return {};
    }
    // ffmpeg runs while this event loop sleeps, so the animation's window is
    // served as before.
    int status = 0;
    rusage usage {};
    while (wait4(pid, &status, WNOHANG, &usage) == 0)
        pause(50);
    return {cpuSeconds(usage), usage.ru_maxrss, videoFrames(path)};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--animate") == 0)
        return animate(argc, argv);
    QApplication app(argc, argv);
    const Plan plan = argc > 1 && qstrcmp(argv[1], "--smoke") == 0 ? Plan {2000, 1} : Plan {};
    QLoggingCategory::setFilterRules(QStringLiteral("dropwell.recording.info=true"));
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (qstrcmp(context.category, "dropwell.recording") == 0)
            recordingLog = message;
    });
    QProcess animation;
    animation.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--animate")});
    if (!animation.waitForStarted())
        return 1;
    pause(2000);

    // CPU time on a busy two-core machine wanders by a tenth from run to
    // run, so the two take turns, and the middle ratio counts.
    QTemporaryDir folder;
    const QSize size = QGuiApplication::primaryScreen()->size() * QGuiApplication::primaryScreen()->devicePixelRatio();
    const int expected = plan.recordMs / 1000 * framesPerSecond;
    std::printf("screen                     %d x %d at %d frames per second, %d s per recording\n", size.width(),
        size.height(), framesPerSecond, plan.recordMs / 1000);
    // ffmpeg reads only an X server's screen: on Wayland, Dropwell's figures alone.
    const bool againstFfmpeg = QGuiApplication::platformName() == QStringLiteral("xcb");
    std::vector<double> ratios;
    int mostDropped = 0;
    qint64 peakKilobytes = 0;
    for (int round = 1; round <= plan.rounds; ++round) {
        const Figures ours = recordOurs(folder.filePath(QStringLiteral("ours %1.mp4").arg(round)), plan.recordMs);
        const QString oursLog = recordingLog;
        mostDropped = std::max(mostDropped, std::max(expected - ours.frames, 0));
        peakKilobytes = std::max(peakKilobytes, ours.peakKilobytes);
        std::printf("round %d  Dropwell          %.2f s CPU, %d frames, %.1f MB peak (%s)\n", round, ours.cpuSeconds,
            ours.frames, double(ours.peakKilobytes) / 1024, qPrintable(oursLog));
        if (!againstFfmpeg)
            continue;
        const Figures theirs = recordWithFfmpeg(folder.filePath(QStringLiteral("ffmpeg %1.mp4").arg(round)), size, plan.recordMs);
        ratios.push_back(ours.cpuSeconds / theirs.cpuSeconds);
        std::printf("round %d  ffmpeg x11grab    %.2f s CPU, %d frames, %.1f MB peak\n", round, theirs.cpuSeconds,
            theirs.frames, double(theirs.peakKilobytes) / 1024);
    }
    animation.kill();
    animation.waitForFinished();
    std::printf("dropped frames             %d at most (goal: none)\n", mostDropped);
    if (!ratios.empty()) {
        std::sort(ratios.begin(), ratios.end());
        std::printf("CPU ratio                  %.2f in the middle, %.2f to %.2f (goal: at most 0.9)\n",
            ratios[ratios.size() / 2], ratios.front(), ratios.back());
    }
    std::printf("peak resident memory       %.1f MB at most while recording (goal: at most 150 MB)\n",
        double(peakKilobytes) / 1024);
    return 0;
}
