// The list view "SysListView32", shown in report mode whatever its view
// style: a header of columns over rows of items with their sub-items, item
// data, selection and focus states, a selection mark that keeps the row
// selected last, full-row selection, grid lines and colours of its own.
// Clicks, double clicks and state changes notify the parent; a click in the
// header becomes LVN_COLUMNCLICK. LVM_SORTITEMS merges, so a comparator that
// is no strict weak order still leaves every item in the list. With
// LVS_OWNERDRAWFIXED the parent draws each row (WM_DRAWITEM, ODT_LISTVIEW,
// the row height from WM_MEASUREITEM); state images sit left of the small
// icon; labels are edited in place (LVM_EDITLABEL, or a second click on the
// focused item's label with LVS_EDITLABELS once the double-click time has
// passed).
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "ListLabelEditor.h"
#include "ListRows.h"
#include "StableMergeSort.h"

#include "WinDrawing.h"
#include "WinImageList.h"
#include "WinInput.h"
#include "WinListView.h"
#include "WinScrollBar.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr int kCellMargin = 6;
constexpr int kSmallIconSide = 16;
constexpr UINT_PTR kEditTimer = 0x4C45;

struct ListColumn
{
    std::string text;
    int cx = 0;
    int fmt = LVCFMT_LEFT;
};

struct ListRow
{
    std::vector<std::string> texts; // the item's text, then its sub-items'
    LPARAM lParam = 0;
    UINT state = 0;
    int iImage = -1;
};

class ListViewControl : public ListRows
{
public:
    explicit ListViewControl(HWND hWnd) : ListRows(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    int Count() const override { return static_cast<int>(m_rows.size()); }
    bool IsValid(WPARAM nItem) const { return nItem < m_rows.size(); }
    bool IsFullRow() const { return (m_dwExStyle & LVS_EX_FULLROWSELECT) != 0; }
    int RowHeight() const;
    int NaturalRowHeight() const;
    int StateWidth() const;
    int IconWidth() const { return m_hSmallImages != nullptr ? kSmallIconSide : 0; }
    void MeasureItems();
    int HeaderHeight() const;
    int VisibleCount() const override;

    void OnCreate();
    void LayoutHeader();
    int InsertColumn(WPARAM nCol, const LVCOLUMNA* pColumn);
    BOOL SetColumn(WPARAM nCol, const LVCOLUMNA* pColumn);
    BOOL GetColumn(WPARAM nCol, LVCOLUMNA* pColumn) const;
    BOOL DeleteColumn(WPARAM nCol);
    int InsertItem(const LVITEMA* pItem);
    BOOL SetItem(const LVITEMA* pItem);
    BOOL GetItem(LVITEMA* pItem) const;
    int GetItemText(WPARAM nItem, LVITEMA* pItem) const;
    BOOL DeleteItem(WPARAM nItem);
    BOOL DeleteAllItems();
    BOOL SetItemState(int nItem, UINT state, UINT stateMask);
    bool ChangeState(int nItem, UINT newState);
    int GetNextItem(int nStart, UINT flags) const;
    BOOL SortItems(LPARAM lParamSort, PFNLVCOMPARE pfnCompare);

    RECT RowRect(int nItem) const;
    RECT CellRect(int nItem, int nColumn) const;
    BOOL GetItemRect(WPARAM nItem, RECT* pRect) const;
    BOOL GetSubItemRect(WPARAM nItem, RECT* pRect) const;
    int HitTest(LVHITTESTINFO* pInfo, bool bSubItem) const;
    void UpdateScrollBar() override;
    void InvalidateItem(int nItem);

    LRESULT Notify(NMHDR& hdr) const;
    LRESULT NotifyItem(UINT nCode, int nItem, int nSubItem, UINT newState, UINT oldState,
                       UINT changed, POINT pt = POINT{0, 0}) const;
    void NotifyActivate(UINT nCode, POINT pt) const;
    LRESULT OnHeaderNotify(const NMHDR* pHdr);
    void SelectOnly(int nItem);
    void SelectRange(int nFrom, int nTo);
    void SetFocusItem(int nItem);
    void OnButtonDown(POINT pt, bool bRight, bool bDouble);
    void OnKeyDown(WPARAM nKey);

    void DrawRow(HDC hdc, int nItem, const RECT& rcClient);
    void DrawOwnerRow(HDC hdc, int nItem) const;
    void DrawFirstColumnImages(HDC hdc, const ListRow& row, const RECT& rcCell) const;

    HWND EditLabel(int nItem);
    void EndLabelEdit(bool bCancel);
    LRESULT NotifyLabelEdit(UINT nCode, int nItem, LPSTR pszText) const;

    HWND m_hHeader = nullptr;
    std::vector<ListColumn> m_columns;
    std::vector<ListRow> m_rows;
    DWORD m_dwExStyle = 0;
    HFONT m_hFont = nullptr;
    HIMAGELIST m_hSmallImages = nullptr;
    HIMAGELIST m_hStateImages = nullptr;
    COLORREF m_crBk = CLR_DEFAULT;
    COLORREF m_crText = CLR_DEFAULT;
    COLORREF m_crTextBk = CLR_DEFAULT;
    int m_nMark = -1;
    bool m_bFocus = false;
    int m_nMeasuredHeight = 0; // of owner-drawn rows, 0 until measured
    ListLabelEditor m_editor;
    int m_nEditItem = -1;
    int m_nClickToEdit = -1; // the item a click asked to edit, when the timer ends
};

int ListViewControl::RowHeight() const
{
    return m_nMeasuredHeight > 0 ? m_nMeasuredHeight : NaturalRowHeight();
}

int ListViewControl::NaturalRowHeight() const
{
    const int nText = GetFontLineHeight(m_hFont) + 2;
    int nImage = m_hSmallImages != nullptr ? kSmallIconSide + 1 : 0;
    int cx = 0;
    int cy = 0;
    if (m_hStateImages != nullptr && ImageList_GetIconSize(m_hStateImages, &cx, &cy))
        nImage = std::max(nImage, cy + 1);
    return std::max(nText, nImage);
}

int ListViewControl::StateWidth() const
{
    int cx = 0;
    int cy = 0;
    return m_hStateImages != nullptr && ImageList_GetIconSize(m_hStateImages, &cx, &cy) ? cx : 0;
}

// Owner-drawn rows take the height the parent gives them.
void ListViewControl::MeasureItems()
{
    m_nMeasuredHeight = 0;
    const HWND hParent = GetParent(m_hWnd);
    if (!(Style() & LVS_OWNERDRAWFIXED) || hParent == nullptr)
        return;
    const UINT nId = static_cast<UINT>(GetDlgCtrlID(m_hWnd));
    MEASUREITEMSTRUCT measure{ODT_LISTVIEW, nId, 0, 0, static_cast<UINT>(NaturalRowHeight()), 0};
    SendMessageA(hParent, WM_MEASUREITEM, nId, reinterpret_cast<LPARAM>(&measure));
    m_nMeasuredHeight = static_cast<int>(std::min<UINT>(measure.itemHeight, 0x7FFF));
}

int ListViewControl::HeaderHeight() const
{
    if (m_hHeader == nullptr || !IsWindowVisible(m_hHeader))
        return 0;
    RECT rc{};
    GetWindowRect(m_hHeader, &rc);
    return rc.bottom - rc.top;
}

int ListViewControl::VisibleCount() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return std::max(1, (client.bottom - HeaderHeight()) / RowHeight());
}

