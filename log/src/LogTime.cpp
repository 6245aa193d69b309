#include "LogTime.h"

#include "WinClock.h"
#include "WinOleAuto.h"

SLogTime GetLogTime()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    DATE date = 0;
    SYSTEMTIME rounded{};
    if (!SystemTimeToVariantTime(&now, &date) || !VariantTimeToSystemTime(date, &rounded))
    {
        return {-1, -1, -1, -1, -1, -1};
    }
    return {rounded.wYear, rounded.wMonth,  rounded.wDay,
            rounded.wHour, rounded.wMinute, rounded.wSecond};
}
