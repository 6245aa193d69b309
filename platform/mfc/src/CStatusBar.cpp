#include "AfxBars.h"

#include "AfxFrame.h"
#include "AfxWinDC.h"

#include <algorithm>

namespace
{
// Room around a pane's text: its margins and edges.
constexpr int kPaneExtra = 8;
constexpr int kPaneGap = 2;
constexpr int kBarExtra = 8;

// Updates a pane: disabled panes show no text, checked ones stand out.
class CStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        auto* pBar = static_cast<CStatusBar*>(m_pOther);
        const UINT nStyle = pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        pBar->SetPaneStyle(static_cast<int>(m_nIndex),
                           bOn ? (nStyle & ~SBPS_DISABLED) : (nStyle | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override
    {
        auto* pBar = static_cast<CStatusBar*>(m_pOther);
        const UINT nStyle = pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        pBar->SetPaneStyle(static_cast<int>(m_nIndex),
                           nCheck != 0 ? (nStyle | SBPS_POPOUT) : (nStyle & ~SBPS_POPOUT));
    }
    void SetText(LPCSTR lpszText) override
    {
        static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
    }
};
} // namespace

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_SIZE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    SetBorders(0, 0, 0, 0);
    const DWORD dwWindowStyle =
        (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    return CWnd::Create(STATUSCLASSNAMEA, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd,
                        nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.clear();
    CClientDC dc(this);
    const HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, BarFont());
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i)
    {
        Pane pane{lpIDArray != nullptr ? lpIDArray[i] : ID_SEPARATOR, SBPS_NORMAL, 0, CString()};
        if (pane.nID != ID_SEPARATOR)
        {
            if (!pane.strText.LoadString(pane.nID))
                bResult = FALSE;
            pane.cxText = dc.GetTextExtent(pane.strText).cx;
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(dc.m_hDC, hOldFont);
    // The first separator pane carries the prompts and takes what is left.
    const int nPrompt = CommandToIndex(ID_SEPARATOR);
    if (nPrompt >= 0)
        m_panes[nPrompt].nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        if (m_panes[i].nID == nIDFind)
            return static_cast<int>(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[nIndex].nID : ID_SEPARATOR;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!const_cast<CStatusBar*>(this)->SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex),
                                                    reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    const Pane& pane = m_panes.at(static_cast<size_t>(nIndex));
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    Pane& pane = m_panes.at(static_cast<size_t>(nIndex));
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = cxWidth;
    UpdateAllPanes(TRUE, TRUE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return m_panes.at(static_cast<size_t>(nIndex)).nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    Pane& pane = m_panes.at(static_cast<size_t>(nIndex));
    if (pane.nStyle == nStyle)
        return;
    const bool bLayout = ((pane.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane.nStyle = nStyle;
    UpdateAllPanes(bLayout, TRUE);
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return m_panes.at(static_cast<size_t>(nIndex)).strText;
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const
{
    rString = GetPaneText(nIndex);
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    const CString strNew(lpszNewText != nullptr ? lpszNewText : "");
    if (pane.strText == strNew)
        return TRUE;
    pane.strText = strNew;
    if (bUpdate)
        UpdateAllPanes(FALSE, TRUE);
    return TRUE;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (m_hWnd == nullptr || m_panes.empty())
        return;
    if (bUpdateRects)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        int nFixed = 0;
        for (const Pane& pane : m_panes)
            nFixed += (pane.nStyle & SBPS_STRETCH) ? 0 : pane.cxText + kPaneExtra + kPaneGap;
        std::vector<int> edges;
        int nRight = 0;
        for (const Pane& pane : m_panes)
        {
            nRight += (pane.nStyle & SBPS_STRETCH)
                          ? std::max(0, static_cast<int>(rcClient.Width()) - nFixed - kPaneGap)
                          : pane.cxText + kPaneExtra;
            edges.push_back(nRight);
            nRight += kPaneGap;
        }
        SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    if (!bUpdateText)
        return;
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        const Pane& pane = m_panes[i];
        const UINT nKind = pane.nStyle & (SBT_NOBORDERS | SBT_POPOUT);
        const LPCSTR lpszText =
            (pane.nStyle & SBPS_DISABLED) ? "" : static_cast<LPCSTR>(pane.strText);
        SendMessage(SB_SETTEXTA, i | nKind, reinterpret_cast<LPARAM>(lpszText));
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CalcInsideSize();
    CClientDC dc(this);
    const HGDIOBJ hOld = ::SelectObject(dc.m_hDC, BarFont());
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc.m_hDC, &tm);
    ::SelectObject(dc.m_hDC, hOld);
    size.cy += tm.tmHeight + kBarExtra;
    if (bStretch)
        (bHorz ? size.cx : size.cy) = 32767;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // Panes without a handler keep their state.
        if (state.m_nID != ID_SEPARATOR)
            state.DoUpdate(pTarget, FALSE);
    }
}

void CStatusBar::OnSize(UINT, int, int)
{
    Default();
    UpdateAllPanes(TRUE, FALSE);
}

HGDIOBJ CStatusBar::BarFont()
{
    const auto hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    return hFont != nullptr ? hFont : ::GetStockObject(DEFAULT_GUI_FONT);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    const int nIndex = CommandToIndex(ID_SEPARATOR);
    if (nIndex < 0)
        return FALSE;
    return SetPaneText(nIndex, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    const int nIndex = CommandToIndex(ID_SEPARATOR);
    const CString strText = nIndex >= 0 ? GetPaneText(nIndex) : CString();
    auto* pszBuffer = reinterpret_cast<LPSTR>(lParam);
    if (pszBuffer == nullptr || wParam == 0)
        return 0;
    const int nCopy = std::min(strText.GetLength(), static_cast<int>(wParam) - 1);
    std::copy(static_cast<LPCSTR>(strText), static_cast<LPCSTR>(strText) + nCopy, pszBuffer);
    pszBuffer[nCopy] = '\0';
    return nCopy;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    const int nIndex = CommandToIndex(ID_SEPARATOR);
    return nIndex >= 0 ? GetPaneText(nIndex).GetLength() : 0;
}
