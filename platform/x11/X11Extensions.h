#pragma once

#include <xcb/xcb.h>

// What the X server offers beyond the core protocol, where Dropwell has a
// faster or better way with it.

// MIT-SHM 1.2: shared memory handed over as a file descriptor.
bool serverPassesSegmentsAsFiles(xcb_connection_t* connection);
// Composite 0.2: a window's own pixels, also where it is covered.
bool hasComposite(xcb_connection_t* connection);
