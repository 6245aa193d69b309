// The "SysTabControl32" control: tabs laid out along one side of the
// control (top, bottom, or with TCS_VERTICAL left or right), the display
// area framed beside them, the selection changed by clicks and arrow keys,
// and the tip control of TCS_TOOLTIPS.
//
// Decisions where the documented behaviour is silent:
// - Rows of TCS_MULTILINE keep their order (the first row farthest from the
//   display area). A single line that does not fit gets a pair of arrows at
//   its end that scroll it by a tab; a tab selected out of sight scrolls in.
// - Deleting the selected tab leaves no tab selected (-1); the first tab
//   inserted into an empty control is selected.
// - Vertical tabs draw their text along the tab when the font turns by 90
//   or 270 degrees, as callers give them; any other font draws it across.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "ControlTips.h"

#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinInput.h"
#include "WinSysMetrics.h"
#include "WinTabControl.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr int kPadX = 6;
constexpr int kPadY = 3;
constexpr int kLift = 2;       // how far the selected tab stands out
constexpr int kFrameInset = 4; // from the display area's frame to its inside
constexpr int kDefaultFixedWidth = 96;
constexpr int kIconGap = 3;

struct Tab
{
    std::string text;
    int iImage = -1;
    LPARAM lParam = 0;
    DWORD dwState = 0;
    RECT strip{}; // along the strip: x along it, y from the control's tab edge
};

class TabControl
{
public:
    explicit TabControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    bool IsVertical() const { return (Style() & TCS_VERTICAL) != 0; }
    bool IsFarSide() const { return (Style() & TCS_BOTTOM) != 0; }
    int Count() const { return static_cast<int>(m_tabs.size()); }
    bool IsIndex(WPARAM nIndex) const { return nIndex < m_tabs.size(); }
    SIZE ClientSize() const;
    // The length of the strip and the depth across it.
    int StripLength() const;
    int RowHeight() const;
    int StripDepth() const { return kLift + m_nRows * RowHeight(); }
    SIZE IconSize() const;
    // A rectangle of the strip's frame in client coordinates.
    RECT ToClient(const RECT& rcStrip) const;
    // A tab a scrolled line has moved out before its start.
    bool IsScrolledOut(int nIndex) const
    {
        return m_tabs[static_cast<size_t>(nIndex)].strip.right <= kLift;
    }
    RECT TabRect(int nIndex) const { return ToClient(m_tabs[static_cast<size_t>(nIndex)].strip); }
    RECT DrawnTabRect(int nIndex) const;
    RECT DisplayFrame() const;
    void Layout();
    // The pair of arrows of a line that does not fit, in client coordinates;
    // empty without them.
    RECT ArrowsRect() const;
    // Scrolls the line so that it starts at the tab.
    void ScrollTo(int nFirst);
    void ScrollIntoView(int nIndex);
    void AdjustRect(bool bLarger, RECT* pRect) const;

    LRESULT Notify(UINT nCode) const;
    // The selection moved by the user: asked, made, told. False when refused.
    bool SelectByUser(int nIndex);
    int HitTest(TCHITTESTINFO* pInfo) const;
    LRESULT InsertItem(WPARAM nIndex, const TCITEMA* pItem);
    BOOL SetItem(WPARAM nIndex, const TCITEMA* pItem);
    BOOL GetItem(WPARAM nIndex, TCITEMA* pItem) const;
    BOOL DeleteItem(WPARAM nIndex);
    void SyncTips();

    void OnButtonDown(POINT pt);
    void OnKeyDown(WPARAM nKey);
    void DrawTab(HDC hdc, int nIndex);
    void DrawLabel(HDC hdc, int nIndex, const RECT& rcTab);

    HWND m_hWnd;
    std::vector<Tab> m_tabs;
    int m_nSelected = -1;
    int m_nRows = 1;
    int m_nFirstShown = 0; // the first tab of a scrolled line
    bool m_bArrows = false;
    HFONT m_hFont = nullptr;
    HIMAGELIST m_hImages = nullptr;
    HWND m_hTip = nullptr;
    bool m_bOwnTip = false;
    SIZE m_fixed{kDefaultFixedWidth, 0};
    SIZE m_padding{kPadX, kPadY};
    int m_nMinWidth = 0;
    bool m_bFocus = false;
};

