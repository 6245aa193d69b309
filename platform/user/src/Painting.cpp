// Invalidation, validation and the painting calls.
#include "Painting.h"

#include "Caret.h"
#include "MessageQueue.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinWindow.h"
#include "WindowDC.h"

#include <set>

namespace
{
HWND gLockedWindow = nullptr;

// The paint DCs BeginPaint handed out, released by EndPaint.
std::set<HDC>& PaintDCs()
{
    static std::set<HDC> dcs;
    return dcs;
}

bool NeedsPaint(const WindowData& window)
{
    return !window.update.IsEmpty() || window.bNcPaint;
}

HWND FindInSubtree(const WindowData& window, HWND hFilter)
{
    if ((window.dwStyle & WS_VISIBLE) == 0)
        return nullptr;
    if (!IsDrawingSuppressed(window) && NeedsPaint(window) &&
        MessagePassesFilter(window.hWnd, WM_PAINT, hFilter, 0, 0))
        return window.hWnd;
    for (const auto& child : window.children)
    {
        if (const HWND hFound = FindInSubtree(*child, hFilter))
            return hFound;
    }
    return nullptr;
}

void PaintFrameNow(HWND hWnd)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || !window->bNcPaint)
        return;
    window->bNcPaint = false;
    SendMessageA(hWnd, WM_NCPAINT, 1, 0);
}

// Frame, then background, of a window whose update region asks for erasing.
void EraseNow(HWND hWnd)
{
    PaintFrameNow(hWnd);
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || !window->bErase || !IsShownOnScreen(*window))
        return;
    window->bErase = false;
    const Region region = window->update;
    HDC hdc = CreateWindowDC(hWnd, false, &region);
    const LRESULT erased = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    DeleteDC(hdc);
    // Not erased: the paint that follows is told to erase.
    if (erased == 0 && (window = FindWindowData(hWnd)) != nullptr)
        window->bErase = true;
}

void InvalidateChild(WindowData& child, const Region& parentArea, UINT flags)
{
    Region childArea = parentArea;
    childArea.Intersect(child.rcWindow);
    if (childArea.IsEmpty())
        return;
    const RECT fullWindow{0, 0, child.GetWidth(), child.GetHeight()};
    const bool bHasFrame = !EqualRect(&child.rcClient, &fullWindow);
    childArea.Offset(-(child.rcWindow.left + child.rcClient.left),
                     -(child.rcWindow.top + child.rcClient.top));
    UINT childFlags = flags & ~RDW_UPDATENOW;
    if ((flags & RDW_INVALIDATE) && bHasFrame)
        childFlags |= RDW_FRAME;
    RedrawWindowArea(child, &childArea, childFlags);
}

void UpdateSubtree(HWND hWnd, bool bChildren)
{
    std::vector<HWND> handles{hWnd};
    if (bChildren)
    {
        if (const WindowData* window = FindWindowData(hWnd))
            handles = CollectSubtree(*window, true);
    }
    for (HWND hCurrent : handles)
    {
        const WindowData* window = FindWindowData(hCurrent);
        if (window != nullptr && IsShownOnScreen(*window) && !IsDrawingSuppressed(*window) &&
            NeedsPaint(*window))
            SendMessageA(hCurrent, WM_PAINT, 0, 0);
    }
}
} // namespace

bool IsDrawingSuppressed(const WindowData& window)
{
    for (const WindowData* current = &window; current != nullptr; current = current->pParent)
    {
        if (current->bRedrawOff || (gLockedWindow != nullptr && current->hWnd == gLockedWindow))
            return true;
    }
    return false;
}

void RedrawWindowArea(WindowData& window, const Region* pArea, UINT flags)
{
    if (IsDesktop(window))
        return;
    const RECT rcClient = window.GetClientRectLocal();
    Region area = pArea != nullptr ? *pArea : Region(rcClient);
    area.Intersect(rcClient);
    const HWND hWnd = window.hWnd;
    if ((flags & RDW_INVALIDATE) && (window.dwStyle & WS_VISIBLE))
    {
        window.update.Add(area);
        if ((flags & RDW_ERASE) && !area.IsEmpty())
            window.bErase = true;
        if (flags & RDW_FRAME)
            window.bNcPaint = true;
    }
    else if (flags & RDW_VALIDATE)
    {
        window.update.Subtract(area);
        if (window.update.IsEmpty() || (flags & RDW_NOERASE))
            window.bErase = false;
        if (!(flags & RDW_NOFRAME))
            PaintFrameNow(hWnd);
    }
    const bool bChildren = (flags & RDW_ALLCHILDREN) ||
                           (!(flags & RDW_NOCHILDREN) && !(window.dwStyle & WS_CLIPCHILDREN));
    if (bChildren && FindWindowData(hWnd) != nullptr)
    {
        for (HWND hChild : GetChildHandles(window))
        {
            if (WindowData* child = FindWindowData(hChild))
                InvalidateChild(*child, area, flags);
        }
    }
    if (flags & RDW_UPDATENOW)
        UpdateSubtree(hWnd, !(flags & RDW_NOCHILDREN));
    else if (flags & RDW_ERASENOW)
        EraseNow(hWnd);
}

