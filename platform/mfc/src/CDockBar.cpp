#include "AfxDockLayout.h"
#include "AfxDocking.h"
#include "AfxWinDC.h"

#include <algorithm>

namespace
{
// What is not a bar in the array: row ends (null) and small values that
// keep a place.
constexpr UINT_PTR kFirstBarValue = 0x10000;

DWORD SideOfDockBar(UINT nID)
{
    switch (nID)
    {
    case AFX_IDW_DOCKBAR_TOP:
        return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    default:
        return 0;
    }
}

// The border a bar docked at a side draws: the edge facing the view.
DWORD BorderFacingView(DWORD dwSide)
{
    switch (dwSide)
    {
    case CBRS_ALIGN_TOP:
        return CBRS_BORDER_BOTTOM;
    case CBRS_ALIGN_BOTTOM:
        return CBRS_BORDER_TOP;
    case CBRS_ALIGN_LEFT:
        return CBRS_BORDER_RIGHT;
    case CBRS_ALIGN_RIGHT:
        return CBRS_BORDER_LEFT;
    default:
        return 0;
    }
}
} // namespace

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_PAINT()
ON_WM_NCPAINT()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    m_bDockBar = TRUE;
    SetBorders(0, 0, 0, 0);
    m_arrBars.Add(nullptr);
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    m_pDockSite = DYNAMIC_DOWNCAST(CFrameWnd, pParentWnd);
    if (m_bFloating)
        m_dwStyle = (m_dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    else if (const DWORD dwSide = SideOfDockBar(nID); dwSide != 0)
        m_dwStyle = (m_dwStyle & ~CBRS_ALIGN_ANY) | dwSide;
    return CWnd::Create(AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                            ::GetSysColorBrush(COLOR_BTNFACE)),
                        nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                        CRect(0, 0, 0, 0), pParentWnd, nID);
}

bool CDockBar::IsHorz() const
{
    return (m_dwStyle & CBRS_ORIENT_VERT) == 0;
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    if (nPos < 0 || nPos >= m_arrBars.GetSize())
        return nullptr;
    void* pEntry = m_arrBars.GetAt(nPos);
    if (reinterpret_cast<UINT_PTR>(pEntry) < kFirstBarValue)
        return nullptr;
    return static_cast<CControlBar*>(pEntry);
}

int CDockBar::GetDockedCount() const
{
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i)
        nCount += GetDockedControlBar(i) != nullptr ? 1 : 0;
    return nCount;
}

int CDockBar::GetDockedVisibleCount() const
{
    int nCount = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i)
    {
        const CControlBar* pBar = GetDockedControlBar(i);
        nCount += pBar != nullptr && pBar->IsVisible() ? 1 : 0;
    }
    return nCount;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const
{
    for (int i = 0; i < m_arrBars.GetSize(); ++i)
    {
        if (i != nPosExclude && m_arrBars.GetAt(i) == pBar)
            return i;
    }
    return -1;
}

