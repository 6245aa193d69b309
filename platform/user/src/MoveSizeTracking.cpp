#include "MoveSizeTracking.h"

#include "MoveSizeLoop.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinMessages.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
bool MovesLeft(int nHit)
{
    return nHit == HTLEFT || nHit == HTTOPLEFT || nHit == HTBOTTOMLEFT;
}

bool MovesRight(int nHit)
{
    return nHit == HTRIGHT || nHit == HTTOPRIGHT || nHit == HTBOTTOMRIGHT;
}

bool MovesTop(int nHit)
{
    return nHit == HTTOP || nHit == HTTOPLEFT || nHit == HTTOPRIGHT;
}

bool MovesBottom(int nHit)
{
    return nHit == HTBOTTOM || nHit == HTBOTTOMLEFT || nHit == HTBOTTOMRIGHT;
}
} // namespace

RECT CalcMoveSizeRect(const RECT& rcStart, int nHitTest, POINT delta, SIZE sizeMinimum)
{
    RECT rect = rcStart;
    if (nHitTest == HTCAPTION)
    {
        OffsetRect(&rect, delta.x, delta.y);
        return rect;
    }
    if (MovesLeft(nHitTest))
        rect.left = std::min(rcStart.left + delta.x, rcStart.right - sizeMinimum.cx);
    if (MovesRight(nHitTest))
        rect.right = std::max(rcStart.right + delta.x, rcStart.left + sizeMinimum.cx);
    if (MovesTop(nHitTest))
        rect.top = std::min(rcStart.top + delta.y, rcStart.bottom - sizeMinimum.cy);
    if (MovesBottom(nHitTest))
        rect.bottom = std::max(rcStart.bottom + delta.y, rcStart.top + sizeMinimum.cy);
    return rect;
}

bool IsMoveSizeHit(int nHitTest)
{
    return nHitTest == HTCAPTION || (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT);
}

void TrackMoveSize(HWND hWnd, int nHitTest, POINT ptStart)
{
    RECT rcStart{};
    GetWindowRect(hWnd, &rcStart);
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    SendMessageA(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const SIZE sizeMinimum{info.ptMinTrackSize.x, info.ptMinTrackSize.y};
    SetCapture(hWnd);
    while (GetCapture() == hWnd)
    {
        MSG msg{};
        if (!GetMessageA(&msg, nullptr, 0, 0))
        {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP)
        {
            POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            ClientToScreen(msg.hwnd, &pt);
            const RECT rect = CalcMoveSizeRect(
                rcStart, nHitTest, POINT{pt.x - ptStart.x, pt.y - ptStart.y}, sizeMinimum);
            SetWindowPos(hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (msg.message == WM_LBUTTONUP)
                break;
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
        {
            SetWindowPos(hWnd, nullptr, rcStart.left, rcStart.top, rcStart.right - rcStart.left,
                         rcStart.bottom - rcStart.top, SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        DispatchMessageA(&msg);
    }
    if (GetCapture() == hWnd)
        ReleaseCapture();
}