HWND FindWindowToPaint(HWND hFilter)
{
    for (const auto& top : WindowTree::Get().GetDesktop().children)
    {
        if (const HWND hFound = FindInSubtree(*top, hFilter))
            return hFound;
    }
    return nullptr;
}

void InvalidateParentArea(WindowData& parent, const Region& area)
{
    if (!IsDesktop(parent))
        RedrawWindowArea(parent, &area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL RedrawWindow(HWND hWnd, const RECT* rectUpdate, HRGN hRgnUpdate, UINT flags)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return FALSE;
    if (hRgnUpdate != nullptr)
    {
        const Region area = GdiGetRegion(hRgnUpdate);
        RedrawWindowArea(*window, &area, flags);
    }
    else if (rectUpdate != nullptr)
    {
        const Region area(*rectUpdate);
        RedrawWindowArea(*window, &area, flags);
    }
    else
    {
        RedrawWindowArea(*window, nullptr, flags);
    }
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* rect, BOOL erase)
{
    return RedrawWindow(hWnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL erase)
{
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hWnd, const RECT* rect)
{
    return RedrawWindow(hWnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn)
{
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hWnd, LPRECT rect, BOOL erase)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return FALSE;
    if (rect != nullptr)
        *rect = window->update.GetBounds();
    if (erase && window->bErase)
        RedrawWindow(hWnd, nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN);
    return !window->update.IsEmpty();
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || hRgn == nullptr)
        return ERROR;
    HRGN hUpdate = GdiCreateRegion(window->update);
    const int complexity = CombineRgn(hRgn, hUpdate, nullptr, RGN_COPY);
    DeleteObject(hUpdate);
    return complexity;
}

BOOL UpdateWindow(HWND hWnd)
{
    return RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL LockWindowUpdate(HWND hWndLock)
{
    if (hWndLock != nullptr)
    {
        if (gLockedWindow != nullptr || FindWindowChecked(hWndLock) == nullptr)
            return FALSE;
        gLockedWindow = hWndLock;
        return TRUE;
    }
    const HWND hUnlocked = gLockedWindow;
    gLockedWindow = nullptr;
    if (IsWindow(hUnlocked))
        RedrawWindow(hUnlocked, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT paint)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || paint == nullptr)
        return nullptr;
    *paint = PAINTSTRUCT{};
    // A WM_PAINT carrying a DC paints into that DC, the whole client area.
    const MessageRecord* record = FindHandledMessage(hWnd, WM_PAINT);
    if (record != nullptr && record->wParam != 0)
    {
        paint->hdc = reinterpret_cast<HDC>(record->wParam);
        paint->rcPaint = window->GetClientRectLocal();
        return paint->hdc;
    }
    HideCaretForPaint(hWnd);
    PaintFrameNow(hWnd);
    window = FindWindowData(hWnd);
    if (window == nullptr)
        return nullptr;
    const Region region = window->update;
    const bool bErase = window->bErase;
    window->update.Clear();
    window->bErase = false;
    HDC hdc = CreateWindowDC(hWnd, false, &region);
    PaintDCs().insert(hdc);
    paint->hdc = hdc;
    paint->rcPaint = region.GetBounds();
    paint->fErase =
        bErase ? !SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) : FALSE;
    return hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* paint)
{
    if (paint == nullptr)
        return FALSE;
    if (PaintDCs().erase(paint->hdc) != 0)
    {
        DeleteDC(paint->hdc);
        ShowCaretAfterPaint(hWnd);
    }
    return TRUE;
}

HDC GetWindowDC(HWND hWnd)
{
    return FindWindowChecked(hWnd) != nullptr ? CreateWindowDC(hWnd, true, nullptr) : nullptr;
}
