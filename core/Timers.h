#pragma once

#include <QObject>

#include <chrono>
#include <memory>

// A one-shot timer. Starting it again pushes the timeout back; cancel() drops
// a timeout that has not come yet.
class OneShotTimer : public QObject {
    Q_OBJECT
public:
    virtual void start(std::chrono::milliseconds delay) = 0;
    virtual void cancel() = 0;
    virtual bool isRunning() const = 0;

Q_SIGNALS:
    void timeout();
};

// Where timers come from, injectable like the clock: tests move time forward
// and fire what is due instead of waiting for it.
class Timers {
public:
    virtual ~Timers() = default;
    virtual std::unique_ptr<OneShotTimer> make() = 0;
};

// Timers of the event loop.
class SystemTimers final : public Timers {
public:
    std::unique_ptr<OneShotTimer> make() override;
};
