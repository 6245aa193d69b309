// Update regions and the synthesis of WM_PAINT and WM_NCPAINT.
#pragma once

#include "WindowTree.h"

// RedrawWindow on a window: region in client coordinates (null: the whole
// client area), RDW_* flags.
void RedrawWindowArea(WindowData& window, const Region* pArea, UINT flags);
// The first window, parents before children, that waits for WM_PAINT: its
// update region is not empty or its frame waits to be drawn (BeginPaint
// sends WM_NCPAINT first).
HWND FindWindowToPaint(HWND hFilter);
// While drawing into the window is suppressed (locked, redraw off) it gets
// no WM_PAINT and its DCs draw nothing.
bool IsDrawingSuppressed(const WindowData& window);
// Invalidates the parts of a parent (and of the children there) that a
// child leaves uncovered; parent client coordinates.
void InvalidateParentArea(WindowData& parent, const Region& area);
