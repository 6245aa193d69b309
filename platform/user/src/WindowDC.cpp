#include "WindowDC.h"

#include "DisplayBackend.h"
#include "GdiSurfaceHost.h"
#include "Painting.h"

#include <optional>

namespace
{
RECT WindowRectInSurface(const WindowData& window)
{
    const POINT origin = GetSurfaceWindowOrigin(window);
    return RECT{origin.x, origin.y, origin.x + window.GetWidth(), origin.y + window.GetHeight()};
}

RECT ClientRectInSurface(const WindowData& window)
{
    const POINT origin = GetSurfaceClientOrigin(window);
    RECT rect = window.GetClientRectLocal();
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

void SubtractSiblingsAbove(Region& area, const WindowData& window)
{
    for (const auto& sibling : window.pParent->children)
    {
        if (sibling.get() == &window)
            break;
        if (sibling->dwStyle & WS_VISIBLE)
            area.Subtract(WindowRectInSurface(*sibling));
    }
}

class WindowDcHost : public GdiSurfaceHost
{
public:
    WindowDcHost(HWND hWnd, bool bWhole, const Region* pPaintClip) : m_hWnd(hWnd), m_bWhole(bWhole)
    {
        if (pPaintClip != nullptr)
            m_paintClip = *pPaintClip;
    }

    GdiSurfaceInfo GetSurface() override
    {
        WindowData* window = FindWindowData(m_hWnd);
        if (window == nullptr)
            return GdiSurfaceInfo{};
        WindowSurface* surface = GetTopLevelOf(*window).pSurface.get();
        if (surface == nullptr || surface->pixels.empty())
            return GdiSurfaceInfo{};
        return GdiSurfaceInfo{reinterpret_cast<std::uint8_t*>(surface->pixels.data()),
                              surface->nWidth, surface->nHeight,
                              static_cast<std::ptrdiff_t>(surface->nWidth) * 4};
    }

    POINT GetOrigin() override
    {
        const WindowData* window = FindWindowData(m_hWnd);
        if (window == nullptr)
            return POINT{0, 0};
        return m_bWhole ? GetSurfaceWindowOrigin(*window) : GetSurfaceClientOrigin(*window);
    }

    std::vector<RECT> GetVisibleRects() override
    {
        const WindowData* window = FindWindowData(m_hWnd);
        if (window == nullptr)
            return {};
        Region area = GetVisibleArea(*window, m_bWhole);
        if (m_paintClip)
            area.Intersect(*m_paintClip);
        return area.GetRects();
    }

    HWND GetWindow() override { return m_hWnd; }

    void OnDrawn(const RECT& bounds) override
    {
        WindowData* window = FindWindowData(m_hWnd);
        if (window == nullptr)
            return;
        RECT changed = bounds;
        const POINT origin = GetOrigin();
        OffsetRect(&changed, origin.x, origin.y);
        GetDisplayBackend().OnSurfaceChanged(GetTopLevelOf(*window).hWnd, changed);
    }

    void OnReleaseDC() override { delete this; }

private:
    HWND m_hWnd;
    bool m_bWhole;
    std::optional<Region> m_paintClip;
};

HDC GetDCForGdi(HWND hWnd, bool bWhole)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        return nullptr;
    if (IsDesktop(*window))
        return CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    return CreateWindowDC(hWnd, bWhole, nullptr);
}

int ReleaseDCForGdi(HWND, HDC hdc)
{
    return DeleteDC(hdc);
}

// Window DCs come from here as soon as the layer is loaded.
[[maybe_unused]] const bool kDcHooksInstalled =
    (GdiSetWindowDCHooks(GetDCForGdi, ReleaseDCForGdi), true);
} // namespace

Region GetVisibleArea(const WindowData& window, bool bWhole)
{
    if (!IsShownOnScreen(window) || IsDrawingSuppressed(window) || IsDesktop(window))
        return Region();
    Region area(bWhole ? WindowRectInSurface(window) : ClientRectInSurface(window));
    for (const WindowData* ancestor = window.pParent; !IsDesktop(*ancestor);
         ancestor = ancestor->pParent)
        area.Intersect(ClientRectInSurface(*ancestor));
    for (const WindowData* current = &window; !IsTopLevel(*current); current = current->pParent)
    {
        if (current->dwStyle & WS_CLIPSIBLINGS)
            SubtractSiblingsAbove(area, *current);
    }
    if (window.dwStyle & WS_CLIPCHILDREN)
    {
        for (const auto& child : window.children)
        {
            if (child->dwStyle & WS_VISIBLE)
                area.Subtract(WindowRectInSurface(*child));
        }
    }
    const POINT origin = bWhole ? GetSurfaceWindowOrigin(window) : GetSurfaceClientOrigin(window);
    area.Offset(-origin.x, -origin.y);
    return area;
}

HDC CreateWindowDC(HWND hWnd, bool bWhole, const Region* pPaintClip)
{
    if (FindWindowData(hWnd) == nullptr)
        return nullptr;
    return GdiCreateHostDC(new WindowDcHost(hWnd, bWhole, pPaintClip));
}
