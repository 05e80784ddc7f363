#pragma once

#include <QtGlobal>

#include <atomic>
#include <thread>

// Plays into the sound server's default output, 10 ms at a time: a steady tone,
// or silence with one loud click on demand, whose moment of being heard it
// reports on MonotonicClock.
class TonePlayer {
public:
    enum class Sound { Tone, Silence };

    explicit TonePlayer(Sound sound);
    ~TonePlayer();
    TonePlayer(const TonePlayer&) = delete;
    TonePlayer& operator=(const TonePlayer&) = delete;

    bool playing() const { return playing_; }
    // The click goes into the next 10 ms written; clickHeardAtUs() is 0
    // until it is known when it will be heard.
    void click() { clickWanted_ = true; }
    qint64 clickHeardAtUs() const { return clickHeardAtUs_; }

private:
    void play(Sound sound);

    std::atomic<bool> playing_ = false;
    std::atomic<bool> clickWanted_ = false;
    std::atomic<qint64> clickHeardAtUs_ = 0;
    std::atomic<bool> quit_ = false;
    std::thread thread_;
};
