// The rectangles of a region object, for callers that walk a region
// rectangle by rectangle (the windowing layer's update regions).
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"

#define RDH_RECTANGLES 1

typedef struct _RGNDATA
{
    RGNDATAHEADER rdh;
    char Buffer[1]; // nCount RECTs, top to bottom, left to right
} RGNDATA, *LPRGNDATA;

// With a null or too small buffer, the size the data needs; otherwise the
// bytes written. 0 for an invalid region.
extern "C" PLATFORMGDI_API DWORD GetRegionData(HRGN hRgn, DWORD count, LPRGNDATA data);
