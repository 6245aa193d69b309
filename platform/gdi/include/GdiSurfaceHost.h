// How the windowing layer gives the GDI core a window's pixels: a window,
// client or paint DC is a DC on a host surface, with its device origin at a
// point of that surface and clipped to the part the host lets it touch.
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// 32-bit BGRX pixels; stride in bytes between rows, negative for a surface
// stored bottom row first.
struct GdiSurfaceInfo
{
    std::uint8_t* pTop = nullptr;
    int nWidth = 0;
    int nHeight = 0;
    std::ptrdiff_t nStride = 0;
};

class PLATFORMGDI_API GdiSurfaceHost
{
public:
    virtual ~GdiSurfaceHost();
    virtual GdiSurfaceInfo GetSurface() = 0;
    // The surface point where the DC's device coordinate (0, 0) lies.
    virtual POINT GetOrigin() = 0;
    // The rectangles, in the DC's device coordinates, that drawing may touch.
    virtual std::vector<RECT> GetVisibleRects() = 0;
    virtual HWND GetWindow() = 0;
    // Called after a drawing call changed the surface (device coordinates).
    virtual void OnDrawn(const RECT& bounds);
    // Called once when the DC is deleted or released.
    virtual void OnReleaseDC();
};

using GdiGetDCHook = HDC (*)(HWND hWnd, bool bWholeWindow);
using GdiReleaseDCHook = int (*)(HWND hWnd, HDC hdc);

// A DC drawing through the host; the host must outlive it.
PLATFORMGDI_API HDC GdiCreateHostDC(GdiSurfaceHost* pHost);
// The windowing layer answers GetDC, GetWindowDC and ReleaseDC for windows.
PLATFORMGDI_API void GdiSetWindowDCHooks(GdiGetDCHook getDC, GdiReleaseDCHook releaseDC);
// The virtual screen's pixels (GDI_SCREEN_WIDTH x GDI_SCREEN_HEIGHT).
PLATFORMGDI_API GdiSurfaceInfo GdiGetScreenSurface();
// What the display shows: before the screen DC is read (a blit from it,
// GetPixel) the reader copies that part of the screen, in screen
// coordinates clipped to the virtual screen, into its pixels. Without a
// reader the screen DC keeps what was drawn on it.
using GdiScreenReader = void (*)(const RECT& rcScreen, const GdiSurfaceInfo& screen);
PLATFORMGDI_API void GdiSetScreenReader(GdiScreenReader reader);
