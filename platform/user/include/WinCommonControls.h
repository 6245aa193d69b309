// Start-up of the common controls. The layer registers every control class
// with the system classes, so these calls only confirm they are there.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

typedef struct tagINITCOMMONCONTROLSEX
{
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_DATE_CLASSES 0x00000100
#define ICC_WIN95_CLASSES 0x000000FF

extern "C"
{
    PLATFORMUI_API void InitCommonControls();
    // TRUE for a record of the right size.
    PLATFORMUI_API BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);
}
