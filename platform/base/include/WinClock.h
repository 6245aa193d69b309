// Time of the platform layer. One clock object stands behind the system and
// local time, the tick count, the performance counter and Sleep; tests
// install a CManualClock to make time stand still and move it by hand.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <atomic>

class PLATFORMBASE_API CPlatformClock
{
public:
    virtual ~CPlatformClock();
    // 100-nanosecond intervals since 1601-01-01 00:00 UTC (FILETIME units).
    virtual ULONGLONG GetSystemTime100ns() = 0;
    // 100-nanosecond intervals since an arbitrary start; never goes back.
    virtual ULONGLONG GetMonotonic100ns() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

// The operating system's clocks; Sleep blocks.
class PLATFORMBASE_API CSystemClock : public CPlatformClock
{
public:
    ULONGLONG GetSystemTime100ns() override;
    ULONGLONG GetMonotonic100ns() override;
    void Sleep(DWORD milliseconds) override;
};

// A clock that moves only when told: Advance moves system time and the
// monotonic count together, and Sleep advances instead of blocking.
class PLATFORMBASE_API CManualClock : public CPlatformClock
{
public:
    // Starts at 2000-01-01 00:00:00 UTC with a tick count of 0.
    CManualClock();
    explicit CManualClock(const SYSTEMTIME& utcStart, DWORD startTickCount = 0);

    void Advance(DWORD milliseconds);
    // Sets the wall-clock time only; the monotonic count is unchanged.
    void SetSystemTime(const SYSTEMTIME& utc);

    ULONGLONG GetSystemTime100ns() override;
    ULONGLONG GetMonotonic100ns() override;
    void Sleep(DWORD milliseconds) override;

private:
    std::atomic<ULONGLONG> m_system;
    std::atomic<ULONGLONG> m_monotonic;
};

// The installed clock (the system clock unless a test installed another).
PLATFORMBASE_API CPlatformClock& GetPlatformClock();
// Installs a clock, or the system clock again for null; returns the one
// installed before. The caller owns the clock and keeps it alive while it is
// installed.
PLATFORMBASE_API CPlatformClock* SetPlatformClock(CPlatformClock* clock);

// Installs a clock for the life of a scope, then puts the previous one back.
class CScopedPlatformClock
{
public:
    explicit CScopedPlatformClock(CPlatformClock& clock) : m_previous(SetPlatformClock(&clock)) {}
    ~CScopedPlatformClock() { SetPlatformClock(m_previous); }
    CScopedPlatformClock(const CScopedPlatformClock&) = delete;
    CScopedPlatformClock& operator=(const CScopedPlatformClock&) = delete;

private:
    CPlatformClock* m_previous;
};

extern "C"
{
    PLATFORMBASE_API void GetSystemTime(LPSYSTEMTIME systemTime);
    // Local time of the process time zone (TZ).
    PLATFORMBASE_API void GetLocalTime(LPSYSTEMTIME localTime);
    PLATFORMBASE_API void GetSystemTimeAsFileTime(LPFILETIME fileTime);
    // Milliseconds of the monotonic count, wrapping at 32 bits.
    PLATFORMBASE_API DWORD GetTickCount();
    // 100-nanosecond units; the frequency is 10,000,000.
    PLATFORMBASE_API BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
    PLATFORMBASE_API BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
    PLATFORMBASE_API void Sleep(DWORD milliseconds);

    // FALSE (ERROR_INVALID_PARAMETER) for a date outside 1601 to 30827 or a
    // field out of range.
    PLATFORMBASE_API BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
    PLATFORMBASE_API BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
    // Local time of the process time zone at that instant.
    PLATFORMBASE_API BOOL FileTimeToLocalFileTime(const FILETIME* fileTime,
                                                  LPFILETIME localFileTime);
}
