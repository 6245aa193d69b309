// The "SysTreeView32" control: items in a hierarchy, shown as rows of the
// expanded branches, with lines, buttons, images and the selection; label
// editing in an "Edit" child.
//
// Decisions where the documented behaviour is silent:
// - A click selects on the button's release, after NM_CLICK (the parent's
//   NM_CLICK handler still sees the old selection); a non-zero answer to
//   NM_CLICK keeps the selection where it is.
// - Deleting the selected item (or its branch) moves the selection to the
//   next sibling, else the previous one, else the parent, with
//   TVN_SELCHANGING/TVN_SELCHANGED (TVC_UNKNOWN); deleting every item leaves
//   no selection and notifies nothing about it. TVN_DELETEITEM comes for
//   the children before their parent.
// - Collapsing a branch that holds the selection selects the collapsed item.
// - A label edit ends when the edit loses the focus, keeping the text, as if
//   Enter had been pressed; Escape ends it with pszText NULL.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "ListRows.h"
#include "StableMergeSort.h"

#include "WinCRuntime.h"
#include "WinDrawing.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinScrollBar.h"
#include "WinSysMetrics.h"
#include "WinTreeView.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct _TREEITEM
{
    _TREEITEM* pParent = nullptr;
    std::vector<std::unique_ptr<_TREEITEM>> children;
    std::string text;
    bool bTextCallback = false;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
    UINT state = 0;
};

namespace
{
constexpr int kDefaultIndent = 19;
constexpr int kButtonSide = 9;
constexpr int kLabelPad = 2;
constexpr UINT_PTR kEditTimer = 1;
constexpr int kEditMinWidth = 40;
constexpr int kEditMaxText = 260;

using Siblings = std::vector<std::unique_ptr<_TREEITEM>>;

class TreeViewControl : public ListRows
{
public:
    explicit TreeViewControl(HWND hWnd) : ListRows(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);
    // The label editor's messages: Enter, Escape and the loss of focus end
    // the edit; everything else is the edit control's.
    LRESULT HandleEditMessage(HWND hEdit, UINT nMsg, WPARAM wParam, LPARAM lParam);

private:
    struct Geometry
    {
        RECT row{};
        RECT button{}; // empty when the item shows none
        RECT icon{};
        RECT label{};
    };

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    int Count() const override { return static_cast<int>(m_rows.size()); }
    int VisibleCount() const override;
    void UpdateScrollBar() override;
    int RowHeight() const;
    bool IsLive(HTREEITEM hItem) const { return m_live.count(hItem) != 0; }
    Siblings& SiblingsOf(_TREEITEM* pParent) { return pParent ? pParent->children : m_roots; }
    int Depth(HTREEITEM hItem) const;
    int RowOf(HTREEITEM hItem) const;
    bool HasButton(HTREEITEM hItem);
    int AskChildren(HTREEITEM hItem);
    std::string TextOf(HTREEITEM hItem);
    Geometry GetGeometry(int nRow);
    void Relayout();

    LRESULT Notify(NMHDR& hdr, UINT nCode) const;
    LRESULT NotifyTree(UINT nCode, UINT nAction, HTREEITEM hOld, HTREEITEM hNew, POINT pt = {});
    void FillItem(TVITEMA& item, HTREEITEM hItem) const;

    HTREEITEM InsertItem(const TVINSERTSTRUCTA* pInsert);
    void StoreItem(_TREEITEM& node, const TVITEMA& item);
    BOOL SetItem(const TVITEMA* pItem);
    BOOL GetItem(TVITEMA* pItem);
    BOOL DeleteItem(HTREEITEM hItem);
    void DeleteBranch(HTREEITEM hItem);
    HTREEITEM GetNextItem(UINT nCode, HTREEITEM hItem) const;
    BOOL Expand(HTREEITEM hItem, UINT nCode, bool bUser);
    BOOL Select(HTREEITEM hItem, UINT nAction);
    BOOL SelectItem(UINT nCode, HTREEITEM hItem);
    BOOL EnsureItemVisible(HTREEITEM hItem);
    BOOL GetItemRect(bool bTextOnly, RECT* pRect);
    HTREEITEM HitTest(TVHITTESTINFO* pInfo);
    BOOL SortChildren(HTREEITEM hParent, bool bRecurse);
    BOOL SortChildrenCB(const TVSORTCB* pSort);
    HIMAGELIST SetImageList(WPARAM nWhich, HIMAGELIST hImages);

    HWND EditLabel(HTREEITEM hItem);
    void EndEdit(bool bCancel);

    void OnButtonDown(POINT pt);
    void OnButtonUp(POINT pt);
    void OnMouseMove(POINT pt);
    void OnDoubleClick(POINT pt);
    void OnKeyDown(WPARAM nKey);
    void OnFocus(bool bFocus);
    void DrawItemRow(HDC hdc, int nRow);
    void DrawLines(HDC hdc, int nRow, const Geometry& geometry);

