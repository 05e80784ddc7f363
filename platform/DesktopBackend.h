#pragma once

#include <QString>

#include <memory>

class DefaultsStore;
class DesktopWindows;
class FrameSources;
class GlobalEscape;
class PageCasts;
class PageInput;
class ScreenCapture;
class TrayHost;

// Everything Dropwell asks of the kind of desktop session it runs in, made
// once at start: the one place that knows whether that is X11 or something
// else. The services every Linux desktop shares (D-Bus, the file system,
// the sound server) are not in here.
class DesktopBackend {
public:
    virtual ~DesktopBackend() = default;

    virtual ScreenCapture& screenCapture() = 0;
    virtual FrameSources& frameSources() = 0;
    virtual GlobalEscape& globalEscape() = 0;
    // Null where the desktop lets no program move the pointer or scroll
    // another program's window; a full page cannot be captured there.
    virtual PageInput* pageInput() = 0;
    // Where there is no page input: one window's picture and the pointer
    // over it, granted by the desktop, where it might grant them (whether
    // it does is asked when a page is captured); else null.
    virtual PageCasts* pageCasts() = 0;
    // The session's own kind of system tray, beside the StatusNotifierItem
    // hosts that any desktop may run; null where it has none.
    virtual TrayHost* systemTray() = 0;
    virtual DesktopWindows& windows() = 0;
};

// Which backend a session gets, from what Qt connected to.
enum class BackendKind { X11, Portal, NoCapture };
BackendKind chooseDesktopBackend(const QString& qtPlatform, bool x11Built);

// The backend for the session this process runs in; needs the GUI
// application. `defaults` keeps what the desktop lets Dropwell do without
// asking again; without it, that lasts only as long as the process.
std::unique_ptr<DesktopBackend> openDesktopBackend(DefaultsStore* defaults = nullptr);
