// A push button that shows a small arrow and pops up a menu.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

// Owner-drawn: create or subclass it with BS_OWNERDRAW.
class ZENTIQ_API CMenuButton : public CButton
{
public:
    CMenuButton() = default;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    // Tracks the first popup of menu resource nMenuID below the button and
    // returns the command chosen, 0 for none.
    DWORD DoSingleClick(UINT nMenuID);
};
