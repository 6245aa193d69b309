// A popup menu of colour swatches, and the menu button: a push button with
// a small arrow that pops up a menu and answers the command chosen.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

// Each item's data is its colour.
class ZENTIQ_API CColorMenu : public CMenu
{
public:
    CColorMenu();
    // Detaches the popup when a window's menu holds it (AttachColorMenu),
    // else destroys it.
    ~CColorMenu() override;

    void AppendColorMenuItem(UINT nID, COLORREF color);
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

private:
    friend ZENTIQ_API void AttachColorMenu(CColorMenu&, UINT, UINT, CWnd*);
    bool m_bOwnedByWindowMenu = false;
};

// Appends eight colours (ids nFirstID to nFirstID + 7: red, green, blue,
// cyan, magenta, yellow, black, white) and puts the menu as a popup in
// place of the item nItemID of the window's menu, under the item's text.
ZENTIQ_API void AttachColorMenu(CColorMenu& menu, UINT nItemID, UINT nFirstID, CWnd* pWnd);
