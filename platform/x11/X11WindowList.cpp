#include "platform/x11/X11WindowList.h"

#include "platform/x11/XcbReply.h"

#include <QByteArrayList>

#include <algorithm>
#include <optional>

namespace {

using Property = XcbReply<xcb_get_property_reply_t>;

// Titles and class names longer than this are cut; nobody reads past it.
constexpr uint32_t textLengthWords = 1024;
constexpr uint32_t listLengthWords = 64;

xcb_get_property_cookie_t askProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, uint32_t words)
{
    return xcb_get_property(connection, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, words);
}

Property property(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    Property reply = quietReply(connection, xcb_get_property_reply, cookie);
    if (reply && reply->type == XCB_ATOM_NONE)
        reply.reset();
    return reply;
}

QByteArray bytesOf(const Property& reply)
{
    if (!reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), xcb_get_property_value_length(reply.get()));
}

std::vector<uint32_t> wordsOf(const Property& reply)
{
    if (!reply || reply->format != 32)
        return {};
    const auto* words = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(words, words + xcb_get_property_value_length(reply.get()) / 4);
}

bool hasProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name)
{
    return bool(property(connection, askProperty(connection, window, name, 0)));
}

// What the window list asks of each window, sent for all windows before any
// answer is read, so the list costs a few round trips, not a few per window.
struct Questions {
    xcb_window_t window;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_property_cookie_t netName, name, wmClass, pid, state, type;
};

Questions ask(xcb_connection_t* connection, xcb_window_t window, const X11Atoms& atoms)
{
    return {window, xcb_get_window_attributes(connection, window),
        askProperty(connection, window, atoms.wmName, textLengthWords),
        askProperty(connection, window, XCB_ATOM_WM_NAME, textLengthWords),
        askProperty(connection, window, XCB_ATOM_WM_CLASS, textLengthWords),
        askProperty(connection, window, atoms.wmPid, 1), askProperty(connection, window, atoms.wmState, listLengthWords),
        askProperty(connection, window, atoms.wmWindowType, listLengthWords)};
}

// A window names its types by preference; the first one we know decides.
bool isChromeType(const std::vector<uint32_t>& types, const X11Atoms& atoms)
{
    const auto has = [](const auto& list, uint32_t atom) { return std::find(list.begin(), list.end(), atom) != list.end(); };
    for (const uint32_t type : types) {
        if (has(atoms.chromeTypes, type))
            return true;
        if (has(atoms.ordinaryTypes, type))
            return false;
    }
    return false;
}

QString titleOf(const Property& netName, const Property& name, const X11Atoms& atoms)
{
    if (netName && netName->type == atoms.utf8String)
        return QString::fromUtf8(bytesOf(netName));
    if (name && name->type == atoms.utf8String)
        return QString::fromUtf8(bytesOf(name));
    // STRING is Latin-1; COMPOUND_TEXT agrees with it on everything but escapes.
    return QString::fromLatin1(bytesOf(name));
}

// WM_CLASS holds "instance\0Class\0"; the class names the application.
QString classOf(const Property& wmClass)
{
    const QList<QByteArray> parts = bytesOf(wmClass).split('\0');
    return parts.size() >= 2 ? QString::fromLocal8Bit(parts[1]) : QString();
}

