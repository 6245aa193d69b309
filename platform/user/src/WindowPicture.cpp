// Reading back what a window shows from its top-level window's surface.
#include "UserRawInput.h"
#include "WindowTree.h"

#include <algorithm>

BOOL UserGetWindowPicture(HWND hWnd, bool bClientOnly, WindowPicture& picture)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || IsDesktop(*window))
        return FALSE;
    const WindowSurface* surface = GetTopLevelOf(*window).pSurface.get();
    if (surface == nullptr)
        return FALSE;
    const POINT origin =
        bClientOnly ? GetSurfaceClientOrigin(*window) : GetSurfaceWindowOrigin(*window);
    const RECT local = bClientOnly ? window->GetClientRectLocal()
                                   : RECT{0, 0, window->GetWidth(), window->GetHeight()};
    picture.nWidth = local.right;
    picture.nHeight = local.bottom;
    picture.pixels.assign(std::size_t(picture.nWidth) * std::size_t(picture.nHeight), 0);
    for (int y = 0; y < picture.nHeight; ++y)
    {
        const int sy = origin.y + y;
        if (sy < 0 || sy >= surface->nHeight)
            continue;
        for (int x = 0; x < picture.nWidth; ++x)
        {
            const int sx = origin.x + x;
            if (sx >= 0 && sx < surface->nWidth)
                picture.pixels[std::size_t(y) * picture.nWidth + x] =
                    surface->pixels[std::size_t(sy) * surface->nWidth + sx] & 0x00FFFFFF;
        }
    }
    return TRUE;
}

GdiSurfaceInfo UserGetTopLevelSurface(HWND hWnd)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || !IsTopLevel(*window) || window->pSurface == nullptr ||
        window->pSurface->pixels.empty())
        return GdiSurfaceInfo{};
    WindowSurface& surface = *window->pSurface;
    return GdiSurfaceInfo{reinterpret_cast<std::uint8_t*>(surface.pixels.data()), surface.nWidth,
                          surface.nHeight, static_cast<std::ptrdiff_t>(surface.nWidth) * 4};
}
