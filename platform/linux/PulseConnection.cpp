#include "platform/linux/PulseConnection.h"

#include <pulse/error.h>
#include <pulse/timeval.h>
#include <pulse/introspect.h>
#include <pulse/rtclock.h>

#include <cerrno>

#include <QCoreApplication>

namespace {

// A local server answers in milliseconds; one that takes seconds is stuck.
constexpr pa_usec_t setUpTimeoutUs = 3 * PA_USEC_PER_SEC;

void wakeOnStateChange(pa_context*, void* loop)
{
    PulseConnection::signal(static_cast<pa_threaded_mainloop*>(loop));
}

} // namespace

PulseConnection::PulseConnection()
    : loop_(pa_threaded_mainloop_new()),
      context_(loop_ ? pa_context_new(pa_threaded_mainloop_get_api(loop_.get()), "Dropwell") : nullptr)
{
}

Status PulseConnection::connect(std::unique_ptr<PulseConnection>& connection)
{
    std::unique_ptr<PulseConnection> opened(new PulseConnection());
    if (!opened->context())
        return Status::failure(ENOMEM, QStringLiteral("Cannot set up a sound server connection"));
    pa_context_set_state_callback(opened->context(), &wakeOnStateChange, opened->loop());
    if (pa_context_connect(opened->context(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return opened->failure(ECONNREFUSED, QCoreApplication::translate("PulseConnection", "There is no sound server"));
    if (pa_threaded_mainloop_start(opened->loop()) < 0)
        return Status::failure(EIO, QStringLiteral("Cannot start the sound server's thread"));
    opened->running_ = true;
    Lock lock(*opened);
    opened->deadline_ = pa_context_rttime_new(opened->context(), pa_rtclock_now() + setUpTimeoutUs,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
            auto* waiting = static_cast<PulseConnection*>(self);
            waiting->timedOut_ = true;
            signal(waiting->loop());
        },
        opened.get());
    const bool ready = opened->waitUntil([&] { return pa_context_get_state(opened->context()) == PA_CONTEXT_READY; });
    if (!ready)
        return opened->failure(ECONNREFUSED, QCoreApplication::translate("PulseConnection", "The sound server does not answer"));
    connection = std::move(opened);
    return Status::success();
}

PulseConnection::~PulseConnection()
{
    if (running_) {
        {
            Lock lock(*this);
            endSetUp();
            pa_context_disconnect(context());
            context_.reset();
        }
        pa_threaded_mainloop_stop(loop());
    }
}

void PulseConnection::endSetUp()
{
    if (deadline_)
        pa_threaded_mainloop_get_api(loop())->time_free(deadline_);
    deadline_ = nullptr;
}

bool PulseConnection::wait(const PulseOperation& operation)
{
    if (!operation)
        return false;
    // The lock is held since the operation began, so its end cannot slip by.
    pa_operation_set_state_callback(
        operation.get(), [](pa_operation*, void* loop) { signal(static_cast<pa_threaded_mainloop*>(loop)); }, loop());
    return waitUntil([&] { return pa_operation_get_state(operation.get()) != PA_OPERATION_RUNNING; });
}

Status PulseConnection::failure(int code, const QString& what) const
{
    const int error = pa_context_errno(context());
    if (timedOut_ || error == PA_OK)
        return Status::failure(code, what);
    return Status::failure(code, what + QStringLiteral(" (") + QString::fromUtf8(pa_strerror(error)) + QLatin1Char(')'));
}

PulseConnection::Defaults PulseConnection::defaults()
{
    Lock lock(*this);
    Defaults found;
    const PulseOperation server(pa_context_get_server_info(context(),
        [](pa_context*, const pa_server_info* info, void* into) {
            auto* defaults = static_cast<Defaults*>(into);
            if (info && info->default_sink_name)
                defaults->sink = info->default_sink_name;
            if (info && info->default_source_name)
                defaults->source = info->default_source_name;
        },
        &found));
    if (!wait(server) || found.source.isEmpty())
        return found;
    // A desktop without a microphone still has a default input: the monitor
    // of an output, which is no microphone at all.
    const PulseOperation source(pa_context_get_source_info_by_name(context(), found.source.constData(),
        [](pa_context*, const pa_source_info* info, int, void* into) {
            if (info)
                static_cast<Defaults*>(into)->sourceIsMonitor = info->monitor_of_sink != PA_INVALID_INDEX;
        },
        &found));
    wait(source);
    return found;
}
