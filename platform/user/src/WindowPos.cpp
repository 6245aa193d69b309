// Positions, sizes, Z order, showing and the coordinate conversions.
#include "DisplayBackend.h"
#include "InputState.h"
#include "NonClient.h"
#include "OtherProgramWindows.h"
#include "Painting.h"
#include "UserRawInput.h"
#include "WinError.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"
#include "WindowPosFlags.h"
#include "WindowTree.h"

#include <algorithm>

namespace
{
bool SameSize(const RECT& a, const RECT& b)
{
    return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

bool SameOrigin(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top;
}

void ApplyZOrder(WindowData& window, HWND hInsertAfter)
{
    if (hInsertAfter == HWND_TOPMOST)
        window.dwExStyle |= WS_EX_TOPMOST;
    else if (hInsertAfter == HWND_NOTOPMOST)
        window.dwExStyle &= ~WS_EX_TOPMOST;
    const std::shared_ptr<WindowData> holder = WindowTree::Get().Hold(window.hWnd);
    WindowData& parent = *window.pParent;
    UnlinkFromParent(window);
    LinkToParent(window, parent, holder, hInsertAfter == window.hWnd ? HWND_TOP : hInsertAfter);
}

RECT CallNcCalcSize(HWND hWnd, const RECT& rcNew, const RECT& rcOld, const RECT& rcOldClient,
                    WINDOWPOS& pos)
{
    NCCALCSIZE_PARAMS params{{rcNew, rcOld, rcOldClient}, &pos};
    SendMessageA(hWnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    return params.rgrc[0];
}

void HideWindowNow(WindowData& window)
{
    CancelCaptureInside(window);
    MoveFocusOutOf(window, true);
    window.dwStyle &= ~WS_VISIBLE;
    if (IsTopLevel(window))
    {
        GetDisplayBackend().OnTopLevelShown(window.hWnd, false);
        if (GetActiveWindow() == window.hWnd)
        {
            HWND hNext = IsWindow(window.hOwner) ? window.hOwner : nullptr;
            for (const auto& top : WindowTree::Get().GetDesktop().children)
            {
                if (hNext == nullptr && top.get() != &window && (top->dwStyle & WS_VISIBLE))
                    hNext = top->hWnd;
            }
            SetActiveWindow(hNext);
        }
    }
}

// The client area a resize newly shows (client coordinates).
Region ExposedClient(const RECT& oldClient, const RECT& newClient)
{
    Region exposed(RECT{0, 0, newClient.right - newClient.left, newClient.bottom - newClient.top});
    exposed.Subtract(
        RECT{0, 0, oldClient.right - oldClient.left, oldClient.bottom - oldClient.top});
    return exposed;
}

void Repaint(WindowData& window, const RECT& rcOldWindow, const RECT& rcOldClient, bool bWasVisible,
             bool bChangedZ, UINT flags)
{
    const bool bVisible = (window.dwStyle & WS_VISIBLE) != 0;
    const bool bMoved = !SameOrigin(rcOldWindow, window.rcWindow);
    const bool bSized = !SameSize(rcOldWindow, window.rcWindow);
    if (bWasVisible && (!bVisible || bMoved || bSized))
    {
        Region uncovered(rcOldWindow);
        if (bVisible)
            uncovered.Subtract(window.rcWindow);
        InvalidateParentArea(*window.pParent, uncovered);
    }
    if (!bVisible)
        return;
    const UINT whole = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    const UINT classStyle = window.pClass->nStyle;
    const bool bRedrawAll =
        (classStyle & CS_HREDRAW && rcOldWindow.right - rcOldWindow.left != window.GetWidth()) ||
        (classStyle & CS_VREDRAW && rcOldWindow.bottom - rcOldWindow.top != window.GetHeight());
    if (!bWasVisible || bMoved || bChangedZ || (flags & SWP_FRAMECHANGED) || bRedrawAll ||
        !SameOrigin(rcOldClient, window.rcClient))
    {
        RedrawWindowArea(window, nullptr, whole);
    }
    else if (bSized)
    {
        const Region exposed = ExposedClient(rcOldClient, window.rcClient);
        RedrawWindowArea(window, &exposed, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
}

RECT GetScreenBounds()
{
    return WindowTree::Get().GetDesktop().rcWindow;
}

// The caption and outer frame a window manager draws in place of ours;
// the inner edges stay ours.
FrameInsets GetManagedFrameInsets(const WindowData& window, bool bFramed)
{
    if (!bFramed || (window.dwStyle & WS_CAPTION) != WS_CAPTION)
        return FrameInsets{};
    return GetFrameInsets(window.dwStyle,
                          window.dwExStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

void ToggleMaximised(WindowData& window, int nCmd)
{
    const bool bMinMax = (window.dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
    if (!bMinMax)
        window.rcNormal = window.rcWindow;
    window.dwStyle &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    RECT target = window.rcNormal;
    if (nCmd == SW_SHOWMAXIMIZED)
    {
        window.dwStyle |= WS_MAXIMIZE;
        target = IsTopLevel(window) ? GetScreenBounds() : window.pParent->GetClientRectLocal();
    }
    else if (nCmd == SW_MINIMIZE || nCmd == SW_SHOWMINIMIZED || nCmd == SW_SHOWMINNOACTIVE)
    {
        window.dwStyle |= WS_MINIMIZE;
        const int width = GetSystemMetrics(SM_CXMIN);
        const int height = GetSystemMetrics(SM_CYMIN);
        target = RECT{window.rcNormal.left, window.rcNormal.top, window.rcNormal.left + width,
                      window.rcNormal.top + height};
    }
    SetWindowPos(window.hWnd, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}
} // namespace

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT flags)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || IsDesktop(*window))
        return FALSE;
    const std::shared_ptr<WindowData> holder = WindowTree::Get().Hold(hWnd);
    WINDOWPOS pos{hWnd, hWndInsertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
    if (flags & SWP_NOMOVE)
    {
        pos.x = window->rcWindow.left;
        pos.y = window->rcWindow.top;
    }
    if (flags & SWP_NOSIZE)
    {
        pos.cx = window->GetWidth();
        pos.cy = window->GetHeight();
    }
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessageA(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if ((window = FindWindowData(hWnd)) == nullptr)
        return FALSE;
    pos.flags &= ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
    const RECT rcOldWindow = window->rcWindow;
    const RECT rcOldClient = window->rcClient;
    const bool bWasVisible = (window->dwStyle & WS_VISIBLE) != 0;
    const bool bChangeZ = !(pos.flags & SWP_NOZORDER);
    if (bChangeZ)
        ApplyZOrder(*window, pos.hwndInsertAfter);
    window->rcWindow = RECT{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    if (!SameSize(rcOldWindow, window->rcWindow) || (pos.flags & SWP_FRAMECHANGED))
    {
        RECT rcOldClientInParent = rcOldClient;
        OffsetRect(&rcOldClientInParent, rcOldWindow.left, rcOldWindow.top);
        const RECT rcNewWindow = window->rcWindow;
        RECT rcClient = CallNcCalcSize(hWnd, rcNewWindow, rcOldWindow, rcOldClientInParent, pos);
        if ((window = FindWindowData(hWnd)) == nullptr)
            return FALSE;
        OffsetRect(&rcClient, -rcNewWindow.left, -rcNewWindow.top);
        window->rcClient = rcClient;
    }
    if (IsTopLevel(*window))
    {
        if (window->pSurface != nullptr)
            window->pSurface->Resize(window->GetWidth(), window->GetHeight());
        if (!EqualRect(&rcOldWindow, &window->rcWindow))
            GetDisplayBackend().OnTopLevelMoved(hWnd, window->rcWindow);
    }
    if ((pos.flags & SWP_SHOWWINDOW) && !bWasVisible)
    {
        window->dwStyle |= WS_VISIBLE;
        if (IsTopLevel(*window))
            GetDisplayBackend().OnTopLevelShown(hWnd, true);
    }
    else if ((pos.flags & SWP_HIDEWINDOW) && bWasVisible)
    {
        HideWindowNow(*window);
    }
    if ((window = FindWindowData(hWnd)) == nullptr)
        return FALSE;
    if (!(pos.flags & SWP_NOREDRAW))
        Repaint(*window, rcOldWindow, rcOldClient, bWasVisible, bChangeZ, pos.flags);
    if (SameSize(rcOldClient, window->rcClient))
        pos.flags |= SWP_NOCLIENTSIZE;
    const POINT oldOrigin{rcOldWindow.left + rcOldClient.left, rcOldWindow.top + rcOldClient.top};
    const POINT newOrigin{window->rcWindow.left + window->rcClient.left,
                          window->rcWindow.top + window->rcClient.top};
    if (oldOrigin.x == newOrigin.x && oldOrigin.y == newOrigin.y)
        pos.flags |= SWP_NOCLIENTMOVE;
    if (IsTopLevel(*window) && !(pos.flags & SWP_NOACTIVATE) && (window->dwStyle & WS_VISIBLE))
        SetActiveWindow(hWnd);
    if (IsWindow(hWnd))
        SendMessageA(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hWnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hWnd)
{
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hWnd, int cmdShow)
{
    if (CForeignWindows* foreign = AsForeignWindow(hWnd))
        return foreign->RequestShow(hWnd, cmdShow);
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || IsDesktop(*window))
        return FALSE;
    const BOOL bWasVisible = (window->dwStyle & WS_VISIBLE) != 0;
    const bool bActivate =
        !window->IsChildStyle() &&
        (cmdShow == SW_SHOWNORMAL || cmdShow == SW_SHOWMAXIMIZED || cmdShow == SW_SHOW ||
         cmdShow == SW_RESTORE || cmdShow == SW_SHOWDEFAULT);
    const UINT noActivate = bActivate ? 0 : SWP_NOACTIVATE;
    switch (cmdShow)
    {
    case SW_HIDE:
        if (!bWasVisible)
            return FALSE;
        SendMessageA(hWnd, WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return bWasVisible;
    case SW_SHOWMAXIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (!bWasVisible)
            SendMessageA(hWnd, WM_SHOWWINDOW, TRUE, 0);
        if ((window = FindWindowData(hWnd)) != nullptr)
            ToggleMaximised(*window, cmdShow);
        break;
    default:
        if (!bWasVisible)
            SendMessageA(hWnd, WM_SHOWWINDOW, TRUE, 0);
        window = FindWindowData(hWnd);
        if (window != nullptr && (cmdShow == SW_RESTORE || cmdShow == SW_SHOWNORMAL) &&
            (window->dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)))
            ToggleMaximised(*window, SW_RESTORE);
        else if (window != nullptr)
            SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | noActivate);
        break;
    }
    if (bActivate && IsWindow(hWnd) && IsWindowVisible(hWnd))
        SetActiveWindow(hWnd);
    return bWasVisible;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle)
{
    if (rect == nullptr)
        return FALSE;
    const FrameInsets insets = GetFrameInsets(style, exStyle);
    rect->left -= insets.left;
    rect->top -= insets.top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu)
{
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    *rect = GetScreenWindowRect(*window);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT rect)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    *rect = window->GetClientRectLocal();
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT point)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || point == nullptr)
        return FALSE;
    const POINT origin = GetScreenClientOrigin(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT point)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || point == nullptr)
        return FALSE;
    const POINT origin = GetScreenClientOrigin(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT points, UINT count)
{
    POINT from{0, 0};
    POINT to{0, 0};
    if ((hWndFrom != nullptr && !ClientToScreen(hWndFrom, &from)) ||
        (hWndTo != nullptr && !ClientToScreen(hWndTo, &to)))
        return 0;
    const int dx = from.x - to.x;
    const int dy = from.y - to.y;
    for (UINT i = 0; points != nullptr && i < count; ++i)
    {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(0);
    return MAKELONG(dx, dy);
}

HWND WindowFromPoint(POINT point)
{
    return HitTestScreenPoint(point).hWnd;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT point)
{
    const WindowData* parent = FindWindowChecked(hWndParent);
    if (parent == nullptr)
        return nullptr;
    const RECT client = parent->GetClientRectLocal();
    if (!PtInRect(&client, point))
        return nullptr;
    for (const auto& child : parent->children)
    {
        if (PtInRect(&child->rcWindow, point))
            return child->hWnd;
    }
    return hWndParent;
}

BOOL UserGetShownRect(HWND hWnd, bool bFramed, RECT* pRect)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || !IsTopLevel(*window) || pRect == nullptr)
        return FALSE;
    const FrameInsets insets = GetManagedFrameInsets(*window, bFramed);
    const RECT& rc = window->rcWindow;
    *pRect = RECT{rc.left + insets.left, rc.top + insets.top,
                  std::max(rc.left + insets.left, rc.right - insets.right),
                  std::max(rc.top + insets.top, rc.bottom - insets.bottom)};
    return TRUE;
}

BOOL UserMoveShownRect(HWND hWnd, bool bFramed, const RECT& rcShown)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || !IsTopLevel(*window))
        return FALSE;
    const FrameInsets insets = GetManagedFrameInsets(*window, bFramed);
    const RECT target{rcShown.left - insets.left, rcShown.top - insets.top,
                      rcShown.right + insets.right, rcShown.bottom + insets.bottom};
    if (EqualRect(&target, &window->rcWindow))
        return TRUE;
    return SetWindowPos(hWnd, nullptr, target.left, target.top, target.right - target.left,
                        target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL UserSetSelfDrawnFrame(HWND hWnd, BOOL bSelfDrawn)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || !IsTopLevel(*window))
        return FALSE;
    if (window->bSelfDrawnFrame != (bSelfDrawn != FALSE))
    {
        window->bSelfDrawnFrame = bSelfDrawn != FALSE;
        GetDisplayBackend().OnTopLevelFrameChanged(hWnd);
    }
    return TRUE;
}

BOOL UserIsSelfDrawnFrame(HWND hWnd)
{
    const WindowData* window = FindWindowData(hWnd);
    return window != nullptr && window->bSelfDrawnFrame;
}

void UserSetScreenSize(int nWidth, int nHeight)
{
    WindowData& desktop = WindowTree::Get().GetDesktop();
    desktop.rcWindow = RECT{0, 0, std::max(nWidth, 1), std::max(nHeight, 1)};
    desktop.rcClient = desktop.rcWindow;
}
