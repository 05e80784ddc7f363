#pragma once

// What happens to the entries of one folder, as inotify tells it: for tests
// that must see steps a result hides, such as a copy made and removed again
// or a file written twice.

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

class FolderEvents {
public:
    FolderEvents(const QString& folder, uint32_t events) : fd_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
    {
        if (fd_ < 0)
            qFatal("inotify: %s", std::strerror(errno));
        add(folder, events);
    }
    // Another folder whose events come through the same descriptor.
    void add(const QString& folder, uint32_t events)
    {
        if (::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), events) < 0)
            qFatal("cannot watch %s", qPrintable(folder));
    }
    ~FolderEvents() { ::close(fd_); }
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;

    int descriptor() const { return fd_; }
    // The names the events since the last call were about, in order.
    QStringList take()
    {
        QStringList names;
        alignas(inotify_event) char buffer[16384];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (const char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                names.append(event->len > 0 ? QFile::decodeName(event->name) : QString());
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_;
};
