#include "platform/x11/X11FrameReader.h"

#include "platform/x11/X11Cursor.h"
#include "platform/x11/X11Extensions.h"
#include "platform/x11/X11GetImage.h"
#include "platform/x11/XcbReply.h"

#include <QImage>
#include <QSysInfo>

#include <xcb/shm.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int bytesPerPixel = 4;

// The encoder reads 32-bit pixels in the host's byte order, which is what
// every X server of today's desktops stores for depths 24 and 32.
Status checkPixelLayout(xcb_connection_t* connection, uint8_t depth)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const bool hostIsLsbFirst = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if ((depth == 24 || depth == 32) && (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) == hostIsLsbFirst)
        for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
            if (it.data->depth == depth && it.data->bits_per_pixel == 32)
                return Status::success();
    return Status::failure(ENOTSUP, QStringLiteral("Pixels of depth %1 on this X server cannot be recorded").arg(depth));
}

} // namespace

Status X11FrameReader::open(int bufferCount, std::unique_ptr<X11FrameReader>& reader)
{
    int screenNumber = 0;
    XcbConnection connection(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(connection.get()))
        return Status::failure(ECONNREFUSED, QStringLiteral("Cannot connect to the X server for recording"));
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (; screens.rem && screenNumber > 0; --screenNumber)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return Status::failure(ENODEV, QStringLiteral("The X server has no such screen"));
    const xcb_screen_t& screen = *screens.data;
    reader.reset(new X11FrameReader(std::move(connection), screen, bufferCount));
    return Status::success();
}

X11FrameReader::X11FrameReader(XcbConnection connection, const xcb_screen_t& screen, int bufferCount)
    : connection_(std::move(connection)), root_(screen.root), rootDepth_(screen.root_depth),
      sharedMemory_(serverPassesSegmentsAsFiles(connection_.get())), buffers_(size_t(std::max(bufferCount, 1)))
{
}

StatusOr<FramePixels> X11FrameReader::read(int buffer, xcb_drawable_t drawable, const QRect& area, uint8_t depth)
{
    if (area.isEmpty() || buffer < 0 || buffer >= bufferCount())
        return Status::failure(EINVAL, QStringLiteral("Nothing to read: no area or no such buffer"));
    if (Status layout = checkPixelLayout(connection(), depth); !layout.ok())
        return layout;
    Buffer& into = buffers_[size_t(buffer)];
    if (sharedMemory_) {
        StatusOr<FramePixels> shared = readShared(into, drawable, area);
        // A server that cannot map our memory (remote, or out of it) still
        // answers the ordinary way, from now on for every picture.
        if (shared.ok() || shared.status().code() != EAGAIN)
            return shared;
        sharedMemory_ = false;
        into.segment.reset();
    }
    return readPlain(into, drawable, area);
}

StatusOr<FramePixels> X11FrameReader::readShared(Buffer& buffer, xcb_drawable_t drawable, const QRect& area)
{
    const size_t size = size_t(area.width()) * size_t(area.height()) * bytesPerPixel;
    // A window that grew needs a larger segment; one that shrank keeps its own.
    if (!buffer.segment || buffer.segment->size() < size)
        buffer.segment = std::make_unique<X11SharedSegment>(connection(), size);
    if (!buffer.segment->ok())
        return Status::failure(EAGAIN, QStringLiteral("The X server could not share memory with Dropwell"));
    if (const Status got = getImage(connection(), drawable, area, *buffer.segment); !got.ok())
        return got;
    return FramePixels {buffer.segment->pixels(), area.width() * bytesPerPixel, area.size()};
}

StatusOr<FramePixels> X11FrameReader::readPlain(Buffer& buffer, xcb_drawable_t drawable, const QRect& area)
{
    XcbReply<xcb_get_image_reply_t> reply;
    if (const Status got = getImage(connection(), drawable, area, reply); !got.ok())
        return got;
    const size_t size = size_t(area.width()) * size_t(area.height()) * bytesPerPixel;
    buffer.plain.resize(size);
    std::memcpy(buffer.plain.data(), xcb_get_image_data(reply.get()), size);
    return FramePixels {buffer.plain.data(), area.width() * bytesPerPixel, area.size()};
}

void X11FrameReader::drawPointer(int buffer, const FramePixels& pixels, QPoint origin)
{
    Buffer& in = buffers_[size_t(buffer)];
    uint8_t* memory = in.segment && sharedMemory_ ? in.segment->pixels() : in.plain.data();
    // The top byte is undefined at depth 24; painting over it leaves the
    // colours right, and the encoder never reads it.
    QImage picture(memory, pixels.size.width(), pixels.size.height(), pixels.bytesPerLine, QImage::Format_RGB32);
    ::drawPointer(connection(), picture, origin);
}
