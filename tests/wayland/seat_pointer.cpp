// A pointer for the seat of a headless sway, which has no input devices:
// without one its programs get no pointer, so neither the cursor that
// `swaymsg seat - cursor` moves nor its wheel reach them. It adds a virtual
// pointer through the compositor's virtual-pointer protocol, says "ready",
// and keeps it until its standard input closes or it is ended.
//
//   seat_pointer
#include <wayland-client.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// The protocol's objects, as libwayland-client needs them to make a virtual
// pointer: none of the pointer's own requests is sent, as the end of the
// connection takes it away.
const wl_interface virtualPointer = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* createTypes[] = {&wl_seat_interface, &virtualPointer};
const wl_message managerRequests[] = {{"create_virtual_pointer", "?on", createTypes}};
const wl_interface pointerManager = {"zwlr_virtual_pointer_manager_v1", 1, 1, managerRequests, 0, nullptr};

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, pointerManager.name) == 0)
        *static_cast<wl_proxy**>(data) = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &pointerManager, 1));
}
void removed(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {announced, removed};

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("seat_pointer: no Wayland display\n", stderr);
        return 1;
    }
    wl_proxy* manager = nullptr;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &manager);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fputs("seat_pointer: the compositor has no virtual pointers\n", stderr);
        return 1;
    }
    wl_proxy* pointer = wl_proxy_marshal_constructor(manager, 0, &virtualPointer, nullptr, nullptr);
    wl_display_roundtrip(display);
    std::puts("ready");
    std::fflush(stdout);
    pollfd input {STDIN_FILENO, POLLIN, 0};
    char ignored[64];
    while (poll(&input, 1, -1) >= 0 && read(STDIN_FILENO, ignored, sizeof ignored) > 0) {
    }
    wl_proxy_destroy(pointer);
    wl_proxy_destroy(manager);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
