// Window, client and paint DCs: GDI DCs drawing into the top-level
// window's surface at the window's place, clipped to what of the window
// shows (by WS_CLIPCHILDREN and WS_CLIPSIBLINGS) and, for a paint DC, to
// the update region it took.
#pragma once

#include "Region.h"
#include "WindowTree.h"

// What of a window (bWhole) or of its client area the screen shows, in the
// window's or the client area's own coordinates.
Region GetVisibleArea(const WindowData& window, bool bWhole);
// pPaintClip: client coordinates; null for a plain client or window DC.
HDC CreateWindowDC(HWND hWnd, bool bWhole, const Region* pPaintClip);
