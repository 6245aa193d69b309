#include "CXPMenuCH.h"

#include "AfxResource.h"
#include "WinFrameControls.h"

#include <cstring>

IMPLEMENT_DYNCREATE(CXPMenuCH, CMenu)
IMPLEMENT_DYNCREATE(CMenuCH, CXPMenuCH)

namespace
{

// Room beside the label in the measured width.
constexpr int LabelMargin = 32;
// The label's offset in its rectangle.
constexpr int LabelOffsetX = 6;
constexpr int LabelOffsetY = 2;
constexpr int SeparatorHeight = 10;
constexpr int ItemPadding = 10;
// The tick of a checked item: seven strokes of three pixels from this
// corner of the item, going down and then up.
constexpr int TickLeft = 7;
constexpr int TickTop = 7;
constexpr int TickStroke = 3;
constexpr int TickDrops[7] = {2, 3, 4, 3, 2, 1, 0};

bool IsGrayed(UINT state)
{
    return (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
}

void FrameAndFill(CDC* pDC, const CRect& rect, COLORREF fill)
{
    pDC->FillSolidRect(&rect, fill);
    CBrush frame(CXPMenuCH::FrameColor);
    pDC->FrameRect(&rect, &frame);
}

} // namespace

CXPMenuCH::~CXPMenuCH()
{
    FreeRecords();
}

void CXPMenuCH::FreeRecords()
{
    for (POSITION pos = m_Records.GetHeadPosition(); pos != nullptr;)
    {
        auto* record = static_cast<MenuItemRecord*>(m_Records.GetNext(pos));
        delete[] record->accelerator;
        delete record->bitmap;
        delete record;
    }
    m_Records.RemoveAll();
}

MenuItemRecord* CXPMenuCH::NewRecord(const char* text, bool split)
{
    auto* record = new MenuItemRecord;
    const char* label = text != nullptr ? text : "";
    const char* tab = split ? std::strchr(label, '\t') : nullptr;
    if (tab != nullptr)
    {
        record->text = CString(label, static_cast<int>(tab - label));
        record->accelerator = new char[std::strlen(tab + 1) + 1];
        std::strcpy(record->accelerator, tab + 1);
    }
    else
    {
        record->text = label;
    }
    m_Records.AddTail(record);
    return record;
}

BOOL CXPMenuCH::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    MenuItemRecord* record = NewRecord(text, false);
    return CMenu::AppendMenu(flags | MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(record));
}

void CXPMenuCH::CopyStyleTo(CXPMenuCH* other) const
{
    if (other == nullptr)
    {
        return;
    }
    other->m_Colors = m_Colors;
    other->m_pFont = m_pFont;
}

CSize CXPMenuCH::MeasureLabel(const MenuItemRecord* record, int* fontHeight) const
{
    CClientDC dc(nullptr);
    CFont* previous = m_pFont != nullptr ? dc.SelectObject(m_pFont) : nullptr;
    const CString text = record != nullptr ? record->text : CString();
    const CSize size = dc.GetTextExtent(text, text.GetLength());
    TEXTMETRICA metrics{};
    dc.GetTextMetrics(&metrics);
    if (previous != nullptr)
    {
        dc.SelectObject(previous);
    }
    if (fontHeight != nullptr)
    {
        *fontHeight = metrics.tmHeight;
    }
    return size;
}

UINT CXPMenuCH::GetItemFlags(ULONG_PTR data) const
{
    const int count = static_cast<int>(GetMenuItemCount());
    for (int i = 0; i < count; ++i)
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_SUBMENU;
        if (::GetMenuItemInfoA(m_hMenu, i, TRUE, &info) && info.dwItemData == data)
        {
            return ((info.fType & MFT_SEPARATOR) != 0 ? MF_SEPARATOR : 0) |
                   (info.hSubMenu != nullptr ? MF_POPUP : 0);
        }
    }
    return 0;
}

void CXPMenuCH::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    const auto* record = reinterpret_cast<const MenuItemRecord*>(lpMeasureItemStruct->itemData);
    lpMeasureItemStruct->itemWidth = MeasureLabel(record, nullptr).cx;
    lpMeasureItemStruct->itemHeight = 0;
}

void CXPMenuCH::DrawLabel(CDC* pDC, const CString& text, CRect rect, COLORREF color) const
{
    rect.OffsetRect(LabelOffsetX, LabelOffsetY);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(color);
    pDC->DrawText(text, &rect, DT_SINGLELINE);
}

int CXPMenuCH::SaveDCWithFont(CDC* pDC) const
{
    const int saved = pDC->SaveDC();
    if (m_pFont != nullptr)
    {
        pDC->SelectObject(m_pFont);
    }
    return saved;
}

void CXPMenuCH::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const auto* record = reinterpret_cast<const MenuItemRecord*>(lpDrawItemStruct->itemData);
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int saved = SaveDCWithFont(pDC);
    const CRect item(lpDrawItemStruct->rcItem);
    const UINT state = lpDrawItemStruct->itemState;
    const CString text = record != nullptr ? record->text : CString();
    const bool selected = (state & ODS_SELECTED) != 0 && !IsGrayed(state);
    if ((lpDrawItemStruct->itemAction & ODA_SELECT) != 0 && selected)
    {
        CRect frame = item;
        frame.left += 2;
        FrameAndFill(pDC, frame, m_Colors.selectedBackground);
        DrawLabel(pDC, text, item, m_Colors.selectedText);
    }
    else if ((lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0)
    {
        pDC->FillSolidRect(&item, m_Colors.textBackground);
        DrawLabel(pDC, text, item, IsGrayed(state) ? m_Colors.disabledText : m_Colors.text);
    }
    pDC->RestoreDC(saved);
}

