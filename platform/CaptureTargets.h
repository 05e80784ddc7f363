#pragma once

#include <QRect>
#include <QString>

#include <vector>

// One screen of the desktop. Geometry is in the desktop's logical
// (device-independent) coordinates, the ones Qt gives screens, widgets and
// the pointer; images are taken at the screen's own pixel density.
struct CaptureDisplay {
    QString name; // the output's name, e.g. "DP-1"
    QRect geometry;
    qreal devicePixelRatio = 1;
};

// One top-level window, its frame (decorations included) in logical
// coordinates.
struct CaptureWindow {
    quint32 id = 0;
    QRect frame;
    QString application; // the owning application's name, "" when unknown
    QString title;
    QString applicationId; // what identifies the application (WM_CLASS on X11)
    qint64 pid = 0;
    bool onScreen = true;
    // Part of the desktop itself (panel, dock, desktop, menu, notification,
    // tooltip): never a capture target.
    bool isDesktopChrome = false;
};

struct CaptureContent {
    std::vector<CaptureDisplay> displays;
    std::vector<CaptureWindow> windows; // front to back; none where the desktop lists none
};