    Siblings m_roots;
    std::unordered_set<const _TREEITEM*> m_live;
    std::vector<HTREEITEM> m_rows; // the items shown, top to bottom
    HTREEITEM m_hSelected = nullptr;
    HTREEITEM m_hDropHilite = nullptr;
    HTREEITEM m_hPressed = nullptr;
    POINT m_ptPressed{};
    HTREEITEM m_hEdited = nullptr;
    HWND m_hEdit = nullptr;
    WNDPROC m_pfnEditProc = nullptr;
    bool m_bEnding = false;
    bool m_bEditOnTimer = false;
    HIMAGELIST m_hImages = nullptr;
    HIMAGELIST m_hStateImages = nullptr;
    HFONT m_hFont = nullptr;
    int m_nIndent = kDefaultIndent;
    COLORREF m_crBk = CLR_NONE;
    COLORREF m_crText = CLR_NONE;
    bool m_bFocus = false;
};

LRESULT CALLBACK LabelEditProc(HWND hEdit, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pTree = GetControlData<TreeViewControl>(GetParent(hEdit));
    if (pTree == nullptr)
        return DefWindowProcA(hEdit, nMsg, wParam, lParam);
    return pTree->HandleEditMessage(hEdit, nMsg, wParam, lParam);
}

int TreeViewControl::RowHeight() const
{
    int nHeight = GetFontLineHeight(m_hFont) + 2;
    int cx = 0;
    int cy = 0;
    if (m_hImages != nullptr && ImageList_GetIconSize(m_hImages, &cx, &cy))
        nHeight = std::max(nHeight, cy + 1);
    return std::max(nHeight, kButtonSide + 4);
}

int TreeViewControl::VisibleCount() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return std::max(1, static_cast<int>(client.bottom) / RowHeight());
}

void TreeViewControl::UpdateScrollBar()
{
    ShowRowsOnScrollBar();
}

int TreeViewControl::Depth(HTREEITEM hItem) const
{
    int nDepth = 0;
    for (const _TREEITEM* p = hItem->pParent; p != nullptr; p = p->pParent)
        ++nDepth;
    return nDepth;
}

int TreeViewControl::RowOf(HTREEITEM hItem) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), hItem);
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

int TreeViewControl::AskChildren(HTREEITEM hItem)
{
    NMTVDISPINFOA info{};
    FillItem(info.item, hItem);
    info.item.mask = TVIF_CHILDREN | TVIF_HANDLE | TVIF_PARAM;
    info.item.cChildren = 0;
    Notify(info.hdr, TVN_GETDISPINFOA);
    return info.item.cChildren;
}

bool TreeViewControl::HasButton(HTREEITEM hItem)
{
    if (!hItem->children.empty())
        return true;
    return hItem->cChildren == I_CHILDRENCALLBACK ? AskChildren(hItem) != 0 : hItem->cChildren != 0;
}

std::string TreeViewControl::TextOf(HTREEITEM hItem)
{
    if (!hItem->bTextCallback)
        return hItem->text;
    char szText[kEditMaxText] = {};
    NMTVDISPINFOA info{};
    FillItem(info.item, hItem);
    info.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM;
    info.item.pszText = szText;
    info.item.cchTextMax = sizeof(szText);
    Notify(info.hdr, TVN_GETDISPINFOA);
    return info.item.pszText != nullptr ? info.item.pszText : "";
}

TreeViewControl::Geometry TreeViewControl::GetGeometry(int nRow)
{
    Geometry geometry;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const HTREEITEM hItem = m_rows[static_cast<std::size_t>(nRow)];
    const int nHeight = RowHeight();
    const int top = (nRow - m_nTop) * nHeight;
    SetRect(&geometry.row, 0, top, client.right, top + nHeight);
    // Roots sit in the first column unless lines or buttons reach them.
    const int nColumns =
        Depth(hItem) +
        ((Style() & TVS_LINESATROOT) && (Style() & (TVS_HASLINES | TVS_HASBUTTONS)) ? 1 : 0);
    int x = nColumns * m_nIndent;
    if ((Style() & TVS_HASBUTTONS) && nColumns > 0 && HasButton(hItem))
    {
        const int cx = x - m_nIndent / 2 - kButtonSide / 2 - 1;
        const int cy = top + (nHeight - kButtonSide) / 2;
        SetRect(&geometry.button, cx, cy, cx + kButtonSide, cy + kButtonSide);
    }
    int cxIcon = 0;
    int cyIcon = 0;
    if (m_hImages != nullptr && ImageList_GetIconSize(m_hImages, &cxIcon, &cyIcon))
    {
        SetRect(&geometry.icon, x, top + (nHeight - cyIcon) / 2, x + cxIcon,
                top + (nHeight - cyIcon) / 2 + cyIcon);
        x += cxIcon + 1;
    }
    ControlDC dc(m_hWnd, m_hFont);
    const std::string text = TextOf(hItem);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SetRect(&geometry.label, x, top, x + size.cx + 2 * kLabelPad, top + nHeight);
    return geometry;
}

