// The default handling of window messages.
#include "DisplayBackend.h"
#include "MenuBar.h"
#include "MenuTracker.h"
#include "MoveSizeLoop.h"
#include "NonClient.h"
#include "Painting.h"
#include "ScrollBars.h"
#include "WinBeep.h"
#include "WinCursor.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"
#include "WindowPosFlags.h"
#include "WindowTree.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace
{
LRESULT AskParent(const WindowData& window, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (!window.IsChildStyle() || window.pParent == nullptr || IsDesktop(*window.pParent))
        return 0;
    return SendMessageA(window.pParent->hWnd, nMsg, wParam, lParam);
}

LPCSTR CursorForHit(int nHit)
{
    switch (nHit)
    {
    case HTLEFT:
    case HTRIGHT:
        return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
        return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return IDC_SIZENESW;
    default:
        return IDC_ARROW;
    }
}

LRESULT OnSetCursor(const WindowData& window, WPARAM wParam, LPARAM lParam)
{
    if (AskParent(window, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    const int nHit = static_cast<SHORT>(LOWORD(lParam));
    if (nHit == HTERROR)
    {
        const UINT nMsg = HIWORD(lParam);
        if (nMsg == WM_LBUTTONDOWN || nMsg == WM_RBUTTONDOWN || nMsg == WM_MBUTTONDOWN)
            MessageBeep(0);
        return FALSE;
    }
    if (nHit == HTCLIENT)
    {
        if (window.pClass->hCursor == nullptr)
            return FALSE;
        SetCursor(window.pClass->hCursor);
        return TRUE;
    }
    SetCursor(LoadCursorA(nullptr, CursorForHit(nHit)));
    return TRUE;
}

LRESULT OnSetText(WindowData& window, LPARAM lParam)
{
    window.text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
    if (IsTopLevel(window))
        GetDisplayBackend().OnTopLevelTextChanged(window.hWnd, window.text.c_str());
    if ((window.dwStyle & WS_VISIBLE) && (window.dwStyle & WS_CAPTION) == WS_CAPTION)
        PaintDefaultFrame(window);
    return TRUE;
}

LRESULT OnGetText(const WindowData& window, WPARAM wParam, LPARAM lParam)
{
    auto* buffer = reinterpret_cast<LPSTR>(lParam);
    if (buffer == nullptr || wParam == 0)
        return 0;
    const std::size_t count = std::min(window.text.size(), std::size_t(wParam) - 1);
    std::memcpy(buffer, window.text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT OnWindowPosChanged(const WindowData& window, const WINDOWPOS& pos)
{
    const HWND hWnd = window.hWnd;
    if (!(pos.flags & SWP_NOCLIENTSIZE))
    {
        const RECT client = window.GetClientRectLocal();
        const WPARAM kind = IsIconic(hWnd)   ? SIZE_MINIMIZED
                            : IsZoomed(hWnd) ? SIZE_MAXIMIZED
                                             : SIZE_RESTORED;
        SendMessageA(hWnd, WM_SIZE, kind, MAKELPARAM(client.right, client.bottom));
    }
    const WindowData* current = FindWindowData(hWnd);
    if (current != nullptr && !(pos.flags & SWP_NOCLIENTMOVE))
        SendMessageA(hWnd, WM_MOVE, 0,
                     MAKELPARAM(current->rcWindow.left + current->rcClient.left,
                                current->rcWindow.top + current->rcClient.top));
    return 0;
}

LRESULT OnNcButtonDown(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const WindowData* window = FindWindowData(hWnd);
    if (window != nullptr && IsTopLevel(*window) && IsMoveSizeHit(static_cast<int>(wParam)))
    {
        // A double click on the caption maximises or restores.
        if (nMsg == WM_NCLBUTTONDBLCLK)
        {
            if (wParam == HTCAPTION && (window->dwStyle & WS_MAXIMIZEBOX))
                SendMessageA(hWnd, WM_SYSCOMMAND,
                             (window->dwStyle & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            return 0;
        }
        if ((wParam == HTCAPTION || (window->dwStyle & WS_THICKFRAME)) &&
            !(window->dwStyle & WS_MAXIMIZE) &&
            !GetDisplayBackend().BeginMoveSize(hWnd, static_cast<int>(wParam), pt))
            TrackMoveSize(hWnd, static_cast<int>(wParam), pt);
        return 0;
    }
    switch (wParam)
    {
    case HTVSCROLL:
        TrackScrollBar(hWnd, SB_VERT, pt);
        break;
    case HTHSCROLL:
        TrackScrollBar(hWnd, SB_HORZ, pt);
        break;
    case HTCLOSE:
        SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        break;
    case HTMENU:
        OnMenuBarPress(hWnd, pt);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnSysCommand(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    switch (wParam & 0xFFF0)
    {
    case SC_CLOSE:
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        ShowWindow(hWnd, SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        ShowWindow(hWnd, SW_SHOWMAXIMIZED);
        break;
    case SC_RESTORE:
        ShowWindow(hWnd, SW_RESTORE);
        break;
    case SC_KEYMENU:
        TrackMenuBar(hWnd, -1, static_cast<char>(lParam));
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnCtlColor(UINT nMsg, WPARAM wParam)
{
    const bool bFace = nMsg == WM_CTLCOLORSTATIC || nMsg == WM_CTLCOLORDLG ||
                       nMsg == WM_CTLCOLORBTN || nMsg == WM_CTLCOLORMSGBOX;
    const int background = bFace ? COLOR_3DFACE : COLOR_WINDOW;
    const auto hdc = reinterpret_cast<HDC>(wParam);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// The activation comes back to the child the window last had the focus in, so
// the keys go on reaching it after a dialog or another window; a child gone,
// hidden or disabled meanwhile leaves the focus to the window itself.
void OnActivate(WindowData& window)
{
    const HWND hWnd = window.hWnd;
    const HWND hFocus = GetFocus();
    if (hFocus == hWnd || IsChild(hWnd, hFocus))
        return;
    const HWND hLast = std::exchange(window.hLastFocus, nullptr);
    const bool bRestore = IsChild(hWnd, hLast) && IsWindowVisible(hLast) && IsWindowEnabled(hLast);
    SetFocus(bRestore ? hLast : hWnd);
}

LRESULT OnEraseBackground(const WindowData& window, WPARAM wParam)
{
    const HBRUSH hBrush = ResolveClassBrush(window.pClass->hbrBackground);
    if (hBrush == nullptr)
        return 0;
    const RECT client = window.GetClientRectLocal();
    FillRect(reinterpret_cast<HDC>(wParam), &client, hBrush);
    return 1;
}
} // namespace

LRESULT DefWindowProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || IsDesktop(*window))
        return 0;
    switch (message)
    {
    case WM_NCCREATE:
    {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        {
            window->text = cs->lpszName;
            // The display shows the title the window is created with.
            if (IsTopLevel(*window))
                GetDisplayBackend().OnTopLevelTextChanged(window->hWnd, window->text.c_str());
        }
        return TRUE;
    }
    case WM_NCCALCSIZE:
    {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect != nullptr)
            *rect = CalcDefaultClientRect(*window, *rect);
        return 0;
    }
    case WM_NCHITTEST:
        return CalcDefaultHitTest(*window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT:
        PaintDefaultFrame(*window);
        return 0;
    case WM_NCACTIVATE:
        if ((window->dwStyle & WS_VISIBLE) && (window->dwStyle & WS_CAPTION) == WS_CAPTION)
            PaintDefaultFrame(*window, wParam != FALSE);
        return TRUE;
    case WM_PAINT:
    {
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return OnEraseBackground(*window, wParam);
    case WM_SETTEXT:
        return OnSetText(*window, lParam);
    case WM_GETTEXT:
        return OnGetText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    case WM_SETCURSOR:
        return OnSetCursor(*window, wParam, lParam);
    case WM_MOUSEACTIVATE:
    {
        const LRESULT answer = AskParent(*window, message, wParam, lParam);
        return answer != 0 ? answer : MA_ACTIVATE;
    }
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        return AskParent(*window, message, wParam, lParam);
    case WM_RBUTTONUP:
    {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hWnd, &pt);
        SendMessageA(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(pt.x, pt.y));
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(hWnd, wParam, lParam);
    case WM_SYSKEYDOWN:
        OnMenuKeyDown(message, wParam);
        if (wParam == VK_F4 && (HIWORD(lParam) & 0x2000))
            SendMessageA(GetTopLevelOf(*window).hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_KEYDOWN:
        OnMenuKeyDown(message, wParam);
        return 0;
    case WM_SYSKEYUP:
        OnMenuKeyUp(*window, wParam);
        return 0;
    case WM_SYSCHAR:
        OnMenuChar(*window, wParam);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0)
            OnActivate(*window);
        return 0;
    case WM_WINDOWPOSCHANGED:
        return lParam != 0 ? OnWindowPosChanged(*window, *reinterpret_cast<WINDOWPOS*>(lParam)) : 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return OnNcButtonDown(hWnd, message, wParam, lParam);
    case WM_SETREDRAW:
        window->bRedrawOff = wParam == 0;
        if (wParam != 0)
            RedrawWindowArea(*window, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(message, wParam);
    default:
        return 0;
    }
}
