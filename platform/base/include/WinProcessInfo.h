// Process and system figures for log lines and memory checks: thread and
// process identity, memory status from /proc/meminfo and this process's
// use from /proc/self/status, and MulDiv.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

using DWORDLONG = ULONGLONG;

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
    DWORDLONG ullTotalPhys;
    DWORDLONG ullAvailPhys;
    DWORDLONG ullTotalPageFile;
    DWORDLONG ullAvailPageFile;
    DWORDLONG ullTotalVirtual;
    DWORDLONG ullAvailVirtual;
    DWORDLONG ullAvailExtendedVirtual;
} MEMORYSTATUSEX, *LPMEMORYSTATUSEX;

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

// The calling thread's system-wide id; stable for the thread's life.
extern "C" PLATFORMBASE_API DWORD GetCurrentThreadId();
extern "C" PLATFORMBASE_API DWORD GetCurrentProcessId();
// The pseudo handle that stands for this process.
extern "C" PLATFORMBASE_API HANDLE GetCurrentProcess();

// Physical memory from MemTotal and MemAvailable, the page file adds swap,
// virtual memory is the address space left to this process. Bytes.
extern "C" PLATFORMBASE_API void GlobalMemoryStatus(LPMEMORYSTATUS status);
// FALSE (ERROR_INVALID_PARAMETER) unless dwLength is the structure's size.
extern "C" PLATFORMBASE_API BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status);
// This process only; PagefileUsage is its virtual size (VmSize), the working
// set its resident size (VmRSS).
extern "C" PLATFORMBASE_API BOOL GetProcessMemoryInfo(HANDLE process,
                                                      PPROCESS_MEMORY_COUNTERS counters,
                                                      DWORD size);

// number * numerator / denominator with a 64-bit intermediate, rounded half
// away from zero; -1 when the denominator is 0 or the result overflows.
extern "C" PLATFORMBASE_API int MulDiv(int number, int numerator, int denominator);
