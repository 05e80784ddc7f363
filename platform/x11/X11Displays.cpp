#include "platform/x11/X11Displays.h"

#include "platform/x11/XcbReply.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/randr.h>

#include <cmath>

namespace {

struct Monitor {
    QString name;
    QRect native;
};

// Products of a ratio like 1.25 land a hair beside the whole number they
// mean; that hair must not widen a crop by a pixel.
constexpr double roundingSlack = 1e-6;

int floorPixel(double value) { return int(std::floor(value + roundingSlack)); }
int ceilPixel(double value) { return int(std::ceil(value - roundingSlack)); }

std::vector<Monitor> randrMonitors(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection, &xcb_randr_id);
    if (!randr || !randr->present)
        return {};
    const auto reply = quietReply(connection, xcb_randr_get_monitors_reply, xcb_randr_get_monitors(connection, root, 1));
    if (!reply)
        return {};
    std::vector<Monitor> monitors;
    std::vector<xcb_get_atom_name_cookie_t> names;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem; xcb_randr_monitor_info_next(&it)) {
        monitors.push_back({{}, QRect(it.data->x, it.data->y, it.data->width, it.data->height)});
        names.push_back(xcb_get_atom_name(connection, it.data->name));
    }
    for (size_t i = 0; i < monitors.size(); ++i) {
        const auto name = quietReply(connection, xcb_get_atom_name_reply, names[i]);
        if (name)
            monitors[i].name = QString::fromUtf8(xcb_get_atom_name_name(name.get()), xcb_get_atom_name_name_length(name.get()));
    }
    return monitors;
}

QRect nativeOf(const QScreen& screen, const std::vector<Monitor>& monitors)
{
    const QRect logical = screen.geometry();
    for (const Monitor& monitor : monitors)
        if (monitor.name == screen.name())
            return monitor.native;
    for (const Monitor& monitor : monitors)
        if (monitor.native.topLeft() == logical.topLeft())
            return monitor.native;
    const qreal ratio = screen.devicePixelRatio();
    return QRect(logical.topLeft(), QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
}

} // namespace

QRect X11Display::toNative(const QRectF& logical) const
{
    const QPointF origin = display.geometry.topLeft();
    const qreal ratio = display.devicePixelRatio;
    const QPointF topLeft = native.topLeft() + (logical.topLeft() - origin) * ratio;
    const QPointF bottomRight = native.topLeft() + (logical.bottomRight() - origin) * ratio;
    return QRect(QPoint(floorPixel(topLeft.x()), floorPixel(topLeft.y())),
        QPoint(ceilPixel(bottomRight.x()) - 1, ceilPixel(bottomRight.y()) - 1));
}

QRect X11Display::toLogical(const QRect& rect) const
{
    const QPointF origin = display.geometry.topLeft();
    const qreal ratio = display.devicePixelRatio;
    const QPointF topLeft = origin + QPointF(rect.topLeft() - native.topLeft()) / ratio;
    return QRectF(topLeft, QSizeF(rect.size()) / ratio).toAlignedRect();
}

std::vector<X11Display> x11Displays(xcb_connection_t* connection, xcb_window_t root)
{
    const std::vector<Monitor> monitors = randrMonitors(connection, root);
    std::vector<X11Display> displays;
    for (const QScreen* screen : QGuiApplication::screens())
        displays.push_back({{screen->name(), screen->geometry(), screen->devicePixelRatio()}, nativeOf(*screen, monitors)});
    return displays;
}

const X11Display* findDisplay(const std::vector<X11Display>& displays, const CaptureDisplay& wanted)
{
    for (const X11Display& candidate : displays)
        if (candidate.display.name == wanted.name && candidate.display.geometry == wanted.geometry)
            return &candidate;
    for (const X11Display& candidate : displays)
        if (candidate.display.geometry == wanted.geometry)
            return &candidate;
    return nullptr;
}
