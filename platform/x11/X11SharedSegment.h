#pragma once

#include <QImage>

#include <xcb/shm.h>

#include <cstddef>
#include <cstdint>

// Memory the X server writes pixels into, handed to it as a file descriptor
// (MIT-SHM 1.2), so that a grab does not travel through the socket.
class X11SharedSegment {
public:
    // Not ok() when the memory cannot be had or the server will not map it.
    X11SharedSegment(xcb_connection_t* connection, size_t size);
    ~X11SharedSegment();
    X11SharedSegment(const X11SharedSegment&) = delete;
    X11SharedSegment& operator=(const X11SharedSegment&) = delete;

    bool ok() const { return attached_; }
    size_t size() const { return size_; }
    xcb_shm_seg_t id() const { return id_; }
    const uint8_t* pixels() const { return memory_; }
    uint8_t* pixels() { return memory_; }

    // The memory as a picture of `size` with four bytes a pixel, which owns
    // it from now on: the server lets go of the segment at once, and the
    // memory is unmapped with the picture's last copy, on whatever thread
    // that goes. Null, and the segment left as it is, when it is not ok().
    QImage intoImage(QSize size, QImage::Format format);

private:
    void detach();

    xcb_connection_t* connection_;
    size_t size_;
    uint8_t* memory_ = nullptr;
    xcb_shm_seg_t id_ = 0;
    bool attached_ = false;
};