SIZE TabControl::ClientSize() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return SIZE{client.right, client.bottom};
}

int TabControl::StripLength() const
{
    const SIZE size = ClientSize();
    return IsVertical() ? size.cy : size.cx;
}

SIZE TabControl::IconSize() const
{
    int cx = 0;
    int cy = 0;
    if (m_hImages == nullptr || !ImageList_GetIconSize(m_hImages, &cx, &cy))
        return SIZE{0, 0};
    return SIZE{cx, cy};
}

int TabControl::RowHeight() const
{
    if (m_fixed.cy > 0)
        return m_fixed.cy;
    return std::max(GetFontLineHeight(m_hFont), static_cast<int>(IconSize().cy)) + 2 * m_padding.cy;
}

RECT TabControl::ToClient(const RECT& rc) const
{
    const SIZE size = ClientSize();
    if (!IsVertical())
        return IsFarSide() ? RECT{rc.left, size.cy - rc.bottom, rc.right, size.cy - rc.top} : rc;
    return IsFarSide() ? RECT{size.cx - rc.bottom, rc.left, size.cx - rc.top, rc.right}
                       : RECT{rc.top, rc.left, rc.bottom, rc.right};
}

RECT TabControl::DrawnTabRect(int nIndex) const
{
    RECT rc = m_tabs[static_cast<size_t>(nIndex)].strip;
    if (nIndex == m_nSelected && !(Style() & TCS_BUTTONS))
    {
        // The selected tab stands out and joins the display area.
        rc.left -= kLift;
        rc.right += kLift;
        rc.top -= kLift;
        rc.bottom += 1;
    }
    return ToClient(rc);
}

RECT TabControl::DisplayFrame() const
{
    const SIZE size = ClientSize();
    const int nDepth = IsVertical() ? size.cx : size.cy;
    return ToClient(RECT{0, StripDepth(), StripLength(), nDepth});
}

