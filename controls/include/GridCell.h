// One cell of the grid control: what GV_ITEM describes, owned by the grid.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

// A cell colour that defers to the grid's colour for its kind of cell.
constexpr COLORREF CLR_DEFAULT_CELL = 0xFF000000;

class ZENTIQ_API CGridCell : public CObject
{
public:
    UINT state = 0;
    UINT nFormat = 0;
    CString szText;
    int iImage = -1;
    COLORREF crBkClr = CLR_DEFAULT_CELL;
    COLORREF crFgClr = CLR_DEFAULT_CELL;
    LOGFONT lfFont{};
    LPARAM lParam = 0;
};
