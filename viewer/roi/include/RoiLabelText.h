// The texts of annotations on a pane: drawn from a window point on, centred
// on its height, in the style's text colour and font (the pane's label font
// when the style has none), on the text background when the overlay
// settings ask for one; and the window rectangle such a text covers.
#pragma once

#include "QuillonExport.h"
#include "WinGeometry.h"

class CDC;
class CViewPort;
class RoiFont;

QUILLON_API void DrawLabelText(CDC* pDC, CViewPort& view, const RoiFont& style, POINT position,
                               const char* text);
// Measured on the pane's own DC; empty when the pane has none.
QUILLON_API RECT GetLabelTextRect(CViewPort& view, const RoiFont& style, POINT position,
                                  const char* text);
