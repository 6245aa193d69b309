// The snake busy indicator.
#include "SnakeCtrl.h"

#include <algorithm>
#include <cstdlib>

namespace
{
constexpr UINT_PTR kSnakeTimer = 100;

int Component(COLORREF cr, int nShift)
{
    return int((cr >> nShift) & 0xFF);
}
} // namespace

BEGIN_MESSAGE_MAP(CSnakeCtrl, CStatic)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

void CSnakeCtrl::PreSubclassWindow()
{
    GetWindowText(m_strCaption);
    CStatic::PreSubclassWindow();
}

void CSnakeCtrl::Start()
{
    m_nTail = m_nLength;
    m_nHead = 2 * m_nLength;
    m_crRight = m_crEnd;
    m_crLeft = m_crStart;
    if (m_nInterval != 0 && m_nTimerID == 0)
        m_nTimerID = SetTimer(kSnakeTimer, UINT(m_nInterval), nullptr);
    Invalidate();
    UpdateWindow();
}

void CSnakeCtrl::Stop()
{
    if (m_nTimerID != 0)
        KillTimer(m_nTimerID);
    m_nTimerID = 0;
    m_nHead = 0;
    m_nTail = 0;
    Invalidate();
    UpdateWindow();
}

void CSnakeCtrl::Restart()
{
    if (m_nTimerID == 0)
        return;
    Stop();
    Start();
}

void CSnakeCtrl::SetElapse(int nElapse)
{
    m_nInterval = nElapse;
    Restart();
}

void CSnakeCtrl::SetGradientFill(COLORREF crStart, COLORREF crEnd)
{
    m_crStart = crStart;
    m_crEnd = crEnd;
    m_crLeft = crStart;
    m_crRight = crEnd;
}

void CSnakeCtrl::ResetProgress()
{
    m_nDirection = 0;
    m_nHead = 0;
    m_nTail = 0;
}

void CSnakeCtrl::OnTimer(UINT_PTR)
{
    Invalidate();
    StepIt();
}

void CSnakeCtrl::OnDestroy()
{
    if (m_nTimerID != 0)
        KillTimer(m_nTimerID);
    m_nTimerID = 0;
    CStatic::OnDestroy();
}

// ---------------------------------------------------------------- stepping

int CSnakeCtrl::StepIt()
{
    return m_nDirection == 0 ? StepTowardsMax() : StepTowardsZero();
}

// The tail follows once the head is the snake's length away from where it
// started, or at once while the head waits at an end.
void CSnakeCtrl::MoveTail()
{
    if (m_nDirection == 0)
    {
        if (m_bEndReached || m_nHead >= m_nLength)
            m_nTail = std::min(m_nTail + m_nStep, m_nMax);
    }
    else if (m_bEndReached || m_nMax - m_nHead >= m_nLength)
    {
        m_nTail = std::max(m_nTail - m_nStep, 0);
    }
}

int CSnakeCtrl::StepTowardsMax()
{
    if (m_nHead < m_nMax)
    {
        m_nHead = std::min(m_nHead + m_nStep, m_nMax);
        MoveTail();
        return m_nHead;
    }
    if (!m_bEndReached)
    {
        m_bEndReached = TRUE;
        return m_nMax;
    }
    if (m_nTail >= m_nMax)
    {
        m_bEndReached = FALSE;
        m_nTail = m_nMax;
        m_nHead = m_nMax - m_nStep;
        m_nDirection = 1;
        m_crLeft = m_crEnd;
        m_crRight = m_crStart;
        return m_nHead;
    }
    MoveTail();
    return m_nHead;
}

int CSnakeCtrl::StepTowardsZero()
{
    if (m_nHead > 0)
    {
        m_nHead = std::max(m_nHead - m_nStep, 0);
        MoveTail();
        return m_nHead;
    }
    if (!m_bEndReached)
    {
        m_bEndReached = TRUE;
        return 0;
    }
    if (m_nTail <= 0)
    {
        m_bEndReached = FALSE;
        m_nTail = 0;
        m_nHead = m_nStep;
        m_nDirection = 0;
        m_crRight = m_crEnd;
        m_crLeft = m_crStart;
        return m_nHead;
    }
    MoveTail();
    return m_nHead;
}

// ---------------------------------------------------------------- painting

void CSnakeCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nWidth = rcClient.Width();
    int nLeft = 0;
    int nRight = 0;
    if (m_nMax > 0)
    {
        const int h = int(double(nWidth) * m_nHead / m_nMax);
        const int t = int(double(nWidth) * m_nTail / m_nMax);
        nLeft = m_nDirection == 0 ? t : h;
        nRight = m_nDirection == 0 ? h : t;
        DrawGradient(dc, rcClient, nLeft, nRight);
    }
    dc.FillSolidRect(rcClient.left, rcClient.top, nLeft - rcClient.left, rcClient.Height(), m_crBk);
    dc.FillSolidRect(nRight, rcClient.top, rcClient.right - nRight, rcClient.Height(), m_crBk);
    if (m_strCaption.IsEmpty())
        return;
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_strCaption, &rcClient, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(pOldFont);
}

void CSnakeCtrl::DrawGradient(CDC& dc, const CRect& rcClient, int nLeft, int nRight)
{
    const int deltas[3] = {Component(m_crRight, 0) - Component(m_crLeft, 0),
                           Component(m_crRight, 8) - Component(m_crLeft, 8),
                           Component(m_crRight, 16) - Component(m_crLeft, 16)};
    const int nBands = std::max({std::abs(deltas[0]), std::abs(deltas[1]), std::abs(deltas[2])});
    // One colour throughout is one band.
    if (nBands == 0)
    {
        dc.FillSolidRect(nLeft, rcClient.top, nRight - nLeft, rcClient.Height(), m_crLeft);
        return;
    }
    const double dBandWidth = double(std::abs(nRight - nLeft)) / nBands;
    for (int k = 0; k < nBands; ++k)
    {
        const int x0 = nLeft + int(k * dBandWidth);
        const int x1 = nLeft + int((k + 1) * dBandWidth);
        if (x0 < nLeft || x1 > nRight)
            break;
        const COLORREF cr = RGB(Component(m_crLeft, 0) + k * deltas[0] / nBands,
                                Component(m_crLeft, 8) + k * deltas[1] / nBands,
                                Component(m_crLeft, 16) + k * deltas[2] / nBands);
        dc.FillSolidRect(x0, rcClient.top, x1 - x0, rcClient.Height(), cr);
    }
}