void TreeViewControl::Relayout()
{
    m_rows.clear();
    std::vector<HTREEITEM> pending;
    for (auto it = m_roots.rbegin(); it != m_roots.rend(); ++it)
        pending.push_back(it->get());
    while (!pending.empty())
    {
        const HTREEITEM hItem = pending.back();
        pending.pop_back();
        m_rows.push_back(hItem);
        if (hItem->state & TVIS_EXPANDED)
            for (auto it = hItem->children.rbegin(); it != hItem->children.rend(); ++it)
                pending.push_back(it->get());
    }
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT TreeViewControl::Notify(NMHDR& hdr, UINT nCode) const
{
    const HWND hParent = GetParent(m_hWnd);
    if (hParent == nullptr)
        return 0;
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd));
    hdr.code = nCode;
    return SendMessageA(hParent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

void TreeViewControl::FillItem(TVITEMA& item, HTREEITEM hItem) const
{
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = hItem;
    item.state = hItem != nullptr ? hItem->state : 0;
    item.stateMask = 0xFFFF;
    item.lParam = hItem != nullptr ? hItem->lParam : 0;
}

LRESULT TreeViewControl::NotifyTree(UINT nCode, UINT nAction, HTREEITEM hOld, HTREEITEM hNew,
                                    POINT pt)
{
    NMTREEVIEWA nm{};
    nm.action = nAction;
    FillItem(nm.itemOld, hOld);
    FillItem(nm.itemNew, hNew);
    nm.ptDrag = pt;
    return Notify(nm.hdr, nCode);
}

void TreeViewControl::StoreItem(_TREEITEM& node, const TVITEMA& item)
{
    if (item.mask & TVIF_TEXT)
    {
        node.bTextCallback = item.pszText == LPSTR_TEXTCALLBACKA;
        node.text = node.bTextCallback || item.pszText == nullptr ? "" : item.pszText;
    }
    if (item.mask & TVIF_IMAGE)
        node.iImage = item.iImage;
    if (item.mask & TVIF_SELECTEDIMAGE)
        node.iSelectedImage = item.iSelectedImage;
    if (item.mask & TVIF_CHILDREN)
        node.cChildren = item.cChildren;
    if (item.mask & TVIF_PARAM)
        node.lParam = item.lParam;
    if (item.mask & TVIF_STATE)
    {
        // The selection is the control's own; it changes through selecting.
        const UINT mask = item.stateMask & ~UINT(TVIS_SELECTED);
        node.state = (node.state & ~mask) | (item.state & mask);
    }
}

HTREEITEM TreeViewControl::InsertItem(const TVINSERTSTRUCTA* pInsert)
{
    if (pInsert == nullptr)
        return nullptr;
    _TREEITEM* pParent = pInsert->hParent == TVI_ROOT ? nullptr : pInsert->hParent;
    if (pParent != nullptr && !IsLive(pParent))
        return nullptr;
    auto node = std::make_unique<_TREEITEM>();
    node->pParent = pParent;
    StoreItem(*node, pInsert->item);
    node->state &= ~UINT(TVIS_SELECTED);
    Siblings& siblings = SiblingsOf(pParent);
    auto at = siblings.end();
    const HTREEITEM hAfter = pInsert->hInsertAfter;
    if (hAfter == TVI_FIRST)
        at = siblings.begin();
    else if (hAfter == TVI_SORT)
        at = std::find_if(
            siblings.begin(), siblings.end(),
            [this, &node](const std::unique_ptr<_TREEITEM>& sibling)
            { return lstrcmpiA(TextOf(sibling.get()).c_str(), node->text.c_str()) > 0; });
    else if (hAfter != TVI_LAST)
    {
        const auto found = std::find_if(siblings.begin(), siblings.end(),
                                        [hAfter](const std::unique_ptr<_TREEITEM>& s)
                                        { return s.get() == hAfter; });
        if (found != siblings.end())
            at = found + 1;
    }
    const HTREEITEM hItem = node.get();
    siblings.insert(at, std::move(node));
    m_live.insert(hItem);
    if (pParent == nullptr || (pParent->state & TVIS_EXPANDED) || RowOf(pParent) >= 0)
        Relayout();
    return hItem;
}

BOOL TreeViewControl::SetItem(const TVITEMA* pItem)
{
    if (pItem == nullptr || !IsLive(pItem->hItem))
        return FALSE;
    StoreItem(*pItem->hItem, *pItem);
    Relayout();
    return TRUE;
}

BOOL TreeViewControl::GetItem(TVITEMA* pItem)
{
    if (pItem == nullptr || !IsLive(pItem->hItem))
        return FALSE;
    const HTREEITEM hItem = pItem->hItem;
    if ((pItem->mask & TVIF_TEXT) && pItem->pszText != nullptr)
        CopyTextTo(TextOf(hItem).c_str(), pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & TVIF_IMAGE)
        pItem->iImage = hItem->iImage;
    if (pItem->mask & TVIF_SELECTEDIMAGE)
        pItem->iSelectedImage = hItem->iSelectedImage;
    if (pItem->mask & TVIF_CHILDREN)
        pItem->cChildren = hItem->children.empty() ? hItem->cChildren : 1;
    if (pItem->mask & TVIF_PARAM)
        pItem->lParam = hItem->lParam;
    if (pItem->mask & TVIF_STATE)
        pItem->state = hItem->state & pItem->stateMask;
    return TRUE;
}

void TreeViewControl::DeleteBranch(HTREEITEM hItem)
{
    while (!hItem->children.empty())
        DeleteBranch(hItem->children.back().get());
    if (hItem == m_hEdited)
        EndEdit(true);
    NotifyTree(TVN_DELETEITEMA, 0, hItem, nullptr);
    if (m_hDropHilite == hItem)
        m_hDropHilite = nullptr;
    if (m_hPressed == hItem)
        m_hPressed = nullptr;
    m_live.erase(hItem);
    Siblings& siblings = SiblingsOf(hItem->pParent);
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [hItem](const std::unique_ptr<_TREEITEM>& s)
                                { return s.get() == hItem; }));
}

