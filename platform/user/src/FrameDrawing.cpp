#include "FrameDrawing.h"

#include "WinSysMetrics.h"

#include <algorithm>

void FillSolid(HDC hdc, const RECT& rect, COLORREF color)
{
    HBRUSH hBrush = CreateSolidBrush(color);
    FillRect(hdc, &rect, hBrush);
    DeleteObject(hBrush);
}

void DrawEdgeLine(HDC hdc, RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2)
        return;
    FillSolid(hdc, RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    FillSolid(hdc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    FillSolid(hdc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    FillSolid(hdc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    InflateRect(&rect, -1, -1);
}

void DrawArrowGlyph(HDC hdc, const RECT& rect, enArrow direction, COLORREF color)
{
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const int size = std::max(1, std::min(rect.right - rect.left, rect.bottom - rect.top) / 4);
    for (int i = 0; i < size; ++i)
    {
        RECT line{};
        switch (direction)
        {
        case enArrow::Up:
            line = RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1};
            break;
        case enArrow::Down:
            line = RECT{cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1};
            break;
        case enArrow::Left:
            line = RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1};
            break;
        case enArrow::Right:
            line = RECT{cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1};
            break;
        }
        FillSolid(hdc, line, color);
    }
}

void DrawRaisedFrame(HDC hdc, const RECT& rect)
{
    RECT inner = rect;
    DrawEdgeLine(hdc, inner, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    DrawEdgeLine(hdc, inner, GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW));
}

void DrawCheckGlyph(HDC hdc, const RECT& rect, COLORREF color)
{
    // Seven columns three pixels tall: down to the bottom, then up.
    static constexpr int kTops[] = {2, 3, 4, 3, 2, 1, 0};
    const int left = (rect.left + rect.right) / 2 - 3;
    const int top = (rect.top + rect.bottom) / 2 - 3;
    for (int i = 0; i < 7; ++i)
        FillSolid(hdc, RECT{left + i, top + kTops[i], left + i + 1, top + kTops[i] + 3}, color);
}

void DrawRadioDot(HDC hdc, const RECT& rect, COLORREF color)
{
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    HBRUSH hBrush = CreateSolidBrush(color);
    HPEN hPen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ hOldBrush = SelectObject(hdc, hBrush);
    HGDIOBJ hOldPen = SelectObject(hdc, hPen);
    Ellipse(hdc, cx - 3, cy - 3, cx + 3, cy + 3);
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    DeleteObject(hPen);
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
    DrawCheckGlyph(hdc, rect, RGB(0, 0, 0));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hBitmap;
}
