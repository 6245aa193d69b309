// A DC can record the drawing calls made on it, for tests that check which
// calls a caller made and with what arguments ("BitBlt(0,0,10,10,...)").
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"

#include <string>
#include <vector>

// Starts (or with false stops and clears) recording on the DC.
PLATFORMGDI_API void GdiRecordCalls(HDC hdc, bool bRecord);
// The calls recorded so far, oldest first: the name and the integer
// arguments in logical units, e.g. "StretchDIBits(0,0,9,8,0,0,4,4,13369376)".
PLATFORMGDI_API std::vector<std::string> GdiGetRecordedCalls(HDC hdc);
