// Bitmap resources drawn in the standard button colours (black, dark grey,
// light grey and white), as toolbar and menu images are, shown in the
// system's button colours instead.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

// The bitmap resource with black, RGB(128, 128, 128), RGB(192, 192, 192)
// and white replaced by the button text, shadow, face and highlight
// colours; null when the module has no such bitmap. The caller deletes it.
PLATFORMUI_API HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInstance, LPCSTR lpszResourceName);
