#include "WinProcessMemory.h"

#include "WinError.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace
{
constexpr ULONGLONG kUserAddressSpace = 1ULL << 47;
constexpr LPCSTR kMemInfo = "/proc/meminfo";
constexpr LPCSTR kProcessStatus = "/proc/self/status";

std::string& MemInfoPath()
{
    static std::string strPath = kMemInfo;
    return strPath;
}

std::string& ProcessStatusPath()
{
    static std::string strPath = kProcessStatus;
    return strPath;
}

// "Name:   1234 kB" lines as bytes; lines without a kB figure are skipped.
bool ReadKilobyteFields(const std::string& strPath, std::map<std::string, ULONGLONG>& fields)
{
    FILE* pFile = std::fopen(strPath.c_str(), "r");
    if (pFile == nullptr)
        return false;
    char szLine[256];
    while (std::fgets(szLine, sizeof(szLine), pFile) != nullptr)
    {
        char szName[64];
        unsigned long long nKilobytes = 0;
        char szUnit[8];
        if (std::sscanf(szLine, "%63[^:]: %llu %7s", szName, &nKilobytes, szUnit) == 3 &&
            std::strcmp(szUnit, "kB") == 0)
            fields[szName] = nKilobytes * 1024;
    }
    std::fclose(pFile);
    return true;
}

ULONGLONG FieldOrZero(const std::map<std::string, ULONGLONG>& fields, const char* pszName)
{
    auto it = fields.find(pszName);
    return it != fields.end() ? it->second : 0;
}

void FillStatus(MEMORYSTATUSEX& status)
{
    std::map<std::string, ULONGLONG> memInfo;
    std::map<std::string, ULONGLONG> process;
    ReadKilobyteFields(MemInfoPath(), memInfo);
    ReadKilobyteFields(ProcessStatusPath(), process);

    status.ullTotalPhys = FieldOrZero(memInfo, "MemTotal");
    status.ullAvailPhys = memInfo.contains("MemAvailable")
                              ? memInfo["MemAvailable"]
                              : FieldOrZero(memInfo, "MemFree") + FieldOrZero(memInfo, "Buffers") +
                                    FieldOrZero(memInfo, "Cached");
    status.ullAvailPhys = std::min(status.ullAvailPhys, status.ullTotalPhys);
    status.ullTotalPageFile = status.ullTotalPhys + FieldOrZero(memInfo, "SwapTotal");
    status.ullAvailPageFile = status.ullAvailPhys + FieldOrZero(memInfo, "SwapFree");
    status.ullTotalVirtual = kUserAddressSpace;
    status.ullAvailVirtual =
        kUserAddressSpace - std::min(kUserAddressSpace, FieldOrZero(process, "VmSize"));
    status.ullAvailExtendedVirtual = 0;
    status.dwMemoryLoad = status.ullTotalPhys == 0
                              ? 0
                              : static_cast<DWORD>((status.ullTotalPhys - status.ullAvailPhys) *
                                                   100 / status.ullTotalPhys);
}
} // namespace

BOOL GetProcessMemoryInfo(HANDLE, PPROCESS_MEMORY_COUNTERS ppsmemCounters, DWORD cb)
{
    if (ppsmemCounters == nullptr || cb < sizeof(PROCESS_MEMORY_COUNTERS))
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::map<std::string, ULONGLONG> process;
    if (!ReadKilobyteFields(ProcessStatusPath(), process))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *ppsmemCounters = PROCESS_MEMORY_COUNTERS{};
    ppsmemCounters->cb = sizeof(PROCESS_MEMORY_COUNTERS);
    ppsmemCounters->WorkingSetSize = FieldOrZero(process, "VmRSS");
    ppsmemCounters->PeakWorkingSetSize = FieldOrZero(process, "VmHWM");
    ppsmemCounters->PagefileUsage = FieldOrZero(process, "VmSize");
    ppsmemCounters->PeakPagefileUsage = FieldOrZero(process, "VmPeak");
    return TRUE;
}

void GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer)
{
    if (lpBuffer == nullptr)
        return;
    MEMORYSTATUSEX status{};
    FillStatus(status);
    lpBuffer->dwLength = sizeof(MEMORYSTATUS);
    lpBuffer->dwMemoryLoad = status.dwMemoryLoad;
    lpBuffer->dwTotalPhys = status.ullTotalPhys;
    lpBuffer->dwAvailPhys = status.ullAvailPhys;
    lpBuffer->dwTotalPageFile = status.ullTotalPageFile;
    lpBuffer->dwAvailPageFile = status.ullAvailPageFile;
    lpBuffer->dwTotalVirtual = status.ullTotalVirtual;
    lpBuffer->dwAvailVirtual = status.ullAvailVirtual;
}

BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX lpBuffer)
{
    if (lpBuffer == nullptr || lpBuffer->dwLength != sizeof(MEMORYSTATUSEX))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FillStatus(*lpBuffer);
    return TRUE;
}

void SetMemoryInfoFiles(LPCSTR pszMemInfo, LPCSTR pszProcessStatus)
{
    MemInfoPath() = pszMemInfo != nullptr ? pszMemInfo : kMemInfo;
    ProcessStatusPath() = pszProcessStatus != nullptr ? pszProcessStatus : kProcessStatus;
}