BOOL TreeViewControl::DeleteItem(HTREEITEM hItem)
{
    if (hItem == nullptr || hItem == TVI_ROOT)
    {
        m_hSelected = nullptr;
        while (!m_roots.empty())
            DeleteBranch(m_roots.back().get());
        Relayout();
        return TRUE;
    }
    if (!IsLive(hItem))
        return FALSE;
    bool bHoldsSelection = false;
    for (HTREEITEM p = m_hSelected; p != nullptr; p = p->pParent)
        bHoldsSelection = bHoldsSelection || p == hItem;
    if (bHoldsSelection)
    {
        HTREEITEM hNext = GetNextItem(TVGN_NEXT, hItem);
        if (hNext == nullptr)
            hNext = GetNextItem(TVGN_PREVIOUS, hItem);
        if (hNext == nullptr)
            hNext = hItem->pParent;
        if (Select(hNext, TVC_UNKNOWN) == FALSE || m_hSelected == hItem)
            m_hSelected = nullptr;
    }
    DeleteBranch(hItem);
    Relayout();
    return TRUE;
}

HTREEITEM TreeViewControl::GetNextItem(UINT nCode, HTREEITEM hItem) const
{
    const bool bNoItem = hItem == nullptr || hItem == TVI_ROOT;
    if (!bNoItem && !IsLive(hItem))
        return nullptr;
    const auto sibling = [this](HTREEITEM h, int nStep) -> HTREEITEM
    {
        const Siblings& siblings = h->pParent ? h->pParent->children : m_roots;
        for (std::size_t i = 0; i < siblings.size(); ++i)
            if (siblings[i].get() == h)
            {
                const auto nAt = static_cast<std::ptrdiff_t>(i) + nStep;
                return nAt < 0 || nAt >= static_cast<std::ptrdiff_t>(siblings.size())
                           ? nullptr
                           : siblings[static_cast<std::size_t>(nAt)].get();
            }
        return nullptr;
    };
    const auto visible = [this](HTREEITEM h, int nStep) -> HTREEITEM
    {
        const int nRow = RowOf(h);
        return nRow < 0 || nRow + nStep < 0 || nRow + nStep >= Count()
                   ? nullptr
                   : m_rows[static_cast<std::size_t>(nRow + nStep)];
    };
    switch (nCode)
    {
    case TVGN_ROOT:
        return m_roots.empty() ? nullptr : m_roots.front().get();
    case TVGN_CHILD:
    {
        const Siblings& children = bNoItem ? m_roots : hItem->children;
        return children.empty() ? nullptr : children.front().get();
    }
    case TVGN_CARET:
        return m_hSelected;
    case TVGN_DROPHILITE:
        return m_hDropHilite;
    case TVGN_FIRSTVISIBLE:
        return m_rows.empty() ? nullptr : m_rows[static_cast<std::size_t>(m_nTop)];
    case TVGN_LASTVISIBLE:
        return m_rows.empty() ? nullptr : m_rows.back();
    default:
        break;
    }
    if (bNoItem)
        return nullptr;
    switch (nCode)
    {
    case TVGN_NEXT:
        return sibling(hItem, 1);
    case TVGN_PREVIOUS:
        return sibling(hItem, -1);
    case TVGN_PARENT:
        return hItem->pParent;
    case TVGN_NEXTVISIBLE:
        return visible(hItem, 1);
    case TVGN_PREVIOUSVISIBLE:
        return visible(hItem, -1);
    default:
        return nullptr;
    }
}

BOOL TreeViewControl::Expand(HTREEITEM hItem, UINT nCode, bool bUser)
{
    if (!IsLive(hItem))
        return FALSE;
    const bool bExpanded = (hItem->state & TVIS_EXPANDED) != 0;
    const UINT nAction = (nCode & TVE_TOGGLE) == TVE_TOGGLE
                             ? (bExpanded ? TVE_COLLAPSE : TVE_EXPAND)
                             : (nCode & TVE_TOGGLE);
    if (nAction != TVE_EXPAND && nAction != TVE_COLLAPSE)
        return FALSE;
    if ((nAction == TVE_EXPAND) == bExpanded)
        return TRUE;
    if (nAction == TVE_EXPAND && hItem->children.empty() && !HasButton(hItem))
        return FALSE;
    // Programs are told of expansions the user makes, and of the first one.
    const bool bNotify = bUser || !(hItem->state & TVIS_EXPANDEDONCE);
    if (bNotify && NotifyTree(TVN_ITEMEXPANDINGA, nAction, nullptr, hItem) != 0)
        return FALSE;
    if (!IsLive(hItem))
        return FALSE;
    if (nAction == TVE_EXPAND)
        hItem->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
    {
        hItem->state &= ~UINT(TVIS_EXPANDED);
        for (HTREEITEM p = m_hSelected ? m_hSelected->pParent : nullptr; p != nullptr;
             p = p->pParent)
            if (p == hItem)
            {
                Select(hItem, TVC_UNKNOWN);
                break;
            }
    }
    Relayout();
    if (bNotify)
        NotifyTree(TVN_ITEMEXPANDEDA, nAction, nullptr, hItem);
    return TRUE;
}

