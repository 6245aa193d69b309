// The tab control object: members sending the control's messages.
#include "AfxTabCtrl.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

namespace
{
LRESULT Ask(const CWnd* pWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(pWnd->m_hWnd, nMsg, wParam, lParam);
}
} // namespace

CTabCtrl::~CTabCtrl()
{
    // The tip control is the tab control's own; it goes with the control.
    m_tips.m_hWnd = nullptr;
}

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TABCONTROLA, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, TCITEMA* pTabCtrlItem)
{
    return static_cast<LONG>(Ask(this, TCM_INSERTITEMA, static_cast<WPARAM>(nItem),
                                 reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0);
}

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage)
{
    return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam)
{
    TCITEMA item{};
    item.mask = nMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(nItem, &item);
}

BOOL CTabCtrl::DeleteItem(int nItem)
{
    return static_cast<BOOL>(Ask(this, TCM_DELETEITEM, static_cast<WPARAM>(nItem)));
}

BOOL CTabCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(Ask(this, TCM_DELETEALLITEMS));
}

BOOL CTabCtrl::GetItem(int nItem, TCITEMA* pTabCtrlItem) const
{
    return static_cast<BOOL>(Ask(this, TCM_GETITEMA, static_cast<WPARAM>(nItem),
                                 reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

BOOL CTabCtrl::SetItem(int nItem, TCITEMA* pTabCtrlItem)
{
    return static_cast<BOOL>(Ask(this, TCM_SETITEMA, static_cast<WPARAM>(nItem),
                                 reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

int CTabCtrl::GetItemCount() const
{
    return static_cast<int>(Ask(this, TCM_GETITEMCOUNT));
}

BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const
{
    return static_cast<BOOL>(
        Ask(this, TCM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

int CTabCtrl::GetCurSel() const
{
    return static_cast<int>(Ask(this, TCM_GETCURSEL));
}

int CTabCtrl::SetCurSel(int nItem)
{
    return static_cast<int>(Ask(this, TCM_SETCURSEL, static_cast<WPARAM>(nItem)));
}

int CTabCtrl::GetCurFocus() const
{
    return static_cast<int>(Ask(this, TCM_GETCURFOCUS));
}

void CTabCtrl::SetCurFocus(int nItem)
{
    Ask(this, TCM_SETCURFOCUS, static_cast<WPARAM>(nItem));
}

int CTabCtrl::HitTest(TCHITTESTINFO* pHitTestInfo) const
{
    return static_cast<int>(Ask(this, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect)
{
    Ask(this, TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger), reinterpret_cast<LPARAM>(lpRect));
}

int CTabCtrl::GetRowCount() const
{
    return static_cast<int>(Ask(this, TCM_GETROWCOUNT));
}

CSize CTabCtrl::SetItemSize(CSize size)
{
    const auto nOld =
        static_cast<DWORD>(Ask(this, TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy)));
    return CSize(LOWORD(nOld), HIWORD(nOld));
}

void CTabCtrl::SetPadding(CSize size)
{
    Ask(this, TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy));
}

int CTabCtrl::SetMinTabWidth(int cx)
{
    return static_cast<int>(Ask(this, TCM_SETMINTABWIDTH, 0, cx));
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList)
{
    const HIMAGELIST hNew = pImageList != nullptr ? pImageList->GetSafeHandle() : nullptr;
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        Ask(this, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hNew))));
}

CImageList* CTabCtrl::GetImageList() const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Ask(this, TCM_GETIMAGELIST)));
}

CToolTipCtrl* CTabCtrl::GetToolTips() const
{
    const HWND hTip = reinterpret_cast<HWND>(Ask(this, TCM_GETTOOLTIPS));
    if (hTip == nullptr)
        return nullptr;
    if (auto* pTip = dynamic_cast<CToolTipCtrl*>(CWnd::FromHandlePermanent(hTip)))
        return pTip;
    m_tips.m_hWnd = hTip;
    return &m_tips;
}

void CTabCtrl::SetToolTips(CToolTipCtrl* pWndTip)
{
    Ask(this, TCM_SETTOOLTIPS,
        reinterpret_cast<WPARAM>(pWndTip != nullptr ? pWndTip->m_hWnd : nullptr));
}
