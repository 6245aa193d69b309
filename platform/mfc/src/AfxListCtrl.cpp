// The list view and header objects: members sending the controls' messages.
#include "AfxListCtrl.h"

#include <vector>

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

// ---------------------------------------------------------------- CHeaderCtrl
int CHeaderCtrl::GetItemCount() const
{
    return static_cast<int>(::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0));
}

BOOL CHeaderCtrl::GetItem(int nPos, HDITEMA* pHeaderItem) const
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, HDM_GETITEMA, static_cast<WPARAM>(nPos),
                                            reinterpret_cast<LPARAM>(pHeaderItem)));
}

BOOL CHeaderCtrl::SetItem(int nPos, HDITEMA* pHeaderItem)
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, HDM_SETITEMA, static_cast<WPARAM>(nPos),
                                            reinterpret_cast<LPARAM>(pHeaderItem)));
}

BOOL CHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                            reinterpret_cast<LPARAM>(lpRect)));
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM)
    {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ------------------------------------------------------------------ CListCtrl
BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_LISTVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth,
                            int nSubItem)
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = nFormat;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    if (nWidth >= 0)
    {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem >= 0)
    {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(nCol),
                                           reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEMA item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem),
                                            reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control answers the length it copied; a full buffer may mean more.
    std::vector<char> buffer(256);
    for (;;)
    {
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const LRESULT nLength = ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem),
                                               reinterpret_cast<LPARAM>(&item));
        if (nLength < static_cast<LRESULT>(buffer.size()) - 1)
            return CString(buffer.data());
        buffer.resize(buffer.size() * 4);
    }
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!::SendMessageA(m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const
{
    return static_cast<UINT>(
        ::SendMessageA(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item{};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(nItem),
                                            reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::GetItemCount() const
{
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const
{
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
}

UINT CListCtrl::GetSelectedCount() const
{
    return static_cast<UINT>(::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0));
}

int CListCtrl::GetSelectionMark() const
{
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
}

int CListCtrl::SetSelectionMark(int nIndex)
{
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(nIndex)));
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(nItem),
                                            reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CListCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0));
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SORTITEMS, static_cast<WPARAM>(dwData),
                                            reinterpret_cast<LPARAM>(pfnCompare)));
}

BOOL CListCtrl::SetBkColor(COLORREF cr)
{
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr)));
}

BOOL CListCtrl::SetTextBkColor(COLORREF cr)
{
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr)));
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle)
{
    return static_cast<DWORD>(
        ::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return static_cast<DWORD>(::SendMessageA(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    // Only a header some object has subclassed has an object to answer.
    const HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0));
    return dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(hHeader));
}

CEdit* CListCtrl::EditLabel(int nItem)
{
    const HWND hEdit = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWnd, LVM_EDITLABELA, static_cast<WPARAM>(nItem), 0));
    return CWnd::FromHandleAs<CEdit>(hEdit);
}

CEdit* CListCtrl::GetEditControl() const
{
    const HWND hEdit = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, LVM_GETEDITCONTROL, 0, 0));
    return CWnd::FromHandleAs<CEdit>(hEdit);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    RECT rc{nArea, iSubItem, 0, 0};
    const BOOL bDone = static_cast<BOOL>(::SendMessageA(
        m_hWnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem), reinterpret_cast<LPARAM>(&rc)));
    if (bDone)
        ref = rc;
    return bDone;
}

int CListCtrl::SubItemHitTest(LPLVHITTESTINFO pInfo)
{
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info{};
    info.pt = pt;
    const int nItem =
        static_cast<int>(::SendMessageA(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (pFlags != nullptr)
        *pFlags = info.flags;
    return nItem;
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

void CListCtrl::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM)
    {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    if (message == WM_MEASUREITEM)
    {
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