// CMenuCH

BOOL CMenuCH::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
    return AppendMenu(flags, id, text, 0, 0);
}

BOOL CMenuCH::AppendMenu(UINT flags, UINT_PTR id, const char* text, UINT bitmapId,
                         unsigned itemData)
{
    MenuItemRecord* record = NewRecord(text, true);
    record->itemData = itemData;
    if (bitmapId != 0)
    {
        const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(bitmapId), RT_BITMAP);
        if (const HBITMAP bitmap = ::LoadBitmapA(module, MAKEINTRESOURCE(bitmapId)))
        {
            record->bitmap = new CBitmap;
            record->bitmap->Attach(bitmap);
        }
    }
    return CMenu::AppendMenu(flags | MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(record));
}

BOOL CMenuCH::InsertMenu(UINT position, UINT flags, UINT_PTR id, const char* text)
{
    MenuItemRecord* record = NewRecord(text, true);
    return CMenu::InsertMenu(position, flags | MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(record));
}

void CMenuCH::CopyStyleTo(CXPMenuCH* other) const
{
    CXPMenuCH::CopyStyleTo(other);
    if (auto* menu = dynamic_cast<CMenuCH*>(other))
    {
        menu->m_nIconWidth = m_nIconWidth;
    }
}

void CMenuCH::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    const ULONG_PTR data = lpMeasureItemStruct->itemData;
    int fontHeight = 0;
    const CSize text = MeasureLabel(reinterpret_cast<const MenuItemRecord*>(data), &fontHeight);
    if ((GetItemFlags(data) & (MF_SEPARATOR | MF_POPUP)) == MF_SEPARATOR)
    {
        lpMeasureItemStruct->itemWidth = text.cx + LabelMargin;
        lpMeasureItemStruct->itemHeight = SeparatorHeight;
        return;
    }
    lpMeasureItemStruct->itemWidth = text.cx + m_nIconWidth + LabelMargin;
    lpMeasureItemStruct->itemHeight = fontHeight + ItemPadding;
}

void CMenuCH::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const ULONG_PTR data = lpDrawItemStruct->itemData;
    const auto* record = reinterpret_cast<const MenuItemRecord*>(data);
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int saved = SaveDCWithFont(pDC);
    const CRect item(lpDrawItemStruct->rcItem);
    const UINT state = lpDrawItemStruct->itemState;
    CRect icon = item;
    icon.right = item.left + m_nIconWidth;
    CRect text = item;
    text.left = icon.right;
    pDC->FillSolidRect(&icon, m_Colors.iconBackground);
    pDC->FillSolidRect(&text, m_Colors.textBackground);
    if ((GetItemFlags(data) & (MF_SEPARATOR | MF_POPUP)) == MF_SEPARATOR)
    {
        DrawSeparator(pDC, item);
        pDC->RestoreDC(saved);
        return;
    }
    const bool selected = (state & ODS_SELECTED) != 0 && !IsGrayed(state);
    if (selected)
    {
        FrameAndFill(pDC, item, m_Colors.selectedBackground);
    }
    if ((state & ODS_CHECKED) != 0)
    {
        DrawCheckMark(pDC, item);
    }
    if (record != nullptr && record->bitmap != nullptr)
    {
        DrawBitmap(pDC, icon, record->bitmap);
    }
    const COLORREF color = IsGrayed(state) ? m_Colors.disabledText
                           : selected      ? m_Colors.selectedText
                                           : m_Colors.text;
    text.DeflateRect(2, 2);
    DrawLabel(pDC, record != nullptr ? record->text : CString(), text, color);
    if (record != nullptr && record->accelerator != nullptr)
    {
        CRect accelerator(item.right - AcceleratorWidth, item.top, item.right, item.bottom);
        pDC->SetTextColor(color);
        pDC->DrawText(record->accelerator, &accelerator, DT_SINGLELINE);
    }
    pDC->RestoreDC(saved);
}

void CMenuCH::DrawSeparator(CDC* pDC, const CRect& item) const
{
    CRect line(item.left + m_nIconWidth, item.top, item.right, item.bottom);
    line.OffsetRect(5, 3);
    line.right -= 10;
    ::DrawEdge(pDC->m_hDC, &line, EDGE_ETCHED, BF_TOP);
}

void CMenuCH::DrawCheckMark(CDC* pDC, const CRect& item) const
{
    const CRect cell(item.left, item.top, item.left + m_nIconWidth, item.bottom);
    FrameAndFill(pDC, cell, m_Colors.selectedBackground);
    CPen pen(PS_SOLID, 1, m_Colors.selectedText);
    CPen* previous = pDC->SelectObject(&pen);
    for (int i = 0; i < 7; ++i)
    {
        const int x = item.left + TickLeft + i;
        const int y = item.top + TickTop + TickDrops[i];
        pDC->MoveTo(x, y);
        pDC->LineTo(x, y + TickStroke);
    }
    pDC->SelectObject(previous);
}

void CMenuCH::DrawBitmap(CDC* pDC, const CRect& icon, CBitmap* bitmap) const
{
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    CBitmap* previous = memory.SelectObject(bitmap);
    const int x = icon.left + (icon.Width() - BitmapSize) / 2;
    const int y = icon.top + (icon.Height() - BitmapSize) / 2;
    pDC->BitBlt(x, y, BitmapSize, BitmapSize, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}
