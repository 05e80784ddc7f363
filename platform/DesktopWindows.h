#pragma once

class QWindow;

// How the desktop treats Dropwell's own windows.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;

    // A compositing manager blends windows with what lies behind them, so
    // see-through windows look see-through; without one they turn black.
    virtual bool composites() const = 0;
    // Windows that belong to the tray icon, not to a task: the desktop's task
    // list and pager leave them out (`off`), or list them again. Call while
    // the window is made or shown, before it reaches the screen; does nothing
    // where the desktop has no such hint.
    virtual void keepOffTaskbar(QWindow& window, bool off = true) = 0;
};

// A desktop that tells programs nothing about either: a Wayland compositor
// always composites and lists windows as it sees fit.
class PlainDesktopWindows final : public DesktopWindows {
public:
    explicit PlainDesktopWindows(bool composites) : composites_(composites) {}

    bool composites() const override { return composites_; }
    void keepOffTaskbar(QWindow&, bool) override {}

private:
    bool composites_;
};
