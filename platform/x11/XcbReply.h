#pragma once

#include "platform/Status.h"

#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

// xcb hands every reply and error over as malloc'ed memory that the caller
// frees; holding them in these makes every early return safe.
struct XcbFree {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;
using XcbError = XcbReply<xcb_generic_error_t>;

// A connection of one's own to the X server, closed on every path.
struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XcbConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;

// The reply to `cookie`, or none where the server refused; the refusal is
// dropped here rather than reported to Qt's event handler as a warning, since
// a window that vanished between two requests is an everyday outcome.
template <typename Reply, typename Cookie>
XcbReply<Reply> quietReply(xcb_connection_t* connection, Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie cookie)
{
    xcb_generic_error_t* error = nullptr;
    XcbReply<Reply> answer(reply(connection, cookie, &error));
    std::free(error);
    return answer;
}

// A refusal of the X server as a Status, for the caller to pass on.
inline Status xcbFailure(const QString& what, const xcb_generic_error_t* error)
{
    const int code = error ? error->error_code : 0;
    const int errnoCode = code == XCB_WINDOW || code == XCB_DRAWABLE ? ENOENT : EIO;
    return Status::failure(errnoCode,
        what + (error ? QStringLiteral(" (X error %1)").arg(code) : QStringLiteral(" (connection lost)")));
}