BOOL TreeViewControl::Select(HTREEITEM hItem, UINT nAction)
{
    if (hItem != nullptr && !IsLive(hItem))
        return FALSE;
    if (hItem == m_hSelected)
        return TRUE;
    if (NotifyTree(TVN_SELCHANGINGA, nAction, m_hSelected, hItem) != 0)
        return FALSE;
    if ((hItem != nullptr && !IsLive(hItem)))
        return FALSE;
    const HTREEITEM hOld = m_hSelected;
    if (hOld != nullptr)
        hOld->state &= ~UINT(TVIS_SELECTED);
    m_hSelected = hItem;
    if (hItem != nullptr)
    {
        hItem->state |= TVIS_SELECTED;
        EnsureItemVisible(hItem);
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
    NotifyTree(TVN_SELCHANGEDA, nAction, IsLive(hOld) ? hOld : nullptr, hItem);
    return TRUE;
}

BOOL TreeViewControl::SelectItem(UINT nCode, HTREEITEM hItem)
{
    if (hItem != nullptr && !IsLive(hItem))
        return FALSE;
    switch (nCode)
    {
    case TVGN_CARET:
        return Select(hItem, TVC_UNKNOWN);
    case TVGN_DROPHILITE:
        if (m_hDropHilite != nullptr)
            m_hDropHilite->state &= ~UINT(TVIS_DROPHILITED);
        m_hDropHilite = hItem;
        if (hItem != nullptr)
            hItem->state |= TVIS_DROPHILITED;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case TVGN_FIRSTVISIBLE:
    {
        EnsureItemVisible(hItem);
        const int nRow = hItem != nullptr ? RowOf(hItem) : -1;
        if (nRow < 0)
            return FALSE;
        m_nTop = nRow;
        UpdateScrollBar();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL TreeViewControl::EnsureItemVisible(HTREEITEM hItem)
{
    if (!IsLive(hItem))
        return FALSE;
    std::vector<HTREEITEM> ancestors;
    for (HTREEITEM p = hItem->pParent; p != nullptr; p = p->pParent)
        ancestors.push_back(p);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        Expand(*it, TVE_EXPAND, false);
    EnsureVisible(RowOf(hItem));
    return TRUE;
}

BOOL TreeViewControl::GetItemRect(bool bTextOnly, RECT* pRect)
{
    if (pRect == nullptr)
        return FALSE;
    HTREEITEM hItem = nullptr;
    static_assert(sizeof(RECT) >= sizeof(HTREEITEM));
    std::memcpy(&hItem, pRect, sizeof(hItem));
    if (!IsLive(hItem))
        return FALSE;
    const int nRow = RowOf(hItem);
    if (nRow < 0)
        return FALSE;
    const Geometry geometry = GetGeometry(nRow);
    *pRect = bTextOnly ? geometry.label : geometry.row;
    return TRUE;
}

HTREEITEM TreeViewControl::HitTest(TVHITTESTINFO* pInfo)
{
    if (pInfo == nullptr)
        return nullptr;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    pInfo->hItem = nullptr;
    const POINT pt = pInfo->pt;
    UINT flags = 0;
    if (pt.y < 0)
        flags |= TVHT_ABOVE;
    if (pt.y >= client.bottom)
        flags |= TVHT_BELOW;
    if (pt.x < 0)
        flags |= TVHT_TOLEFT;
    if (pt.x >= client.right)
        flags |= TVHT_TORIGHT;
    const int nRow = pt.y >= 0 ? m_nTop + pt.y / RowHeight() : -1;
    if (flags != 0 || nRow >= Count())
    {
        pInfo->flags = flags != 0 ? flags : TVHT_NOWHERE;
        return nullptr;
    }
    const Geometry geometry = GetGeometry(nRow);
    if (PtInRect(&geometry.button, pt))
        flags = TVHT_ONITEMBUTTON;
    else if (PtInRect(&geometry.icon, pt))
        flags = TVHT_ONITEMICON;
    else if (pt.x >= geometry.label.left && pt.x < geometry.label.right)
        flags = TVHT_ONITEMLABEL;
    else
        flags = pt.x < geometry.label.left ? TVHT_ONITEMINDENT : TVHT_ONITEMRIGHT;
    pInfo->flags = flags;
    pInfo->hItem = m_rows[static_cast<std::size_t>(nRow)];
    return pInfo->hItem;
}

BOOL TreeViewControl::SortChildren(HTREEITEM hParent, bool bRecurse)
{
    _TREEITEM* pParent = hParent == TVI_ROOT ? nullptr : hParent;
    if (pParent != nullptr && !IsLive(pParent))
        return FALSE;
    Siblings& children = SiblingsOf(pParent);
    StableMergeSort(children,
                    [this](const std::unique_ptr<_TREEITEM>& a, const std::unique_ptr<_TREEITEM>& b)
                    { return lstrcmpiA(TextOf(a.get()).c_str(), TextOf(b.get()).c_str()) < 0; });
    if (bRecurse)
        for (const auto& child : children)
            SortChildren(child.get(), true);
    Relayout();
    return TRUE;
}

BOOL TreeViewControl::SortChildrenCB(const TVSORTCB* pSort)
{
    if (pSort == nullptr || pSort->lpfnCompare == nullptr)
        return FALSE;
    _TREEITEM* pParent = pSort->hParent == TVI_ROOT ? nullptr : pSort->hParent;
    if (pParent != nullptr && !IsLive(pParent))
        return FALSE;
    StableMergeSort(SiblingsOf(pParent), [pSort](const std::unique_ptr<_TREEITEM>& a,
                                                 const std::unique_ptr<_TREEITEM>& b)
                    { return pSort->lpfnCompare(a->lParam, b->lParam, pSort->lParam) < 0; });
    Relayout();
    return TRUE;
}

HIMAGELIST TreeViewControl::SetImageList(WPARAM nWhich, HIMAGELIST hImages)
{
    HIMAGELIST& hSlot = nWhich == TVSIL_STATE ? m_hStateImages : m_hImages;
    const HIMAGELIST hOld = hSlot;
    hSlot = hImages;
    Relayout();
    return hOld;
}

HWND TreeViewControl::EditLabel(HTREEITEM hItem)
{
    if (m_hEdit != nullptr)
        EndEdit(false);
    if (!IsLive(hItem))
        return nullptr;
    SetFocus(m_hWnd);
    Select(hItem, TVC_UNKNOWN);
    if (!IsLive(hItem))
        return nullptr;
    const std::string text = TextOf(hItem);
    NMTVDISPINFOA info{};
    FillItem(info.item, hItem);
    info.item.mask |= TVIF_TEXT;
    std::string copy = text;
    info.item.pszText = copy.data();
    info.item.cchTextMax = static_cast<int>(copy.size() + 1);
    if (Notify(info.hdr, TVN_BEGINLABELEDITA) != 0 || !IsLive(hItem))
        return nullptr;
    const int nRow = RowOf(hItem);
    if (nRow < 0)
        return nullptr;
    RECT rc = GetGeometry(nRow).label;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    rc.right = std::min(std::max(rc.right + 2 * kLabelPad, rc.left + kEditMinWidth), client.right);
    m_hEdit = CreateWindowExA(
        0, "Edit", text.c_str(), WS_CHILD | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, rc.left, rc.top,
        rc.right - rc.left, rc.bottom - rc.top, m_hWnd, nullptr, nullptr, nullptr);
    if (m_hEdit == nullptr)
        return nullptr;
    m_hEdited = hItem;
    SendMessageA(m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFontOrDefault(m_hFont)),
                 FALSE);
    SendMessageA(m_hEdit, EM_LIMITTEXT, kEditMaxText - 1, 0);
    m_pfnEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_hEdit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelEditProc)));
    SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
    ShowWindow(m_hEdit, SW_SHOW);
    SetFocus(m_hEdit);
    return m_hEdit;
}

