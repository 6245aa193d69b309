// The screen DC reads what the display in use shows.
#include "DisplayBackend.h"

#include "UserRawInput.h"
#include "WinSysColors.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
std::uint32_t* ScreenRow(const GdiSurfaceInfo& screen, int y)
{
    return reinterpret_cast<std::uint32_t*>(screen.pTop + y * screen.nStride);
}

// Copies the part of a top-level window inside rc onto the screen.
void CopyWindow(HWND hWnd, const RECT& rc, const GdiSurfaceInfo& screen)
{
    RECT window;
    RECT part;
    const GdiSurfaceInfo surface = UserGetTopLevelSurface(hWnd);
    if (surface.pTop == nullptr || !GetWindowRect(hWnd, &window) ||
        !IntersectRect(&part, &window, &rc))
        return;
    part.right = std::min<LONG>(part.right, window.left + surface.nWidth);
    part.bottom = std::min<LONG>(part.bottom, window.top + surface.nHeight);
    for (int y = part.top; y < part.bottom; ++y)
    {
        const auto* from = reinterpret_cast<const std::uint32_t*>(
                               surface.pTop + (y - window.top) * surface.nStride) +
                           (part.left - window.left);
        std::copy(from, from + (part.right - part.left), ScreenRow(screen, y) + part.left);
    }
}

void ReadScreenForGdi(const RECT& rcScreen, const GdiSurfaceInfo& screen)
{
    GetDisplayBackend().ReadScreen(rcScreen, screen);
}

// The screen DC reads the display as soon as the layer is loaded.
[[maybe_unused]] const bool kScreenReaderInstalled = (GdiSetScreenReader(ReadScreenForGdi), true);
} // namespace

void CDisplayBackend::FillDesktop(const RECT& rc, const GdiSurfaceInfo& screen)
{
    const COLORREF colour = GetSysColor(COLOR_DESKTOP);
    const std::uint32_t pixel = std::uint32_t(GetRValue(colour)) << 16 |
                                std::uint32_t(GetGValue(colour)) << 8 | GetBValue(colour);
    for (int y = rc.top; y < rc.bottom; ++y)
        std::fill(ScreenRow(screen, y) + rc.left, ScreenRow(screen, y) + rc.right, pixel);
}

void CDisplayBackend::ReadScreen(const RECT& rcScreen, const GdiSurfaceInfo& screen)
{
    FillDesktop(rcScreen, screen);
    std::vector<HWND> windows = UserGetTopLevelWindows();
    // Bottom of the Z order first, so that windows above cover it.
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (IsWindowVisible(*it) && !IsIconic(*it))
            CopyWindow(*it, rcScreen, screen);
}
