// Memory figures of the process and of the system, from /proc/self/status
// and /proc/meminfo, in bytes. The page file is the commit limit: physical
// memory plus swap. Virtual memory is the 47-bit user address space less
// what the process has mapped (VmSize); the process's page-file usage is its
// mapped size as well.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

typedef struct _PROCESS_MEMORY_COUNTERS
{
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;
    SIZE_T PeakPagefileUsage;
} PROCESS_MEMORY_COUNTERS, *PPROCESS_MEMORY_COUNTERS;

typedef struct _MEMORYSTATUS
{
    DWORD dwLength;
    DWORD dwMemoryLoad;
    SIZE_T dwTotalPhys;
    SIZE_T dwAvailPhys;
    SIZE_T dwTotalPageFile;
    SIZE_T dwAvailPageFile;
    SIZE_T dwTotalVirtual;
    SIZE_T dwAvailVirtual;
} MEMORYSTATUS, *LPMEMORYSTATUS;

typedef struct _MEMORYSTATUSEX
{
    DWORD dwLength;
    DWORD dwMemoryLoad;
    ULONGLONG ullTotalPhys;
    ULONGLONG ullAvailPhys;
    ULONGLONG ullTotalPageFile;
    ULONGLONG ullAvailPageFile;
    ULONGLONG ullTotalVirtual;
    ULONGLONG ullAvailVirtual;
    ULONGLONG ullAvailExtendedVirtual;
} MEMORYSTATUSEX, *LPMEMORYSTATUSEX;

extern "C"
{
    // The calling process whatever the handle; FALSE with
    // ERROR_INSUFFICIENT_BUFFER when cb is too small for the counters.
    PLATFORMUI_API BOOL GetProcessMemoryInfo(HANDLE hProcess,
                                             PPROCESS_MEMORY_COUNTERS ppsmemCounters, DWORD cb);
    // Figures that cannot be read are 0.
    PLATFORMUI_API void GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer);
    // FALSE with ERROR_INVALID_PARAMETER unless dwLength is set to the size.
    PLATFORMUI_API BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX lpBuffer);
}

// Test seam: read these files instead of /proc/meminfo and
// /proc/self/status; NULL restores the real ones.
PLATFORMUI_API void SetMemoryInfoFiles(LPCSTR pszMemInfo, LPCSTR pszProcessStatus);
