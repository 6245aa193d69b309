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
// A raised two-pixel edge inside the rectangle (popup menus, buttons).
void DrawRaisedFrame(HDC hdc, const RECT& rect);
// The check mark and the radio dot of menus and check boxes, centred.
void DrawCheckGlyph(HDC hdc, const RECT& rect, COLORREF color);
void DrawRadioDot(HDC hdc, const RECT& rect, COLORREF color);
// The system check mark (OBM_CHECK): a monochrome bitmap, the mark in 0
// bits on 1 bits, so that it takes the text colour of the DC it is put on.
HBITMAP CreateCheckMarkBitmap();
