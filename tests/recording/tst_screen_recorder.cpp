// Screen recording end to end: pictures from a real X server, sound from a
// private PulseAudio server (tests/support/run-in-audio-session), and every
// file read back with libavformat the way a player reads it.
#include "GatedFrames.h"
#include "RecordedFile.h"
#include "TonePlayer.h"
#include "capture/recording/RecordingRun.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/MonotonicClock.h"
#include "platform/linux/PulseSoundSources.h"
#include "platform/x11/X11FrameSources.h"
#include "tests/support/Awaited.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <memory>

namespace {

constexpr double frameSeconds = 1.0 / 30;

// A dark, moving pattern that turns white while it flashes.
class Pattern final : public QRasterWindow {
public:
    Pattern()
    {
        QObject::connect(&animation_, &QTimer::timeout, this, [this] {
            ++step_;
            update();
        });
        animation_.start(16);
    }
    void flash()
    {
        flashing_ = true;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (flashing_) {
            painter.fillRect(QRect(QPoint(), size()), Qt::white);
            return;
        }
        QLinearGradient gradient(0, 0, width(), height());
        gradient.setColorAt(0, QColor(10, 20, 40));
        gradient.setColorAt(1, QColor(50, 30, 20));
        painter.fillRect(QRect(QPoint(), size()), gradient);
        painter.fillRect(QRect((step_ * 7) % std::max(width(), 1), 0, width() / 10 + 1, height()), QColor(90, 140, 90));
    }

private:
    QTimer animation_;
    int step_ = 0;
    bool flashing_ = false;
};

std::unique_ptr<Pattern> showPattern(const QRect& geometry)
{
    auto pattern = std::make_unique<Pattern>();
    pattern->setFlag(Qt::FramelessWindowHint);
    pattern->setGeometry(geometry);
    pattern->show();
    return QTest::qWaitForWindowExposed(pattern.get()) ? std::move(pattern) : nullptr;
}

CaptureDisplay primaryDisplay()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return {screen->name(), screen->geometry(), screen->devicePixelRatio()};
}

CaptureWindow windowOf(const QWindow& window)
{
    CaptureWindow captured;
    captured.id = quint32(window.winId());
    captured.frame = window.geometry();
    return captured;
}

bool setDefaultInput(const QString& source)
{
    return QProcess::execute(QStringLiteral("pactl"), {QStringLiteral("set-default-source"), source}) == 0;
}

} // namespace

class TestScreenRecorder : public QObject {
    Q_OBJECT

private:
    ScreenRecorder::Ports ports() { return {&frames_, &sound_}; }
    QString pathFor(const QString& name) const { return folder_.filePath(name + QStringLiteral(".mp4")); }

    // Records for `ms`, then stops; the file read back, or an empty file on
    // failure. `ranSeconds_` is how long it ran at most: from the start's call
    // to the stop's, which a busy machine makes later than asked.
    RecordedFile record(const RecordingSource& source, RecordingSound sound, const QString& path, int ms)
    {
        ScreenRecorder recorder(ports());
        QSignalSpy stopped(&recorder, &ScreenRecorder::stopped);
        QElapsedTimer running;
        running.start();
        const Status started = awaited(recorder.start(source, sound, path));
        [&] { QVERIFY2(started.ok(), qPrintable(started.message())); }();
        QTimer::singleShot(ms, Qt::PreciseTimer, &recorder, [&] {
            recorder.stop();
            ranSeconds_ = running.nsecsElapsed() / 1e9;
        });
        [&] {
            QVERIFY(stopped.wait(ms + 10000));
            QCOMPARE(stopped.first(), (QVariantList {path, true}));
        }();
        RecordedFile file;
        [&] { QCOMPARE(RecordedFile::read(path, file), QString()); }();
        return file;
    }

