#include "FrameDrawing.h"

#include "WinFrameControls.h"
#include "WinSysMetrics.h"

void FillSolid(HDC hdc, const RECT& rect, COLORREF color)
{
    HBRUSH hBrush = CreateSolidBrush(color);
    FillRect(hdc, &rect, hBrush);
    DeleteObject(hBrush);
}

HBITMAP CreateCheckMarkBitmap()
{
    const int nSize = GetSystemMetrics(SM_CXMENUCHECK);
    HBITMAP hBitmap = CreateBitmap(nSize, nSize, 1, 1, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    const RECT rect{0, 0, nSize, nSize};
    FillSolid(hdc, rect, RGB(255, 255, 255));
    GdiDrawFrameGlyph(hdc, &rect, DFC_MENU, DFCS_MENUCHECK, RGB(0, 0, 0));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hBitmap;
}