std::vector<std::vector<CControlBar*>> CDockBar::GetVisibleRows() const
{
    std::vector<std::vector<CControlBar*>> rows;
    std::vector<CControlBar*> row;
    for (int i = 1; i < m_arrBars.GetSize(); ++i)
    {
        if (m_arrBars.GetAt(i) == nullptr)
        {
            rows.push_back(std::move(row));
            row.clear();
            continue;
        }
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar != nullptr && pBar->IsVisible())
            row.push_back(pBar);
    }
    return rows;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (pBar->m_pDockBar != nullptr)
        pBar->m_pDockBar->RemoveControlBar(pBar);
    const DWORD dwSide = m_dwStyle & CBRS_ALIGN_ANY;
    DWORD dwStyle = pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    if (dwStyle & CBRS_BORDER_ANY)
        dwStyle = (dwStyle & ~CBRS_BORDER_ANY) | BorderFacingView(m_bFloating ? 0 : dwSide);
    dwStyle |= m_bFloating ? (dwSide | CBRS_FLOATING) : dwSide;
    pBar->m_dwStyle = dwStyle;
    pBar->m_pDockBar = this;
    if (pBar->GetOwner() == nullptr || pBar->GetOwner() == pBar->GetParent())
        pBar->SetOwner(pBar->GetDockingFrame());
    if (pBar->GetParent() != this)
        pBar->SetParent(this);

    // The row the place falls in, and the place along it.
    CPoint ptWanted(0, 0);
    DockDropRow drop{static_cast<int>(m_rowThickness.size()), true};
    if (lpRect != nullptr)
    {
        CRect rect(*lpRect);
        ScreenToClient(&rect);
        ptWanted = rect.TopLeft();
        drop = FindDockDropRow(m_rowThickness, IsHorz() ? rect.top : rect.left);
    }
    const int nAlong = IsHorz() ? ptWanted.x : ptWanted.y;
    // Walk to the start of the row (or to where a new row goes).
    int nIndex = 1;
    for (int nRow = 0; nRow < drop.nRow && nIndex < m_arrBars.GetSize(); ++nIndex)
    {
        if (m_arrBars.GetAt(nIndex) == nullptr)
            ++nRow;
    }
    nIndex = std::min<int>(nIndex, static_cast<int>(m_arrBars.GetSize()));
    if (drop.bNewRow)
    {
        m_arrBars.InsertAt(nIndex, static_cast<void*>(nullptr));
    }
    else
    {
        // Before the first bar of the row that starts further along.
        for (; nIndex < m_arrBars.GetSize() && m_arrBars.GetAt(nIndex) != nullptr; ++nIndex)
        {
            CControlBar* pOther = GetDockedControlBar(nIndex);
            if (pOther == nullptr)
                continue;
            CRect rcOther;
            pOther->GetWindowRect(&rcOther);
            ScreenToClient(&rcOther);
            if ((IsHorz() ? rcOther.left : rcOther.top) > nAlong)
                break;
        }
    }
    m_arrBars.InsertAt(nIndex, static_cast<void*>(pBar));
    pBar->SetWindowPos(nullptr, ptWanted.x, ptWanted.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar)
{
    const int nIndex = FindBar(pBar);
    if (nIndex < 0)
        return FALSE;
    m_arrBars.RemoveAt(nIndex);
    // A row left empty goes with it.
    if (m_arrBars.GetAt(nIndex - 1) == nullptr && nIndex < m_arrBars.GetSize() &&
        m_arrBars.GetAt(nIndex) == nullptr)
        m_arrBars.RemoveAt(nIndex);
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
    return TRUE;
}

CSize CDockBar::AskBarSize(CControlBar* pBar, int nLength) const
{
    if (m_bFloating)
    {
        if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
            return pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        return pBar->CalcFixedLayout(FALSE, TRUE);
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
        return pBar->CalcDynamicLayout(nLength, (IsHorz() ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK) |
                                                    LM_COMMIT);
    return pBar->CalcFixedLayout(FALSE, IsHorz());
}

CSize CDockBar::LayoutRows(int nLength)
{
    const bool bHorz = IsHorz();
    const auto rows = GetVisibleRows();
    std::vector<std::vector<DockSlot>> slots;
    for (const auto& row : rows)
    {
        auto& rowSlots = slots.emplace_back();
        for (CControlBar* pBar : row)
        {
            CRect rcBar;
            pBar->GetWindowRect(&rcBar);
            ScreenToClient(&rcBar);
            rowSlots.push_back(DockSlot{AskBarSize(pBar, nLength), bHorz ? rcBar.left : rcBar.top});
        }
    }
    const DockRowsLayout layout = CalcDockRows(slots, bHorz, nLength);
    m_rowThickness.clear();
    for (size_t nRow = 0; nRow < rows.size(); ++nRow)
    {
        int nThickness = 0;
        for (size_t i = 0; i < rows[nRow].size(); ++i)
        {
            const CRect rect(layout.rects[nRow][i]);
            nThickness = std::max(nThickness, bHorz ? rect.Height() : rect.Width());
            rows[nRow][i]->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                        SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (nThickness > 0)
            m_rowThickness.push_back(nThickness);
    }
    return layout.sizeTotal;
}

CSize CDockBar::CalcFixedLayout(BOOL, BOOL)
{
    // A floating dock bar is as large as its one bar.
    CSize size(0, 0);
    for (const auto& row : GetVisibleRows())
    {
        for (CControlBar* pBar : row)
        {
            const CSize sizeBar = AskBarSize(pBar, -1);
            size.cx = std::max(size.cx, sizeBar.cx);
            size.cy += sizeBar.cy;
        }
    }
    if (m_bFloating)
        LayoutRows(size.cx);
    return size;
}

LRESULT CDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout == nullptr || m_bFloating)
        return 0;
    const CRect rcRoom(pLayout->rect);
    const CSize size = LayoutRows(IsHorz() ? rcRoom.Width() : rcRoom.Height());
    TakeRoomAlongSide(pLayout, size);
    return 0;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
}

void CDockBar::OnNcPaint() {}
