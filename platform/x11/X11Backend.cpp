#include "platform/x11/X11Backend.h"

#include "platform/x11/X11DesktopWindows.h"
#include "platform/x11/X11FrameSources.h"
#include "platform/x11/X11GlobalEscape.h"
#include "platform/x11/X11PageInput.h"
#include "platform/x11/X11ScreenCapture.h"
#include "platform/x11/X11TraySelection.h"

#include <QGuiApplication>

namespace {

xcb_connection_t* qtConnection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

X11Backend::X11Backend()
    : screenCapture_(std::make_unique<X11ScreenCapture>())
    , frameSources_(std::make_unique<X11FrameSources>())
    , escape_(std::make_unique<X11GlobalEscape>())
    , pageInput_(std::make_unique<X11PageInput>())
    , tray_(std::make_unique<X11TraySelection>())
    , windows_(std::make_unique<X11DesktopWindows>(qtConnection()))
{
}

X11Backend::~X11Backend() = default;

ScreenCapture& X11Backend::screenCapture() { return *screenCapture_; }
FrameSources& X11Backend::frameSources() { return *frameSources_; }
GlobalEscape& X11Backend::globalEscape() { return *escape_; }
PageInput* X11Backend::pageInput() { return pageInput_.get(); }
TrayHost* X11Backend::systemTray() { return tray_.get(); }
DesktopWindows& X11Backend::windows() { return *windows_; }
