#include "platform/x11/X11ScreenCapture.h"

#include "platform/x11/X11Atoms.h"
#include "platform/x11/X11Cursor.h"
#include "platform/x11/X11Displays.h"
#include "platform/x11/X11Grab.h"
#include "platform/x11/X11WindowGrab.h"
#include "platform/x11/X11WindowList.h"

#include <QGuiApplication>

#include <cerrno>
#include <cstdlib>

namespace {

Status notOnX11()
{
    return Status::failure(ENOTSUP, QStringLiteral("Screen capture needs an X11 session"));
}

// The X screen Qt talks to: the one $DISPLAY names, like xcb_connect picks.
const xcb_screen_t* defaultScreen(xcb_connection_t* connection)
{
    char* host = nullptr;
    int display = 0;
    int number = 0;
    if (xcb_parse_display(nullptr, &host, &display, &number))
        std::free(host);
    auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem && number > 0; --number)
        xcb_screen_next(&it);
    return it.rem ? it.data : nullptr;
}

// A window belongs to the display it overlaps most; one on no display
// takes the first display's scale, as the main screen's.
const X11Display* displayOf(const std::vector<X11Display>& displays, const QRect& nativeFrame)
{
    const X11Display* best = displays.empty() ? nullptr : &displays.front();
    qint64 bestArea = 0;
    for (const X11Display& display : displays) {
        const QRect overlap = display.native & nativeFrame;
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    return best;
}

} // namespace

// Everything that needs the connection, made once it is known there is one.
class X11ScreenCapture::Session {
public:
    Session(xcb_connection_t* xcb, const xcb_screen_t& screen)
        : connection(xcb), root(screen.root), rootDepth(screen.root_depth), atoms(X11Atoms::intern(xcb)), grab(xcb),
          windowGrab(xcb, root, grab)
    {
    }

    xcb_connection_t* const connection;
    const xcb_window_t root;
    const uint8_t rootDepth;
    const X11Atoms atoms;
    X11Grab grab;
    X11WindowGrab windowGrab;
};

X11ScreenCapture::X11ScreenCapture()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    if (const xcb_screen_t* screen = defaultScreen(x11->connection()))
        session_ = std::make_unique<Session>(x11->connection(), *screen);
}

X11ScreenCapture::~X11ScreenCapture() = default;

void X11ScreenCapture::releaseBuffers()
{
    if (session_)
        session_->grab.release();
}

QCoro::Task<StatusOr<CaptureContent>> X11ScreenCapture::content()
{
    co_return listContent();
}

StatusOr<CaptureContent> X11ScreenCapture::listContent() const
{
    if (!session_)
        return notOnX11();
    CaptureContent content;
    const std::vector<X11Display> displays = x11Displays(session_->connection, session_->root);
    for (const X11Display& display : displays)
        content.displays.push_back(display.display);
    for (X11Window& listed : listWindows(session_->connection, session_->root, session_->atoms)) {
        const X11Display* display = displayOf(displays, listed.nativeFrame);
        listed.window.frame = display ? display->toLogical(listed.nativeFrame) : listed.nativeFrame;
        content.windows.push_back(std::move(listed.window));
    }
    return content;
}

QCoro::Task<StatusOr<QImage>> X11ScreenCapture::grabDisplay(CaptureDisplay display, QRect crop, bool withPointer)
{
    co_return grabDisplayNow(display, crop, withPointer);
}

StatusOr<QImage> X11ScreenCapture::grabDisplayNow(const CaptureDisplay& display, const QRect& crop, bool withPointer)
{
    if (!session_)
        return notOnX11();
    const std::vector<X11Display> displays = x11Displays(session_->connection, session_->root);
    const X11Display* found = findDisplay(displays, display);
    if (!found)
        return Status::failure(ENODEV, QStringLiteral("The display '%1' is gone").arg(display.name));
    const QRect area = crop.isEmpty() ? found->native : found->toNative(QRectF(crop)) & found->native;
    if (area.isEmpty())
        return Status::failure(EINVAL, QStringLiteral("The area to capture lies outside the display"));
    QImage pixels;
    {
        const StatusOr<QImage> grabbed = session_->grab.grab(session_->root, area, session_->rootDepth);
        if (!grabbed.ok() || !withPointer)
            return grabbed;
        pixels = grabbed.value();
    } // the only copy left, so drawing into it copies no pixels
    drawPointer(session_->connection, pixels, area.topLeft());
    return pixels;
}

QCoro::Task<StatusOr<QImage>> X11ScreenCapture::grabWindow(CaptureWindow window)
{
    if (!session_)
        co_return notOnX11();
    const StatusOr<xcb_window_t> topLevel = topLevelOf(session_->connection, session_->root, window.id);
    if (!topLevel.ok())
        co_return topLevel.status();
    QCoro::Task<StatusOr<QImage>> grabbing = session_->windowGrab.grab(topLevel.value());
    co_return co_await grabbing;
}
