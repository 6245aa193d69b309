// Screen capture on an X display: the root window's pixels.
#pragma once

#include "GdiSurfaceHost.h"

#include <X11/Xlib.h>

// Copies the part of rcScreen the root window covers into the surface;
// false when the server gives no image.
bool ReadX11Screen(Display* pDisplay, Window root, const RECT& rcScreen,
                   const GdiSurfaceInfo& screen);
