// The "ListBox" control with one selection, or an extended one (Ctrl
// toggles an item, Shift selects the range from the anchor), and
// "ComboLBox", the list of a combo box, which tells its combo box what the
// user chose.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "ListRows.h"

#include "WinDrawing.h"
#include "WinInput.h"
#include "WinPaint.h"
#include "WinScrollBar.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace
{
constexpr int kItemPadding = 2;

struct ListItem
{
    std::string text;
    ULONG_PTR data = 0;
    bool bSelected = false; // in an extended-selection list
};

class ListBoxControl : public ListRows
{
public:
    explicit ListBoxControl(HWND hWnd) : ListRows(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    bool IsOwnerDraw() const
    {
        return (Style() & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    }
    bool HasStrings() const { return !IsOwnerDraw() || (Style() & LBS_HASSTRINGS); }
    bool IsExtended() const { return m_hCombo == nullptr && (Style() & LBS_EXTENDEDSEL) != 0; }
    bool IsSelected(int nIndex) const;
    int Count() const override { return static_cast<int>(m_items.size()); }
    bool IsValid(WPARAM nIndex) const { return nIndex < m_items.size(); }
    int VisibleCount() const override;
    // A combo box's parent gives the colours of the combo box's list.
    HWND ColorSource() const { return m_hCombo != nullptr ? m_hCombo : m_hWnd; }

    void OnCreate(const CREATESTRUCTA& cs);
    int Insert(int nIndex, LPARAM lParam);
    int Delete(WPARAM nIndex);
    int Find(WPARAM nStart, LPCSTR lpszText, bool bExact) const;
    void Select(int nIndex, bool bNotify);
    // The extended selection after a click or key on an item, as the
    // modifiers held (MK_CONTROL, MK_SHIFT) make it.
    void SelectExtended(int nIndex, WPARAM nKeys);
    int SetSelection(bool bSelected, int nIndex);
    int SelectedCount() const;
    int SelectedItems(int nMax, int* pItems) const;
    void UpdateScrollBar() override;
    int ItemFromPoint(POINT pt) const;
    RECT ItemRect(int nIndex) const;
    void Notify(WORD nCode);
    void OnKeyDown(WPARAM nKey);
    void OnChar(WPARAM ch);
    void OnMouse(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void DrawItem(HDC hdc, int nIndex, UINT nAction);

    HWND m_hCombo = nullptr; // the combo box whose list this is
    std::vector<ListItem> m_items;
    int m_nSelected = -1;      // in an extended-selection list, the item with the focus
    int m_nAnchor = -1;        // where a Shift range starts
    bool m_bScrollBar = false; // made with a vertical scroll bar
    int m_nItemHeight = 0;
    HFONT m_hFont = nullptr;
    bool m_bFocus = false;
    bool m_bTracking = false;
};

int ListBoxControl::VisibleCount() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return std::max(1, static_cast<int>(client.bottom / std::max(m_nItemHeight, 1)));
}

void ListBoxControl::OnCreate(const CREATESTRUCTA& cs)
{
    if (IsWindowOfClass(m_hWnd, "ComboLBox"))
        m_hCombo = static_cast<HWND>(cs.lpCreateParams);
    // The style loses WS_VSCROLL while the bar is hidden for want of rows.
    m_bScrollBar = (cs.style & WS_VSCROLL) != 0;
    m_nItemHeight = GetFontLineHeight(m_hFont) + kItemPadding;
    if (!IsOwnerDraw())
        return;
    // Fixed owner-drawn items are measured once, by the owner.
    const HWND hOwner = m_hCombo != nullptr ? GetParent(m_hCombo) : GetParent(m_hWnd);
    const HWND hControl = m_hCombo != nullptr ? m_hCombo : m_hWnd;
    MEASUREITEMSTRUCT mis{m_hCombo != nullptr ? UINT(ODT_COMBOBOX) : UINT(ODT_LISTBOX),
                          static_cast<UINT>(GetDlgCtrlID(hControl)),
                          0,
                          0,
                          static_cast<UINT>(m_nItemHeight),
                          0};
    if (hOwner != nullptr)
        SendMessageA(hOwner, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    m_nItemHeight = std::max<int>(1, static_cast<int>(mis.itemHeight));
}

int ListBoxControl::Insert(int nIndex, LPARAM lParam)
{
    ListItem item;
    if (HasStrings())
        item.text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
    else
        item.data = static_cast<ULONG_PTR>(lParam);
    if (nIndex < 0 || nIndex > Count())
    {
        nIndex = Count();
        if ((Style() & LBS_SORT) && HasStrings())
        {
            const auto it =
                std::upper_bound(m_items.begin(), m_items.end(), item,
                                 [](const ListItem& a, const ListItem& b)
                                 { return strcasecmp(a.text.c_str(), b.text.c_str()) < 0; });
            nIndex = static_cast<int>(it - m_items.begin());
        }
    }
    m_items.insert(m_items.begin() + nIndex, std::move(item));
    if (m_nSelected >= nIndex)
        ++m_nSelected;
    if (m_nAnchor >= nIndex)
        ++m_nAnchor;
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return nIndex;
}

int ListBoxControl::Delete(WPARAM nIndex)
{
    if (!IsValid(nIndex))
        return LB_ERR;
    const int nAt = static_cast<int>(nIndex);
    if (IsOwnerDraw())
    {
        const HWND hControl = m_hCombo != nullptr ? m_hCombo : m_hWnd;
        DELETEITEMSTRUCT dis{m_hCombo != nullptr ? UINT(ODT_COMBOBOX) : UINT(ODT_LISTBOX),
                             static_cast<UINT>(GetDlgCtrlID(hControl)), static_cast<UINT>(nAt),
                             hControl, m_items[nIndex].data};
        if (const HWND hOwner = GetParent(hControl))
            SendMessageA(hOwner, WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }
    m_items.erase(m_items.begin() + nAt);
    if (m_nSelected == nAt)
        m_nSelected = -1;
    else if (m_nSelected > nAt)
        --m_nSelected;
    if (m_nAnchor >= nAt)
        --m_nAnchor;
    m_nTop = std::clamp(m_nTop, 0, std::max(0, Count() - 1));
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return Count();
}

int ListBoxControl::Find(WPARAM nStart, LPCSTR lpszText, bool bExact) const
{
    if (lpszText == nullptr || m_items.empty())
        return LB_ERR;
    const std::size_t nLength = std::strlen(lpszText);
    const int nCount = Count();
    const int nFrom = static_cast<INT_PTR>(nStart) < 0 || !IsValid(nStart) ? -1 : int(nStart);
    for (int i = 1; i <= nCount; ++i)
    {
        const int nAt = (nFrom + i) % nCount;
        const std::string& text = m_items[static_cast<std::size_t>(nAt)].text;
        const bool bMatch = bExact ? strcasecmp(text.c_str(), lpszText) == 0
                                   : strncasecmp(text.c_str(), lpszText, nLength) == 0;
        if (bMatch)
            return nAt;
    }
    return LB_ERR;
}

void ListBoxControl::Notify(WORD nCode)
{
    if (m_hCombo != nullptr)
        return;
    if ((Style() & LBS_NOTIFY) || nCode == LBN_SETFOCUS || nCode == LBN_KILLFOCUS)
        NotifyParent(m_hWnd, nCode);
}

bool ListBoxControl::IsSelected(int nIndex) const
{
    if (nIndex < 0 || nIndex >= Count())
        return false;
    return IsExtended() ? m_items[static_cast<std::size_t>(nIndex)].bSelected
                        : nIndex == m_nSelected;
}

void ListBoxControl::SelectExtended(int nIndex, WPARAM nKeys)
{
    if (nIndex < 0 || nIndex >= Count())
        return;
    const bool bControl = (nKeys & MK_CONTROL) != 0;
    const bool bShift = (nKeys & MK_SHIFT) != 0 && m_nAnchor >= 0 && m_nAnchor < Count();
    if (bShift)
    {
        const int nFrom = std::min(m_nAnchor, nIndex);
        const int nTo = std::max(m_nAnchor, nIndex);
        for (int i = 0; i < Count(); ++i)
        {
            ListItem& item = m_items[static_cast<std::size_t>(i)];
            // Ctrl keeps what lies outside the range.
            item.bSelected = (i >= nFrom && i <= nTo) || (bControl && item.bSelected);
        }
    }
    else
    {
        const bool bWas = m_items[static_cast<std::size_t>(nIndex)].bSelected;
        if (!bControl)
            for (ListItem& item : m_items)
                item.bSelected = false;
        m_items[static_cast<std::size_t>(nIndex)].bSelected = !bControl || !bWas;
        m_nAnchor = nIndex;
    }
    m_nSelected = nIndex;
    EnsureVisible(nIndex);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    Notify(LBN_SELCHANGE);
}

// Selects or clears one item, or all with -1.
int ListBoxControl::SetSelection(bool bSelected, int nIndex)
{
    if (!IsExtended() || nIndex < -1 || nIndex >= Count())
        return LB_ERR;
    for (int i = 0; i < Count(); ++i)
        if (nIndex == -1 || i == nIndex)
            m_items[static_cast<std::size_t>(i)].bSelected = bSelected;
    if (nIndex >= 0)
        m_nAnchor = m_nSelected = nIndex;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return LB_OKAY;
}

int ListBoxControl::SelectedCount() const
{
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const ListItem& item) { return item.bSelected; }));
}

int ListBoxControl::SelectedItems(int nMax, int* pItems) const
{
    int nCount = 0;
    for (int i = 0; i < Count() && nCount < nMax; ++i)
        if (m_items[static_cast<std::size_t>(i)].bSelected)
            pItems[nCount++] = i;
    return nCount;
}

void ListBoxControl::Select(int nIndex, bool bNotify)
{
    if (IsExtended())
    {
        // One item alone, as a plain click leaves it, or none.
        if (bNotify && nIndex >= 0)
            SelectExtended(nIndex, 0);
        else if (nIndex >= -1 && nIndex < Count())
        {
            SetSelection(false, -1);
            SetSelection(true, nIndex);
            m_nSelected = nIndex;
        }
        return;
    }
    if (nIndex < -1 || nIndex >= Count() || nIndex == m_nSelected)
        return;
    const int nOld = m_nSelected;
    m_nSelected = nIndex;
    EnsureVisible(nIndex);
    HDC hdc = GetDC(m_hWnd);
    DrawItem(hdc, nOld, ODA_SELECT);
    DrawItem(hdc, nIndex, ODA_SELECT);
    ReleaseDC(m_hWnd, hdc);
    if (bNotify)
    {
        Notify(LBN_SELCHANGE);
        if (m_hCombo != nullptr)
            OnComboListSelection(m_hCombo, nIndex, false);
    }
}

void ListBoxControl::UpdateScrollBar()
{
    if (!m_bScrollBar && m_hCombo == nullptr)
        return;
    SCROLLINFO info{sizeof(SCROLLINFO),
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, Count() - 1),
                    static_cast<UINT>(VisibleCount()),
                    m_nTop,
                    0};
    if (Style() & LBS_DISABLENOSCROLL)
        info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

RECT ListBoxControl::ItemRect(int nIndex) const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int nTop = (nIndex - m_nTop) * m_nItemHeight;
    return RECT{0, nTop, client.right, nTop + m_nItemHeight};
}

int ListBoxControl::ItemFromPoint(POINT pt) const
{
    if (pt.y < 0)
        return -1;
    const int nIndex = m_nTop + static_cast<int>(pt.y / std::max(m_nItemHeight, 1));
    return nIndex < Count() ? nIndex : -1;
}

void ListBoxControl::OnKeyDown(WPARAM nKey)
{
    if (nKey == VK_RETURN)
    {
        if (m_hCombo != nullptr)
            OnComboListSelection(m_hCombo, m_nSelected, true);
        return;
    }
    const int nTarget = RowAfterKey(nKey, m_nSelected);
    if (nTarget < 0)
        return;
    if (IsExtended())
        SelectExtended(nTarget, GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0);
    else
        Select(nTarget, true);
}

void ListBoxControl::OnChar(WPARAM ch)
{
    if (ch < ' ')
        return;
    const char text[2] = {static_cast<char>(ch), '\0'};
    const int nFound = Find(static_cast<WPARAM>(m_nSelected), text, false);
    if (nFound != LB_ERR)
        Select(nFound, true);
}

void ListBoxControl::OnMouse(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const bool bInside = PtInRect(&client, pt) != FALSE;
    switch (nMsg)
    {
    case WM_LBUTTONDOWN:
        if (m_hCombo == nullptr)
            SetFocus(m_hWnd);
        else if (!bInside)
        {
            // The dropped list of a combo box: a press elsewhere cancels.
            OnComboListDismissed(m_hCombo);
            return;
        }
        m_bTracking = true;
        if (m_hCombo == nullptr)
            SetCapture(m_hWnd);
        if (const int nIndex = ItemFromPoint(pt); nIndex >= 0 && IsExtended())
            SelectExtended(nIndex, wParam);
        else if (nIndex >= 0)
            Select(nIndex, m_hCombo == nullptr);
        return;
    case WM_MOUSEMOVE:
        // The dropped list follows the pointer; a plain list while pressed.
        if ((m_bTracking || m_hCombo != nullptr) && bInside)
        {
            // Dragging an extended selection stretches it from the anchor.
            if (const int nIndex = ItemFromPoint(pt); nIndex >= 0 && IsExtended())
            {
                if (nIndex != m_nSelected)
                    SelectExtended(nIndex, (wParam & MK_CONTROL) | MK_SHIFT);
            }
            else if (nIndex >= 0)
                Select(nIndex, m_hCombo == nullptr);
        }
        return;
    case WM_LBUTTONUP:
        if (m_hCombo != nullptr && bInside && ItemFromPoint(pt) >= 0)
            OnComboListSelection(m_hCombo, ItemFromPoint(pt), true);
        else if (m_bTracking && GetCapture() == m_hWnd && m_hCombo == nullptr)
            ReleaseCapture();
        m_bTracking = false;
        return;
    case WM_LBUTTONDBLCLK:
        if (bInside && ItemFromPoint(pt) >= 0)
        {
            Select(ItemFromPoint(pt), true);
            Notify(LBN_DBLCLK);
        }
        return;
    default:
        return;
    }
}

void ListBoxControl::DrawItem(HDC hdc, int nIndex, UINT nAction)
{
    if (nIndex < 0 || nIndex >= Count())
        return;
    const RECT rect = ItemRect(nIndex);
    const bool bSelected = IsSelected(nIndex);
    const bool bFocus = m_bFocus && nIndex == m_nSelected;
    const ListItem& item = m_items[static_cast<std::size_t>(nIndex)];
    if (IsOwnerDraw())
    {
        const HWND hControl = m_hCombo != nullptr ? m_hCombo : m_hWnd;
        UINT nState = bSelected ? ODS_SELECTED : 0;
        if (bFocus)
            nState |= ODS_FOCUS;
        if (!IsWindowEnabled(hControl))
            nState |= ODS_DISABLED;
        DRAWITEMSTRUCT dis{m_hCombo != nullptr ? UINT(ODT_COMBOBOX) : UINT(ODT_LISTBOX),
                           static_cast<UINT>(GetDlgCtrlID(hControl)),
                           static_cast<UINT>(nIndex),
                           nAction,
                           nState,
                           hControl,
                           hdc,
                           rect,
                           item.data};
        if (const HWND hOwner = GetParent(hControl))
            SendMessageA(hOwner, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    if (bSelected)
        FillRect(hdc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    else
        FillRect(hdc, &rect, GetControlBrush(ColorSource(), hdc, WM_CTLCOLORLISTBOX));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(!IsWindowEnabled(m_hWnd) ? COLOR_GRAYTEXT
                                  : bSelected              ? COLOR_HIGHLIGHTTEXT
                                                           : COLOR_WINDOWTEXT));
    RECT rcText = rect;
    rcText.left += 2;
    DrawTextA(hdc, item.text.c_str(), -1, &rcText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(hdc, hOldFont);
    if (bFocus && m_hCombo == nullptr)
        DrawFocusRect(hdc, &rect);
}

void ListBoxControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillRect(hdc, &client, GetControlBrush(ColorSource(), hdc, WM_CTLCOLORLISTBOX));
    for (int i = m_nTop; i < EndOfPaintedRows(); ++i)
        DrawItem(hdc, i, ODA_DRAWENTIRE);
}

LRESULT ListBoxControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_CREATE:
        if (lParam != 0)
            OnCreate(*reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case WM_SIZE:
        UpdateScrollBar();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_bFocus = nMsg == WM_SETFOCUS;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        Notify(m_bFocus ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        OnChar(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        OnMouse(nMsg, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        m_bTracking = false;
        if (m_hCombo != nullptr && reinterpret_cast<HWND>(lParam) != m_hWnd)
            OnComboListDismissed(m_hCombo);
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam);
        return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (!IsOwnerDraw())
            m_nItemHeight = GetFontLineHeight(m_hFont) + kItemPadding;
        UpdateScrollBar();
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case LB_ADDSTRING:
        return Insert(-1, lParam);
    case LB_INSERTSTRING:
        return Insert(static_cast<INT_PTR>(wParam) < 0 ? Count() : static_cast<int>(wParam),
                      lParam);
    case LB_DELETESTRING:
        return Delete(wParam);
    case LB_RESETCONTENT:
        while (!m_items.empty())
            Delete(m_items.size() - 1);
        m_nTop = 0;
        return 0;
    case LB_GETCOUNT:
        return Count();
    case LB_GETTEXT:
        if (!IsValid(wParam) || lParam == 0)
            return LB_ERR;
        if (!HasStrings())
        {
            std::memcpy(reinterpret_cast<void*>(lParam), &m_items[wParam].data, sizeof(ULONG_PTR));
            return sizeof(ULONG_PTR);
        }
        std::memcpy(reinterpret_cast<char*>(lParam), m_items[wParam].text.c_str(),
                    m_items[wParam].text.size() + 1);
        return static_cast<LRESULT>(m_items[wParam].text.size());
    case LB_GETTEXTLEN:
        return IsValid(wParam) ? static_cast<LRESULT>(HasStrings() ? m_items[wParam].text.size()
                                                                   : sizeof(ULONG_PTR))
                               : LB_ERR;
    case LB_GETITEMDATA:
        return IsValid(wParam) ? static_cast<LRESULT>(m_items[wParam].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!IsValid(wParam))
            return LB_ERR;
        m_items[wParam].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_GETCURSEL:
        return m_nSelected;
    case LB_SETCURSEL:
        if (static_cast<INT_PTR>(wParam) >= 0 && !IsValid(wParam))
            return LB_ERR;
        Select(static_cast<INT_PTR>(wParam) < 0 ? -1 : static_cast<int>(wParam), false);
        return m_nSelected < 0 ? LB_ERR : m_nSelected;
    case LB_GETSEL:
        return IsValid(wParam) ? IsSelected(static_cast<int>(wParam)) : LB_ERR;
    case LB_SETSEL:
        return SetSelection(wParam != 0, static_cast<int>(static_cast<INT_PTR>(lParam)));
    case LB_GETSELCOUNT:
        return IsExtended() ? SelectedCount() : LB_ERR;
    case LB_GETSELITEMS:
        if (!IsExtended() || lParam == 0)
            return LB_ERR;
        return SelectedItems(static_cast<int>(wParam), reinterpret_cast<int*>(lParam));
    case LB_SELECTSTRING:
    {
        const int nFound = Find(wParam, reinterpret_cast<LPCSTR>(lParam), false);
        if (nFound != LB_ERR)
            Select(nFound, false);
        return nFound;
    }
    case LB_FINDSTRING:
        return Find(wParam, reinterpret_cast<LPCSTR>(lParam), false);
    case LB_FINDSTRINGEXACT:
        return Find(wParam, reinterpret_cast<LPCSTR>(lParam), true);
    case LB_GETTOPINDEX:
        return m_nTop;
    case LB_SETTOPINDEX:
        if (!IsValid(wParam))
            return LB_ERR;
        // The list stays full: the last page ends with the last item.
        m_nTop = std::min(static_cast<int>(wParam), std::max(0, Count() - VisibleCount()));
        UpdateScrollBar();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case LB_GETITEMRECT:
        if (!IsValid(wParam) || lParam == 0)
            return LB_ERR;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(static_cast<int>(wParam));
        return 1;
    case LB_GETITEMHEIGHT:
        return m_nItemHeight;
    case LB_SETITEMHEIGHT:
        m_nItemHeight = std::max(1, static_cast<int>(LOWORD(lParam)));
        UpdateScrollBar();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case LB_ITEMFROMPOINT:
    {
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int nIndex = ItemFromPoint(pt);
        return nIndex >= 0 ? MAKELRESULT(nIndex, 0) : MAKELRESULT(std::max(0, Count() - 1), 1);
    }
    case LB_SETHORIZONTALEXTENT:
        return 0;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ListBoxWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ListBoxControl>(hWnd, nMsg, wParam, lParam);
}
