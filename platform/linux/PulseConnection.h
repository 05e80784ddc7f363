#pragma once

#include "platform/Status.h"

#include <QByteArray>

#include <pulse/context.h>
#include <pulse/operation.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <memory>

struct PulseLoopFree {
    void operator()(pa_threaded_mainloop* loop) const { pa_threaded_mainloop_free(loop); }
};
struct PulseContextUnref {
    void operator()(pa_context* context) const { pa_context_unref(context); }
};
struct PulseOperationUnref {
    void operator()(pa_operation* operation) const { pa_operation_unref(operation); }
};
struct PulseStreamUnref {
    void operator()(pa_stream* stream) const { pa_stream_unref(stream); }
};
using PulseOperation = std::unique_ptr<pa_operation, PulseOperationUnref>;
using PulseStream = std::unique_ptr<pa_stream, PulseStreamUnref>;

// A connection to the sound server (PulseAudio, or PipeWire speaking its
// protocol) with a main loop thread of its own, on which every callback of
// its streams runs. Setting up waits at most a few seconds in all, so that a
// server that hangs cannot hang the recording's start.
class PulseConnection {
public:
    // ECONNREFUSED when there is no server to talk to.
    static Status connect(std::unique_ptr<PulseConnection>& connection);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // Holds the main loop's lock: every call into the context or its
    // streams from another thread happens inside one.
    class Lock {
    public:
        explicit Lock(const PulseConnection& connection) : loop_(connection.loop()) { pa_threaded_mainloop_lock(loop_); }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

    struct Defaults {
        QByteArray sink; // empty when there is none
        QByteArray source;
        bool sourceIsMonitor = false; // the default input is an output's monitor
    };
    Defaults defaults();

    pa_threaded_mainloop* loop() const { return loop_.get(); }
    pa_context* context() const { return context_.get(); }
    // Waits, locked, until `done` says so, the server fails or set-up time is
    // up; false in the last two cases.
    template <typename Done>
    bool waitUntil(Done done)
    {
        while (!done()) {
            if (timedOut_ || !PA_CONTEXT_IS_GOOD(pa_context_get_state(context())))
                return false;
            pa_threaded_mainloop_wait(loop());
        }
        return true;
    }
    bool wait(const PulseOperation& operation);
    // The server's last error, after `what`.
    Status failure(int code, const QString& what) const;
    // Set-up is over: from now on nothing waits for the server.
    void endSetUp();

    // Wakes whoever waits; a callback for the server's state changes.
    static void signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

private:
    PulseConnection();

    std::unique_ptr<pa_threaded_mainloop, PulseLoopFree> loop_;
    std::unique_ptr<pa_context, PulseContextUnref> context_;
    pa_time_event* deadline_ = nullptr;
    bool timedOut_ = false;
    bool running_ = false;
};
