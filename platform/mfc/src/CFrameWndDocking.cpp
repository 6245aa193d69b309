#include "AfxDockLayout.h"
#include "AfxDocking.h"

namespace
{
struct DockSide
{
    DWORD dwStyle;
    UINT nID;
};

// The order in which a bar looks for a side, and the frame lays them out.
constexpr DockSide kDockSides[] = {
    {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
    {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
    {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
    {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
};

// How deep an empty dock bar is taken to be when a dragged bar looks for
// one, so that it can be hit at all.
constexpr int kEmptyDockDepth = 20;

void GrowInwards(CRect& rect, DWORD dwSide, int nDepth)
{
    if (dwSide == CBRS_ALIGN_TOP)
        rect.bottom += nDepth;
    else if (dwSide == CBRS_ALIGN_BOTTOM)
        rect.top -= nDepth;
    else if (dwSide == CBRS_ALIGN_LEFT)
        rect.right += nDepth;
    else
        rect.left -= nDepth;
}
} // namespace

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (m_listControlBars.Find(pBar) == nullptr)
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    if (POSITION pos = m_listControlBars.Find(pBar); pos != nullptr)
        m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;)
    {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->m_hWnd != nullptr && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    return DYNAMIC_DOWNCAST(CControlBar, GetDescendantWindow(static_cast<int>(nID), TRUE));
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    for (const DockSide& side : kDockSides)
    {
        if (!(dwDockStyle & side.dwStyle) || GetControlBar(side.nID) != nullptr)
            continue;
        auto* pDockBar = new CDockBar;
        pDockBar->m_bAutoDelete = TRUE;
        if (!pDockBar->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | side.dwStyle,
                              side.nID))
        {
            delete pDockBar;
            continue;
        }
        AddControlBar(pDockBar);
    }
    if (m_pFloatingFrameClass == nullptr)
        m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* pDockBar = nullptr;
    if (nDockBarID != 0)
    {
        pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID));
    }
    else
    {
        for (const DockSide& side : kDockSides)
        {
            if (!(pBar->m_dwDockStyle & side.dwStyle))
                continue;
            pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.nID));
            if (pDockBar != nullptr)
                break;
        }
    }
    if (pDockBar != nullptr)
        DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    CDockBar* pOldDockBar = pBar->m_pDockBar;
    pDockBar->DockControlBar(pBar, lpRect);
    // A mini frame left without its bar has no more use.
    if (pOldDockBar != nullptr && pOldDockBar != pDockBar && pOldDockBar->m_bFloating &&
        pOldDockBar->GetDockedCount() == 0)
    {
        if (CWnd* pMiniFrame = pOldDockBar->GetParent())
            pMiniFrame->DestroyWindow();
    }
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (pBar->IsFloating())
    {
        CWnd* pMiniFrame = pBar->m_pDockBar->GetParent();
        pMiniFrame->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
        if (bShow)
            static_cast<CFrameWnd*>(pMiniFrame)->RecalcLayout();
    }
    RecalcLayout();
}

void CFrameWnd::UpdateFloatingBars()
{
    // Floating bars are not among the frame's windows: they hear the idle
    // update from here.
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != nullptr;)
    {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar->IsFloating() && pBar->m_hWnd != nullptr)
            pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    }
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    CRuntimeClass* pClass =
        m_pFloatingFrameClass != nullptr ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    auto* pFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pClass->CreateObject());
    if (pFrame == nullptr)
        return nullptr;
    if (!pFrame->Create(this, dwStyle))
    {
        delete pFrame;
        return nullptr;
    }
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    CMiniDockFrameWnd* pMiniFrame = nullptr;
    if (pBar->IsFloating())
        pMiniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pBar->m_pDockBar->GetParent());
    const bool bNewFrame = pMiniFrame == nullptr;
    if (bNewFrame)
    {
        pMiniFrame = CreateFloatingFrame(dwStyle | (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC));
        if (pMiniFrame == nullptr)
            return;
        DockControlBar(pBar, &pMiniFrame->m_wndDockBar);
    }
    pMiniFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pMiniFrame->RecalcLayout();
    if (pBar->IsVisible())
        pMiniFrame->ShowWindow(SW_SHOWNA);
    RecalcLayout();
}

CDockBar* CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    // The same outline serves both forms here; the drag context asks with
    // each form's outline itself.
    std::vector<DockTarget> targets;
    std::vector<CDockBar*> dockBars;
    for (const DockSide& side : kDockSides)
    {
        auto* pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.nID));
        if (pDockBar == nullptr)
            continue;
        CRect rcSide;
        pDockBar->GetWindowRect(&rcSide);
        const bool bHorz = (side.dwStyle & CBRS_ORIENT_HORZ) != 0;
        if (bHorz ? rcSide.Height() == 0 : rcSide.Width() == 0)
            GrowInwards(rcSide, side.dwStyle, kEmptyDockDepth);
        targets.push_back(DockTarget{rcSide, bHorz, (dwDockStyle & side.dwStyle) != 0});
        dockBars.push_back(pDockBar);
    }
    const int nHit = FindDockTarget(targets, rect, rect);
    CDockBar* pFound = nHit >= 0 ? dockBars[static_cast<size_t>(nHit)] : nullptr;
    if (ppDockBar != nullptr)
        *ppDockBar = pFound;
    return pFound;
}
