#include "AfxBars.h"

#include "AfxFrame.h"
#include "AfxResource.h"
#include "ResourceRegistry.h"
#include "WinResource.h"

#include <algorithm>
#include <cstring>

namespace
{
// Authored toolbar images leave light grey for the button face.
constexpr COLORREF kImageMask = RGB(192, 192, 192);
constexpr int kButtonPadding = 7;
constexpr int kUnboundedLength = 32767;

// Updates a button of the toolbar through the control's state bits.
class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        SetStateBit(TBSTATE_ENABLED, bOn != FALSE);
    }
    void SetCheck(int nCheck) override
    {
        SetStateBit(TBSTATE_CHECKED, nCheck == 1);
        SetStateBit(TBSTATE_INDETERMINATE, nCheck == 2);
    }
    void SetText(LPCSTR) override {}

private:
    void SetStateBit(BYTE nBit, bool bOn)
    {
        auto* pToolBar = static_cast<CToolBar*>(m_pOther);
        const LRESULT nState = pToolBar->SendMessage(TB_GETSTATE, m_nID);
        if (nState < 0)
            return;
        const BYTE nNew =
            static_cast<BYTE>(bOn ? (nState | nBit) : (nState & ~static_cast<LRESULT>(nBit)));
        if (nNew != nState)
            pToolBar->SendMessage(TB_SETSTATE, m_nID, MAKELPARAM(nNew, 0));
    }
};
} // namespace

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_NOTIFY_REFLECT_EX(TBN_HOTITEMCHANGE, OnHotItemChange)
ON_NOTIFY_REFLECT_EX(TTN_NEEDTEXTA, OnNeedText)
END_MESSAGE_MAP()

CToolBar::~CToolBar()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
    if (m_hImages != nullptr)
        ImageList_Destroy(m_hImages);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle,
                    CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                        UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    SetBorders(rcBorders.left, rcBorders.top, rcBorders.right, rcBorders.bottom);
    m_pDockSite = DYNAMIC_DOWNCAST(CFrameWnd, pParentWnd);
    // The frame places the bar: the control leaves its own size alone.
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                          CCS_NODIVIDER | CCS_NORESIZE;
    if (dwStyle & CBRS_TOOLTIPS)
        dwWindowStyle |= TBSTYLE_TOOLTIPS;
    return CWnd::Create(TOOLBARCLASSNAMEA, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd,
                        nID);
}

BOOL CToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    const ToolbarTemplate* pTemplate =
        FindToolbarTemplate(AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR), lpszResourceName);
    if (pTemplate == nullptr)
        return FALSE;
    const CSize sizeImage(pTemplate->wWidth, pTemplate->wHeight);
    SetSizes(CSize(sizeImage.cx + kButtonPadding, sizeImage.cy + kButtonPadding), sizeImage);
    std::vector<UINT> ids(pTemplate->ids.begin(), pTemplate->ids.end());
    return LoadBitmap(lpszResourceName) && SetButtons(ids.data(), static_cast<int>(ids.size()));
}

BOOL CToolBar::LoadBitmap(LPCSTR lpszResourceName)
{
    const HIMAGELIST hImages =
        ImageList_LoadImageA(AfxFindResourceHandle(lpszResourceName, RT_BITMAP), lpszResourceName,
                             m_sizeImage.cx, 4, kImageMask, IMAGE_BITMAP, 0);
    if (hImages == nullptr)
        return FALSE;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImages));
    if (m_hImages != nullptr)
        ImageList_Destroy(m_hImages);
    m_hImages = hImages;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_DELETEBUTTON, 0) != FALSE)
    {
    }
    int nImage = 0;
    for (int i = 0; i < nIDCount; ++i)
    {
        TBBUTTON button{};
        button.idCommand = lpIDArray != nullptr ? static_cast<int>(lpIDArray[i]) : 0;
        if (button.idCommand == ID_SEPARATOR)
        {
            button.fsStyle = TBSTYLE_SEP;
        }
        else
        {
            button.iBitmap = nImage++;
            button.fsState = TBSTATE_ENABLED;
        }
        if (!SendMessage(TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button)))
            return FALSE;
    }
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeImage = sizeImage;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return static_cast<int>(const_cast<CToolBar*>(this)->SendMessage(TB_COMMANDTOINDEX, nIDFind));
}

int CToolBar::GetCount() const
{
    return static_cast<int>(const_cast<CToolBar*>(this)->SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button{};
    const_cast<CToolBar*>(this)->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                             reinterpret_cast<LPARAM>(&button));
    return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!const_cast<CToolBar*>(this)->SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                                  reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button{};
    const_cast<CToolBar*>(this)->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                                             reinterpret_cast<LPARAM>(&button));
    nID = static_cast<UINT>(button.idCommand);
    nStyle = button.fsStyle | (static_cast<UINT>(button.fsState ^ TBSTATE_ENABLED) << 8);
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
    info.idCommand = static_cast<int>(nID);
    info.fsStyle = LOBYTE(nStyle);
    info.fsState = static_cast<BYTE>(HIBYTE(LOWORD(nStyle)) ^ TBSTATE_ENABLED);
    info.iImage = iImage;
    SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    UINT nID = 0;
    UINT nStyle = 0;
    int iImage = 0;
    GetButtonInfo(nIndex, nID, nStyle, iImage);
    return nStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    UINT nID = 0;
    UINT nOldStyle = 0;
    int iImage = 0;
    GetButtonInfo(nIndex, nID, nOldStyle, iImage);
    SetButtonInfo(nIndex, nID, nStyle, iImage);
}

