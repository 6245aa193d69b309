// Timers of the UI thread, driven by the replaceable clock. A due timer
// makes one WM_TIMER when a loop looks for it; taking it schedules the next.
// System timers (the layer's own: scroll-bar repeat) make WM_SYSTIMER.
#pragma once

#include "WinUserDefs.h"

#include <vector>

#define WM_SYSTIMER 0x0118

class TimerTable
{
public:
    static TimerTable& Get();

    UINT_PTR Set(HWND hWnd, UINT_PTR nId, UINT nElapse, TIMERPROC proc, bool bSystem);
    bool Kill(HWND hWnd, UINT_PTR nId, bool bSystem);
    void KillWindowTimers(HWND hWnd);
    void Clear() { m_timers.clear(); }

    bool FindDue(HWND hFilter, UINT nMin, UINT nMax, bool bRemove, MSG& msg);
    bool GetTimeToNext(HWND hFilter, UINT nMin, UINT nMax, DWORD& dwMs) const;
    bool IsTimerProc(HWND hWnd, UINT_PTR nId, LPARAM proc) const;

private:
    struct Timer
    {
        HWND hWnd;
        UINT_PTR nId;
        UINT nElapse;
        TIMERPROC proc;
        bool bSystem;
        ULONGLONG nDue;
    };

    bool Passes(const Timer& timer, HWND hFilter, UINT nMin, UINT nMax) const;

    std::vector<Timer> m_timers;
    UINT_PTR m_nNextThreadId = 0x7FFF0000;
};

// Milliseconds of the platform clock's monotonic count.
ULONGLONG GetClockMs();
