// Small drawing steps of the layer's own frames, caption and scroll bars.
#pragma once

#include "WinGdi.h"

void FillSolid(HDC hdc, const RECT& rect, COLORREF color);
// One pixel of edge around the rectangle, which then shrinks by one.
void DrawEdgeLine(HDC hdc, RECT& rect, COLORREF topLeft, COLORREF bottomRight);
enum class enArrow
{
    Up,
    Down,
    Left,
    Right,
};
void DrawArrowGlyph(HDC hdc, const RECT& rect, enArrow direction, COLORREF color);
