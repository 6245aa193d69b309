// The progress bar "msctls_progress32": a position within a range, drawn as
// a sunken box filled from the left (from the bottom with PBS_VERTICAL) in
// blocks, or smoothly with PBS_SMOOTH. Stepping past the top starts again
// from the bottom.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinFrameControls.h"
#include "WinListView.h"
#include "WinSysMetrics.h"

#include <algorithm>

namespace
{
class ProgressControl
{
public:
    explicit ProgressControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    // Sets the position (kept within the range) and returns the old one.
    int SetPos(long long nPos);
    LRESULT SetRange(int nLow, int nHigh);

    HWND m_hWnd;
    int m_nLow = 0;
    int m_nHigh = 100;
    int m_nPos = 0;
    int m_nStep = 10;
};

int ProgressControl::SetPos(long long nPos)
{
    const int nOld = m_nPos;
    m_nPos = static_cast<int>(std::clamp<long long>(nPos, m_nLow, std::max(m_nLow, m_nHigh)));
    if (m_nPos != nOld)
        InvalidateRect(m_hWnd, nullptr, TRUE);
    return nOld;
}

LRESULT ProgressControl::SetRange(int nLow, int nHigh)
{
    const LRESULT old = MAKELONG(static_cast<WORD>(m_nLow), static_cast<WORD>(m_nHigh));
    m_nLow = nLow;
    m_nHigh = nHigh;
    SetPos(m_nPos);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return old;
}

void ProgressControl::Paint(HDC hdc)
{
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    InflateRect(&rc, -1, -1);
    const bool bVertical = (Style() & PBS_VERTICAL) != 0;
    const int nLength = bVertical ? rc.bottom - rc.top : rc.right - rc.left;
    const long long nSpan = std::max(1LL, static_cast<long long>(m_nHigh) - m_nLow);
    const int nFilled =
        static_cast<int>(nLength * (static_cast<long long>(m_nPos) - m_nLow) / nSpan);
    if (nFilled <= 0)
        return;
    HBRUSH hBar = GetSysColorBrush(COLOR_HIGHLIGHT);
    if (Style() & PBS_SMOOTH)
    {
        RECT rcBar = rc;
        if (bVertical)
            rcBar.top = rc.bottom - nFilled;
        else
            rcBar.right = rc.left + nFilled;
        FillRect(hdc, &rcBar, hBar);
        return;
    }
    // Blocks two thirds of the bar's thickness wide, a pixel apart.
    const int nThickness = bVertical ? rc.right - rc.left : rc.bottom - rc.top;
    const int nBlock = std::max(2, nThickness * 2 / 3);
    for (int nAt = 0; nAt < nFilled; nAt += nBlock + 1)
    {
        const int nEnd = std::min(nAt + nBlock, nLength);
        RECT rcBlock = bVertical ? RECT{rc.left, rc.bottom - nEnd, rc.right, rc.bottom - nAt}
                                 : RECT{rc.left + nAt, rc.top, rc.left + nEnd, rc.bottom};
        FillRect(hdc, &rcBlock, hBar);
    }
}

LRESULT ProgressControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case PBM_SETRANGE:
        return SetRange(static_cast<int>(LOWORD(lParam)), static_cast<int>(HIWORD(lParam)));
    case PBM_SETRANGE32:
        return SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
        if (auto* pRange = reinterpret_cast<PBRANGE*>(lParam))
            *pRange = PBRANGE{m_nLow, m_nHigh};
        return wParam != 0 ? m_nLow : m_nHigh;
    case PBM_SETPOS:
        return SetPos(static_cast<int>(wParam));
    case PBM_GETPOS:
        return m_nPos;
    case PBM_DELTAPOS:
        return SetPos(static_cast<long long>(m_nPos) + static_cast<int>(wParam));
    case PBM_SETSTEP:
    {
        const int nOld = m_nStep;
        m_nStep = static_cast<int>(wParam);
        return nOld;
    }
    case PBM_STEPIT:
    {
        long long nNext = static_cast<long long>(m_nPos) + m_nStep;
        if (nNext > m_nHigh)
            nNext = m_nLow + (nNext - m_nHigh);
        else if (nNext < m_nLow)
            nNext = m_nHigh - (m_nLow - nNext);
        return SetPos(nNext);
    }
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ProgressWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ProgressControl>(hWnd, nMsg, wParam, lParam);
}