void TabControl::Layout()
{
    const DWORD dwStyle = Style();
    const SIZE icon = IconSize();
    const int nLength = StripLength();
    const int nHeight = RowHeight();
    ControlDC dc(m_hWnd, m_hFont);
    int x = kLift;
    int nRow = 0;
    for (Tab& tab : m_tabs)
    {
        int cx = m_fixed.cx;
        if (!(dwStyle & TCS_FIXEDWIDTH))
        {
            SIZE text{};
            GetTextExtentPoint32A(dc, tab.text.c_str(), static_cast<int>(tab.text.size()), &text);
            const int cxIcon = tab.iImage >= 0 && icon.cx > 0 ? icon.cx + kIconGap : 0;
            cx = std::max(static_cast<int>(text.cx) + cxIcon + 2 * m_padding.cx, m_nMinWidth);
        }
        if ((dwStyle & TCS_MULTILINE) && x > kLift && x + cx > nLength - kLift)
        {
            ++nRow;
            x = kLift;
        }
        tab.strip = RECT{x, nRow, x + cx, nRow};
        x += cx;
    }
    m_nRows = nRow + 1;
    m_bArrows = !(dwStyle & TCS_MULTILINE) && x > nLength - kLift && Count() > 1;
    m_nFirstShown = m_bArrows ? std::clamp(m_nFirstShown, 0, Count() - 1) : 0;
    const int nShift =
        m_bArrows ? m_tabs[static_cast<size_t>(m_nFirstShown)].strip.left - kLift : 0;
    for (Tab& tab : m_tabs)
    {
        const int nAt = static_cast<int>(tab.strip.top);
        tab.strip.top = kLift + nAt * nHeight;
        tab.strip.bottom = tab.strip.top + nHeight;
        OffsetRect(&tab.strip, -nShift, 0);
    }
    SyncTips();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

RECT TabControl::ArrowsRect() const
{
    if (!m_bArrows)
        return RECT{};
    const int nLength = StripLength();
    const int cx = GetSystemMetrics(SM_CXHSCROLL);
    const int nBottom = kLift + RowHeight();
    return ToClient(
        RECT{nLength - 2 * cx, nBottom - std::min(nBottom - kLift, cx), nLength, nBottom});
}

void TabControl::ScrollTo(int nFirst)
{
    if (!m_bArrows || nFirst < 0 || nFirst >= Count() || nFirst == m_nFirstShown)
        return;
    m_nFirstShown = nFirst;
    Layout();
}

void TabControl::ScrollIntoView(int nIndex)
{
    if (!m_bArrows || nIndex < 0 || nIndex >= Count())
        return;
    if (nIndex < m_nFirstShown)
    {
        ScrollTo(nIndex);
        return;
    }
    // Further along until the tab ends before the arrows.
    const int nEnd = StripLength() - 2 * GetSystemMetrics(SM_CXHSCROLL);
    while (m_nFirstShown < nIndex && m_tabs[static_cast<size_t>(nIndex)].strip.right > nEnd)
        ScrollTo(m_nFirstShown + 1);
}

void TabControl::AdjustRect(bool bLarger, RECT* pRect) const
{
    if (pRect == nullptr)
        return;
    const int nStrip = StripDepth();
    const int nSign = bLarger ? -1 : 1;
    InflateRect(pRect, -nSign * kFrameInset, -nSign * kFrameInset);
    LONG* pEdge = !IsVertical() ? (IsFarSide() ? &pRect->bottom : &pRect->top)
                                : (IsFarSide() ? &pRect->right : &pRect->left);
    const bool bEdgeGrowsDown = pEdge == &pRect->top || pEdge == &pRect->left;
    *pEdge += (bEdgeGrowsDown ? nSign : -nSign) * nStrip;
}

LRESULT TabControl::Notify(UINT nCode) const
{
    NMHDR hdr{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd)), nCode};
    const HWND hParent = GetParent(m_hWnd);
    return hParent == nullptr
               ? 0
               : SendMessageA(hParent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

bool TabControl::SelectByUser(int nIndex)
{
    if (nIndex < 0 || nIndex >= Count() || nIndex == m_nSelected)
        return false;
    if (Notify(TCN_SELCHANGING) != 0)
        return false;
    if (nIndex >= Count())
        return false;
    m_nSelected = nIndex;
    ScrollIntoView(nIndex);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    Notify(TCN_SELCHANGE);
    return true;
}

int TabControl::HitTest(TCHITTESTINFO* pInfo) const
{
    if (pInfo == nullptr)
        return -1;
    pInfo->flags = TCHT_NOWHERE;
    const RECT arrows = ArrowsRect();
    if (PtInRect(&arrows, pInfo->pt))
        return -1;
    // The selected tab lies over its neighbours.
    std::vector<int> order;
    if (m_nSelected >= 0)
        order.push_back(m_nSelected);
    for (int i = 0; i < Count(); ++i)
        if (i != m_nSelected)
            order.push_back(i);
    const SIZE icon = IconSize();
    for (const int i : order)
    {
        if (IsScrolledOut(i))
            continue;
        const RECT rc = DrawnTabRect(i);
        if (!PtInRect(&rc, pInfo->pt))
            continue;
        const Tab& tab = m_tabs[static_cast<size_t>(i)];
        const RECT& strip = tab.strip;
        const RECT rcIcon = ToClient(RECT{strip.left + m_padding.cx, strip.top,
                                          strip.left + m_padding.cx + icon.cx, strip.bottom});
        const bool bOnIcon = tab.iImage >= 0 && icon.cx > 0 && PtInRect(&rcIcon, pInfo->pt);
        pInfo->flags = bOnIcon ? TCHT_ONITEMICON : TCHT_ONITEMLABEL;
        return i;
    }
    return -1;
}

LRESULT TabControl::InsertItem(WPARAM nIndex, const TCITEMA* pItem)
{
    if (pItem == nullptr)
        return -1;
    const auto nAt = static_cast<int>(std::min<WPARAM>(nIndex, m_tabs.size()));
    m_tabs.insert(m_tabs.begin() + nAt, Tab{});
    SetItem(static_cast<WPARAM>(nAt), pItem);
    if (m_nSelected < 0 && Count() == 1)
        m_nSelected = 0;
    else if (m_nSelected >= nAt)
        ++m_nSelected;
    Layout();
    return nAt;
}

BOOL TabControl::SetItem(WPARAM nIndex, const TCITEMA* pItem)
{
    if (pItem == nullptr || !IsIndex(nIndex))
        return FALSE;
    Tab& tab = m_tabs[nIndex];
    if (pItem->mask & TCIF_TEXT)
        tab.text = pItem->pszText != nullptr ? pItem->pszText : "";
    if (pItem->mask & TCIF_IMAGE)
        tab.iImage = pItem->iImage;
    if (pItem->mask & TCIF_PARAM)
        tab.lParam = pItem->lParam;
    if (pItem->mask & TCIF_STATE)
        tab.dwState = (tab.dwState & ~pItem->dwStateMask) | (pItem->dwState & pItem->dwStateMask);
    Layout();
    return TRUE;
}

BOOL TabControl::GetItem(WPARAM nIndex, TCITEMA* pItem) const
{
    if (pItem == nullptr || !IsIndex(nIndex))
        return FALSE;
    const Tab& tab = m_tabs[nIndex];
    if ((pItem->mask & TCIF_TEXT) && pItem->pszText != nullptr)
        CopyTextTo(tab.text.c_str(), pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & TCIF_IMAGE)
        pItem->iImage = tab.iImage;
    if (pItem->mask & TCIF_PARAM)
        pItem->lParam = tab.lParam;
    if (pItem->mask & TCIF_STATE)
        pItem->dwState = tab.dwState & pItem->dwStateMask;
    return TRUE;
}

BOOL TabControl::DeleteItem(WPARAM nIndex)
{
    if (!IsIndex(nIndex))
        return FALSE;
    const auto nAt = static_cast<int>(nIndex);
    m_tabs.erase(m_tabs.begin() + nAt);
    if (m_nSelected == nAt)
        m_nSelected = -1;
    else if (m_nSelected > nAt)
        --m_nSelected;
    Layout();
    return TRUE;
}

void TabControl::SyncTips()
{
    std::vector<ControlTipTool> tools;
    for (int i = 0; i < Count(); ++i)
        tools.push_back({static_cast<UINT_PTR>(i), TabRect(i)});
    SyncControlTipTools(m_hTip, m_hWnd, tools);
}

void TabControl::OnButtonDown(POINT pt)
{
    if ((Style() & TCS_FOCUSONBUTTONDOWN) && !(Style() & TCS_FOCUSNEVER))
        SetFocus(m_hWnd);
    const RECT arrows = ArrowsRect();
    if (PtInRect(&arrows, pt))
    {
        // The arrow toward the line's start is the first of the pair.
        const bool bBack = IsVertical() ? pt.y < (arrows.top + arrows.bottom) / 2
                                        : pt.x < (arrows.left + arrows.right) / 2;
        const int nEnd = StripLength() - 2 * GetSystemMetrics(SM_CXHSCROLL);
        const bool bMore = m_tabs.back().strip.right > nEnd;
        ScrollTo(bBack ? m_nFirstShown - 1 : (bMore ? m_nFirstShown + 1 : m_nFirstShown));
        return;
    }
    TCHITTESTINFO hit{pt, 0};
    SelectByUser(HitTest(&hit));
}

void TabControl::OnKeyDown(WPARAM nKey)
{
    NMTCKEYDOWN key{};
    key.hdr = NMHDR{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd)), TCN_KEYDOWN};
    key.wVKey = static_cast<WORD>(nKey);
    if (const HWND hParent = GetParent(m_hWnd))
        SendMessageA(hParent, WM_NOTIFY, key.hdr.idFrom, reinterpret_cast<LPARAM>(&key));
    if (nKey == VK_LEFT || nKey == VK_UP)
        SelectByUser(m_nSelected - 1);
    else if (nKey == VK_RIGHT || nKey == VK_DOWN)
        SelectByUser(m_nSelected + 1);
}

