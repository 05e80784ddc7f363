#pragma once

#include <QImage>
#include <QPoint>

#include <xcb/xcb.h>

// The pointer as the user sees it, drawn into a grab whose top-left pixel
// sits at `origin` in root-window pixels. X never puts the pointer into
// window or screen contents, so it comes from XFixes as its own image.
// Without XFixes the grab stays as it is.
void drawPointer(xcb_connection_t* connection, QImage& image, QPoint origin);
