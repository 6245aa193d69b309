// System metrics and parameters: one fixed classic table at 96 dpi on the
// 1920 x 1080 virtual screen. The system colours are the GDI's (WinSysColors.h).
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

extern "C"
{
    PLATFORMUI_API int GetSystemMetrics(int index);
    PLATFORMUI_API BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID pvParam, UINT winIni);
}

inline BOOL SystemParametersInfo(UINT action, UINT param, LPVOID pvParam, UINT winIni)
{
    return SystemParametersInfoA(action, param, pvParam, winIni);
}
