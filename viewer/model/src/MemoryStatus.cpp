#include "MemoryStatus.h"

#include "WinProcessInfo.h"

bool MemoryStatus::Query()
{
    MEMORYSTATUSEX system = {};
    system.dwLength = sizeof system;
    PROCESS_MEMORY_COUNTERS process = {};
    process.cb = sizeof process;
    if (GlobalMemoryStatusEx(&system) == FALSE ||
        GetProcessMemoryInfo(GetCurrentProcess(), &process, sizeof process) == FALSE)
    {
        *this = MemoryStatus();
        return false;
    }
    m_nAvailPhys = system.ullAvailPhys;
    m_nAvailVirtual = system.ullAvailVirtual;
    m_nProcessPagefile = process.PagefileUsage;
    return true;
}
