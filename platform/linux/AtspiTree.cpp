#include "platform/linux/AtspiTree.h"

#include <algorithm>

namespace {

constexpr std::initializer_list<AtspiRole> windowRoles {ATSPI_ROLE_FRAME, ATSPI_ROLE_WINDOW, ATSPI_ROLE_DIALOG};

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
template <typename T>
using GRef = std::unique_ptr<T, GObjectUnref>;

AtspiElement share(AtspiAccessible* element)
{
    return AtspiElement(static_cast<AtspiAccessible*>(g_object_ref(element)));
}

bool isOneOf(AtspiRole role, std::initializer_list<AtspiRole> roles)
{
    return std::ranges::find(roles, role) != roles.end();
}

// Where one libatspi call reports its failure, dropped with its holder.
class CallError {
public:
    CallError() = default;
    ~CallError() { g_clear_error(&error_); }
    CallError(const CallError&) = delete;
    CallError& operator=(const CallError&) = delete;

    GError** out()
    {
        g_clear_error(&error_);
        return &error_;
    }
    bool failed() const { return error_ != nullptr; }

private:
    GError* error_ = nullptr;
};

// An element's Value interface and the range it moves in.
struct ValueRange {
    GRef<AtspiValue> value;
    double minimum = 0;
    double maximum = 0;
};

std::optional<ValueRange> rangeOf(AtspiAccessible* element)
{
    ValueRange range {GRef<AtspiValue>(atspi_accessible_get_value_iface(element))};
    if (!range.value)
        return std::nullopt;
    CallError error;
    range.minimum = atspi_value_get_minimum_value(range.value.get(), error.out());
    if (!error.failed())
        range.maximum = atspi_value_get_maximum_value(range.value.get(), error.out());
    return error.failed() ? std::nullopt : std::optional(std::move(range));
}

} // namespace

AtspiElement AtspiTree::application(qint64 pid) const
{
    if (pid < 1)
        return {};
    const AtspiElement desktop(atspi_get_desktop(0));
    if (!desktop)
        return {};
    const int count = childCount(desktop.get());
    for (int i = 0; i < count; ++i) {
        AtspiElement program = child(desktop.get(), i);
        if (!program)
            continue;
        CallError error;
        const guint programPid = atspi_accessible_get_process_id(program.get(), error.out());
        if (!error.failed() && qint64(programPid) == pid)
            return program;
    }
    return {};
}

AtspiElement AtspiTree::matchingWindow(AtspiAccessible* application, const QString& title) const
{
    AtspiElement first;
    const int count = childCount(application);
    for (int i = 0; i < count; ++i) {
        AtspiElement window = child(application, i);
        if (!window)
            continue;
        const std::optional<AtspiRole> windowRole = role(window.get());
        if (!windowRole || !isOneOf(*windowRole, windowRoles))
            continue;
        if (title.isEmpty() || name(window.get()) == title)
            return window;
        if (!first)
            first = std::move(window);
    }
    return first;
}

AtspiElement AtspiTree::findRole(AtspiAccessible* element, std::initializer_list<AtspiRole> roles, int depth) const
{
    if (depth > maxRoleDepth || exhausted())
        return {};
    if (const std::optional<AtspiRole> found = role(element); found && isOneOf(*found, roles))
        return share(element);
    const int count = childCount(element);
    for (int i = 0; i < count; ++i) {
        if (const AtspiElement next = child(element, i))
            if (AtspiElement found = findRole(next.get(), roles, depth + 1))
                return found;
    }
    return {};
}

AtspiElement AtspiTree::findVerticalScrollBar(AtspiAccessible* element, int depth) const
{
    if (depth > maxScrollBarDepth || exhausted())
        return {};
    if (isVerticalScrollBar(element))
        return share(element);
    // A page with panes has a scroll bar in each; the largest one is taken
    // to scroll the page itself.
    AtspiElement largest;
    qint64 largestArea = -1;
    const int count = childCount(element);
    for (int i = 0; i < count; ++i) {
        const AtspiElement next = child(element, i);
        AtspiElement found = next ? findVerticalScrollBar(next.get(), depth + 1) : nullptr;
        if (!found)
            continue;
        if (const qint64 foundArea = area(found.get()); foundArea >= largestArea) {
            largest = std::move(found);
            largestArea = foundArea;
        }
    }
    return largest;
}

std::optional<QRect> AtspiTree::extents(AtspiAccessible* element) const
{
    const GRef<AtspiComponent> component(atspi_accessible_get_component_iface(element));
    if (!component)
        return std::nullopt;
    CallError error;
    const std::unique_ptr<AtspiRect, GFree> rect(
        atspi_component_get_extents(component.get(), ATSPI_COORD_TYPE_SCREEN, error.out()));
    if (error.failed() || !rect || rect->width <= 0 || rect->height <= 0)
        return std::nullopt;
    return QRect(rect->x, rect->y, rect->width, rect->height);
}

void AtspiTree::grabFocus(AtspiAccessible* element) const
{
    const GRef<AtspiComponent> component(atspi_accessible_get_component_iface(element));
    CallError error;
    if (component)
        atspi_component_grab_focus(component.get(), error.out());
}

bool AtspiTree::setFraction(AtspiAccessible* element, double fraction) const
{
    const std::optional<ValueRange> range = rangeOf(element);
    if (!range)
        return false;
    CallError error;
    const double current = range->minimum + fraction * (range->maximum - range->minimum);
    const bool set = atspi_value_set_current_value(range->value.get(), current, error.out());
    return set && !error.failed();
}

int AtspiTree::childCount(AtspiAccessible* element) const
{
    if (exhausted())
        return 0;
    CallError error;
    const int count = atspi_accessible_get_child_count(element, error.out());
    return error.failed() ? 0 : count;
}

AtspiElement AtspiTree::child(AtspiAccessible* element, int index) const
{
    if (exhausted())
        return {};
    CallError error;
    AtspiElement found(atspi_accessible_get_child_at_index(element, index, error.out()));
    return error.failed() ? nullptr : std::move(found);
}

std::optional<AtspiRole> AtspiTree::role(AtspiAccessible* element) const
{
    CallError error;
    const AtspiRole found = atspi_accessible_get_role(element, error.out());
    return error.failed() ? std::nullopt : std::optional(found);
}

QString AtspiTree::name(AtspiAccessible* element) const
{
    CallError error;
    const std::unique_ptr<gchar, GFree> found(atspi_accessible_get_name(element, error.out()));
    return error.failed() || !found ? QString() : QString::fromUtf8(found.get());
}

bool AtspiTree::isVerticalScrollBar(AtspiAccessible* element) const
{
    if (role(element) != ATSPI_ROLE_SCROLL_BAR)
        return false;
    const GRef<AtspiStateSet> states(atspi_accessible_get_state_set(element));
    if (!states)
        return false;
    return atspi_state_set_contains(states.get(), ATSPI_STATE_VERTICAL)
        || !atspi_state_set_contains(states.get(), ATSPI_STATE_HORIZONTAL);
}

qint64 AtspiTree::area(AtspiAccessible* element) const
{
    const std::optional<QRect> rect = extents(element);
    return rect ? qint64(rect->width()) * rect->height() : 0;
}
