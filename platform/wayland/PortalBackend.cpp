#include "platform/wayland/PortalBackend.h"

#include "platform/DesktopWindows.h"
#include "platform/linux/PortalEscape.h"
#include "platform/wayland/PortalFrameSources.h"
#include "platform/wayland/PortalPageCasts.h"
#include "platform/wayland/PortalScreenCapture.h"
#include "platform/wayland/PortalWindowPicker.h"

PortalBackend::PortalBackend(QDBusConnection bus, DefaultsStore* defaults)
    : windowPicker_(std::make_unique<PortalWindowPicker>(bus))
    , capture_(std::make_unique<PortalScreenCapture>(bus, windowPicker_.get()))
    , frames_(std::make_unique<PortalFrameSources>(bus, defaults))
    , escape_(std::make_unique<PortalEscape>(bus))
    , pageCasts_(std::make_unique<PortalPageCasts>(bus))
    // A Wayland compositor always composites.
    , windows_(std::make_unique<PlainDesktopWindows>(true))
{
}

PortalBackend::~PortalBackend() = default;

ScreenCapture& PortalBackend::screenCapture() { return *capture_; }
FrameSources& PortalBackend::frameSources() { return *frames_; }
GlobalEscape& PortalBackend::globalEscape() { return *escape_; }
PageCasts* PortalBackend::pageCasts() { return pageCasts_.get(); }
DesktopWindows& PortalBackend::windows() { return *windows_; }
