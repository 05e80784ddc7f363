#include "platform/x11/X11SharedSegment.h"

#include "platform/x11/XcbReply.h"

#include <sys/mman.h>
#include <unistd.h>

#include <utility>

namespace {

struct Mapping {
    void* memory;
    size_t size;
};

void unmap(void* mapping)
{
    const auto* owned = static_cast<Mapping*>(mapping);
    munmap(owned->memory, owned->size);
    delete owned;
}

} // namespace

X11SharedSegment::X11SharedSegment(xcb_connection_t* connection, size_t size) : connection_(connection), size_(size)
{
    const int fd = memfd_create("dropwell-grab", MFD_CLOEXEC);
    if (fd < 0)
        return;
    if (ftruncate(fd, off_t(size)) == 0) {
        void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        memory_ = memory == MAP_FAILED ? nullptr : static_cast<uint8_t*>(memory);
    }
    if (!memory_) {
        close(fd);
        return;
    }
    id_ = xcb_generate_id(connection);
    // xcb closes the descriptor once it is sent.
    const XcbError error(xcb_request_check(connection, xcb_shm_attach_fd_checked(connection, id_, fd, 0)));
    attached_ = !error;
}

X11SharedSegment::~X11SharedSegment()
{
    detach();
    if (memory_)
        munmap(memory_, size_);
}

void X11SharedSegment::detach()
{
    if (std::exchange(attached_, false))
        xcb_discard_reply(connection_, xcb_shm_detach_checked(connection_, id_).sequence);
}

QImage X11SharedSegment::intoImage(QSize size, QImage::Format format)
{
    if (!attached_ || size_t(size.width()) * size_t(size.height()) * 4 > size_)
        return {};
    detach();
    auto* mapping = new Mapping {std::exchange(memory_, nullptr), size_};
    QImage image(static_cast<uchar*>(mapping->memory), size.width(), size.height(), qsizetype(size.width()) * 4, format, unmap, mapping);
    // A null picture never calls its cleanup.
    if (image.isNull())
        unmap(mapping);
    return image;
}
