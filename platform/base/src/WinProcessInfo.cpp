#include "WinProcessInfo.h"

#include "WinError.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace
{
// x86-64 user address space: 128 TiB less one page.
constexpr ULONGLONG kUserAddressSpace = 0x00007FFFFFFFF000ULL;

// "Name: value kB" lines of a /proc file, in bytes.
std::map<std::string, ULONGLONG> ReadKilobyteFields(const char* path)
{
    std::map<std::string, ULONGLONG> fields;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
    {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || line.find(" kB") == std::string::npos)
        {
            continue;
        }
        fields[line.substr(0, colon)] = std::strtoull(line.c_str() + colon + 1, nullptr, 10) * 1024;
    }
    return fields;
}

ULONGLONG GetAddressSpaceLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < kUserAddressSpace)
    {
        return limit.rlim_cur;
    }
    return kUserAddressSpace;
}

MEMORYSTATUSEX ReadMemoryStatus()
{
    std::map<std::string, ULONGLONG> system = ReadKilobyteFields("/proc/meminfo");
    std::map<std::string, ULONGLONG> process = ReadKilobyteFields("/proc/self/status");
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    status.ullTotalPhys = system["MemTotal"];
    status.ullAvailPhys = std::min(system["MemAvailable"], status.ullTotalPhys);
    status.ullTotalPageFile = status.ullTotalPhys + system["SwapTotal"];
    status.ullAvailPageFile = status.ullAvailPhys + system["SwapFree"];
    status.ullTotalVirtual = GetAddressSpaceLimit();
    const ULONGLONG used = process["VmSize"];
    status.ullAvailVirtual = used < status.ullTotalVirtual ? status.ullTotalVirtual - used : 0;
    if (status.ullTotalPhys > 0)
    {
        status.dwMemoryLoad = static_cast<DWORD>(
            100 - (status.ullAvailPhys * 100 + status.ullTotalPhys / 2) / status.ullTotalPhys);
    }
    return status;
}
} // namespace

DWORD GetCurrentThreadId()
{
    return static_cast<DWORD>(gettid());
}

DWORD GetCurrentProcessId()
{
    return static_cast<DWORD>(getpid());
}

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

void GlobalMemoryStatus(LPMEMORYSTATUS status)
{
    if (status == nullptr)
    {
        return;
    }
    const MEMORYSTATUSEX full = ReadMemoryStatus();
    status->dwLength = sizeof *status;
    status->dwMemoryLoad = full.dwMemoryLoad;
    status->dwTotalPhys = full.ullTotalPhys;
    status->dwAvailPhys = full.ullAvailPhys;
    status->dwTotalPageFile = full.ullTotalPageFile;
    status->dwAvailPageFile = full.ullAvailPageFile;
    status->dwTotalVirtual = full.ullTotalVirtual;
    status->dwAvailVirtual = full.ullAvailVirtual;
}

BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status)
{
    if (status == nullptr || status->dwLength != sizeof(MEMORYSTATUSEX))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *status = ReadMemoryStatus();
    return TRUE;
}

BOOL GetProcessMemoryInfo(HANDLE process, PPROCESS_MEMORY_COUNTERS counters, DWORD size)
{
    if (counters == nullptr || size < sizeof(PROCESS_MEMORY_COUNTERS))
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (process != GetCurrentProcess())
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::map<std::string, ULONGLONG> fields = ReadKilobyteFields("/proc/self/status");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    *counters = PROCESS_MEMORY_COUNTERS{};
    counters->cb = sizeof(PROCESS_MEMORY_COUNTERS);
    counters->PageFaultCount = static_cast<DWORD>(usage.ru_minflt + usage.ru_majflt);
    counters->WorkingSetSize = fields["VmRSS"];
    counters->PeakWorkingSetSize = fields["VmHWM"];
    counters->PagefileUsage = fields["VmSize"];
    counters->PeakPagefileUsage = fields["VmPeak"];
    return TRUE;
}

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
    {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t magnitude = (product < 0 ? -product : product);
    const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator)
                                                 : static_cast<std::int64_t>(denominator);
    std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    if ((product < 0) != (denominator < 0))
    {
        quotient = -quotient;
    }
    if (quotient > INT_MAX || quotient < INT_MIN)
    {
        return -1;
    }
    return static_cast<int>(quotient);
}