    X11FrameSources frames_;
    PulseSoundSources sound_;
    QTemporaryDir folder_;
    double ranSeconds_ = 0;

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            QSKIP("Needs the sound server of tests/support/run-in-audio-session");
        QVERIFY(folder_.isValid());
    }

    void recordsPictureAndSound_data()
    {
        QTest::addColumn<RecordingSound>("sound");
        QTest::addColumn<int>("channels");
        QTest::addRow("system sound") << RecordingSound::System << 2;
        QTest::addRow("microphone") << RecordingSound::Microphone << 1;
    }

    void recordsPictureAndSound()
    {
        QFETCH(RecordingSound, sound);
        QFETCH(int, channels);
        const auto pattern = showPattern(QRect(100, 100, 640, 360));
        QVERIFY(pattern);
        // The microphone hears a tone of its own.
        const TonePlayer tone(TonePlayer::Sound::Tone);
        QVERIFY(tone.playing());
        const QString path = pathFor(QString::fromLatin1(QTest::currentDataTag()));
        const RecordedFile file = record(primaryDisplay(), sound, path, 3000);
        QVERIFY(!QTest::currentTestFailed());

        QCOMPARE(file.videoCodec, QStringLiteral("h264"));
        QCOMPARE(file.videoProfile, FF_PROFILE_H264_HIGH);
        QCOMPARE(QSize(file.width, file.height), QSize(1920, 1080));
        // The rate a busy machine reaches is the benchmark's to measure; here
        // pictures must come all the way through.
        QVERIFY(file.pictures.size() >= 2);
        QVERIFY2(file.pictures.back().atSeconds >= 2.8, qPrintable(QString::number(file.pictures.back().atSeconds)));
        for (const int index : file.keyFrameIndices())
            QCOMPARE(index % 30, 0);
        QCOMPARE(file.keyFrameIndices().size(), (file.pictures.size() + 29) / 30);
        QCOMPARE(file.videoDelay, 0); // no B-frames
        QVERIFY2(file.videoBitRate <= 1920 * 1080 * 4 * 3 / 2, qPrintable(QString::number(file.videoBitRate)));
        QVERIFY2(qAbs(file.durationSeconds - ranSeconds_) <= 0.2,
            qPrintable(QStringLiteral("%1 s, ran %2 s").arg(file.durationSeconds).arg(ranSeconds_)));
        QVERIFY(file.indexFirst);

        QVERIFY(file.hasSound);
        QCOMPARE(file.soundCodec, QStringLiteral("aac"));
        QCOMPARE(file.sampleRate, 48000);
        QCOMPARE(file.channels, channels);
        QVERIFY2(file.soundLevel() > 0.02, qPrintable(QString::number(file.soundLevel())));
        // No sound lost: it lasts as long as the pictures do, over their span
        // rather than their count. Nor any before the start or after the stop:
        // no longer than the recording ran, but for the last picture's time
        // and the AAC encoder's whole frames. (A busy machine drops pictures,
        // the last ones too, and then the one before shows until the end.)
        const double picturesSeconds = file.pictures.back().atSeconds + frameSeconds;
        const double soundSeconds = double(file.sound.size()) / 48000;
        QVERIFY2(soundSeconds > picturesSeconds - 0.1 && soundSeconds < ranSeconds_ + 0.2,
            qPrintable(QString::asprintf("sound %.3f s, pictures %.3f s (%zu of them), ran %.3f s", soundSeconds, picturesSeconds,
                file.pictures.size(), ranSeconds_)));
    }

    // A flash and a click at the same moment: in the file, the click falls
    // where the flash first shows, give or take one frame.
    void soundAndPictureInStep()
    {
        const auto pattern = showPattern(QRect(200, 200, 320, 240));
        QVERIFY(pattern);
        TonePlayer clicks(TonePlayer::Sound::Silence);
        QVERIFY(clicks.playing());
        const QString path = pathFor(QStringLiteral("in step"));
        // The flash waits until it is known when the click will be heard.
        QTimer waitForClick;
        QObject::connect(&waitForClick, &QTimer::timeout, pattern.get(), [&] {
            if (!clicks.clickHeardAtUs())
                return;
            waitForClick.stop();
            const qint64 untilHeardMs = (clicks.clickHeardAtUs() - MonotonicClock::nowMicroseconds()) / 1000;
            QTimer::singleShot(std::max<qint64>(untilHeardMs, 0), Qt::PreciseTimer, pattern.get(), &Pattern::flash);
        });
        QTimer::singleShot(1200, pattern.get(), [&] {
            clicks.click();
            waitForClick.start(1);
        });
        const RecordedFile file = record(windowOf(*pattern), RecordingSound::System, path, 2500);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(clicks.clickHeardAtUs() != 0);

        const std::optional<size_t> flash = file.firstPictureAbove(160);
        const std::optional<double> click = file.firstSoundAbove(0.3f);
        QVERIFY(flash && *flash > 0);
        QVERIFY(click);
        const double lastDark = file.pictures[*flash - 1].atSeconds;
        const double firstBright = file.pictures[*flash].atSeconds;
        qInfo("flash shows between %.3f s and %.3f s, the click is heard at %.3f s", lastDark, firstBright, *click);
        QVERIFY(*click > lastDark - frameSeconds);
        QVERIFY(*click <= firstBright + frameSeconds);
    }

    // Stopped before its first picture, a recording leaves no file; stopped
    // twice, or started again while it runs, it ends once, in its own file.
    void stopsEndTheRecordingOnce()
    {
        GatedFrameSources frames;
        ScreenRecorder recorder({&frames, &sound_});
        QSignalSpy stopped(&recorder, &ScreenRecorder::stopped);
        const QString never = pathFor(QStringLiteral("never"));
        QVERIFY(awaited(recorder.start(primaryDisplay(), RecordingSound::System, never)).ok());
        recorder.stop();
        frames.open();
        QVERIFY(stopped.wait(10000));
        QCOMPARE(stopped.takeFirst(), (QVariantList {never, false}));
        QVERIFY(!recorder.isRecording());

        const QString path = pathFor(QStringLiteral("twice"));
        QVERIFY(awaited(recorder.start(primaryDisplay(), RecordingSound::System, path)).ok());
        const Status second = awaited(recorder.start(primaryDisplay(), RecordingSound::System, pathFor(QStringLiteral("second"))));
        QCOMPARE(second.message(), QStringLiteral("Already recording."));
        // Small pictures keep the encoder ahead, so the buffer it gave back
        // is taken again and the spare ones are never written.
        QTRY_VERIFY(frames.grabbed() >= 10);
        QCOMPARE_LT(frames.buffersUsed(), RecordingRun::frameBuffers - 2);
        recorder.stop();
        recorder.stop();
        QVERIFY(stopped.wait(10000));
        recorder.stop();
        QCoreApplication::sendPostedEvents(); // whatever the later stops left queued
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(QDir(folder_.path()).entryList({QStringLiteral("*never*"), QStringLiteral("*twice*"), QStringLiteral("*second*")},
                     QDir::Files | QDir::Hidden),
            QStringList {QStringLiteral("twice.mp4")});
    }

    // A window's recording has even sides, and ends when the window closes.
    void windowRecordingsEndWithTheWindow_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("recorded");
        QTest::addRow("1 x 1") << QSize(1, 1) << QSize(2, 2);
        QTest::addRow("odd: 301 x 201") << QSize(301, 201) << QSize(300, 200);
    }

    void windowRecordingsEndWithTheWindow()
    {
        QFETCH(QSize, window);
        QFETCH(QSize, recorded);
        const auto pattern = showPattern(QRect(QPoint(50, 50), window));
        QVERIFY(pattern);
        ScreenRecorder recorder(ports());
        QSignalSpy stopped(&recorder, &ScreenRecorder::stopped);
        const QString path = pathFor(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(awaited(recorder.start(windowOf(*pattern), RecordingSound::System, path)).ok());
        QTimer::singleShot(1000, pattern.get(), &QWindow::close);
        QVERIFY(stopped.wait(10000));
        QCOMPARE(stopped.first(), (QVariantList {path, true}));
        QVERIFY(!recorder.isRecording());
        RecordedFile file;
        QCOMPARE(RecordedFile::read(path, file), QString());
        QVERIFY2(qAbs(file.durationSeconds - 1.0) <= 0.2, qPrintable(QString::number(file.durationSeconds)));
        QCOMPARE(QSize(file.width, file.height), recorded);
    }

    void recordsWithoutAnySoundServer()
    {
        const QByteArray server = qgetenv("PULSE_SERVER");
        const auto restore = qScopeGuard([&] { qputenv("PULSE_SERVER", server); });
        qputenv("PULSE_SERVER", "unix:/nonexistent/pulse.socket");
        const RecordedFile file = record(primaryDisplay(), RecordingSound::System, pathFor(QStringLiteral("silent")), 1000);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(!file.hasSound);
        // Pictures to the end, however many a busy machine managed.
        QVERIFY(file.pictures.size() >= 2);
        QVERIFY2(file.pictures.back().atSeconds >= 0.8, qPrintable(QString::number(file.pictures.back().atSeconds)));

        ScreenRecorder recorder(ports());
        const QString microphonePath = pathFor(QStringLiteral("no server"));
        QCOMPARE(awaited(recorder.start(primaryDisplay(), RecordingSound::Microphone, microphonePath)).message(),
            QStringLiteral("Couldn't reach the sound server for the microphone."));
        QVERIFY(!QFile::exists(microphonePath));
    }

    // A desktop without a microphone still has a default input: the monitor
    // of its output. That is no microphone.
    void missingMicrophoneFailsTheStart()
    {
        const auto restore = qScopeGuard([] { setDefaultInput(QStringLiteral("microphone")); });
        QVERIFY(setDefaultInput(QStringLiteral("speakers.monitor")));
        ScreenRecorder recorder(ports());
        const QString path = pathFor(QStringLiteral("no microphone"));
        QCOMPARE(awaited(recorder.start(primaryDisplay(), RecordingSound::Microphone, path)).message(), QStringLiteral("No microphone found."));
        QVERIFY(!recorder.isRecording());
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestScreenRecorder)
#include "tst_screen_recorder.moc"
