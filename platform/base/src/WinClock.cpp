#include "WinClock.h"

#include "CivilDate.h"
#include "WinError.h"

#include <ctime>

namespace
{

constexpr ULONGLONG kTicksPerMillisecond = 10000;
constexpr ULONGLONG kTicksPerSecond = 10000000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr long long kUnixEpochSeconds = 11644473600LL;
constexpr ULONGLONG kLargestFileTime = 0x7FFFFFFFFFFFFFFFULL;

std::atomic<CPlatformClock*>& InstalledClock()
{
    static std::atomic<CPlatformClock*> clock{nullptr};
    return clock;
}

// Never destroyed: exit handlers registered before its first use (a library
// stopping at exit and logging the time) still read it.
CSystemClock& GetSystemClock()
{
    static CSystemClock* clock = new CSystemClock;
    return *clock;
}

ULONGLONG ReadClock(clockid_t id, long long offsetSeconds)
{
    timespec now{};
    clock_gettime(id, &now);
    return static_cast<ULONGLONG>(now.tv_sec + offsetSeconds) * kTicksPerSecond +
           static_cast<ULONGLONG>(now.tv_nsec) / 100;
}

ULONGLONG GetFileTimeValue(const FILETIME& fileTime)
{
    return (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

FILETIME MakeFileTime(ULONGLONG value)
{
    FILETIME fileTime;
    fileTime.dwLowDateTime = static_cast<DWORD>(value);
    fileTime.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return fileTime;
}

bool IsValidSystemTime(const SYSTEMTIME& t)
{
    return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDay <= platform::GetDaysInMonth(t.wYear, t.wMonth) && t.wHour <= 23 &&
           t.wMinute <= 59 && t.wSecond <= 59 && t.wMilliseconds <= 999;
}

ULONGLONG ToTicks(const SYSTEMTIME& t)
{
    const long long days = platform::GetDaysFromCivil(t.wYear, t.wMonth, t.wDay);
    const long long seconds =
        days * 86400 + t.wHour * 3600 + t.wMinute * 60 + t.wSecond + kUnixEpochSeconds;
    return static_cast<ULONGLONG>(seconds) * kTicksPerSecond +
           t.wMilliseconds * kTicksPerMillisecond;
}

SYSTEMTIME ToSystemTime(ULONGLONG ticks)
{
    const long long seconds = static_cast<long long>(ticks / kTicksPerSecond) - kUnixEpochSeconds;
    const long long days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const long long secondOfDay = seconds - days * 86400;
    int year = 0;
    int month = 0;
    int day = 0;
    platform::GetCivilFromDays(days, year, month, day);
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>(platform::GetDayOfWeek(days));
    t.wHour = static_cast<WORD>(secondOfDay / 3600);
    t.wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
    t.wSecond = static_cast<WORD>(secondOfDay % 60);
    t.wMilliseconds = static_cast<WORD>(ticks % kTicksPerSecond / kTicksPerMillisecond);
    return t;
}

// Offset of the process time zone from UTC at a UTC instant, in seconds.
long long GetZoneOffset(ULONGLONG utcTicks)
{
    const time_t seconds =
        static_cast<time_t>(static_cast<long long>(utcTicks / kTicksPerSecond) - kUnixEpochSeconds);
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return 0;
    return local.tm_gmtoff;
}

const SYSTEMTIME kDefaultStart = {2000, 1, 6, 1, 0, 0, 0, 0};

} // namespace

CPlatformClock::~CPlatformClock() = default;

ULONGLONG CSystemClock::GetSystemTime100ns()
{
    return ReadClock(CLOCK_REALTIME, kUnixEpochSeconds);
}

ULONGLONG CSystemClock::GetMonotonic100ns()
{
    return ReadClock(CLOCK_MONOTONIC, 0);
}

void CSystemClock::Sleep(DWORD milliseconds)
{
    timespec wait{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0)
    {
    }
}

CManualClock::CManualClock() : CManualClock(kDefaultStart) {}

CManualClock::CManualClock(const SYSTEMTIME& utcStart, DWORD startTickCount)
    : m_system(ToTicks(utcStart)), m_monotonic(startTickCount * kTicksPerMillisecond)
{
}

void CManualClock::Advance(DWORD milliseconds)
{
    m_system += milliseconds * kTicksPerMillisecond;
    m_monotonic += milliseconds * kTicksPerMillisecond;
}

void CManualClock::SetSystemTime(const SYSTEMTIME& utc)
{
    m_system = ToTicks(utc);
}

ULONGLONG CManualClock::GetSystemTime100ns()
{
    return m_system;
}

ULONGLONG CManualClock::GetMonotonic100ns()
{
    return m_monotonic;
}

void CManualClock::Sleep(DWORD milliseconds)
{
    Advance(milliseconds);
}

CPlatformClock& GetPlatformClock()
{
    CPlatformClock* clock = InstalledClock().load();
    return clock != nullptr ? *clock : GetSystemClock();
}

CPlatformClock* SetPlatformClock(CPlatformClock* clock)
{
    return InstalledClock().exchange(clock);
}

void GetSystemTime(LPSYSTEMTIME systemTime)
{
    *systemTime = ToSystemTime(GetPlatformClock().GetSystemTime100ns());
}

void GetLocalTime(LPSYSTEMTIME localTime)
{
    const ULONGLONG utc = GetPlatformClock().GetSystemTime100ns();
    *localTime = ToSystemTime(utc + GetZoneOffset(utc) * static_cast<long long>(kTicksPerSecond));
}

void GetSystemTimeAsFileTime(LPFILETIME fileTime)
{
    *fileTime = MakeFileTime(GetPlatformClock().GetSystemTime100ns());
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(GetPlatformClock().GetMonotonic100ns() / kTicksPerMillisecond);
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    count->QuadPart = static_cast<LONGLONG>(GetPlatformClock().GetMonotonic100ns());
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = static_cast<LONGLONG>(kTicksPerSecond);
    return TRUE;
}

void Sleep(DWORD milliseconds)
{
    GetPlatformClock().Sleep(milliseconds);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime)
{
    if (systemTime == nullptr || fileTime == nullptr || !IsValidSystemTime(*systemTime))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *fileTime = MakeFileTime(ToTicks(*systemTime));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime)
{
    if (fileTime == nullptr || systemTime == nullptr ||
        GetFileTimeValue(*fileTime) > kLargestFileTime)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *systemTime = ToSystemTime(GetFileTimeValue(*fileTime));
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime)
{
    if (fileTime == nullptr || localFileTime == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const ULONGLONG utc = GetFileTimeValue(*fileTime);
    const long long local =
        static_cast<long long>(utc) + GetZoneOffset(utc) * static_cast<long long>(kTicksPerSecond);
    if (local < 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *localFileTime = MakeFileTime(static_cast<ULONGLONG>(local));
    return TRUE;
}
