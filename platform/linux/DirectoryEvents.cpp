#include "platform/DirectoryEvents.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Entry changes are reported with the entry's name; changes of the folder
// itself come without one. A child's attribute change is not the folder's.
constexpr uint32_t watchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

bool concernsFolder(const inotify_event& event)
{
    if (event.mask & (IN_Q_OVERFLOW | IN_IGNORED))
        return true; // events were lost, or the watch is gone: let the owner look
    if (event.mask & IN_ATTRIB)
        return event.len == 0;
    return true;
}

} // namespace

DirectoryEvents::DirectoryEvents(QObject* parent) : QObject(parent) {}

DirectoryEvents::~DirectoryEvents() { stop(); }

bool DirectoryEvents::start(const QString& folder)
{
    stop();
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return false;
    if (::inotify_add_watch(fd, QFile::encodeName(folder).constData(), watchedEvents) < 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &DirectoryEvents::drain);
    return true;
}

void DirectoryEvents::stop()
{
    notifier_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool DirectoryEvents::isActive() const { return fd_ >= 0; }

void DirectoryEvents::drain()
{
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            break;
        }
        for (ssize_t offset = 0; offset < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            relevant = relevant || concernsFolder(*event);
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (relevant)
        Q_EMIT changed();
}
