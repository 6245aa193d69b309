#include "FrameDrawing.h"

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