std::vector<ToolbarItem> CToolBar::GetLayoutItems() const
{
    std::vector<ToolbarItem> items;
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i)
    {
        TBBUTTON button{};
        const_cast<CToolBar*>(this)->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i),
                                                 reinterpret_cast<LPARAM>(&button));
        CRect rect;
        GetItemRect(i, &rect);
        ToolbarItem& item = items.emplace_back();
        item.bSeparator = (button.fsStyle & TBSTYLE_SEP) != 0;
        item.bHidden = (button.fsState & TBSTATE_HIDDEN) != 0;
        // A separator lying across a wrapped toolbar is as high as it is wide.
        item.cx = item.bSeparator && (button.fsState & TBSTATE_WRAP) ? rect.Height() : rect.Width();
    }
    return items;
}

void CToolBar::ApplyWraps(const std::vector<bool>& wraps)
{
    for (size_t i = 0; i < wraps.size(); ++i)
    {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        const BYTE nState = static_cast<BYTE>(wraps[i] ? (button.fsState | TBSTATE_WRAP)
                                                       : (button.fsState & ~TBSTATE_WRAP));
        if (nState == button.fsState)
            continue;
        TBBUTTONINFOA info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        info.fsState = nState;
        SendMessage(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
    }
}

int CToolBar::FitWidthToHeight(const std::vector<ToolbarItem>& items, int cyButton, int nHeight)
{
    // The narrowest width (one item a row at most) whose rows fit the height.
    for (int nWidth = 0; nWidth < kUnboundedLength; nWidth += 1)
    {
        const ToolbarWrap wrap = CalcToolbarWrap(items, cyButton, nWidth);
        if (wrap.size.cy <= nHeight)
            return nWidth;
        nWidth = std::max<int>(nWidth, wrap.size.cx);
    }
    return kUnboundedLength;
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    const std::vector<ToolbarItem> items = GetLayoutItems();
    const int cyButton = HIWORD(SendMessage(TB_GETBUTTONSIZE));
    const CSize sizeInside = CalcInsideSize();
    int nWidth = kUnboundedLength;
    if (dwMode & LM_VERTDOCK)
        nWidth = 0;
    else if (dwMode & LM_HORZDOCK)
        nWidth = kUnboundedLength;
    else if (dwMode & LM_MRUWIDTH)
        nWidth = m_nMRUWidth;
    else if (nLength >= 0 && (dwMode & LM_LENGTHY))
        nWidth = FitWidthToHeight(items, cyButton, nLength - sizeInside.cy);
    else if (nLength >= 0)
        nWidth = nLength - sizeInside.cx;
    const ToolbarWrap wrap = CalcToolbarWrap(items, cyButton, nWidth);
    // Only a committed form changes the rows shown; a drag only asks.
    if (dwMode & LM_COMMIT)
        ApplyWraps(wrap.wraps);
    if ((dwMode & LM_COMMIT) && !(dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        m_nMRUWidth = wrap.size.cx;
    CSize size(wrap.size.cx + sizeInside.cx, wrap.size.cy + sizeInside.cy);
    if (dwMode & LM_STRETCH)
        ((dwMode & LM_HORZ) ? size.cx : size.cy) = kUnboundedLength;
    return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcDynamicLayout(-1, (bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK) | LM_COMMIT |
                                     (bStretch ? LM_STRETCH : 0));
}

BOOL CToolBar::IsOnItem(CPoint point) const
{
    return const_cast<CToolBar*>(this)->SendMessage(
               TB_HITTEST, 0, reinterpret_cast<LPARAM>(static_cast<POINT*>(&point))) >= 0;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID != ID_SEPARATOR)
            state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

BOOL CToolBar::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pHot = reinterpret_cast<const NMTBHOTITEM*>(pNMHDR);
    CWnd* pFrame = GetDockingFrame();
    if ((m_dwStyle & CBRS_FLYBY) && pFrame != nullptr)
        pFrame->SendMessage(WM_SETMESSAGESTRING, pHot->idNew != 0 ? static_cast<WPARAM>(pHot->idNew)
                                                                  : AFX_IDS_IDLEMESSAGE);
    return FALSE;
}

BOOL CToolBar::OnNeedText(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    CString strFull;
    if (!strFull.LoadString(static_cast<UINT>(pNMHDR->idFrom)))
        return FALSE;
    // The command's string is "prompt\ntip"; without a tip part all of it.
    const int nBreak = strFull.Find('\n');
    const CString strTip = nBreak >= 0 ? strFull.Mid(nBreak + 1) : strFull;
    const size_t nLength =
        std::min<size_t>(static_cast<size_t>(strTip.GetLength()), sizeof(pInfo->szText) - 1);
    std::memcpy(pInfo->szText, static_cast<LPCSTR>(strTip), nLength);
    pInfo->szText[nLength] = '\0';
    pInfo->lpszText = pInfo->szText;
    return TRUE;
}