void TreeViewControl::EndEdit(bool bCancel)
{
    if (m_hEdit == nullptr || m_bEnding)
        return;
    m_bEnding = true;
    char szText[kEditMaxText] = {};
    GetWindowTextA(m_hEdit, szText, sizeof(szText));
    const HTREEITEM hItem = m_hEdited;
    if (IsLive(hItem))
    {
        NMTVDISPINFOA info{};
        FillItem(info.item, hItem);
        info.item.mask |= TVIF_TEXT;
        info.item.pszText = bCancel ? nullptr : szText;
        info.item.cchTextMax = sizeof(szText);
        const LRESULT bAccept = Notify(info.hdr, TVN_ENDLABELEDITA);
        if (!bCancel && bAccept != 0 && IsLive(hItem) && !hItem->bTextCallback)
        {
            hItem->text = szText;
            InvalidateRect(m_hWnd, nullptr, TRUE);
        }
    }
    const HWND hEdit = m_hEdit;
    m_hEdit = nullptr;
    m_hEdited = nullptr;
    if (GetFocus() == hEdit)
        SetFocus(m_hWnd);
    DestroyWindow(hEdit);
    m_bEnding = false;
}

LRESULT TreeViewControl::HandleEditMessage(HWND hEdit, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC pfnOld = m_pfnEditProc;
    switch (nMsg)
    {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcA(pfnOld, hEdit, nMsg, wParam, lParam);
    case WM_KEYDOWN:
        if (hEdit == m_hEdit && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        {
            EndEdit(wParam == VK_ESCAPE);
            return 0;
        }
        break;
    case WM_CHAR:
        // The characters of Enter and Escape arrive after the edit ended.
        if (wParam == '\r' || wParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS:
    {
        const LRESULT result = CallWindowProcA(pfnOld, hEdit, nMsg, wParam, lParam);
        if (hEdit == m_hEdit)
            EndEdit(false);
        return result;
    }
    default:
        break;
    }
    return CallWindowProcA(pfnOld, hEdit, nMsg, wParam, lParam);
}

void TreeViewControl::OnButtonDown(POINT pt)
{
    KillTimer(m_hWnd, kEditTimer);
    const HTREEITEM hWasSelected = m_hSelected;
    const bool bHadFocus = GetFocus() == m_hWnd;
    SetFocus(m_hWnd);
    TVHITTESTINFO hit{pt, 0, nullptr};
    HitTest(&hit);
    if (hit.hItem == nullptr)
        return;
    if (hit.flags & TVHT_ONITEMBUTTON)
    {
        Expand(hit.hItem, TVE_TOGGLE, true);
        return;
    }
    if (!(hit.flags & TVHT_ONITEM))
        return;
    m_hPressed = hit.hItem;
    m_ptPressed = pt;
    // A click on the label of the item already selected edits it, once the
    // time of a double click has passed.
    m_bEditOnTimer = (Style() & TVS_EDITLABELS) && bHadFocus && hit.hItem == hWasSelected &&
                     (hit.flags & TVHT_ONITEMLABEL);
    SetCapture(m_hWnd);
}

void TreeViewControl::OnButtonUp(POINT)
{
    const HTREEITEM hPressed = m_hPressed;
    m_hPressed = nullptr;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (hPressed == nullptr)
        return;
    NMHDR hdr{};
    if (Notify(hdr, NM_CLICK) != 0 || !IsLive(hPressed))
        return;
    Select(hPressed, TVC_BYMOUSE);
    if (m_bEditOnTimer)
        SetTimer(m_hWnd, kEditTimer, GetDoubleClickTime(), nullptr);
}

void TreeViewControl::OnMouseMove(POINT pt)
{
    if (m_hPressed == nullptr || (Style() & TVS_DISABLEDRAGDROP))
        return;
    if (std::abs(pt.x - m_ptPressed.x) <= GetSystemMetrics(SM_CXDRAG) &&
        std::abs(pt.y - m_ptPressed.y) <= GetSystemMetrics(SM_CYDRAG))
        return;
    const HTREEITEM hItem = m_hPressed;
    m_hPressed = nullptr;
    ReleaseCapture();
    NotifyTree(TVN_BEGINDRAGA, 0, nullptr, hItem, m_ptPressed);
}

void TreeViewControl::OnDoubleClick(POINT pt)
{
    KillTimer(m_hWnd, kEditTimer);
    m_bEditOnTimer = false;
    TVHITTESTINFO hit{pt, 0, nullptr};
    HitTest(&hit);
    if (hit.flags & TVHT_ONITEMBUTTON)
    {
        Expand(hit.hItem, TVE_TOGGLE, true);
        return;
    }
    NMHDR hdr{};
    if (Notify(hdr, NM_DBLCLK) == 0 && hit.hItem != nullptr && IsLive(hit.hItem) &&
        (hit.flags & TVHT_ONITEM))
        Expand(hit.hItem, TVE_TOGGLE, true);
}

void TreeViewControl::OnKeyDown(WPARAM nKey)
{
    NMTVKEYDOWN key{};
    key.wVKey = static_cast<WORD>(nKey);
    Notify(key.hdr, TVN_KEYDOWN);
    const HTREEITEM hItem = m_hSelected;
    switch (nKey)
    {
    case VK_LEFT:
        if (hItem != nullptr && (hItem->state & TVIS_EXPANDED))
            Expand(hItem, TVE_COLLAPSE, true);
        else if (hItem != nullptr && hItem->pParent != nullptr)
            Select(hItem->pParent, TVC_BYKEYBOARD);
        return;
    case VK_RIGHT:
        if (hItem != nullptr && !(hItem->state & TVIS_EXPANDED))
            Expand(hItem, TVE_EXPAND, true);
        else if (hItem != nullptr && !hItem->children.empty())
            Select(hItem->children.front().get(), TVC_BYKEYBOARD);
        return;
    case VK_ADD:
    case VK_SUBTRACT:
        if (hItem != nullptr)
            Expand(hItem, nKey == VK_ADD ? TVE_EXPAND : TVE_COLLAPSE, true);
        return;
    case VK_F2:
        if (hItem != nullptr && (Style() & TVS_EDITLABELS))
            EditLabel(hItem);
        return;
    case VK_RETURN:
    {
        NMHDR hdr{};
        Notify(hdr, NM_RETURN);
        return;
    }
    default:
        break;
    }
    const int nRow = RowAfterKey(nKey, hItem != nullptr ? RowOf(hItem) : -1);
    if (nRow >= 0)
        Select(m_rows[static_cast<std::size_t>(nRow)], TVC_BYKEYBOARD);
}

void TreeViewControl::OnFocus(bool bFocus)
{
    m_bFocus = bFocus;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    NMHDR hdr{};
    Notify(hdr, bFocus ? NM_SETFOCUS : NM_KILLFOCUS);
}

void TreeViewControl::DrawLines(HDC hdc, int nRow, const Geometry& geometry)
{
    const HTREEITEM hItem = m_rows[static_cast<std::size_t>(nRow)];
    const bool bAtRoot = (Style() & TVS_LINESATROOT) != 0;
    const int nHeight = geometry.row.bottom - geometry.row.top;
    const int yMid = geometry.row.top + nHeight / 2;
    HPEN hPen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    // Walk up: each level draws its vertical line while more siblings follow.
    int nColumn = Depth(hItem) + (bAtRoot ? 1 : 0) - 1;
    for (HTREEITEM h = hItem; h != nullptr && nColumn >= 0; h = h->pParent, --nColumn)
    {
        const int x = nColumn * m_nIndent + m_nIndent / 2;
        const bool bMore = GetNextItem(TVGN_NEXT, h) != nullptr;
        if (h == hItem)
        {
            const bool bAbove = h->pParent != nullptr || GetNextItem(TVGN_PREVIOUS, h) != nullptr;
            MoveToEx(hdc, x, bAbove ? geometry.row.top : yMid, nullptr);
            LineTo(hdc, x, bMore ? geometry.row.bottom : yMid);
            MoveToEx(hdc, x, yMid, nullptr);
            LineTo(hdc, (nColumn + 1) * m_nIndent, yMid);
        }
        else if (bMore)
        {
            MoveToEx(hdc, x, geometry.row.top, nullptr);
            LineTo(hdc, x, geometry.row.bottom);
        }
    }
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

void TreeViewControl::DrawItemRow(HDC hdc, int nRow)
{
    const HTREEITEM hItem = m_rows[static_cast<std::size_t>(nRow)];
    const Geometry geometry = GetGeometry(nRow);
    if (Style() & TVS_HASLINES)
        DrawLines(hdc, nRow, geometry);
    if (!IsRectEmpty(&geometry.button))
    {
        RECT box = geometry.button;
        FillRect(hdc, &box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(hdc, &box, GetSysColorBrush(COLOR_GRAYTEXT));
        const int xMid = box.left + kButtonSide / 2;
        const int yMid = box.top + kButtonSide / 2;
        RECT bar{box.left + 2, yMid, box.right - 2, yMid + 1};
        FillRect(hdc, &bar, GetSysColorBrush(COLOR_WINDOWTEXT));
        if (!(hItem->state & TVIS_EXPANDED))
        {
            RECT stem{xMid, box.top + 2, xMid + 1, box.bottom - 2};
            FillRect(hdc, &stem, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
    }
    const bool bSelected = (hItem->state & (TVIS_SELECTED | TVIS_DROPHILITED)) != 0;
    if (m_hImages != nullptr)
    {
        int nImage = bSelected ? hItem->iSelectedImage : hItem->iImage;
        if (nImage == I_IMAGECALLBACK)
            nImage = hItem->iImage == I_IMAGECALLBACK ? -1 : hItem->iImage;
        ImageList_Draw(m_hImages, nImage, hdc, geometry.icon.left, geometry.icon.top,
                       ILD_TRANSPARENT);
    }
    const bool bShowSelection =
        (hItem->state & TVIS_DROPHILITED) ||
        ((hItem->state & TVIS_SELECTED) && (m_bFocus || (Style() & TVS_SHOWSELALWAYS)));
    const bool bActive = m_bFocus || (hItem->state & TVIS_DROPHILITED);
    if (hItem == m_hEdited)
        return;
    COLORREF crText = m_crText == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT) : m_crText;
    if (bShowSelection)
    {
        FillRect(hdc, &geometry.label, GetSysColorBrush(bActive ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        crText = GetSysColor(bActive ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    SetTextColor(hdc, crText);
    RECT rcText = geometry.label;
    InflateRect(&rcText, -kLabelPad, 0);
    const std::string text = TextOf(hItem);
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rcText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (m_bFocus && hItem == m_hSelected)
        DrawFocusRect(hdc, &geometry.label);
}

void TreeViewControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const COLORREF crBk = m_crBk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_crBk;
    HBRUSH hBack = CreateSolidBrush(crBk);
    FillRect(hdc, &client, hBack);
    DeleteObject(hBack);
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    SetBkMode(hdc, TRANSPARENT);
    for (int nRow = m_nTop; nRow < EndOfPaintedRows(); ++nRow)
        DrawItemRow(hdc, nRow);
    SelectObject(hdc, hOldFont);
}

LRESULT TreeViewControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const auto hItem = reinterpret_cast<HTREEITEM>(lParam);
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (nMsg)
    {
    case TVM_INSERTITEMA:
        return reinterpret_cast<LRESULT>(
            InsertItem(reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM:
        return DeleteItem(hItem);
    case TVM_EXPAND:
        return Expand(hItem, static_cast<UINT>(wParam), false);
    case TVM_GETITEMRECT:
        return GetItemRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(m_live.size());
    case TVM_GETINDENT:
        return m_nIndent;
    case TVM_SETINDENT:
        m_nIndent = std::max(static_cast<int>(wParam), kButtonSide + 4);
        Relayout();
        return 0;
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? m_hStateImages : m_hImages);
    case TVM_SETIMAGELIST:
        return reinterpret_cast<LRESULT>(
            SetImageList(wParam, reinterpret_cast<HIMAGELIST>(lParam)));
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(GetNextItem(static_cast<UINT>(wParam), hItem));
    case TVM_SELECTITEM:
        return SelectItem(static_cast<UINT>(wParam), hItem);
    case TVM_GETITEMA:
        return GetItem(reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
        return SetItem(reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_EDITLABELA:
        return reinterpret_cast<LRESULT>(EditLabel(hItem));
    case TVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(m_hEdit);
    case TVM_ENDEDITLABELNOW:
        EndEdit(wParam != 0);
        return TRUE;
    case TVM_GETVISIBLECOUNT:
        return VisibleCount();
    case TVM_HITTEST:
        return reinterpret_cast<LRESULT>(HitTest(reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_SORTCHILDREN:
        return SortChildren(hItem, wParam != 0);
    case TVM_SORTCHILDRENCB:
        return SortChildrenCB(reinterpret_cast<const TVSORTCB*>(lParam));
    case TVM_ENSUREVISIBLE:
        return EnsureItemVisible(hItem);
    case TVM_GETITEMHEIGHT:
        return RowHeight();
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR:
    {
        COLORREF& cr = nMsg == TVM_SETBKCOLOR ? m_crBk : m_crText;
        const COLORREF crOld = cr;
        cr = static_cast<COLORREF>(lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return crOld == CLR_NONE ? -1 : static_cast<LRESULT>(crOld);
    }
    case TVM_GETBKCOLOR:
        return m_crBk == CLR_NONE ? -1 : static_cast<LRESULT>(m_crBk);
    case TVM_GETTEXTCOLOR:
        return m_crText == CLR_NONE ? -1 : static_cast<LRESULT>(m_crText);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
        OnButtonDown(pt);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(pt);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(pt);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(pt);
        return 0;
    case WM_RBUTTONDOWN:
        SetFocus(m_hWnd);
        return 0;
    case WM_RBUTTONUP:
    {
        NMHDR hdr{};
        if (Notify(hdr, NM_RCLICK) != 0)
            return 0;
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
    case WM_TIMER:
        if (wParam == kEditTimer)
        {
            KillTimer(m_hWnd, kEditTimer);
            if (m_bEditOnTimer && m_hSelected != nullptr)
                EditLabel(m_hSelected);
            m_bEditOnTimer = false;
        }
        return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        m_hPressed = nullptr;
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(nMsg == WM_SETFOCUS);
        return 0;
    case WM_VSCROLL:
        EndEdit(false);
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        EndEdit(false);
        OnMouseWheel(wParam);
        return 0;
    case WM_SIZE:
        UpdateScrollBar();
        return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        UpdateScrollBar();
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_DESTROY:
        EndEdit(true);
        DeleteItem(TVI_ROOT);
        return 0;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT TreeViewWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<TreeViewControl>(hWnd, nMsg, wParam, lParam);
}