void ListViewControl::OnCreate()
{
    MeasureItems();
    if (Style() & LVS_NOCOLUMNHEADER)
        return;
    const DWORD dwHeaderStyle =
        WS_CHILD | WS_VISIBLE | HDS_HORZ | ((Style() & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS);
    m_hHeader = CreateWindowExA(0, WC_HEADERA, "", dwHeaderStyle, 0, 0, 1, 1, m_hWnd, nullptr,
                                nullptr, nullptr);
    LayoutHeader();
}

void ListViewControl::LayoutHeader()
{
    if (m_hHeader == nullptr)
        return;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    WINDOWPOS pos{};
    HDLAYOUT layout{&client, &pos};
    SendMessageA(m_hHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    SetWindowPos(m_hHeader, nullptr, pos.x, pos.y, pos.cx, pos.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

int ListViewControl::InsertColumn(WPARAM nCol, const LVCOLUMNA* pColumn)
{
    if (pColumn == nullptr)
        return -1;
    const std::size_t nAt = std::min<std::size_t>(nCol, m_columns.size());
    m_columns.insert(m_columns.begin() + static_cast<std::ptrdiff_t>(nAt), ListColumn{});
    for (ListRow& row : m_rows)
    {
        // Column 0 holds the item's own text: a column inserted before it
        // moves the texts along only from sub-item 1 on.
        if (row.texts.size() > std::max<std::size_t>(nAt, 1))
            row.texts.insert(row.texts.begin() +
                                 static_cast<std::ptrdiff_t>(std::max<std::size_t>(nAt, 1)),
                             std::string());
    }
    if (m_hHeader != nullptr)
    {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        item.fmt = HDF_STRING;
        SendMessageA(m_hHeader, HDM_INSERTITEMA, nAt, reinterpret_cast<LPARAM>(&item));
    }
    SetColumn(nAt, pColumn);
    return static_cast<int>(nAt);
}

BOOL ListViewControl::SetColumn(WPARAM nCol, const LVCOLUMNA* pColumn)
{
    if (nCol >= m_columns.size() || pColumn == nullptr)
        return FALSE;
    ListColumn& column = m_columns[nCol];
    if (pColumn->mask & LVCF_FMT)
        column.fmt = pColumn->fmt;
    if (pColumn->mask & LVCF_WIDTH)
        column.cx = std::max(0, pColumn->cx);
    if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText != nullptr)
        column.text = pColumn->pszText;
    if (m_hHeader != nullptr)
    {
        HDITEMA item{};
        item.mask = HDI_WIDTH | HDI_FORMAT | HDI_TEXT;
        item.cxy = column.cx;
        item.pszText = const_cast<LPSTR>(column.text.c_str());
        item.fmt = HDF_STRING | (column.fmt & LVCFMT_JUSTIFYMASK);
        SendMessageA(m_hHeader, HDM_SETITEMA, nCol, reinterpret_cast<LPARAM>(&item));
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL ListViewControl::GetColumn(WPARAM nCol, LVCOLUMNA* pColumn) const
{
    if (nCol >= m_columns.size() || pColumn == nullptr)
        return FALSE;
    const ListColumn& column = m_columns[nCol];
    if (pColumn->mask & LVCF_FMT)
        pColumn->fmt = column.fmt;
    if (pColumn->mask & LVCF_WIDTH)
        pColumn->cx = column.cx;
    if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText != nullptr && pColumn->cchTextMax > 0)
        CopyTextTo(column.text.c_str(), pColumn->pszText, pColumn->cchTextMax);
    if (pColumn->mask & LVCF_SUBITEM)
        pColumn->iSubItem = static_cast<int>(nCol);
    return TRUE;
}

BOOL ListViewControl::DeleteColumn(WPARAM nCol)
{
    if (nCol >= m_columns.size())
        return FALSE;
    m_columns.erase(m_columns.begin() + static_cast<std::ptrdiff_t>(nCol));
    for (ListRow& row : m_rows)
    {
        if (nCol > 0 && nCol < row.texts.size())
            row.texts.erase(row.texts.begin() + static_cast<std::ptrdiff_t>(nCol));
    }
    if (m_hHeader != nullptr)
        SendMessageA(m_hHeader, HDM_DELETEITEM, nCol, 0);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

int ListViewControl::InsertItem(const LVITEMA* pItem)
{
    if (pItem == nullptr || pItem->iSubItem != 0)
        return -1;
    const int nAt = pItem->iItem < 0 ? Count() : std::min(pItem->iItem, Count());
    m_rows.insert(m_rows.begin() + nAt, ListRow{});
    ListRow& row = m_rows[static_cast<std::size_t>(nAt)];
    row.texts.emplace_back();
    if ((pItem->mask & LVIF_TEXT) && pItem->pszText != nullptr)
        row.texts[0] = pItem->pszText;
    if (pItem->mask & LVIF_PARAM)
        row.lParam = pItem->lParam;
    if (pItem->mask & LVIF_IMAGE)
        row.iImage = pItem->iImage;
    if (pItem->mask & LVIF_STATE)
        row.state = pItem->state & pItem->stateMask;
    if (m_nMark >= nAt)
        ++m_nMark;
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    NotifyItem(LVN_INSERTITEM, nAt, 0, 0, 0, 0);
    return nAt;
}

BOOL ListViewControl::SetItem(const LVITEMA* pItem)
{
    if (pItem == nullptr || !IsValid(static_cast<WPARAM>(pItem->iItem)) || pItem->iSubItem < 0)
        return FALSE;
    ListRow& row = m_rows[static_cast<std::size_t>(pItem->iItem)];
    if ((pItem->mask & LVIF_TEXT) && pItem->pszText != nullptr)
    {
        const auto nSub = static_cast<std::size_t>(pItem->iSubItem);
        if (row.texts.size() <= nSub)
            row.texts.resize(nSub + 1);
        row.texts[nSub] = pItem->pszText;
    }
    if (pItem->iSubItem == 0)
    {
        if (pItem->mask & LVIF_PARAM)
            row.lParam = pItem->lParam;
        if (pItem->mask & LVIF_IMAGE)
            row.iImage = pItem->iImage;
        if (pItem->mask & LVIF_STATE)
            SetItemState(pItem->iItem, pItem->state, pItem->stateMask);
    }
    InvalidateItem(pItem->iItem);
    return TRUE;
}

BOOL ListViewControl::GetItem(LVITEMA* pItem) const
{
    if (pItem == nullptr || !IsValid(static_cast<WPARAM>(pItem->iItem)))
        return FALSE;
    const ListRow& row = m_rows[static_cast<std::size_t>(pItem->iItem)];
    if (pItem->mask & LVIF_TEXT)
        GetItemText(static_cast<WPARAM>(pItem->iItem), pItem);
    if (pItem->mask & LVIF_PARAM)
        pItem->lParam = row.lParam;
    if (pItem->mask & LVIF_IMAGE)
        pItem->iImage = row.iImage;
    if (pItem->mask & LVIF_STATE)
        pItem->state = row.state & pItem->stateMask;
    return TRUE;
}

int ListViewControl::GetItemText(WPARAM nItem, LVITEMA* pItem) const
{
    if (!IsValid(nItem) || pItem == nullptr || pItem->pszText == nullptr || pItem->cchTextMax <= 0)
        return 0;
    const ListRow& row = m_rows[nItem];
    const auto nSub = static_cast<std::size_t>(std::max(pItem->iSubItem, 0));
    return CopyTextTo(nSub < row.texts.size() ? row.texts[nSub].c_str() : "", pItem->pszText,
                      pItem->cchTextMax);
}

BOOL ListViewControl::DeleteItem(WPARAM nItem)
{
    if (!IsValid(nItem))
        return FALSE;
    const int nAt = static_cast<int>(nItem);
    if (nAt == m_nEditItem)
        EndLabelEdit(true);
    NotifyItem(LVN_DELETEITEM, nAt, 0, 0, 0, 0);
    m_rows.erase(m_rows.begin() + nAt);
    if (m_nMark == nAt)
        m_nMark = -1;
    else if (m_nMark > nAt)
        --m_nMark;
    m_nTop = std::clamp(m_nTop, 0, std::max(0, Count() - 1));
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL ListViewControl::DeleteAllItems()
{
    EndLabelEdit(true);
    // A parent that answers LVN_DELETEALLITEMS with TRUE hears of no single
    // item going.
    const bool bEach = NotifyItem(LVN_DELETEALLITEMS, -1, 0, 0, 0, 0) == 0;
    for (int i = 0; bEach && i < Count(); ++i)
        NotifyItem(LVN_DELETEITEM, i, 0, 0, 0, 0);
    m_rows.clear();
    m_nMark = -1;
    m_nTop = 0;
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

bool ListViewControl::ChangeState(int nItem, UINT newState)
{
    ListRow& row = m_rows[static_cast<std::size_t>(nItem)];
    const UINT oldState = row.state;
    if (newState == oldState)
        return true;
    // The parent may refuse the change.
    if (NotifyItem(LVN_ITEMCHANGING, nItem, 0, newState, oldState, LVIF_STATE) != 0)
        return false;
    if (!IsValid(static_cast<WPARAM>(nItem)))
        return false;
    m_rows[static_cast<std::size_t>(nItem)].state = newState;
    if ((newState & LVIS_SELECTED) && !(oldState & LVIS_SELECTED))
        m_nMark = nItem;
    InvalidateItem(nItem);
    NotifyItem(LVN_ITEMCHANGED, nItem, 0, newState, oldState, LVIF_STATE);
    return true;
}

BOOL ListViewControl::SetItemState(int nItem, UINT state, UINT stateMask)
{
    if (nItem < -1 || nItem >= Count())
        return FALSE;
    // One focused item, and one selected in a single-selection list.
    const UINT nExclusive = LVIS_FOCUSED | ((Style() & LVS_SINGLESEL) ? UINT(LVIS_SELECTED) : 0U);
    const int nFirst = nItem < 0 ? 0 : nItem;
    const int nLast = nItem < 0 ? Count() - 1 : nItem;
    for (int i = nFirst; i <= nLast && i < Count(); ++i)
    {
        const UINT newState =
            (m_rows[static_cast<std::size_t>(i)].state & ~stateMask) | (state & stateMask);
        if (nItem >= 0 && (newState & nExclusive & stateMask))
        {
            for (int j = 0; j < Count(); ++j)
            {
                const UINT other = m_rows[static_cast<std::size_t>(j)].state;
                if (j != i && (other & newState & nExclusive & stateMask))
                    ChangeState(j, other & ~(newState & nExclusive & stateMask));
            }
        }
        if (i < Count())
            ChangeState(i, newState);
    }
    return TRUE;
}

int ListViewControl::GetNextItem(int nStart, UINT flags) const
{
    const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    const auto matches = [&](int i)
    {
        const UINT state = m_rows[static_cast<std::size_t>(i)].state;
        return (state & wanted) == wanted;
    };
    if (flags & LVNI_ABOVE)
    {
        for (int i = std::min(nStart, Count()) - 1; i >= 0; --i)
            if (matches(i))
                return i;
        return -1;
    }
    for (int i = std::max(nStart + 1, 0); i < Count(); ++i)
        if (matches(i))
            return i;
    return -1;
}

BOOL ListViewControl::SortItems(LPARAM lParamSort, PFNLVCOMPARE pfnCompare)
{
    if (pfnCompare == nullptr)
        return FALSE;
    StableMergeSort(m_rows, [pfnCompare, lParamSort](const ListRow& a, const ListRow& b)
                    { return pfnCompare(a.lParam, b.lParam, lParamSort) < 0; });
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

RECT ListViewControl::RowRect(int nItem) const
{
    int nWidth = 0;
    for (const ListColumn& column : m_columns)
        nWidth += column.cx;
    const int nTop = HeaderHeight() + (nItem - m_nTop) * RowHeight();
    return RECT{0, nTop, nWidth, nTop + RowHeight()};
}

RECT ListViewControl::CellRect(int nItem, int nColumn) const
{
    RECT rc = RowRect(nItem);
    int x = 0;
    for (int i = 0; i < nColumn && i < static_cast<int>(m_columns.size()); ++i)
        x += m_columns[static_cast<std::size_t>(i)].cx;
    rc.left = x;
    rc.right = nColumn < static_cast<int>(m_columns.size())
                   ? x + m_columns[static_cast<std::size_t>(nColumn)].cx
                   : x;
    return rc;
}

BOOL ListViewControl::GetItemRect(WPARAM nItem, RECT* pRect) const
{
    if (!IsValid(nItem) || pRect == nullptr)
        return FALSE;
    const int nItemAt = static_cast<int>(nItem);
    const int nCode = pRect->left;
    RECT rcFirst = CellRect(nItemAt, 0);
    const int nIconLeft = std::min<int>(rcFirst.right, rcFirst.left + StateWidth());
    const int nLabelLeft = std::min<int>(rcFirst.right, nIconLeft + IconWidth());
    switch (nCode)
    {
    case LVIR_ICON:
        rcFirst.left = nIconLeft;
        rcFirst.right = nLabelLeft;
        *pRect = rcFirst;
        return TRUE;
    case LVIR_LABEL:
        rcFirst.left = nLabelLeft;
        *pRect = rcFirst;
        return TRUE;
    case LVIR_SELECTBOUNDS:
        *pRect = IsFullRow() ? RowRect(nItemAt) : rcFirst;
        return TRUE;
    case LVIR_BOUNDS:
        *pRect = RowRect(nItemAt);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ListViewControl::GetSubItemRect(WPARAM nItem, RECT* pRect) const
{
    if (!IsValid(nItem) || pRect == nullptr || pRect->top < 0 ||
        pRect->top >= static_cast<int>(m_columns.size()))
        return FALSE;
    const int nSub = pRect->top;
    if (nSub == 0)
    {
        pRect->top = 0;
        return GetItemRect(nItem, pRect);
    }
    *pRect = CellRect(static_cast<int>(nItem), nSub);
    return TRUE;
}

int ListViewControl::HitTest(LVHITTESTINFO* pInfo, bool bSubItem) const
{
    if (pInfo == nullptr)
        return -1;
    const POINT pt = pInfo->pt;
    pInfo->flags = LVHT_NOWHERE;
    pInfo->iItem = -1;
    pInfo->iSubItem = -1;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (pt.y < HeaderHeight())
    {
        pInfo->flags = LVHT_ABOVE;
        return -1;
    }
    if (pt.y >= client.bottom || pt.x < 0 || pt.x >= client.right)
    {
        pInfo->flags = pt.y >= client.bottom ? LVHT_BELOW : (pt.x < 0 ? LVHT_TOLEFT : LVHT_TORIGHT);
        return -1;
    }
    const int nItem = m_nTop + (pt.y - HeaderHeight()) / RowHeight();
    if (nItem >= Count())
        return -1;
    int nColumn = -1;
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i)
    {
        const RECT rc = CellRect(nItem, i);
        if (pt.x >= rc.left && pt.x < rc.right)
            nColumn = i;
    }
    // Without full-row selection only the item's own column is the item.
    if (nColumn < 0 || (nColumn > 0 && !IsFullRow() && !bSubItem))
        return -1;
    const int nLeft = CellRect(nItem, 0).left;
    const bool bOnState = nColumn == 0 && pt.x < nLeft + StateWidth();
    const bool bOnIcon = nColumn == 0 && !bOnState && pt.x < nLeft + StateWidth() + IconWidth();
    pInfo->flags = bOnState ? LVHT_ONITEMSTATEICON : (bOnIcon ? LVHT_ONITEMICON : LVHT_ONITEMLABEL);
    pInfo->iItem = nItem;
    pInfo->iSubItem = bSubItem ? nColumn : 0;
    return nItem;
}

void ListViewControl::UpdateScrollBar()
{
    if (!(Style() & LVS_NOSCROLL))
        ShowRowsOnScrollBar();
}

void ListViewControl::InvalidateItem(int nItem)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    RECT rc = RowRect(nItem);
    rc.left = 0;
    rc.right = client.right;
    InvalidateRect(m_hWnd, &rc, TRUE);
}

LRESULT ListViewControl::Notify(NMHDR& hdr) const
{
    const HWND hParent = GetParent(m_hWnd);
    if (hParent == nullptr)
        return 0;
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd));
    return SendMessageA(hParent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

LRESULT ListViewControl::NotifyItem(UINT nCode, int nItem, int nSubItem, UINT newState,
                                    UINT oldState, UINT changed, POINT pt) const
{
    NMLISTVIEW nm{};
    nm.hdr.code = nCode;
    nm.iItem = nItem;
    nm.iSubItem = nSubItem;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.ptAction = pt;
    nm.lParam =
        IsValid(static_cast<WPARAM>(nItem)) ? m_rows[static_cast<std::size_t>(nItem)].lParam : 0;
    return Notify(nm.hdr);
}

void ListViewControl::NotifyActivate(UINT nCode, POINT pt) const
{
    LVHITTESTINFO hit{pt, 0, -1, -1};
    HitTest(&hit, true);
    NMITEMACTIVATE nm{};
    nm.hdr.code = nCode;
    nm.iItem = hit.iItem;
    nm.iSubItem = std::max(hit.iSubItem, 0);
    nm.ptAction = pt;
    if (hit.iItem >= 0)
        nm.lParam = m_rows[static_cast<std::size_t>(hit.iItem)].lParam;
    nm.uKeyFlags =
        (GetKeyState(VK_SHIFT) < 0 ? 0x4U : 0U) | (GetKeyState(VK_CONTROL) < 0 ? 0x1U : 0U);
    Notify(nm.hdr);
}

LRESULT ListViewControl::OnHeaderNotify(const NMHDR* pHdr)
{
    const auto* pHeader = reinterpret_cast<const NMHEADERA*>(pHdr);
    if (pHdr->code == HDN_ITEMCLICKA)
    {
        NotifyItem(LVN_COLUMNCLICK, -1, pHeader->iItem, 0, 0, 0);
        return 0;
    }
    if (pHdr->code == HDN_ITEMCHANGEDA && pHeader->pitem != nullptr &&
        (pHeader->pitem->mask & HDI_WIDTH) && pHeader->iItem >= 0 &&
        pHeader->iItem < static_cast<int>(m_columns.size()))
    {
        m_columns[static_cast<std::size_t>(pHeader->iItem)].cx = pHeader->pitem->cxy;
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    return 0;
}

void ListViewControl::SelectOnly(int nItem)
{
    for (int i = 0; i < Count(); ++i)
    {
        if (i != nItem && (m_rows[static_cast<std::size_t>(i)].state & LVIS_SELECTED))
            ChangeState(i, m_rows[static_cast<std::size_t>(i)].state & ~UINT(LVIS_SELECTED));
    }
    if (nItem >= 0 && nItem < Count())
        ChangeState(nItem, m_rows[static_cast<std::size_t>(nItem)].state | LVIS_SELECTED);
}

void ListViewControl::SelectRange(int nFrom, int nTo)
{
    const int nLow = std::min(nFrom, nTo);
    const int nHigh = std::max(nFrom, nTo);
    const int nMark = m_nMark;
    for (int i = 0; i < Count(); ++i)
    {
        const UINT state = m_rows[static_cast<std::size_t>(i)].state;
        const bool bIn = i >= nLow && i <= nHigh;
        ChangeState(i, bIn ? state | LVIS_SELECTED : state & ~UINT(LVIS_SELECTED));
    }
    // A range grows from the mark, which stays where it was.
    m_nMark = nMark;
}

void ListViewControl::SetFocusItem(int nItem)
{
    SetItemState(nItem, LVIS_FOCUSED, LVIS_FOCUSED);
    EnsureVisible(nItem);
}

void ListViewControl::OnButtonDown(POINT pt, bool bRight, bool bDouble)
{
    if (GetFocus() != m_hWnd)
        SetFocus(m_hWnd);
    LVHITTESTINFO hit{pt, 0, -1, -1};
    const int nItem = HitTest(&hit, false);
    const bool bMulti = !(Style() & LVS_SINGLESEL);
    const bool bShift = GetKeyState(VK_SHIFT) < 0;
    const bool bControl = GetKeyState(VK_CONTROL) < 0;
    // A plain click on the label of the item that already has the focus and
    // the selection edits it, once no double click has followed.
    const UINT nFocusedSelected = LVIS_FOCUSED | LVIS_SELECTED;
    m_nClickToEdit = (Style() & LVS_EDITLABELS) && !bRight && !bDouble && !bShift && !bControl &&
                             m_bFocus && nItem >= 0 && hit.flags == LVHT_ONITEMLABEL &&
                             (m_rows[static_cast<std::size_t>(nItem)].state & nFocusedSelected) ==
                                 nFocusedSelected
                         ? nItem
                         : -1;
    if (bDouble)
        KillTimer(m_hWnd, kEditTimer);
    if (nItem < 0)
    {
        // Empty space clears the selection; the mark stays.
        if (!bControl && !bShift)
        {
            const int nMark = m_nMark;
            SelectOnly(-1);
            m_nMark = nMark;
        }
    }
    else if (bMulti && bShift && m_nMark >= 0 && !bRight)
    {
        SelectRange(m_nMark, nItem);
        SetFocusItem(nItem);
    }
    else if (bMulti && bControl && !bRight)
    {
        const UINT state = m_rows[static_cast<std::size_t>(nItem)].state;
        ChangeState(nItem, state ^ LVIS_SELECTED);
        m_nMark = nItem;
        SetFocusItem(nItem);
    }
    else if (!bRight || !(m_rows[static_cast<std::size_t>(nItem)].state & LVIS_SELECTED))
    {
        SelectOnly(nItem);
        SetFocusItem(nItem);
    }
    if (bDouble)
        NotifyActivate(bRight ? NM_RDBLCLK : NM_DBLCLK, pt);
}

void ListViewControl::OnKeyDown(WPARAM nKey)
{
    NMLVKEYDOWN key{};
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = static_cast<WORD>(nKey);
    Notify(key.hdr);
    if (m_rows.empty())
        return;
    if (nKey == VK_RETURN)
    {
        NMHDR hdr{nullptr, 0, NM_RETURN};
        Notify(hdr);
        return;
    }
    const int nTarget = RowAfterKey(nKey, GetNextItem(-1, LVNI_FOCUSED));
    if (nTarget < 0)
        return;
    if (!(Style() & LVS_SINGLESEL) && GetKeyState(VK_SHIFT) < 0 && m_nMark >= 0)
        SelectRange(m_nMark, nTarget);
    else
        SelectOnly(nTarget);
    SetFocusItem(nTarget);
}

void ListViewControl::DrawRow(HDC hdc, int nItem, const RECT& rcClient)
{
    const ListRow& row = m_rows[static_cast<std::size_t>(nItem)];
    const bool bSelected = (row.state & LVIS_SELECTED) != 0;
    const bool bShowSelection = bSelected && (m_bFocus || (Style() & LVS_SHOWSELALWAYS));
    const COLORREF crSelBk = GetSysColor(m_bFocus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const COLORREF crSelText = GetSysColor(m_bFocus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    const COLORREF crText = m_crText == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : m_crText;
    const int nIcon = StateWidth() + IconWidth();
    for (int nColumn = 0; nColumn < static_cast<int>(m_columns.size()); ++nColumn)
    {
        RECT rcCell = CellRect(nItem, nColumn);
        if (rcCell.left >= rcClient.right)
            break;
        RECT rcBack = rcCell;
        if (nColumn == 0)
        {
            DrawFirstColumnImages(hdc, row, rcCell);
            rcBack.left += nIcon;
        }
        const bool bHighlight = bShowSelection && (nColumn == 0 || IsFullRow());
        if (bHighlight)
        {
            SetBkColor(hdc, crSelBk);
            ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rcBack, nullptr, 0, nullptr);
        }
        else if (m_crTextBk != CLR_NONE && m_crTextBk != CLR_DEFAULT)
        {
            SetBkColor(hdc, m_crTextBk);
            ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rcBack, nullptr, 0, nullptr);
        }
        const auto nSub = static_cast<std::size_t>(nColumn);
        if (nSub < row.texts.size())
        {
            RECT rcText = rcBack;
            InflateRect(&rcText, -kCellMargin / (nColumn == 0 ? 3 : 1), 0);
            UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
            const int nAlign = m_columns[nSub].fmt & LVCFMT_JUSTIFYMASK;
            if (nAlign == LVCFMT_RIGHT)
                nFormat |= DT_RIGHT;
            else if (nAlign == LVCFMT_CENTER)
                nFormat |= DT_CENTER;
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, bHighlight ? crSelText : crText);
            DrawTextA(hdc, row.texts[nSub].c_str(), -1, &rcText, nFormat);
        }
    }
    if (m_bFocus && (row.state & LVIS_FOCUSED))
    {
        RECT rcFocus = IsFullRow() ? RowRect(nItem) : CellRect(nItem, 0);
        if (!IsFullRow())
            rcFocus.left += nIcon;
        DrawFocusRect(hdc, &rcFocus);
    }
}

void ListViewControl::DrawFirstColumnImages(HDC hdc, const ListRow& row, const RECT& rcCell) const
{
    const int nStateImage = static_cast<int>((row.state & LVIS_STATEIMAGEMASK) >> 12);
    const int nHeight = rcCell.bottom - rcCell.top;
    int cx = 0;
    int cy = 0;
    if (nStateImage > 0 && ImageList_GetIconSize(m_hStateImages, &cx, &cy))
        ImageList_Draw(m_hStateImages, nStateImage - 1, hdc, rcCell.left,
                       rcCell.top + (nHeight - cy) / 2, ILD_TRANSPARENT);
    if (m_hSmallImages != nullptr && row.iImage >= 0)
        ImageList_Draw(m_hSmallImages, row.iImage, hdc, rcCell.left + StateWidth() + 1,
                       rcCell.top + (nHeight - kSmallIconSide) / 2, ILD_TRANSPARENT);
}

void ListViewControl::DrawOwnerRow(HDC hdc, int nItem) const
{
    const ListRow& row = m_rows[static_cast<std::size_t>(nItem)];
    UINT nState = (row.state & LVIS_SELECTED) ? UINT(ODS_SELECTED) : 0U;
    if (m_bFocus && (row.state & LVIS_FOCUSED))
        nState |= ODS_FOCUS;
    DRAWITEMSTRUCT draw{ODT_LISTVIEW,
                        static_cast<UINT>(GetDlgCtrlID(m_hWnd)),
                        static_cast<UINT>(nItem),
                        ODA_DRAWENTIRE,
                        nState,
                        m_hWnd,
                        hdc,
                        RowRect(nItem),
                        static_cast<ULONG_PTR>(row.lParam)};
    // The parent draws with the DC as it finds it and may leave it changed.
    const int nSaved = SaveDC(hdc);
    if (const HWND hParent = GetParent(m_hWnd))
        SendMessageA(hParent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    RestoreDC(hdc, nSaved);
}

void ListViewControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (m_crBk != CLR_NONE)
    {
        SetBkColor(hdc, m_crBk == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : m_crBk);
        ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    }
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    const bool bOwnerDraw = (Style() & LVS_OWNERDRAWFIXED) != 0;
    for (int i = m_nTop; i < EndOfPaintedRows(); ++i)
    {
        if (bOwnerDraw)
            DrawOwnerRow(hdc, i);
        else
            DrawRow(hdc, i, client);
    }
    if (m_dwExStyle & LVS_EX_GRIDLINES)
    {
        HPEN hPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
        HGDIOBJ hOldPen = SelectObject(hdc, hPen);
        const int nTop = HeaderHeight();
        for (int y = nTop + RowHeight() - 1; y < client.bottom; y += RowHeight())
        {
            MoveToEx(hdc, 0, y, nullptr);
            LineTo(hdc, client.right, y);
        }
        int x = 0;
        for (const ListColumn& column : m_columns)
        {
            x += column.cx;
            MoveToEx(hdc, x - 1, nTop, nullptr);
            LineTo(hdc, x - 1, client.bottom);
        }
        SelectObject(hdc, hOldPen);
        DeleteObject(hPen);
    }
    SelectObject(hdc, hOldFont);
}

LRESULT ListViewControl::NotifyLabelEdit(UINT nCode, int nItem, LPSTR pszText) const
{
    const ListRow& row = m_rows[static_cast<std::size_t>(nItem)];
    NMLVDISPINFOA info{};
    info.hdr.code = nCode;
    info.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    info.item.iItem = nItem;
    info.item.pszText = pszText;
    info.item.cchTextMax = pszText != nullptr ? static_cast<int>(std::strlen(pszText)) + 1 : 0;
    info.item.lParam = row.lParam;
    info.item.state = row.state;
    info.item.stateMask = 0xFFFFFFFFU;
    return Notify(info.hdr);
}

// The edit exists (hidden) while the parent hears LVN_BEGINLABELEDIT, so
// that it can reach it through LVM_GETEDITCONTROL; TRUE refuses the editing.
HWND ListViewControl::EditLabel(int nItem)
{
    EndLabelEdit(false);
    m_nClickToEdit = -1;
    if (!IsValid(static_cast<WPARAM>(nItem)))
        return nullptr;
    if (GetFocus() != m_hWnd)
        SetFocus(m_hWnd);
    EnsureVisible(nItem);
    RECT rcLabel{LVIR_LABEL, 0, 0, 0};
    GetItemRect(static_cast<WPARAM>(nItem), &rcLabel);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    rcLabel.right = std::min(std::max(rcLabel.right, rcLabel.left + 4 * kCellMargin), client.right);
    std::string text = m_rows[static_cast<std::size_t>(nItem)].texts[0];
    if (m_editor.Create(m_hWnd, rcLabel, text, ControlFontOrDefault(m_hFont)) == nullptr)
        return nullptr;
    m_nEditItem = nItem;
    if (NotifyLabelEdit(LVN_BEGINLABELEDITA, nItem, text.data()) != 0 || !m_editor.IsActive())
    {
        m_nEditItem = -1;
        m_editor.Destroy();
        return nullptr;
    }
    m_editor.Show();
    return m_editor.GetWindow();
}

// The parent hears the new text (null when cancelled) while the edit still
// exists; TRUE from it takes the text as the item's label.
void ListViewControl::EndLabelEdit(bool bCancel)
{
    if (!m_editor.IsActive())
        return;
    const int nItem = m_nEditItem;
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(m_editor.GetWindow())) +
                             1);
    GetWindowTextA(m_editor.GetWindow(), buffer.data(), static_cast<int>(buffer.size()));
    const bool bValid = IsValid(static_cast<WPARAM>(nItem));
    const LRESULT accepted =
        bValid ? NotifyLabelEdit(LVN_ENDLABELEDITA, nItem, bCancel ? nullptr : buffer.data()) : 0;
    m_nEditItem = -1;
    m_editor.Destroy();
    if (accepted != 0 && !bCancel && IsValid(static_cast<WPARAM>(nItem)))
    {
        m_rows[static_cast<std::size_t>(nItem)].texts[0] = buffer.data();
        InvalidateItem(nItem);
    }
}

LRESULT ListViewControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (nMsg)
    {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        LayoutHeader();
        UpdateScrollBar();
        return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (m_hHeader != nullptr)
            SendMessageA(m_hHeader, WM_SETFONT, wParam, lParam);
        MeasureItems();
        LayoutHeader();
        UpdateScrollBar();
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    {
        m_bFocus = nMsg == WM_SETFOCUS;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        NMHDR hdr{nullptr, 0, m_bFocus ? NM_SETFOCUS : NM_KILLFOCUS};
        Notify(hdr);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnButtonDown(pt, nMsg == WM_RBUTTONDOWN, false);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        OnButtonDown(pt, nMsg == WM_RBUTTONDBLCLK, true);
        return 0;
    case WM_LBUTTONUP:
        NotifyActivate(NM_CLICK, pt);
        if (m_nClickToEdit >= 0)
            SetTimer(m_hWnd, kEditTimer, GetDoubleClickTime(), nullptr);
        return 0;
    case WM_RBUTTONUP:
        NotifyActivate(NM_RCLICK, pt);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_VSCROLL:
        EndLabelEdit(false);
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam);
        return 0;
    case WM_NOTIFY:
    {
        const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        return pHdr != nullptr && pHdr->hwndFrom == m_hHeader ? OnHeaderNotify(pHdr) : 0;
    }
    case LVM_GETBKCOLOR:
        return static_cast<LRESULT>(m_crBk == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : m_crBk);
    case LVM_SETBKCOLOR:
        m_crBk = static_cast<COLORREF>(lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(m_crText == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT)
                                                            : m_crText);
    case LVM_SETTEXTCOLOR:
        m_crText = static_cast<COLORREF>(lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return static_cast<LRESULT>(m_crTextBk);
    case LVM_SETTEXTBKCOLOR:
        m_crTextBk = static_cast<COLORREF>(lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == LVSIL_STATE ? m_hStateImages : m_hSmallImages);
    case LVM_SETIMAGELIST:
    {
        HIMAGELIST& hSlot = wParam == LVSIL_STATE ? m_hStateImages : m_hSmallImages;
        const HIMAGELIST hOld = hSlot;
        hSlot = reinterpret_cast<HIMAGELIST>(lParam);
        UpdateScrollBar();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(hOld);
    }
    case LVM_GETITEMCOUNT:
        return Count();
    case LVM_GETITEMA:
        return GetItem(reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA:
        return SetItem(reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_INSERTITEMA:
        return InsertItem(reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM:
        return DeleteItem(wParam);
    case LVM_DELETEALLITEMS:
        return DeleteAllItems();
    case LVM_GETNEXTITEM:
        return GetNextItem(static_cast<int>(static_cast<INT_PTR>(wParam)), LOWORD(lParam));
    case LVM_GETITEMRECT:
        return GetItemRect(wParam, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT:
        return GetSubItemRect(wParam, reinterpret_cast<RECT*>(lParam));
    case LVM_HITTEST:
        return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST:
        return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_ENSUREVISIBLE:
        EnsureVisible(static_cast<int>(wParam));
        return TRUE;
    case LVM_REDRAWITEMS:
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case LVM_GETCOLUMNA:
        return GetColumn(wParam, reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA:
        return SetColumn(wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_INSERTCOLUMNA:
        return InsertColumn(wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN:
        return DeleteColumn(wParam);
    case LVM_GETCOLUMNWIDTH:
        return wParam < m_columns.size() ? m_columns[wParam].cx : 0;
    case LVM_SETCOLUMNWIDTH:
    {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = static_cast<SHORT>(LOWORD(lParam));
        return SetColumn(wParam, &column);
    }
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(m_hHeader);
    case LVM_EDITLABELA:
        return reinterpret_cast<LRESULT>(EditLabel(static_cast<int>(static_cast<INT_PTR>(wParam))));
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(m_editor.GetWindow());
    case ListLabelEditor::kEndMessage:
        if (reinterpret_cast<HWND>(lParam) == m_editor.GetWindow())
            EndLabelEdit(wParam != FALSE);
        return 0;
    case WM_TIMER:
        if (wParam != kEditTimer)
            return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
        KillTimer(m_hWnd, kEditTimer);
        if (m_nClickToEdit >= 0)
            EditLabel(m_nClickToEdit);
        return 0;
    case LVM_GETTOPINDEX:
        return m_nTop;
    case LVM_GETCOUNTPERPAGE:
        return VisibleCount();
    case LVM_SETITEMSTATE:
    {
        const auto* pItem = reinterpret_cast<const LVITEMA*>(lParam);
        return pItem != nullptr && SetItemState(static_cast<int>(static_cast<INT_PTR>(wParam)),
                                                pItem->state, pItem->stateMask);
    }
    case LVM_GETITEMSTATE:
        return IsValid(wParam) ? m_rows[wParam].state & static_cast<UINT>(lParam) : 0;
    case LVM_GETITEMTEXTA:
        return GetItemText(wParam, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMTEXTA:
    {
        auto* pItem = reinterpret_cast<LVITEMA*>(lParam);
        if (pItem == nullptr)
            return FALSE;
        LVITEMA item = *pItem;
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(wParam);
        return SetItem(&item);
    }
    case LVM_SORTITEMS:
        return SortItems(static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(m_rows.begin(), m_rows.end(),
                             [](const ListRow& row) { return (row.state & LVIS_SELECTED) != 0; });
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
    {
        const DWORD dwOld = m_dwExStyle;
        const DWORD dwMask = wParam != 0 ? static_cast<DWORD>(wParam) : 0xFFFFFFFFU;
        m_dwExStyle = (m_dwExStyle & ~dwMask) | (static_cast<DWORD>(lParam) & dwMask);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return static_cast<LRESULT>(dwOld);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(m_dwExStyle);
    case LVM_GETSELECTIONMARK:
        return m_nMark;
    case LVM_SETSELECTIONMARK:
    {
        const int nOld = m_nMark;
        m_nMark = static_cast<int>(lParam);
        return nOld;
    }
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ListViewWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ListViewControl>(hWnd, nMsg, wParam, lParam);
}
