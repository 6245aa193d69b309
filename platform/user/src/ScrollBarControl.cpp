// The "ScrollBar" control: a bar over its whole client area that tells its
// parent how it is moved (WM_HSCROLL or WM_VSCROLL, lParam the control).
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "ScrollBars.h"

#include "WinPaint.h"
#include "WinScrollBar.h"

namespace
{
class ScrollBarControl
{
public:
    explicit ScrollBarControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    void Scroll(WORD nCode) const;

    HWND m_hWnd;
};

void ScrollBarControl::Paint(HDC hdc)
{
    const WindowData* window = FindWindowData(m_hWnd);
    ScrollBarLayout layout;
    if (window != nullptr && GetScrollBarLayout(*window, SB_CTL, layout))
    {
        // The layout is in window coordinates, the DC in client ones.
        SetWindowOrgEx(hdc, window->rcClient.left, window->rcClient.top, nullptr);
        layout.bEnabled = layout.bEnabled && IsWindowEnabled(m_hWnd);
        DrawScrollBar(hdc, layout);
    }
}

void ScrollBarControl::Scroll(WORD nCode) const
{
    const bool bVertical = (GetWindowLongPtrA(m_hWnd, GWL_STYLE) & SBS_VERT) != 0;
    if (const HWND hParent = GetParent(m_hWnd))
        SendMessageA(hParent, bVertical ? WM_VSCROLL : WM_HSCROLL, nCode,
                     reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT ScrollBarControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_ENABLE:
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        if (!IsWindowEnabled(m_hWnd))
            return 0;
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(m_hWnd, &pt);
        TrackScrollBar(m_hWnd, SB_CTL, pt);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        switch (wParam)
        {
        case VK_UP:
        case VK_LEFT:
            Scroll(SB_LINEUP);
            break;
        case VK_DOWN:
        case VK_RIGHT:
            Scroll(SB_LINEDOWN);
            break;
        case VK_PRIOR:
            Scroll(SB_PAGEUP);
            break;
        case VK_NEXT:
            Scroll(SB_PAGEDOWN);
            break;
        case VK_HOME:
            Scroll(SB_TOP);
            break;
        case VK_END:
            Scroll(SB_BOTTOM);
            break;
        default:
            return 0;
        }
        Scroll(SB_ENDSCROLL);
        return 0;
    case SBM_SETSCROLLINFO:
        return SetScrollInfo(m_hWnd, SB_CTL, reinterpret_cast<LPCSCROLLINFO>(lParam),
                             static_cast<BOOL>(wParam));
    case SBM_GETSCROLLINFO:
        return GetScrollInfo(m_hWnd, SB_CTL, reinterpret_cast<LPSCROLLINFO>(lParam));
    case SBM_SETPOS:
        return SetScrollPos(m_hWnd, SB_CTL, static_cast<int>(wParam), static_cast<BOOL>(lParam));
    case SBM_GETPOS:
        return GetScrollPos(m_hWnd, SB_CTL);
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
        SetScrollRange(m_hWnd, SB_CTL, static_cast<int>(wParam), static_cast<int>(lParam),
                       nMsg == SBM_SETRANGEREDRAW);
        return GetScrollPos(m_hWnd, SB_CTL);
    case SBM_GETRANGE:
        return GetScrollRange(m_hWnd, SB_CTL, reinterpret_cast<LPINT>(wParam),
                              reinterpret_cast<LPINT>(lParam));
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ScrollBarWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ScrollBarControl>(hWnd, nMsg, wParam, lParam);
}
