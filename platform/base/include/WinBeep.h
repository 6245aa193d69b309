// Beep and MessageBeep return at once and never sound: the calls are only
// counted, so tests can see that a failure path signalled.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

extern "C"
{
    PLATFORMBASE_API BOOL Beep(DWORD frequency, DWORD duration);
    PLATFORMBASE_API BOOL MessageBeep(UINT type);
    // Calls of Beep and MessageBeep since the start or the last reset.
    PLATFORMBASE_API LONG GetBeepCount();
    PLATFORMBASE_API void ResetBeepCount();
}
