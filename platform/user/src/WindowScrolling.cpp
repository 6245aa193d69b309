// Scrolling a window's client area: the pixels of the scroll rectangle
// move and may land anywhere inside the clip rectangle (the client area
// when none is given), the strips they leave (and whatever scrolled in from
// a part of the window nobody could see) are invalidated, and a pending
// update region moves with the pixels it marks.
#include "Caret.h"
#include "Painting.h"
#include "WindowDC.h"

#include "WinPaint.h"
#include "WinWindow.h"

namespace
{
// The update region after the move: the pixels that were overwritten take
// the pending state of the pixels that came.
void MovePendingUpdate(WindowData& window, const RECT& scroll, const Region& landed, int dx, int dy)
{
    Region moved = Region::Combine(window.update, Region(scroll), RGN_AND);
    window.update.Subtract(landed);
    moved.Offset(dx, dy);
    moved.Intersect(landed);
    window.update.Add(moved);
}

void MoveChildren(const WindowData& window, const RECT* pScroll, int dx, int dy)
{
    for (HWND hChild : GetChildHandles(window))
    {
        const WindowData* child = FindWindowData(hChild);
        if (child == nullptr)
            continue;
        RECT rc = child->rcWindow;
        RECT meet{};
        if (pScroll != nullptr && !IntersectRect(&meet, &rc, pScroll))
            continue;
        OffsetRect(&rc, dx, dy);
        SetWindowPos(hChild, nullptr, rc.left, rc.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
} // namespace

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip,
                   HRGN hrgnUpdate, LPRECT prcUpdate, UINT flags)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return ERROR;
    const RECT client = window->GetClientRectLocal();
    RECT scroll = prcScroll != nullptr ? *prcScroll : client;
    IntersectRect(&scroll, &scroll, &client);
    RECT limit = client;
    if (prcClip != nullptr)
        IntersectRect(&limit, prcClip, &client);
    RECT areaRect{};
    IntersectRect(&areaRect, &scroll, &limit);
    const Region area(areaRect);
    RECT landedRect = scroll;
    OffsetRect(&landedRect, dx, dy);
    IntersectRect(&landedRect, &landedRect, &limit);
    const Region landed(landedRect);

    Region uncovered;
    // The caret is inverted pixels: it must not move with the others.
    EraseCaretOf(hWnd);
    if (IsShownOnScreen(*window) && !IsDrawingSuppressed(*window))
    {
        HDC hdc = CreateWindowDC(hWnd, false, nullptr);
        HRGN hUncovered = CreateRectRgn(0, 0, 0, 0);
        ScrollDC(hdc, dx, dy, &scroll, &limit, hUncovered, nullptr);
        uncovered = GdiGetRegion(hUncovered);
        DeleteObject(hUncovered);
        DeleteDC(hdc);
        // Pixels brought in from a hidden part of the window are stale.
        Region hidden = Region::Combine(Region(scroll), GetVisibleArea(*window, false), RGN_DIFF);
        hidden.Offset(dx, dy);
        hidden.Intersect(landed);
        uncovered.Add(hidden);
    }
    else
    {
        uncovered = area;
    }
    MovePendingUpdate(*window, scroll, landed, dx, dy);
    ScrollCaretOf(hWnd, scroll, dx, dy);

    if (hrgnUpdate != nullptr)
    {
        HRGN hCopy = GdiCreateRegion(uncovered);
        CombineRgn(hrgnUpdate, hCopy, nullptr, RGN_COPY);
        DeleteObject(hCopy);
    }
    if (prcUpdate != nullptr)
        *prcUpdate = uncovered.GetBounds();
    if (flags & SW_SCROLLCHILDREN)
        MoveChildren(*window, prcScroll, dx, dy);
    if ((flags & SW_INVALIDATE) && (window = FindWindowData(hWnd)) != nullptr)
        RedrawWindowArea(*window, &uncovered,
                         RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) | RDW_ALLCHILDREN);
    return uncovered.GetComplexity();
}

BOOL ScrollWindow(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip)
{
    // Without a rectangle the whole client area moves, children with it.
    const UINT flags =
        SW_INVALIDATE | SW_ERASE | (prcScroll == nullptr ? UINT(SW_SCROLLCHILDREN) : 0U);
    return ScrollWindowEx(hWnd, dx, dy, prcScroll, prcClip, nullptr, nullptr, flags) != ERROR;
}
