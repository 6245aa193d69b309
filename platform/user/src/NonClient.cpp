#include "NonClient.h"

#include "InputState.h"
#include "MenuBar.h"
#include "ScrollBars.h"
#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

namespace
{
bool HasCaption(DWORD dwStyle)
{
    return (dwStyle & WS_CAPTION) == WS_CAPTION;
}

int GetFrameThickness(DWORD dwStyle, DWORD dwExStyle)
{
    int thickness = 0;
    if (dwStyle & WS_THICKFRAME)
        thickness = GetSystemMetrics(SM_CXFRAME);
    else if ((dwStyle & WS_DLGFRAME) || (dwExStyle & WS_EX_DLGMODALFRAME))
        thickness = GetSystemMetrics(SM_CXDLGFRAME);
    else if (dwStyle & WS_BORDER)
        thickness = GetSystemMetrics(SM_CXBORDER);
    if (dwExStyle & WS_EX_CLIENTEDGE)
        thickness += GetSystemMetrics(SM_CXEDGE);
    if (dwExStyle & WS_EX_STATICEDGE)
        thickness += GetSystemMetrics(SM_CXBORDER);
    return thickness;
}

int GetCaptionHeight(DWORD dwExStyle)
{
    return GetSystemMetrics((dwExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

void DrawOuterFrame(HDC hdc, const WindowData& window, RECT& rect)
{
    const DWORD dwStyle = window.dwStyle;
    if ((dwStyle & WS_THICKFRAME) || (dwStyle & WS_DLGFRAME) ||
        (window.dwExStyle & WS_EX_DLGMODALFRAME))
    {
        const int thickness = GetFrameThickness(dwStyle & (WS_THICKFRAME | WS_DLGFRAME),
                                                window.dwExStyle & WS_EX_DLGMODALFRAME);
        RECT inner = rect;
        InflateRect(&inner, -thickness, -thickness);
        DrawEdge(hdc, &rect, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        rect = inner;
    }
    else if (dwStyle & WS_BORDER)
    {
        DrawEdge(hdc, &rect, BDR_OUTER, BF_RECT | BF_ADJUST | BF_MONO);
    }
}

bool IsActiveFrame(const WindowData& window)
{
    return InputState::Get().hActive == GetTopLevelOf(const_cast<WindowData&>(window)).hWnd;
}

void PaintCaption(HDC hdc, const WindowData& window, const RECT& rcCaption, bool bActive)
{
    RECT rcTitle = rcCaption;
    if (window.dwStyle & WS_SYSMENU)
    {
        const int button = GetSystemMetrics(SM_CXSIZE);
        rcTitle.right = std::max(rcTitle.left, rcCaption.right - button);
        const RECT rcButtons{rcTitle.right, rcCaption.top, rcCaption.right, rcCaption.bottom};
        FillRect(hdc, &rcButtons,
                 GetSysColorBrush(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        RECT rcClose{rcTitle.right, rcCaption.top + 2, rcCaption.right - 2, rcCaption.bottom - 2};
        DrawFrameControl(hdc, &rcClose, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    }
    DrawCaption(window.hWnd, hdc, &rcTitle,
                DC_TEXT | DC_ICON | (bActive ? DC_ACTIVE : 0) |
                    ((window.dwExStyle & WS_EX_TOOLWINDOW) ? DC_SMALLCAP : 0));
}
} // namespace

FrameInsets GetFrameInsets(DWORD dwStyle, DWORD dwExStyle)
{
    const int thickness = GetFrameThickness(dwStyle, dwExStyle);
    FrameInsets insets{thickness, thickness, thickness, thickness};
    if (HasCaption(dwStyle))
        insets.top += GetCaptionHeight(dwExStyle);
    return insets;
}

RECT CalcDefaultClientRect(const WindowData& window, const RECT& rcWindow)
{
    if (window.dwStyle & WS_MINIMIZE)
        return RECT{rcWindow.left, rcWindow.top, rcWindow.left, rcWindow.top};
    const FrameInsets insets = GetFrameInsets(window.dwStyle, window.dwExStyle);
    RECT rect{rcWindow.left + insets.left, rcWindow.top + insets.top, rcWindow.right - insets.right,
              rcWindow.bottom - insets.bottom};
    rect.top += CalcMenuBarHeight(window, rcWindow.right - rcWindow.left);
    if (window.dwStyle & WS_VSCROLL)
        rect.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (window.dwStyle & WS_HSCROLL)
        rect.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    return rect;
}

RECT GetCaptionRect(const WindowData& window)
{
    if (!HasCaption(window.dwStyle))
        return RECT{0, 0, 0, 0};
    const int thickness = GetFrameThickness(window.dwStyle, window.dwExStyle);
    const int top = thickness;
    return RECT{thickness, top, window.GetWidth() - thickness,
                top + GetCaptionHeight(window.dwExStyle)};
}

int CalcDefaultHitTest(const WindowData& window, POINT ptScreen)
{
    const RECT rcWindow = GetScreenWindowRect(window);
    if (!PtInRect(&rcWindow, ptScreen))
        return HTNOWHERE;
    const RECT rcClient = GetScreenClientRect(window);
    if (PtInRect(&rcClient, ptScreen))
        return HTCLIENT;
    const POINT pt{ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top};
    for (int nBar : {SB_VERT, SB_HORZ})
    {
        ScrollBarLayout layout;
        if (GetScrollBarLayout(window, nBar, layout) && PtInRect(&layout.rcBar, pt))
            return nBar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    const RECT rcMenuBar = GetMenuBarRect(window);
    if (PtInRect(&rcMenuBar, pt))
        return HTMENU;
    const RECT rcCaption = GetCaptionRect(window);
    if (PtInRect(&rcCaption, pt))
    {
        if ((window.dwStyle & WS_SYSMENU) && pt.x >= rcCaption.right - GetSystemMetrics(SM_CXSIZE))
            return HTCLOSE;
        return HTCAPTION;
    }
    if (window.dwStyle & WS_THICKFRAME)
    {
        const int frame = GetSystemMetrics(SM_CXFRAME);
        const bool bLeft = pt.x < frame;
        const bool bRight = pt.x >= window.GetWidth() - frame;
        const bool bTop = pt.y < frame;
        const bool bBottom = pt.y >= window.GetHeight() - frame;
        if (bTop)
            return bLeft ? HTTOPLEFT : bRight ? HTTOPRIGHT : HTTOP;
        if (bBottom)
            return bLeft ? HTBOTTOMLEFT : bRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (bLeft)
            return HTLEFT;
        if (bRight)
            return HTRIGHT;
    }
    return HTBORDER;
}

BOOL DrawCaption(HWND hWnd, HDC hdc, const RECT* lprect, UINT flags)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || hdc == nullptr || lprect == nullptr)
        return FALSE;
    const bool bActive = (flags & DC_ACTIVE) != 0;
    FillRect(hdc, lprect, GetSysColorBrush(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    RECT rcText = *lprect;
    rcText.left += 4;
    const auto hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(hWnd, GCLP_HICONSM) != 0
                                                   ? GetClassLongPtrA(hWnd, GCLP_HICONSM)
                                                   : GetClassLongPtrA(hWnd, GCLP_HICON));
    if ((flags & DC_ICON) && hIcon != nullptr && !(flags & DC_SMALLCAP))
    {
        const int cx = GetSystemMetrics(SM_CXSMICON);
        const int cy = GetSystemMetrics(SM_CYSMICON);
        const int y = lprect->top + (lprect->bottom - lprect->top - cy) / 2;
        DrawIconEx(hdc, lprect->left + 2, y, hIcon, cx, cy, 0, nullptr, DI_NORMAL);
        rcText.left = lprect->left + 2 + cx + 4;
    }
    if (!(flags & DC_TEXT))
        return TRUE;
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    HGDIOBJ hOldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(hdc, window->text.c_str(), -1, &rcText,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(hdc, hOldFont);
    return TRUE;
}

void PaintDefaultFrame(WindowData& window, std::optional<bool> bActive)
{
    HDC hdc = GetWindowDC(window.hWnd);
    if (hdc == nullptr)
        return;
    RECT rcClient = window.rcClient;
    ExcludeClipRect(hdc, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    RECT rect{0, 0, window.GetWidth(), window.GetHeight()};
    DrawOuterFrame(hdc, window, rect);
    const RECT rcCaption = GetCaptionRect(window);
    if (!IsRectEmpty(&rcCaption))
    {
        PaintCaption(hdc, window, rcCaption, bActive.value_or(IsActiveFrame(window)));
        rect.top = rcCaption.bottom;
    }
    PaintMenuBar(hdc, window);
    rect.top = std::max(rect.top, GetMenuBarRect(window).bottom);
    if (window.dwExStyle & WS_EX_CLIENTEDGE)
    {
        DrawEdge(hdc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    if (window.dwExStyle & WS_EX_STATICEDGE)
        DrawEdge(hdc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    ScrollBarLayout vertical;
    ScrollBarLayout horizontal;
    const bool bVertical = GetScrollBarLayout(window, SB_VERT, vertical);
    const bool bHorizontal = GetScrollBarLayout(window, SB_HORZ, horizontal);
    if (bVertical)
        DrawScrollBar(hdc, vertical);
    if (bHorizontal)
        DrawScrollBar(hdc, horizontal);
    if (bVertical && bHorizontal)
    {
        const RECT corner{vertical.rcBar.left, horizontal.rcBar.top, vertical.rcBar.right,
                          horizontal.rcBar.bottom};
        FillRect(hdc, &corner, GetSysColorBrush(COLOR_3DFACE));
    }
    ReleaseDC(window.hWnd, hdc);
}
