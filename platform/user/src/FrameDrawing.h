// Small drawing steps of the layer's own controls and menus; their edges and
// glyphs are the GDI's (WinFrameControls.h).
#pragma once

#include "WinGdi.h"

void FillSolid(HDC hdc, const RECT& rect, COLORREF color);
// The system check mark (OBM_CHECK): a monochrome bitmap, the mark in 0
// bits on 1 bits, so that it takes the text colour of the DC it is put on.
HBITMAP CreateCheckMarkBitmap();
