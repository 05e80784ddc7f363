#pragma once

#include "platform/DesktopBackend.h"

#include <QDBusConnection>

#include <memory>

class PlainDesktopWindows;
class PortalFrameSources;
class PortalPageCasts;
class PortalScreenCapture;
class PortalWindowPicker;
class PortalEscape;

// A Wayland session: the compositor alone reads the screen, and programs ask
// it through xdg-desktop-portal: pictures through the Screenshot portal,
// windows and recordings through the ScreenCast portal and PipeWire, Escape
// through the GlobalShortcuts portal where the desktop has it. No program
// may scroll another's window, unless the desktop grants it one window's
// cast together with its pointer through the RemoteDesktop portal.
class PortalBackend final : public DesktopBackend {
public:
    PortalBackend(QDBusConnection bus, DefaultsStore* defaults);
    ~PortalBackend() override;

    ScreenCapture& screenCapture() override;
    FrameSources& frameSources() override;
    GlobalEscape& globalEscape() override;
    PageInput* pageInput() override { return nullptr; }
    PageCasts* pageCasts() override;
    // The tray is a StatusNotifierItem host, if any, which every desktop may run.
    TrayHost* systemTray() override { return nullptr; }
    DesktopWindows& windows() override;

private:
    std::unique_ptr<PortalWindowPicker> windowPicker_;
    std::unique_ptr<PortalScreenCapture> capture_;
    std::unique_ptr<PortalFrameSources> frames_;
    std::unique_ptr<PortalEscape> escape_;
    std::unique_ptr<PortalPageCasts> pageCasts_;
    std::unique_ptr<PlainDesktopWindows> windows_;
};