void TabControl::DrawLabel(HDC hdc, int nIndex, const RECT& rcTab)
{
    const Tab& tab = m_tabs[static_cast<size_t>(nIndex)];
    const SIZE icon = IconSize();
    const RECT& strip = tab.strip;
    int nStart = strip.left + m_padding.cx;
    if (tab.iImage >= 0 && icon.cx > 0)
    {
        const int nMid = (strip.top + strip.bottom) / 2;
        const RECT rcIcon = ToClient(
            RECT{nStart, nMid - icon.cy / 2, nStart + icon.cx, nMid - icon.cy / 2 + icon.cy});
        ImageList_Draw(m_hImages, tab.iImage, hdc, rcIcon.left, rcIcon.top, ILD_TRANSPARENT);
        nStart += icon.cx + kIconGap;
    }
    RECT rcText = ToClient(RECT{nStart, strip.top, strip.right - m_padding.cx, strip.bottom});
    // The lifted tab carries its label with it.
    const RECT rcPlain = TabRect(nIndex);
    OffsetRect(&rcText, (rcTab.left + rcTab.right - rcPlain.left - rcPlain.right) / 2,
               (rcTab.top + rcTab.bottom - rcPlain.top - rcPlain.bottom) / 2);
    LOGFONTA font{};
    GetObjectA(ControlFontOrDefault(m_hFont), sizeof(font), &font);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    const int nLength = static_cast<int>(tab.text.size());
    SIZE text{};
    GetTextExtentPoint32A(hdc, tab.text.c_str(), nLength, &text);
    const int cxRoom = rcText.right - rcText.left;
    const int cyRoom = rcText.bottom - rcText.top;
    if (font.lfEscapement == 900)
        TextOutA(hdc, rcText.left + (cxRoom - text.cy) / 2, rcText.bottom - (cyRoom - text.cx) / 2,
                 tab.text.c_str(), nLength);
    else if (font.lfEscapement == 2700)
        TextOutA(hdc, rcText.right - (cxRoom - text.cy) / 2, rcText.top + (cyRoom - text.cx) / 2,
                 tab.text.c_str(), nLength);
    else
        DrawTextA(hdc, tab.text.c_str(), nLength, &rcText,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    if (m_bFocus && nIndex == m_nSelected)
    {
        RECT rcFocus = rcTab;
        InflateRect(&rcFocus, -3, -3);
        DrawFocusRect(hdc, &rcFocus);
    }
}

void TabControl::DrawTab(HDC hdc, int nIndex)
{
    if (IsScrolledOut(nIndex))
        return;
    const RECT rc = DrawnTabRect(nIndex);
    const bool bSelected = nIndex == m_nSelected;
    if (Style() & TCS_OWNERDRAWFIXED)
    {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_TAB;
        draw.CtlID = static_cast<UINT>(GetDlgCtrlID(m_hWnd));
        draw.itemID = static_cast<UINT>(nIndex);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = bSelected ? ODS_SELECTED : 0;
        draw.hwndItem = m_hWnd;
        draw.hDC = hdc;
        draw.rcItem = rc;
        draw.itemData = static_cast<ULONG_PTR>(m_tabs[static_cast<size_t>(nIndex)].lParam);
        SendMessageA(GetParent(m_hWnd), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        return;
    }
    RECT edge = rc;
    FillRect(hdc, &edge, GetSysColorBrush(COLOR_BTNFACE));
    if (Style() & TCS_BUTTONS)
        DrawEdge(hdc, &edge, bSelected ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    else
    {
        // Three sides: the one toward the display area stays open.
        const UINT nOpen =
            !IsVertical() ? (IsFarSide() ? BF_TOP : BF_BOTTOM) : (IsFarSide() ? BF_LEFT : BF_RIGHT);
        DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT & ~nOpen);
    }
    DrawLabel(hdc, nIndex, rc);
}

void TabControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!(Style() & TCS_BUTTONS))
    {
        RECT frame = DisplayFrame();
        DrawEdge(hdc, &frame, EDGE_RAISED, BF_RECT);
    }
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    SetBkMode(hdc, TRANSPARENT);
    const RECT arrows = ArrowsRect();
    const int nSaved = SaveDC(hdc);
    if (m_bArrows)
        ExcludeClipRect(hdc, arrows.left, arrows.top, arrows.right, arrows.bottom);
    for (int i = 0; i < Count(); ++i)
        if (i != m_nSelected)
            DrawTab(hdc, i);
    if (m_nSelected >= 0)
        DrawTab(hdc, m_nSelected);
    RestoreDC(hdc, nSaved);
    if (m_bArrows)
    {
        const int nMid =
            IsVertical() ? (arrows.top + arrows.bottom) / 2 : (arrows.left + arrows.right) / 2;
        RECT first = arrows;
        RECT second = arrows;
        (IsVertical() ? first.bottom : first.right) = nMid;
        (IsVertical() ? second.top : second.left) = nMid;
        const int nEnd = StripLength() - 2 * GetSystemMetrics(SM_CXHSCROLL);
        const UINT nBack = m_nFirstShown > 0 ? 0 : DFCS_INACTIVE;
        const UINT nOn = m_tabs.back().strip.right > nEnd ? 0 : DFCS_INACTIVE;
        DrawFrameControl(hdc, &first, DFC_SCROLL,
                         (IsVertical() ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | nBack);
        DrawFrameControl(hdc, &second, DFC_SCROLL,
                         (IsVertical() ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | nOn);
    }
    SelectObject(hdc, hOldFont);
}

LRESULT TabControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_MOUSEMOVE || nMsg == WM_LBUTTONDOWN || nMsg == WM_LBUTTONUP ||
        nMsg == WM_RBUTTONDOWN || nMsg == WM_RBUTTONUP)
        RelayToControlTip(m_hTip, m_hWnd, nMsg, wParam, lParam);
    switch (nMsg)
    {
    case TCM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(m_hImages);
    case TCM_SETIMAGELIST:
    {
        const HIMAGELIST hOld = m_hImages;
        m_hImages = reinterpret_cast<HIMAGELIST>(lParam);
        Layout();
        return reinterpret_cast<LRESULT>(hOld);
    }
    case TCM_GETITEMCOUNT:
        return Count();
    case TCM_GETITEMA:
        return GetItem(wParam, reinterpret_cast<TCITEMA*>(lParam));
    case TCM_SETITEMA:
        return SetItem(wParam, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_INSERTITEMA:
        return InsertItem(wParam, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_DELETEITEM:
        return DeleteItem(wParam);
    case TCM_DELETEALLITEMS:
        m_tabs.clear();
        m_nSelected = -1;
        Layout();
        return TRUE;
    case TCM_GETITEMRECT:
        if (!IsIndex(wParam) || lParam == 0)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = TabRect(static_cast<int>(wParam));
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return m_nSelected;
    case TCM_SETCURSEL:
    {
        if (!IsIndex(wParam))
            return -1;
        const int nOld = m_nSelected;
        m_nSelected = static_cast<int>(wParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return nOld;
    }
    case TCM_SETCURFOCUS:
        SelectByUser(static_cast<int>(wParam));
        return 0;
    case TCM_HITTEST:
        return HitTest(reinterpret_cast<TCHITTESTINFO*>(lParam));
    case TCM_ADJUSTRECT:
        AdjustRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
        return 0;
    case TCM_SETITEMSIZE:
    {
        const SIZE old{m_fixed.cx, RowHeight()};
        m_fixed = SIZE{LOWORD(lParam), HIWORD(lParam)};
        Layout();
        return MAKELONG(old.cx, old.cy);
    }
    case TCM_SETPADDING:
        m_padding = SIZE{LOWORD(lParam), HIWORD(lParam)};
        Layout();
        return 0;
    case TCM_SETMINTABWIDTH:
    {
        const int nOld = m_nMinWidth;
        m_nMinWidth = std::max(0, static_cast<int>(lParam));
        Layout();
        return nOld;
    }
    case TCM_GETROWCOUNT:
        return m_nRows;
    case TCM_GETTOOLTIPS:
        return reinterpret_cast<LRESULT>(m_hTip);
    case TCM_SETTOOLTIPS:
        if (m_bOwnTip && m_hTip != nullptr)
            DestroyWindow(m_hTip);
        m_hTip = reinterpret_cast<HWND>(wParam);
        m_bOwnTip = false;
        SyncTips();
        return 0;
    case WM_NOTIFY:
    {
        auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
        if (pHeader != nullptr && m_hTip != nullptr && pHeader->hwndFrom == m_hTip &&
            pHeader->code == TTN_GETDISPINFOA)
            return ForwardTipTextRequest(m_hWnd, *reinterpret_cast<NMTTDISPINFOA*>(lParam));
        return 0;
    }
    case WM_CREATE:
        if (Style() & TCS_TOOLTIPS)
        {
            m_hTip = CreateControlTip(m_hWnd);
            m_bOwnTip = true;
        }
        Layout();
        return 0;
    case WM_DESTROY:
        if (m_bOwnTip && m_hTip != nullptr && IsWindow(m_hTip))
            DestroyWindow(m_hTip);
        m_hTip = nullptr;
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        Notify(NM_CLICK);
        return 0;
    case WM_RBUTTONUP:
        if (Notify(NM_RCLICK) != 0)
            return 0;
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_bFocus = nMsg == WM_SETFOCUS;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
        Layout();
        return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        Layout();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT TabControlWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<TabControl>(hWnd, nMsg, wParam, lParam);
}
