// The synchroniser, on sound whose stamps the test makes up: ten minutes of
// a device whose clock runs fast or slow, jitters or loses fragments, laid
// out in a few seconds. The sound must stay where its stamps say.
#include "capture/recording/SoundTimeline.h"

#include <QTest>

#include <cmath>
#include <random>

constexpr int sampleRate = 48000;
constexpr int fragmentFrames = 960; // 20 ms, as the sound server delivers
constexpr qint64 tenMinutesUs = 600LL * 1000000;
constexpr qint64 settleUs = 10LL * 1000000;
constexpr qint64 lostFromUs = 60LL * 1000000; // where fragments are lost on the way, if any

class TestSoundTimeline : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsTheClock_data()
    {
        QTest::addColumn<double>("speed"); // of the device's clock against ours
        QTest::addColumn<int>("jitterUs");
        QTest::addColumn<qint64>("lostUs");
        QTest::addRow("device 0.2 %% fast") << 1.002 << 0 << qint64(0);
        QTest::addRow("device 0.2 %% slow") << 0.998 << 0 << qint64(0);
        QTest::addRow("stamps jitter by 4 ms, device 0.01 %% fast") << 1.0001 << 4000 << qint64(0);
        // In step, but for 300 ms lost a minute in: settled before the gap
        // and again after it.
        QTest::addRow("in step, 300 ms lost") << 1.0 << 0 << qint64(300000);
    }

    void followsTheClock()
    {
        QFETCH(double, speed);
        QFETCH(int, jitterUs);
        QFETCH(qint64, lostUs);
        const qint64 lostUntilUs = lostFromUs + lostUs;
        std::unique_ptr<SoundTimeline> timeline;
        QVERIFY(SoundTimeline::open(1, sampleRate, timeline).ok());
        std::mt19937 random(7);
        std::uniform_int_distribution<int> jitter(-jitterUs, jitterUs);
        std::vector<float> fragment(fragmentFrames);
        qint64 worstUs = 0;
        double heardUs = 0;
        for (qint64 sent = 0; heardUs < double(tenMinutesUs); sent += fragmentFrames) {
            for (int i = 0; i < fragmentFrames; ++i)
                fragment[size_t(i)] = float(std::sin(double(sent + i) * 0.05));
            const qint64 stampUs = qint64(heardUs) + jitter(random);
            if (heardUs < double(lostFromUs) || heardUs >= double(lostUntilUs)) {
                QVERIFY(timeline->add(fragment.data(), fragmentFrames, stampUs).ok());
                const qint64 errorUs = (timeline->position() - fragmentFrames) * 1000000 / sampleRate - qint64(heardUs);
                if (heardUs > double(settleUs) && (heardUs < double(lostFromUs) || heardUs > double(lostUntilUs + settleUs)))
                    worstUs = std::max(worstUs, std::abs(errorUs));
            }
            av_audio_fifo_drain(timeline->output(), av_audio_fifo_size(timeline->output()));
            heardUs += double(fragmentFrames) * 1e6 / (sampleRate * speed);
        }
        qInfo("worst offset after settling: %.1f ms", double(worstUs) / 1000);
        // Half a frame of the pictures; without steering a 0.2 % drift
        // would be 1.2 s by now.
        QVERIFY2(worstUs < 16000, qPrintable(QStringLiteral("%1 us off").arg(worstUs)));
    }

    // Sound before the first picture is left out; sound that starts late
    // starts with silence.
    void soundIsLaidFromTheFirstPicture()
    {
        std::unique_ptr<SoundTimeline> stereo;
        QVERIFY(SoundTimeline::open(2, sampleRate, stereo).ok());
        const std::vector<float> fragment(size_t(fragmentFrames) * 2, 0.5f);
        QVERIFY(stereo->add(fragment.data(), fragmentFrames, -30000).ok()); // wholly before the start
        QCOMPARE(stereo->position(), 0);
        QVERIFY(stereo->add(fragment.data(), fragmentFrames, -10000).ok()); // 10 ms of it before
        QVERIFY(qAbs(stereo->position() - fragmentFrames / 2) <= 32);

        std::unique_ptr<SoundTimeline> late;
        QVERIFY(SoundTimeline::open(1, sampleRate, late).ok());
        QVERIFY(late->add(fragment.data(), fragmentFrames, 50000).ok());
        QCOMPARE(late->position(), sampleRate / 20 + fragmentFrames);
        std::vector<float> laid(size_t(sampleRate / 20));
        void* planes[] = {laid.data()};
        QCOMPARE(av_audio_fifo_read(late->output(), planes, int(laid.size())), int(laid.size()));
        QCOMPARE(*std::max_element(laid.begin(), laid.end() - 64), 0.0f);
    }
};

QTEST_GUILESS_MAIN(TestSoundTimeline)
#include "tst_sound_timeline.moc"
