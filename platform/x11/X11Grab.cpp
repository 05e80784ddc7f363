#include "platform/x11/X11Grab.h"

#include "platform/x11/X11Extensions.h"
#include "platform/x11/X11GetImage.h"
#include "platform/x11/XcbReply.h"

#include <QSysInfo>

#include <xcb/shm.h>

#include <cerrno>

namespace {

constexpr int bytesPerPixel = 4;
// Long enough for the next grab of a burst, short enough not to hold
// megabytes for a tray icon that waits.
constexpr int segmentKeptMs = 5000;

// Only 32-bit pixels in the host's byte order are what QImage stores; every
// X server of today's desktops gives that for depths 24 and 32.
Status checkPixelLayout(xcb_connection_t* connection, uint8_t depth)
{
    if (depth != 24 && depth != 32)
        return Status::failure(ENOTSUP, QStringLiteral("Screens of depth %1 cannot be captured").arg(depth));
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const bool hostIsLsbFirst = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if ((setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != hostIsLsbFirst)
        return Status::failure(ENOTSUP, QStringLiteral("The X server's byte order differs from this computer's"));
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == depth)
            return it.data->bits_per_pixel == 32
                ? Status::success()
                : Status::failure(ENOTSUP, QStringLiteral("Pixels of depth %1 are not 32 bits wide").arg(depth));
    return Status::failure(ENOTSUP, QStringLiteral("The X server has no pixel format of depth %1").arg(depth));
}

QImage::Format formatOf(uint8_t depth) { return depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32; }

// Depth 24 leaves the top byte of each pixel undefined; QImage wants it
// opaque. `source` and `image` may be the same memory.
void copyOpaque(const uint8_t* source, QImage& image, uint8_t depth)
{
    const quint32 opaque = depth == 24 ? 0xff000000u : 0;
    const auto* from = reinterpret_cast<const quint32*>(source);
    auto* to = reinterpret_cast<quint32*>(image.bits()); // rows of four-byte pixels are packed
    const size_t count = size_t(image.width()) * size_t(image.height());
    for (size_t i = 0; i < count; ++i)
        to[i] = from[i] | opaque;
}

Status noMemoryFor(QSize size)
{
    return Status::failure(ENOMEM, QStringLiteral("No memory for a %1 x %2 image").arg(size.width()).arg(size.height()));
}

StatusOr<QImage> copyToImage(const uint8_t* pixels, QSize size, uint8_t depth)
{
    QImage image(size, formatOf(depth));
    if (image.isNull())
        return noMemoryFor(size);
    copyOpaque(pixels, image, depth);
    return image;
}

} // namespace

X11Grab::X11Grab(xcb_connection_t* connection) : connection_(connection), sharedMemory_(serverPassesSegmentsAsFiles(connection))
{
    releaseSegment_.setSingleShot(true);
    releaseSegment_.setInterval(segmentKeptMs);
    QObject::connect(&releaseSegment_, &QTimer::timeout, &releaseSegment_, [this] { segment_.reset(); });
}

StatusOr<QImage> X11Grab::grab(xcb_drawable_t drawable, const QRect& area, uint8_t depth)
{
    if (area.isEmpty())
        return Status::failure(EINVAL, QStringLiteral("Nothing to capture: the area is empty"));
    if (Status layout = checkPixelLayout(connection_, depth); !layout.ok())
        return layout;
    if (sharedMemory_) {
        StatusOr<QImage> shared = grabShared(drawable, area, depth);
        // A server that cannot map our memory (remote, or out of it) still
        // answers the ordinary way.
        if (shared.ok() || shared.status().code() != EAGAIN)
            return shared;
    }
    return grabPlain(drawable, area, depth);
}

void X11Grab::release()
{
    releaseSegment_.stop();
    segment_.reset();
}

StatusOr<QImage> X11Grab::grabShared(xcb_drawable_t drawable, const QRect& area, uint8_t depth)
{
    // A grab that no other came just before (Print Screen, mostly) keeps the
    // segment's memory as its picture: in memory the process never touched,
    // a copy costs as much again as the grab itself. A burst keeps the
    // segment instead, and its copies reuse memory the allocator has at hand.
    const bool alone = !releaseSegment_.isActive();
    const size_t size = size_t(area.width()) * size_t(area.height()) * bytesPerPixel;
    if (!segment_ || segment_->size() < size)
        segment_ = std::make_unique<X11SharedSegment>(connection_, size);
    releaseSegment_.start();
    if (!segment_->ok())
        return Status::failure(EAGAIN, QStringLiteral("The X server could not share memory with Dropwell"));
    if (const Status got = getImage(connection_, drawable, area, *segment_); !got.ok())
        return got;
    if (!alone)
        return copyToImage(segment_->pixels(), area.size(), depth);
    QImage image = segment_->intoImage(area.size(), formatOf(depth));
    segment_.reset();
    if (image.isNull())
        return noMemoryFor(area.size());
    if (depth == 24)
        copyOpaque(image.constBits(), image, depth);
    return image;
}

StatusOr<QImage> X11Grab::grabPlain(xcb_drawable_t drawable, const QRect& area, uint8_t depth) const
{
    XcbReply<xcb_get_image_reply_t> reply;
    if (const Status got = getImage(connection_, drawable, area, reply); !got.ok())
        return got;
    return copyToImage(xcb_get_image_data(reply.get()), area.size(), depth);
}