std::optional<X11Window> answer(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms, const Questions& asked)
{
    const auto attributes = quietReply(connection, xcb_get_window_attributes_reply, asked.attributes);
    const Property netName = property(connection, asked.netName);
    const Property name = property(connection, asked.name);
    const Property wmClass = property(connection, asked.wmClass);
    const std::vector<uint32_t> pid = wordsOf(property(connection, asked.pid));
    const std::vector<uint32_t> states = wordsOf(property(connection, asked.state));
    const std::vector<uint32_t> types = wordsOf(property(connection, asked.type));
    if (!attributes)
        return std::nullopt;

    const StatusOr<xcb_window_t> frame = topLevelOf(connection, root, asked.window);
    if (!frame.ok())
        return std::nullopt;
    const auto geometry = quietReply(connection, xcb_get_geometry_reply, xcb_get_geometry(connection, frame.value()));
    if (!geometry)
        return std::nullopt;

    X11Window listed;
    CaptureWindow& window = listed.window;
    window.id = asked.window;
    window.title = titleOf(netName, name, atoms);
    window.application = classOf(wmClass);
    window.applicationId = window.application;
    window.pid = pid.empty() ? 0 : qint64(pid.front());
    const bool hidden = std::find(states.begin(), states.end(), atoms.wmStateHidden) != states.end();
    window.onScreen = attributes->map_state == XCB_MAP_STATE_VIEWABLE && !hidden;
    window.isDesktopChrome = attributes->override_redirect || isChromeType(types, atoms);
    const int border = geometry->border_width;
    listed.nativeFrame = QRect(geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
    return listed;
}

std::optional<std::vector<xcb_window_t>> managerStacking(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms)
{
    const Property stacking = quietReply(connection, xcb_get_property_reply,
        xcb_get_property(connection, 0, root, atoms.clientListStacking, XCB_ATOM_WINDOW, 0, UINT32_MAX / 4));
    if (!stacking || stacking->type != XCB_ATOM_WINDOW)
        return std::nullopt;
    std::vector<uint32_t> bottomToTop = wordsOf(stacking);
    return std::vector<xcb_window_t>(bottomToTop.rbegin(), bottomToTop.rend());
}

std::vector<xcb_window_t> childrenBottomToTop(xcb_connection_t* connection, xcb_window_t parent)
{
    const auto tree = quietReply(connection, xcb_query_tree_reply, xcb_query_tree(connection, parent));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get()));
}

// Without a window manager, the root's children are the windows, bottom to
// top; an application's name on a window, or on a child of it, tells an
// application's window from the input-only helpers every toolkit keeps.
std::vector<xcb_window_t> unmanagedStacking(xcb_connection_t* connection, xcb_window_t root)
{
    const auto named = [connection](xcb_window_t window) {
        return hasProperty(connection, window, XCB_ATOM_WM_CLASS) || hasProperty(connection, window, XCB_ATOM_WM_NAME);
    };
    std::vector<xcb_window_t> frontToBack;
    const std::vector<xcb_window_t> children = childrenBottomToTop(connection, root);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        const auto attributes = quietReply(connection, xcb_get_window_attributes_reply, xcb_get_window_attributes(connection, *it));
        if (!attributes || attributes->map_state == XCB_MAP_STATE_UNMAPPED || attributes->override_redirect)
            continue;
        if (named(*it)) {
            frontToBack.push_back(*it);
            continue;
        }
        for (const xcb_window_t child : childrenBottomToTop(connection, *it))
            if (named(child)) {
                frontToBack.push_back(child);
                break;
            }
    }
    return frontToBack;
}

} // namespace

std::vector<X11Window> listWindows(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms)
{
    std::optional<std::vector<xcb_window_t>> frontToBack = managerStacking(connection, root, atoms);
    if (!frontToBack)
        frontToBack = unmanagedStacking(connection, root);
    std::vector<Questions> questions;
    for (const xcb_window_t window : *frontToBack)
        questions.push_back(ask(connection, window, atoms));
    std::vector<X11Window> windows;
    for (const Questions& asked : questions)
        if (std::optional<X11Window> listed = answer(connection, root, atoms, asked))
            windows.push_back(std::move(*listed));
    return windows;
}

StatusOr<xcb_window_t> topLevelOf(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window)
{
    for (xcb_window_t current = window;;) {
        xcb_generic_error_t* rawError = nullptr;
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, current), &rawError));
        const XcbError error(rawError);
        if (!tree)
            return xcbFailure(QStringLiteral("The window is gone"), error.get());
        if (tree->parent == root || tree->parent == XCB_WINDOW_NONE)
            return current;
        current = tree->parent;
    }
}
