#include "TempFolder.h"
#include "WinError.h"
#include "WinProcessMemory.h"

#include <gtest/gtest.h>

namespace
{
constexpr ULONGLONG kKiB = 1024;

class ProcessMemoryInfoTest : public testing::Test
{
protected:
    void TearDown() override { SetMemoryInfoFiles(nullptr, nullptr); }
    TempFolder m_folder;
};

TEST_F(ProcessMemoryInfoTest, SystemFiguresComeFromMeminfo)
{
    const std::string strMemInfo = m_folder.Write("meminfo", "MemTotal:       8000 kB\n"
                                                             "MemFree:         100 kB\n"
                                                             "MemAvailable:   2000 kB\n"
                                                             "SwapTotal:      1000 kB\n"
                                                             "SwapFree:        500 kB\n"
                                                             "HugePages_Total:   0\n");
    const std::string strStatus = m_folder.Write("status", "Name:\ttest\nVmPeak:\t  9000 kB\n"
                                                           "VmSize:\t  4096 kB\nVmHWM:\t  700 kB\n"
                                                           "VmRSS:\t  600 kB\n");
    SetMemoryInfoFiles(strMemInfo.c_str(), strStatus.c_str());

    MEMORYSTATUS status{};
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwLength, sizeof(MEMORYSTATUS));
    EXPECT_EQ(status.dwTotalPhys, 8000 * kKiB);
    EXPECT_EQ(status.dwAvailPhys, 2000 * kKiB);
    EXPECT_EQ(status.dwTotalPageFile, 9000 * kKiB);
    EXPECT_EQ(status.dwAvailPageFile, 2500 * kKiB);
    EXPECT_EQ(status.dwMemoryLoad, 75u);
    EXPECT_EQ(status.dwTotalVirtual, 1ULL << 47);
    EXPECT_EQ(status.dwAvailVirtual, (1ULL << 47) - 4096 * kKiB);

    MEMORYSTATUSEX statusEx{};
    EXPECT_FALSE(GlobalMemoryStatusEx(&statusEx));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    statusEx.dwLength = sizeof(statusEx);
    ASSERT_TRUE(GlobalMemoryStatusEx(&statusEx));
    EXPECT_EQ(statusEx.ullAvailPhys, 2000 * kKiB);
}

TEST_F(ProcessMemoryInfoTest, OlderKernelsWithoutMemAvailableCountFreeAndCaches)
{
    const std::string strMemInfo = m_folder.Write(
        "meminfo", "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 20 kB\nCached: 30 kB\n");
    SetMemoryInfoFiles(strMemInfo.c_str(), m_folder.PathOf("absent").c_str());
    MEMORYSTATUS status{};
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwAvailPhys, 150 * kKiB);
    EXPECT_EQ(status.dwAvailVirtual, 1ULL << 47);
}

TEST_F(ProcessMemoryInfoTest, ProcessCountersComeFromStatus)
{
    const std::string strStatus = m_folder.Write(
        "status", "VmPeak:\t9000 kB\nVmSize:\t4096 kB\nVmHWM:\t700 kB\nVmRSS:\t600 kB\n");
    SetMemoryInfoFiles(nullptr, strStatus.c_str());
    PROCESS_MEMORY_COUNTERS counters{};
    ASSERT_TRUE(GetProcessMemoryInfo(nullptr, &counters, sizeof(counters)));
    EXPECT_EQ(counters.cb, sizeof(counters));
    EXPECT_EQ(counters.PagefileUsage, 4096 * kKiB);
    EXPECT_EQ(counters.PeakPagefileUsage, 9000 * kKiB);
    EXPECT_EQ(counters.WorkingSetSize, 600 * kKiB);
    EXPECT_EQ(counters.PeakWorkingSetSize, 700 * kKiB);
    EXPECT_FALSE(GetProcessMemoryInfo(nullptr, &counters, sizeof(counters) - 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(ProcessMemoryInfoTest, RealFilesGiveFiguresOfThisMachine)
{
    PROCESS_MEMORY_COUNTERS counters{};
    ASSERT_TRUE(GetProcessMemoryInfo(nullptr, &counters, sizeof(counters)));
    EXPECT_GT(counters.PagefileUsage, 0u);
    EXPECT_GE(counters.PeakPagefileUsage, counters.PagefileUsage);
    MEMORYSTATUS status{};
    GlobalMemoryStatus(&status);
    EXPECT_GT(status.dwTotalPhys, 0u);
    EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
}
} // namespace
