// The menu button.
#include "MenuButton.h"

void CMenuButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC& dc = *CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    UINT uState = DFCS_BUTTONPUSH;
    if (lpDIS->itemState & ODS_SELECTED)
        uState |= DFCS_PUSHED;
    ::DrawFrameControl(dc.m_hDC, &rc, DFC_BUTTON, uState);
    const bool bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    CPen pen(PS_SOLID, 1, GetSysColor(bDisabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    CPen* pOldPen = dc.SelectObject(&pen);
    // An arrow pointing right: four vertical lines, each shorter.
    const int x = rc.left + rc.Width() / 2 - 2;
    const int y = rc.top + rc.Height() / 2;
    for (int k = 0; k < 4; ++k)
    {
        dc.MoveTo(x + k, y - 3 + k);
        dc.LineTo(x + k, y + 4 - k);
    }
    dc.SelectObject(pOldPen);
    if (lpDIS->itemState & ODS_FOCUS)
    {
        rc.DeflateRect(3, 3);
        ::DrawFocusRect(dc.m_hDC, &rc);
    }
}

DWORD CMenuButton::DoSingleClick(UINT nMenuID)
{
    CMenu menu;
    if (!menu.LoadMenu(nMenuID))
        return 0;
    CMenu* pPopup = menu.GetSubMenu(0);
    CRect rc;
    GetWindowRect(&rc);
    const DWORD dwSelection = pPopup != nullptr
                                  ? DWORD(pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON |
                                                                     TPM_NONOTIFY | TPM_RETURNCMD,
                                                                 rc.left, rc.bottom, this))
                                  : 0;
    menu.DestroyMenu();
    return dwSelection;
}
