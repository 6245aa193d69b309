#include "MenuLayout.h"

#include "WinFrameControls.h"
#include "WinMessageQueue.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
constexpr int kSeparatorHeight = 8;
constexpr int kTextGap = 16;    // between a caption and its accelerator text
constexpr int kBarPadding = 6;  // on each side of a bar caption
constexpr int kTextPadding = 4; // above and below a popup caption

struct Caption
{
    std::string label;
    std::string accelerator;
};

Caption SplitCaption(const std::string& text)
{
    const std::size_t tab = text.find('\t');
    if (tab == std::string::npos)
        return Caption{text, {}};
    return Caption{text.substr(0, tab), text.substr(tab + 1)};
}

class MeasureDC
{
public:
    MeasureDC() : m_hdc(CreateCompatibleDC(nullptr)), m_hOld(SelectObject(m_hdc, GetMenuFont())) {}
    ~MeasureDC()
    {
        SelectObject(m_hdc, m_hOld);
        DeleteDC(m_hdc);
    }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;

    SIZE Text(const std::string& text) const
    {
        RECT rect{0, 0, 0, 0};
        DrawTextA(m_hdc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_SINGLELINE | DT_CALCRECT);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
    int LineHeight() const
    {
        TEXTMETRICA metrics{};
        GetTextMetricsA(m_hdc, &metrics);
        return metrics.tmHeight;
    }

private:
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

int CheckColumn()
{
    return GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm{};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// Asks the owner for an owner-drawn item's size, once.
SIZE MeasureOwnerDrawn(MenuItem& item, HWND hOwner)
{
    if (!item.bMeasured)
    {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.wID, 0, 0, item.dwItemData};
        if (IsWindow(hOwner))
            SendMessageA(hOwner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        item.measured = SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
        item.bMeasured = true;
    }
    return item.measured;
}

// Width (without the check and arrow columns) and height of a popup item;
// the accelerator width separately so that a column lines them up.
struct ItemExtent
{
    int nLabel = 0;
    int nAccelerator = 0;
    int nHeight = 0;
    bool bOwnerDraw = false;
};

ItemExtent MeasurePopupItem(MenuItem& item, HWND hOwner, const MeasureDC& dc)
{
    ItemExtent extent;
    if (item.IsOwnerDraw())
    {
        const SIZE size = MeasureOwnerDrawn(item, hOwner);
        // The layer keeps room for a check mark beside what the owner draws.
        extent.nLabel = size.cx + GetSystemMetrics(SM_CXMENUCHECK) - 1;
        extent.nHeight = size.cy;
        extent.bOwnerDraw = true;
        return extent;
    }
    if (item.IsSeparator())
    {
        extent.nHeight = kSeparatorHeight;
        return extent;
    }
    const int nMinHeight =
        std::max(dc.LineHeight(), GetSystemMetrics(SM_CYMENUCHECK)) + 2 * kTextPadding;
    if (item.fType & MFT_BITMAP)
    {
        const SIZE size = BitmapSize(item.hbmpItem);
        extent.nLabel = size.cx;
        extent.nHeight = std::max<int>(size.cy, nMinHeight);
        return extent;
    }
    const Caption caption = SplitCaption(item.text);
    extent.nLabel = dc.Text(caption.label).cx;
    if (!caption.accelerator.empty())
        extent.nAccelerator = dc.Text(caption.accelerator).cx;
    extent.nHeight = nMinHeight;
    return extent;
}

COLORREF TextColour(const MenuItem& item, bool bSelected)
{
    if (item.IsGrayed())
        return GetSysColor(COLOR_GRAYTEXT);
    return GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

void DrawCaptionText(HDC hdc, const std::string& text, RECT rect, UINT nFormat,
                     const MenuItem& item, bool bSelected)
{
    SetBkMode(hdc, TRANSPARENT);
    if (item.IsGrayed() && !bSelected)
    {
        // Greyed text stands out of the menu face as an embossed shape.
        RECT rcLight = rect;
        OffsetRect(&rcLight, 1, 1);
        SetTextColor(hdc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rcLight, nFormat);
        SetTextColor(hdc, GetSysColor(COLOR_3DSHADOW));
    }
    else
    {
        SetTextColor(hdc, TextColour(item, bSelected));
    }
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rect, nFormat);
}

void DrawBitmapAt(HDC hdc, HBITMAP hBitmap, int x, int y)
{
    const SIZE size = BitmapSize(hBitmap);
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdc, x, y, size.cx, size.cy, hdcMem, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
}

void DrawCheckColumn(HDC hdc, const MenuItem& item, const RECT& rcItem, bool bSelected)
{
    const bool bChecked = (item.fState & MFS_CHECKED) != 0;
    const HBITMAP hImage = bChecked ? item.hbmpChecked : item.hbmpUnchecked;
    const int nBox = GetSystemMetrics(SM_CXMENUCHECK);
    const RECT rcBox{rcItem.left + 2, (rcItem.top + rcItem.bottom - nBox) / 2,
                     rcItem.left + 2 + nBox, (rcItem.top + rcItem.bottom + nBox) / 2};
    if (hImage != nullptr)
    {
        DrawBitmapAt(hdc, hImage, rcBox.left, rcBox.top);
        return;
    }
    if (!bChecked)
        return;
    const COLORREF colour = TextColour(item, bSelected);
    GdiDrawFrameGlyph(hdc, &rcBox, DFC_MENU,
                      (item.fType & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK, colour);
}

void DrawOwnerItem(HDC hdc, const MenuData& menu, const MenuItem& item, const RECT& rcItem,
                   bool bSelected, HWND hOwner, UINT nAction)
{
    UINT nState = bSelected ? ODS_SELECTED : 0;
    if (item.fState & MF_GRAYED)
        nState |= ODS_GRAYED;
    if (item.fState & MF_DISABLED)
        nState |= ODS_DISABLED;
    if (item.fState & MFS_CHECKED)
        nState |= ODS_CHECKED;
    SetTextColor(hdc, TextColour(item, bSelected));
    SetBkColor(hdc, GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));
    DRAWITEMSTRUCT dis{ODT_MENU, 0,      item.wID,
                       nAction,  nState, reinterpret_cast<HWND>(menu.hMenu),
                       hdc,      rcItem, item.dwItemData};
    if (IsWindow(hOwner))
        SendMessageA(hOwner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}
} // namespace

HFONT GetMenuFont()
{
    static HFONT hFont = []
    {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return CreateFontIndirectA(&metrics.lfMenuFont);
    }();
    return hFont;
}

HBRUSH GetMenuBackground(const MenuData& menu)
{
    return menu.hbrBack != nullptr ? menu.hbrBack : GetSysColorBrush(COLOR_MENU);
}

MenuPlacement LayoutPopupMenu(MenuData& menu, HWND hOwner)
{
    const MeasureDC dc;
    std::vector<ItemExtent> extents;
    for (MenuItem& item : menu.items)
        extents.push_back(MeasurePopupItem(item, hOwner, dc));
    const int nArrowColumn = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    MenuPlacement placement;
    placement.items.resize(menu.items.size());
    // Columns start at the first item and at every item that breaks.
    int nLeft = kMenuPopupBorder;
    int nBottom = kMenuPopupBorder;
    std::size_t nFirst = 0;
    while (nFirst < menu.items.size())
    {
        std::size_t nEnd = nFirst + 1;
        while (nEnd < menu.items.size() &&
               (menu.items[nEnd].fType & (MFT_MENUBREAK | MFT_MENUBARBREAK)) == 0)
            ++nEnd;
        int nLabel = 0;
        int nAccelerator = 0;
        int nOwnerWidth = 0;
        for (std::size_t i = nFirst; i < nEnd; ++i)
        {
            if (extents[i].bOwnerDraw)
                nOwnerWidth = std::max(nOwnerWidth, extents[i].nLabel);
            nLabel = std::max(nLabel, extents[i].nLabel);
            nAccelerator = std::max(nAccelerator, extents[i].nAccelerator);
        }
        int nWidth = CheckColumn() + nLabel + (nAccelerator > 0 ? kTextGap + nAccelerator : 0) +
                     nArrowColumn;
        nWidth = std::max(nWidth, nOwnerWidth);
        int nTop = kMenuPopupBorder;
        for (std::size_t i = nFirst; i < nEnd; ++i)
        {
            placement.items[i] = RECT{nLeft, nTop, nLeft + nWidth, nTop + extents[i].nHeight};
            nTop += extents[i].nHeight;
        }
        nBottom = std::max(nBottom, nTop);
        nLeft += nWidth;
        nFirst = nEnd;
    }
    placement.size = SIZE{std::max(nLeft, 2 * kMenuPopupBorder + 1) + kMenuPopupBorder,
                          nBottom + kMenuPopupBorder};
    return placement;
}

MenuPlacement LayoutMenuBar(MenuData& menu, HWND hOwner, int left, int top, int nWidth)
{
    const MeasureDC dc;
    const int nRowHeight = GetSystemMetrics(SM_CYMENU);
    MenuPlacement placement;
    int x = left;
    int y = top;
    for (MenuItem& item : menu.items)
    {
        int nItemWidth = 0;
        if (item.IsOwnerDraw())
            nItemWidth = MeasureOwnerDrawn(item, hOwner).cx;
        else if (item.fType & MFT_BITMAP)
            nItemWidth = BitmapSize(item.hbmpItem).cx + 2 * kBarPadding;
        else if (!item.IsSeparator())
            nItemWidth = dc.Text(SplitCaption(item.text).label).cx + 2 * kBarPadding;
        // A new row when the item breaks or does not fit (a row holds one
        // item at least).
        const bool bBreak = (item.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0;
        if (x > left && (bBreak || x + nItemWidth > left + nWidth))
        {
            x = left;
            y += nRowHeight;
        }
        placement.items.push_back(RECT{x, y, x + nItemWidth, y + nRowHeight});
        x += nItemWidth;
    }
    placement.size = SIZE{nWidth, y + nRowHeight - top + 1};
    return placement;
}

void DrawMenuItem(HDC hdc, const MenuData& menu, std::size_t nIndex, const RECT& rcItem,
                  bool bSelected, bool bBar, HWND hOwner, UINT nAction)
{
    const MenuItem& item = menu.items[nIndex];
    HGDIOBJ hOldFont = SelectObject(hdc, GetMenuFont());
    if (item.IsOwnerDraw())
    {
        DrawOwnerItem(hdc, menu, item, rcItem, bSelected, hOwner, nAction);
        SelectObject(hdc, hOldFont);
        return;
    }
    const bool bHighlight = bSelected && !item.IsSeparator();
    if (bHighlight)
        FillRect(hdc, &rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    else
        FillRect(hdc, &rcItem, GetMenuBackground(menu));
    if (item.IsSeparator())
    {
        if (!bBar)
        {
            const int y = (rcItem.top + rcItem.bottom) / 2 - 1;
            RECT line{rcItem.left + 1, y, rcItem.right - 1, y + 2};
            DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
        }
        SelectObject(hdc, hOldFont);
        return;
    }
    RECT rcText = rcItem;
    if (!bBar)
    {
        DrawCheckColumn(hdc, item, rcItem, bHighlight);
        rcText.left += CheckColumn();
        rcText.right -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
    }
    if (item.fType & MFT_BITMAP)
    {
        const SIZE size = BitmapSize(item.hbmpItem);
        DrawBitmapAt(hdc, item.hbmpItem, bBar ? rcItem.left + kBarPadding : rcText.left,
                     (rcItem.top + rcItem.bottom - size.cy) / 2);
    }
    else
    {
        const Caption caption = SplitCaption(item.text);
        const UINT nFormat = DT_SINGLELINE | DT_VCENTER | (bBar ? DT_CENTER : DT_LEFT);
        DrawCaptionText(hdc, caption.label, rcText, nFormat, item, bHighlight);
        if (!caption.accelerator.empty() && !bBar)
            DrawCaptionText(hdc, caption.accelerator, rcText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT,
                            item, bHighlight);
    }
    if (item.hSubMenu != nullptr && !bBar)
    {
        const int nArrow = GetSystemMetrics(SM_CXMENUCHECK);
        const RECT rcArrow{rcItem.right - nArrow - 2, rcItem.top, rcItem.right - 2, rcItem.bottom};
        GdiDrawFrameGlyph(hdc, &rcArrow, DFC_MENU, DFCS_MENUARROW, TextColour(item, bHighlight));
    }
    SelectObject(hdc, hOldFont);
}

void DrawPopupMenu(HDC hdc, const MenuData& menu, const MenuPlacement& placement, int nSelected,
                   HWND hOwner)
{
    RECT rect{0, 0, placement.size.cx, placement.size.cy};
    FillRect(hdc, &rect, GetMenuBackground(menu));
    DrawEdge(hdc, &rect, EDGE_RAISED, BF_RECT);
    for (std::size_t i = 0; i < menu.items.size() && i < placement.items.size(); ++i)
        DrawMenuItem(hdc, menu, i, placement.items[i], static_cast<int>(i) == nSelected, false,
                     hOwner, ODA_DRAWENTIRE);
}
