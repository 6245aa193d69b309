// Fonts of the panes: a LOGFONT for a point size at the display's vertical
// resolution, and the point size of the label font for a client size, looked
// up in the pane-font table (ViewPortFonts.h).
#pragma once

#include "QuillonExport.h"
#include "WinGdi.h"

// Regular weight, no italic, underline or strike-out, the default character
// set; the height is -(points x LOGPIXELSY / 72), rounded by MulDiv.
QUILLON_API LOGFONTA MakeLogFont(int pointSize, const char* faceName);

// The vertical pixels per inch of the display, read once.
QUILLON_API int GetScreenPixelsPerInchY();

// The table is walked from its first entry while the entry's pane size is at
// most both sides of the client; the font size of the first entry that fails
// is taken. When every entry passes (the unused entries are zero and always
// pass), the size stays the initial one.
QUILLON_API int GetLabelFontSize(int clientWidth, int clientHeight, int initialSize);
