// The colour popup menu.
#include "ColorMenu.h"

namespace
{
constexpr UINT kSwatchWidth = 40;
constexpr UINT kSwatchHeight = 25;

COLORREF Inverted(COLORREF cr)
{
    return RGB(GetRValue(cr) ^ 0xFF, GetGValue(cr) ^ 0xFF, GetBValue(cr) ^ 0xFF);
}

void Frame(CDC& dc, const CRect& rc, COLORREF cr)
{
    CBrush brush(cr);
    dc.FrameRect(&rc, &brush);
}
} // namespace

CColorMenu::CColorMenu()
{
    CreatePopupMenu();
}

CColorMenu::~CColorMenu()
{
    if (m_bOwnedByWindowMenu)
        Detach();
}

void CColorMenu::AppendColorMenuItem(UINT nID, COLORREF color)
{
    AppendMenu(MF_OWNERDRAW, nID, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(color)));
}

void CColorMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    lpMIS->itemWidth = kSwatchWidth;
    lpMIS->itemHeight = kSwatchHeight;
}

void CColorMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC& dc = *CDC::FromHandle(lpDIS->hDC);
    const auto cr = static_cast<COLORREF>(lpDIS->itemData);
    const CRect rc(lpDIS->rcItem);
    if (lpDIS->itemAction & ODA_DRAWENTIRE)
    {
        CBrush brush(cr);
        dc.FillRect(&rc, &brush);
    }
    if (lpDIS->itemState & ODS_SELECTED)
    {
        if (lpDIS->itemAction & (ODA_SELECT | ODA_DRAWENTIRE))
            Frame(dc, rc, Inverted(cr));
        return;
    }
    if (lpDIS->itemAction & ODA_SELECT)
        Frame(dc, rc, cr);
}

void AttachColorMenu(CColorMenu& menu, UINT nItemID, UINT nFirstID, CWnd* pWnd)
{
    const COLORREF colours[] = {RGB(255, 0, 0),   RGB(0, 255, 0),    RGB(0, 0, 255),
                                RGB(0, 255, 255), RGB(255, 0, 255),  RGB(255, 255, 0),
                                RGB(0, 0, 0),     RGB(255, 255, 255)};
    for (UINT i = 0; i < std::size(colours); ++i)
        menu.AppendColorMenuItem(nFirstID + i, colours[i]);
    CMenu* pWndMenu = pWnd != nullptr ? pWnd->GetMenu() : nullptr;
    if (pWndMenu == nullptr)
        return;
    CString text;
    pWndMenu->GetMenuString(nItemID, text, MF_BYCOMMAND);
    if (pWndMenu->ModifyMenu(nItemID, MF_BYCOMMAND | MF_POPUP,
                             reinterpret_cast<UINT_PTR>(menu.m_hMenu), text))
        menu.m_bOwnedByWindowMenu = true;
}
