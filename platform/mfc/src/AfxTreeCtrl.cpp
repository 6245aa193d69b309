// The tree view object: members sending the control's messages.
#include "AfxTreeCtrl.h"

#include <vector>

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace
{
LRESULT Ask(const CWnd* pWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(pWnd->m_hWnd, nMsg, wParam, lParam);
}

LPARAM ItemParam(HTREEITEM hItem)
{
    return reinterpret_cast<LPARAM>(hItem);
}
} // namespace

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCTA lpInsertStruct)
{
    return reinterpret_cast<HTREEITEM>(
        Ask(this, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(lpInsertStruct)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage,
                                UINT nState, UINT nStateMask, LPARAM lParam, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = hParent;
    insert.hInsertAfter = hInsertAfter;
    insert.item.mask = nMask;
    insert.item.pszText = const_cast<LPSTR>(lpszItem);
    insert.item.iImage = nImage;
    insert.item.iSelectedImage = nSelectedImage;
    insert.item.state = nState;
    insert.item.stateMask = nStateMask;
    insert.item.lParam = lParam;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage,
                      0, 0, 0, hParent, hInsertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem)
{
    return static_cast<BOOL>(Ask(this, TVM_DELETEITEM, 0, ItemParam(hItem)));
}

BOOL CTreeCtrl::DeleteAllItems()
{
    return DeleteItem(TVI_ROOT);
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode)
{
    return static_cast<BOOL>(Ask(this, TVM_EXPAND, nCode, ItemParam(hItem)));
}

UINT CTreeCtrl::GetCount() const
{
    return static_cast<UINT>(Ask(this, TVM_GETCOUNT));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    return reinterpret_cast<HTREEITEM>(Ask(this, TVM_GETNEXTITEM, nCode, ItemParam(hItem)));
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    return GetNextItem(nullptr, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_NEXT);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_PREVIOUS);
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_PARENT);
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const
{
    return GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
}

HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM hItem) const
{
    return GetNextItem(hItem, TVGN_NEXTVISIBLE);
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    return GetNextItem(nullptr, TVGN_CARET);
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const
{
    return GetNextItem(nullptr, TVGN_DROPHILITE);
}

BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode)
{
    return static_cast<BOOL>(Ask(this, TVM_SELECTITEM, nCode, ItemParam(hItem)));
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem)
{
    return Select(hItem, TVGN_CARET);
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem)
{
    return Select(hItem, TVGN_DROPHILITE);
}

BOOL CTreeCtrl::GetItem(TVITEMA* pItem) const
{
    return static_cast<BOOL>(Ask(this, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CTreeCtrl::SetItem(TVITEMA* pItem)
{
    return static_cast<BOOL>(Ask(this, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    // The control copies what fits; a full buffer may mean more.
    std::vector<char> buffer(256);
    for (;;)
    {
        TVITEMA item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = hItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        if (!GetItem(&item))
            return CString();
        const CString strText(buffer.data());
        if (strText.GetLength() < static_cast<int>(buffer.size()) - 1)
            return strText;
        buffer.assign(buffer.size() * 4, '\0');
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem)
{
    TVITEMA item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEMA item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    TVITEMA item{};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = hItem;
    item.stateMask = nStateMask;
    return GetItem(&item) ? item.state & nStateMask : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    TVITEMA item{};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = hItem;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    if (!GetItem(&item))
        return FALSE;
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    TVITEMA item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    return SetItem(&item);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEMA item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    if (lpRect == nullptr)
        return FALSE;
    *lpRect = RECT{};
    static_assert(sizeof(RECT) >= sizeof(HTREEITEM));
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return static_cast<BOOL>(Ask(this, TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly),
                                 reinterpret_cast<LPARAM>(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO hit{pt, 0, nullptr};
    const HTREEITEM hItem = HitTest(&hit);
    if (pFlags != nullptr)
        *pFlags = hit.flags;
    return hItem;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const
{
    return reinterpret_cast<HTREEITEM>(
        Ask(this, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem)
{
    return static_cast<BOOL>(Ask(this, TVM_ENSUREVISIBLE, 0, ItemParam(hItem)));
}

BOOL CTreeCtrl::SortChildren(HTREEITEM hItem)
{
    return static_cast<BOOL>(Ask(this, TVM_SORTCHILDREN, 0, ItemParam(hItem)));
}

BOOL CTreeCtrl::SortChildrenCB(LPTVSORTCB pSort)
{
    return static_cast<BOOL>(Ask(this, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(pSort)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    const HIMAGELIST hNew = pImageList != nullptr ? pImageList->GetSafeHandle() : nullptr;
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        Ask(this, TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
            reinterpret_cast<LPARAM>(hNew))));
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        Ask(this, TVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType))));
}

UINT CTreeCtrl::GetIndent() const
{
    return static_cast<UINT>(Ask(this, TVM_GETINDENT));
}

void CTreeCtrl::SetIndent(UINT nIndent)
{
    Ask(this, TVM_SETINDENT, nIndent);
}

UINT CTreeCtrl::GetVisibleCount() const
{
    return static_cast<UINT>(Ask(this, TVM_GETVISIBLECOUNT));
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem)
{
    Ask(this, TVM_EDITLABELA, 0, ItemParam(hItem));
    return GetEditControl();
}

CEdit* CTreeCtrl::GetEditControl() const
{
    const HWND hEdit = reinterpret_cast<HWND>(Ask(this, TVM_GETEDITCONTROL));
    if (hEdit == nullptr)
        return nullptr;
    if (auto* pEdit = dynamic_cast<CEdit*>(CWnd::FromHandlePermanent(hEdit)))
        return pEdit;
    m_labelEdit.m_hWnd = hEdit;
    return &m_labelEdit;
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL fCancelWithoutSave)
{
    return static_cast<BOOL>(
        Ask(this, TVM_ENDEDITLABELNOW, static_cast<WPARAM>(fCancelWithoutSave)));
}
