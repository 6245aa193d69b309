// Window scroll bars: data, layout, drawing, the scroll calls and tracking.
#include "ScrollBars.h"

#include "Painting.h"
#include "Timers.h"
#include "WinControls.h"
#include "WinFrameControls.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinScrollBar.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
constexpr int kMinThumb = 8;
constexpr UINT_PTR kRepeatTimer = 0xFFF0;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 50;

DWORD StyleOf(int nBar)
{
    return nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

bool IsScrollable(const ScrollBarData& data)
{
    const long long count = static_cast<long long>(data.nMax) - data.nMin + 1;
    return data.nMax > data.nMin && (data.nPage == 0 || static_cast<long long>(data.nPage) < count);
}

int MulDivClamped(long long a, long long b, long long c)
{
    return c == 0 ? 0 : static_cast<int>(a * b / c);
}

// Shows or hides a bar; the client area changes and WM_SIZE follows.
void SetBarShown(HWND hWnd, WindowData& window, int nBar, bool bShow)
{
    const DWORD style = StyleOf(nBar);
    const DWORD newStyle = bShow ? (window.dwStyle | style) : (window.dwStyle & ~style);
    if (newStyle == window.dwStyle)
        return;
    window.dwStyle = newStyle;
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void RepaintBar(WindowData& window)
{
    window.bNcPaint = true;
}

enum class enPart
{
    None,
    Arrow1,
    Page1,
    Thumb,
    Page2,
    Arrow2,
};

enPart FindPart(const ScrollBarLayout& layout, POINT pt)
{
    if (!layout.bEnabled || !PtInRect(&layout.rcBar, pt))
        return enPart::None;
    if (PtInRect(&layout.rcArrow1, pt))
        return enPart::Arrow1;
    if (PtInRect(&layout.rcArrow2, pt))
        return enPart::Arrow2;
    if (IsRectEmpty(&layout.rcThumb))
        return enPart::None;
    if (PtInRect(&layout.rcThumb, pt))
        return enPart::Thumb;
    const int along = layout.bVertical ? pt.y : pt.x;
    const int thumbStart = layout.bVertical ? layout.rcThumb.top : layout.rcThumb.left;
    return along < thumbStart ? enPart::Page1 : enPart::Page2;
}

WORD CodeOf(enPart part)
{
    switch (part)
    {
    case enPart::Arrow1:
        return SB_LINEUP;
    case enPart::Arrow2:
        return SB_LINEDOWN;
    case enPart::Page1:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

POINT ToWindowPoint(const WindowData& window, POINT ptScreen)
{
    const RECT rcWindow = GetScreenWindowRect(window);
    return POINT{ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top};
}

int ThumbPosition(const ScrollBarLayout& layout, const ScrollBarData& data, int thumbStart)
{
    const int room = layout.nTrackLength - layout.nThumbLength;
    thumbStart = std::clamp(thumbStart, layout.nTrackStart, layout.nTrackStart + room);
    return data.nMin +
           MulDivClamped(thumbStart - layout.nTrackStart, GetMaxScrollPos(data) - data.nMin, room);
}
} // namespace

int GetMaxScrollPos(const ScrollBarData& data)
{
    return data.nMax - std::max(static_cast<int>(data.nPage) - 1, 0);
}

bool IsScrollBarShown(const WindowData& window, int nBar)
{
    return nBar == SB_CTL || (window.dwStyle & StyleOf(nBar)) != 0;
}

bool GetScrollBarLayout(const WindowData& window, int nBar, ScrollBarLayout& layout)
{
    if (!IsScrollBarShown(window, nBar))
        return false;
    const RECT& client = window.rcClient;
    // A scroll-bar control is a bar over its whole client area.
    const bool bVertical = nBar == SB_CTL ? (window.dwStyle & SBS_VERT) != 0 : nBar == SB_VERT;
    const int size = GetSystemMetrics(bVertical ? SM_CXVSCROLL : SM_CYHSCROLL);
    layout = ScrollBarLayout{};
    layout.bVertical = bVertical;
    if (nBar == SB_CTL)
        layout.rcBar = client;
    else
        layout.rcBar = bVertical
                           ? RECT{client.right, client.top, client.right + size, client.bottom}
                           : RECT{client.left, client.bottom, client.right, client.bottom + size};
    const int start = bVertical ? layout.rcBar.top : layout.rcBar.left;
    const int length = bVertical ? layout.rcBar.bottom - start : layout.rcBar.right - start;
    const int breadth =
        bVertical ? layout.rcBar.right - layout.rcBar.left : layout.rcBar.bottom - layout.rcBar.top;
    const int arrow = std::min(nBar == SB_CTL ? breadth : size, length / 2);
    if (bVertical)
    {
        layout.rcArrow1 = RECT{layout.rcBar.left, start, layout.rcBar.right, start + arrow};
        layout.rcArrow2 = RECT{layout.rcBar.left, layout.rcBar.bottom - arrow, layout.rcBar.right,
                               layout.rcBar.bottom};
    }
    else
    {
        layout.rcArrow1 = RECT{start, layout.rcBar.top, start + arrow, layout.rcBar.bottom};
        layout.rcArrow2 = RECT{layout.rcBar.right - arrow, layout.rcBar.top, layout.rcBar.right,
                               layout.rcBar.bottom};
    }
    const ScrollBarData& data = window.scroll[nBar];
    layout.bEnabled = IsScrollable(data);
    layout.nTrackStart = start + arrow;
    layout.nTrackLength = std::max(length - 2 * arrow, 0);
    const long long count = static_cast<long long>(data.nMax) - data.nMin + 1;
    int thumb = data.nPage != 0 ? MulDivClamped(data.nPage, layout.nTrackLength, count) : size;
    thumb = std::max(thumb, kMinThumb);
    if (!layout.bEnabled || thumb > layout.nTrackLength)
        return true;
    layout.nThumbLength = thumb;
    const int span = GetMaxScrollPos(data) - data.nMin;
    const int offset =
        span > 0 ? MulDivClamped(data.nPos - data.nMin, layout.nTrackLength - thumb, span) : 0;
    const int thumbStart = layout.nTrackStart + offset;
    layout.rcThumb =
        bVertical ? RECT{layout.rcBar.left, thumbStart, layout.rcBar.right, thumbStart + thumb}
                  : RECT{thumbStart, layout.rcBar.top, thumbStart + thumb, layout.rcBar.bottom};
    return true;
}

void DrawScrollBar(HDC hdc, const ScrollBarLayout& layout)
{
    FillRect(hdc, &layout.rcBar, GetSysColorBrush(COLOR_SCROLLBAR));
    const UINT inactive = layout.bEnabled ? 0 : DFCS_INACTIVE;
    RECT arrow1 = layout.rcArrow1;
    RECT arrow2 = layout.rcArrow2;
    DrawFrameControl(hdc, &arrow1, DFC_SCROLL,
                     (layout.bVertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive);
    DrawFrameControl(hdc, &arrow2, DFC_SCROLL,
                     (layout.bVertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive);
    if (!IsRectEmpty(&layout.rcThumb))
    {
        RECT thumb = layout.rcThumb;
        DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

void TrackScrollBar(HWND hWnd, int nBar, POINT ptScreen)
{
    WindowData* window = FindWindowData(hWnd);
    ScrollBarLayout layout;
    if (window == nullptr || !GetScrollBarLayout(*window, nBar, layout))
        return;
    const POINT ptStart = ToWindowPoint(*window, ptScreen);
    const enPart part = FindPart(layout, ptStart);
    if (part == enPart::None)
        return;
    const UINT nScrollMsg = layout.bVertical ? WM_VSCROLL : WM_HSCROLL;
    // A control tells its parent, naming itself.
    const HWND hTarget = nBar == SB_CTL ? GetParent(hWnd) : hWnd;
    const LPARAM lControl = nBar == SB_CTL ? reinterpret_cast<LPARAM>(hWnd) : 0;
    const int along = layout.bVertical ? ptStart.y : ptStart.x;
    const int grabOffset = along - (layout.bVertical ? layout.rcThumb.top : layout.rcThumb.left);
    int nThumbPos = window->scroll[nBar].nPos;
    SetCapture(hWnd);
    if (part != enPart::Thumb)
    {
        SendMessageA(hTarget, nScrollMsg, CodeOf(part), lControl);
        TimerTable::Get().Set(hWnd, kRepeatTimer, kFirstRepeatMs, nullptr, true);
    }
    bool bPointerOnPart = true;
    MSG msg{};
    while (GetCapture() == hWnd && GetMessageA(&msg, nullptr, 0, 0))
    {
        if (msg.hwnd == hWnd && msg.message == WM_LBUTTONUP)
            break;
        window = FindWindowData(hWnd);
        if (window == nullptr)
            break;
        if (msg.hwnd == hWnd && msg.message == WM_MOUSEMOVE)
        {
            POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            ClientToScreen(hWnd, &pt);
            pt = ToWindowPoint(*window, pt);
            GetScrollBarLayout(*window, nBar, layout);
            if (part == enPart::Thumb)
            {
                nThumbPos = ThumbPosition(layout, window->scroll[nBar],
                                          (layout.bVertical ? pt.y : pt.x) - grabOffset);
                window->scroll[nBar].nTrackPos = nThumbPos;
                SendMessageA(hTarget, nScrollMsg, MAKEWPARAM(SB_THUMBTRACK, nThumbPos), lControl);
            }
            else
            {
                bPointerOnPart = FindPart(layout, pt) == part;
            }
        }
        else if (msg.hwnd == hWnd && msg.message == WM_SYSTIMER && msg.wParam == kRepeatTimer)
        {
            if (bPointerOnPart)
                SendMessageA(hTarget, nScrollMsg, CodeOf(part), lControl);
            TimerTable::Get().Set(hWnd, kRepeatTimer, kRepeatMs, nullptr, true);
        }
        else
        {
            DispatchMessageA(&msg);
        }
    }
    TimerTable::Get().Kill(hWnd, kRepeatTimer, true);
    if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
    if (!IsWindow(hWnd))
        return;
    if (part == enPart::Thumb)
        SendMessageA(hTarget, nScrollMsg, MAKEWPARAM(SB_THUMBPOSITION, nThumbPos), lControl);
    SendMessageA(hTarget, nScrollMsg, SB_ENDSCROLL, lControl);
    if (GetCapture() == hWnd)
        ReleaseCapture();
}

int SetScrollInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || info == nullptr || bar < SB_HORZ || bar > SB_CTL)
        return 0;
    ScrollBarData& data = window->scroll[bar];
    if (info->fMask & SIF_RANGE)
    {
        data.nMin = info->nMin;
        data.nMax = std::max(info->nMax, info->nMin);
    }
    if (info->fMask & SIF_PAGE)
        data.nPage = info->nPage;
    const long long count = static_cast<long long>(data.nMax) - data.nMin + 1;
    if (static_cast<long long>(data.nPage) > count)
        data.nPage = static_cast<UINT>(count);
    if (info->fMask & SIF_POS)
        data.nPos = info->nPos;
    data.nPos = std::clamp(data.nPos, data.nMin, std::max(GetMaxScrollPos(data), data.nMin));
    const int nPos = data.nPos;
    if (bar == SB_CTL)
    {
        if (redraw)
            InvalidateRect(hWnd, nullptr, TRUE);
        return nPos;
    }
    if (info->fMask & (SIF_RANGE | SIF_PAGE))
    {
        const bool bShow = IsScrollable(data) || (info->fMask & SIF_DISABLENOSCROLL) != 0;
        if (bShow != IsScrollBarShown(*window, bar))
        {
            SetBarShown(hWnd, *window, bar, bShow);
            return nPos;
        }
    }
    if (redraw)
        RepaintBar(*window);
    return nPos;
}

BOOL GetScrollInfo(HWND hWnd, int bar, LPSCROLLINFO info)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || info == nullptr || bar < SB_HORZ || bar > SB_CTL)
        return FALSE;
    const ScrollBarData& data = window->scroll[bar];
    if (info->fMask & SIF_RANGE)
    {
        info->nMin = data.nMin;
        info->nMax = data.nMax;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = data.nPage;
    if (info->fMask & SIF_POS)
        info->nPos = data.nPos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = data.nTrackPos;
    return TRUE;
}

int SetScrollPos(HWND hWnd, int bar, int pos, BOOL redraw)
{
    const int nPrevious = GetScrollPos(hWnd, bar);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(hWnd, bar, &info, redraw);
    return nPrevious;
}

int GetScrollPos(HWND hWnd, int bar)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hWnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    return FindWindowChecked(hWnd) != nullptr && (SetScrollInfo(hWnd, bar, &info, redraw), TRUE);
}

BOOL GetScrollRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos)
{
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (minPos == nullptr || maxPos == nullptr || !GetScrollInfo(hWnd, bar, &info))
        return FALSE;
    *minPos = info.nMin;
    *maxPos = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int bar, BOOL show)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || bar < SB_HORZ || bar > SB_BOTH)
        return FALSE;
    if (bar == SB_CTL)
    {
        ShowWindow(hWnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (bar == SB_BOTH)
    {
        const DWORD both = WS_HSCROLL | WS_VSCROLL;
        const DWORD newStyle = show ? (window->dwStyle | both) : (window->dwStyle & ~both);
        if (newStyle != window->dwStyle)
        {
            window->dwStyle = newStyle;
            SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
        }
        return TRUE;
    }
    SetBarShown(hWnd, *window, bar, show != FALSE);
    return TRUE;
}
