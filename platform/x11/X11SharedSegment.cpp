#include "platform/x11/X11SharedSegment.h"

#include "platform/x11/XcbReply.h"

#include <sys/mman.h>
#include <unistd.h>

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
    if (attached_)
        xcb_discard_reply(connection_, xcb_shm_detach_checked(connection_, id_).sequence);
    if (memory_)
        munmap(memory_, size_);
}
