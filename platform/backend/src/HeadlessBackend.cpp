#include "HeadlessBackend.h"

#include "WinClock.h"
#include "WinSync.h"

#include <cstdio>
#include <cstdlib>

namespace
{
void ReportBlockedLoop()
{
    std::fputs("A message loop waits for input that the headless display will never give: "
               "nothing is posted, no timer runs and no script is left.\n",
               stderr);
    std::abort();
}
} // namespace

CHeadlessBackend& GetHeadlessBackend()
{
    static CHeadlessBackend backend;
    return backend;
}

void CHeadlessBackend::OnTopLevelCreated(HWND)
{
    ++m_nTopLevels;
}

void CHeadlessBackend::OnTopLevelDestroyed(HWND)
{
    --m_nTopLevels;
}

bool CHeadlessBackend::Poll()
{
    return m_feeder && m_feeder();
}

void CHeadlessBackend::Wait(DWORD dwTimeoutMs)
{
    if (Poll())
        return;
    if (dwTimeoutMs != INFINITE)
    {
        GetPlatformClock().Sleep(dwTimeoutMs);
        return;
    }
    if (m_blocked)
        m_blocked();
    else
        ReportBlockedLoop();
}

void CHeadlessBackend::OnCursorChanged(HCURSOR hCursor, bool bShown)
{
    m_hCursor = hCursor;
    m_bCursorShown = bShown;
}
