#include "WinBeep.h"

#include "WinInterlocked.h"

namespace
{
LONG volatile gBeepCount = 0;
}

BOOL Beep(DWORD, DWORD)
{
    InterlockedIncrement(&gBeepCount);
    return TRUE;
}

BOOL MessageBeep(UINT)
{
    InterlockedIncrement(&gBeepCount);
    return TRUE;
}

LONG GetBeepCount()
{
    return InterlockedCompareExchange(&gBeepCount, 0, 0);
}

void ResetBeepCount()
{
    InterlockedExchange(&gBeepCount, 0);
}
