// Invalidation and painting: update regions, WM_PAINT and WM_ERASEBKGND,
// and the window, client and paint DCs. A window DC draws straight into its
// top-level window's surface, clipped to the window (and, by style, minus
// its children and the siblings above it).
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#define SW_SCROLLCHILDREN 0x0001
#define SW_INVALIDATE 0x0002
#define SW_ERASE 0x0004

extern "C"
{
    PLATFORMUI_API BOOL InvalidateRect(HWND hWnd, const RECT* rect, BOOL erase);
    PLATFORMUI_API BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL erase);
    PLATFORMUI_API BOOL ValidateRect(HWND hWnd, const RECT* rect);
    PLATFORMUI_API BOOL ValidateRgn(HWND hWnd, HRGN hRgn);
    PLATFORMUI_API BOOL GetUpdateRect(HWND hWnd, LPRECT rect, BOOL erase);
    PLATFORMUI_API int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL erase);
    PLATFORMUI_API BOOL UpdateWindow(HWND hWnd);
    PLATFORMUI_API BOOL RedrawWindow(HWND hWnd, const RECT* rectUpdate, HRGN hRgnUpdate,
                                     UINT flags);
    // Suppresses all drawing into the window and its children until called
    // with NULL, which then invalidates what was locked.
    PLATFORMUI_API BOOL LockWindowUpdate(HWND hWndLock);

    // Sends WM_NCPAINT and WM_ERASEBKGND as pending, validates the update
    // region and returns a DC clipped to it. Inside a WM_PAINT that carries a
    // DC in wParam, that DC is returned instead and nothing is validated.
    PLATFORMUI_API HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT paint);
    PLATFORMUI_API BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* paint);
    // The whole window including the non-client area; release with ReleaseDC.
    PLATFORMUI_API HDC GetWindowDC(HWND hWnd);

    // Moves the pixels of the client area (or of prcScroll in it) by dx, dy,
    // kept inside prcClip; the uncovered strips are reported and, with
    // SW_INVALIDATE, invalidated; SW_SCROLLCHILDREN moves the children too.
    // Returns the complexity of the uncovered region, ERROR for a bad window.
    PLATFORMUI_API int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll,
                                      const RECT* prcClip, HRGN hrgnUpdate, LPRECT prcUpdate,
                                      UINT flags);
    // ScrollWindowEx invalidating and erasing; without prcScroll the
    // children move as well.
    PLATFORMUI_API BOOL ScrollWindow(HWND hWnd, int dx, int dy, const RECT* prcScroll,
                                     const RECT* prcClip);
}
