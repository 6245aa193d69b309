#include "Timers.h"

#include "MessageQueue.h"
#include "WinClock.h"
#include "WinError.h"
#include "WinMessageQueue.h"
#include "WindowTree.h"

#include <algorithm>

namespace
{
// Windows never fires timers faster than this.
constexpr UINT kMinimumElapse = 10;
} // namespace

ULONGLONG GetClockMs()
{
    return GetPlatformClock().GetMonotonic100ns() / 10000;
}

TimerTable& TimerTable::Get()
{
    static TimerTable table;
    return table;
}

UINT_PTR TimerTable::Set(HWND hWnd, UINT_PTR nId, UINT nElapse, TIMERPROC proc, bool bSystem)
{
    if (hWnd != nullptr && FindWindowChecked(hWnd) == nullptr)
        return 0;
    if (hWnd == nullptr)
    {
        const bool bKnown = std::any_of(m_timers.begin(), m_timers.end(),
                                        [&](const Timer& t)
                                        { return t.hWnd == nullptr && t.nId == nId && nId != 0; });
        if (!bKnown)
            nId = m_nNextThreadId++;
    }
    nElapse = std::max(nElapse, kMinimumElapse);
    const ULONGLONG nDue = GetClockMs() + nElapse;
    for (Timer& timer : m_timers)
    {
        if (timer.hWnd == hWnd && timer.nId == nId && timer.bSystem == bSystem)
        {
            timer.nElapse = nElapse;
            timer.proc = proc;
            timer.nDue = nDue;
            return hWnd != nullptr && nId == 0 ? 1 : nId;
        }
    }
    m_timers.push_back(Timer{hWnd, nId, nElapse, proc, bSystem, nDue});
    return hWnd != nullptr && nId == 0 ? 1 : nId;
}

bool TimerTable::Kill(HWND hWnd, UINT_PTR nId, bool bSystem)
{
    const auto it = std::find_if(
        m_timers.begin(), m_timers.end(),
        [&](const Timer& t) { return t.hWnd == hWnd && t.nId == nId && t.bSystem == bSystem; });
    if (it == m_timers.end())
        return false;
    m_timers.erase(it);
    return true;
}

void TimerTable::KillWindowTimers(HWND hWnd)
{
    std::erase_if(m_timers, [&](const Timer& t) { return t.hWnd == hWnd; });
}

bool TimerTable::Passes(const Timer& timer, HWND hFilter, UINT nMin, UINT nMax) const
{
    return MessagePassesFilter(timer.hWnd, timer.bSystem ? WM_SYSTIMER : WM_TIMER, hFilter, nMin,
                               nMax);
}

bool TimerTable::FindDue(HWND hFilter, UINT nMin, UINT nMax, bool bRemove, MSG& msg)
{
    const ULONGLONG now = GetClockMs();
    Timer* due = nullptr;
    for (Timer& timer : m_timers)
    {
        if (timer.nDue <= now && Passes(timer, hFilter, nMin, nMax) &&
            (due == nullptr || timer.nDue < due->nDue))
            due = &timer;
    }
    if (due == nullptr)
        return false;
    msg = MSG{};
    msg.hwnd = due->hWnd;
    msg.message = due->bSystem ? WM_SYSTIMER : WM_TIMER;
    msg.wParam = due->nId;
    msg.lParam = reinterpret_cast<LPARAM>(due->proc);
    msg.time = static_cast<DWORD>(now);
    if (bRemove)
        due->nDue = now + due->nElapse;
    return true;
}

bool TimerTable::GetTimeToNext(HWND hFilter, UINT nMin, UINT nMax, DWORD& dwMs) const
{
    const ULONGLONG now = GetClockMs();
    bool bFound = false;
    ULONGLONG next = 0;
    for (const Timer& timer : m_timers)
    {
        if (!Passes(timer, hFilter, nMin, nMax))
            continue;
        if (!bFound || timer.nDue < next)
            next = timer.nDue;
        bFound = true;
    }
    if (bFound)
        dwMs = next > now ? static_cast<DWORD>(next - now) : 0;
    return bFound;
}

bool TimerTable::IsTimerProc(HWND hWnd, UINT_PTR nId, LPARAM proc) const
{
    return std::any_of(m_timers.begin(), m_timers.end(),
                       [&](const Timer& t)
                       {
                           return t.hWnd == hWnd && t.nId == nId && !t.bSystem &&
                                  reinterpret_cast<LPARAM>(t.proc) == proc;
                       });
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR idEvent, UINT elapse, TIMERPROC timerFunc)
{
    return TimerTable::Get().Set(hWnd, idEvent, elapse, timerFunc, false);
}

BOOL KillTimer(HWND hWnd, UINT_PTR idEvent)
{
    // WM_TIMER is made when a loop looks for it, so a killed timer leaves
    // none behind.
    if (TimerTable::Get().Kill(hWnd, idEvent, false))
        return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
