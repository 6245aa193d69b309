// Window scroll bars (SB_HORZ, SB_VERT) drawn in the non-client area.
// Showing or hiding one changes the client area and sends WM_SIZE.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

extern "C"
{
    // The position is clamped to [nMin, nMax - max(nPage - 1, 0)]; a bar
    // whose page covers the whole range hides unless SIF_DISABLENOSCROLL.
    PLATFORMUI_API int SetScrollInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw);
    PLATFORMUI_API BOOL GetScrollInfo(HWND hWnd, int bar, LPSCROLLINFO info);
    PLATFORMUI_API int SetScrollPos(HWND hWnd, int bar, int pos, BOOL redraw);
    PLATFORMUI_API int GetScrollPos(HWND hWnd, int bar);
    PLATFORMUI_API BOOL SetScrollRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw);
    PLATFORMUI_API BOOL GetScrollRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos);
    PLATFORMUI_API BOOL ShowScrollBar(HWND hWnd, int bar, BOOL show);
}
