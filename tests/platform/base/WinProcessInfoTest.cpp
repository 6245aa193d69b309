#include "WinProcessInfo.h"

#include "WinError.h"

#include <gtest/gtest.h>

#include <climits>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

namespace
{
TEST(WinProcessInfo, ThreadIdsAreStablePerThreadAndDistinct)
{
    const DWORD mine = GetCurrentThreadId();
    EXPECT_EQ(GetCurrentThreadId(), mine);
    EXPECT_EQ(mine, GetCurrentProcessId()) << "the main thread's id is the process id";
    DWORD other = 0;
    std::thread([&other] { other = GetCurrentThreadId(); }).join();
    EXPECT_NE(other, mine);
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
}

TEST(WinProcessInfo, MemoryFiguresHangTogether)
{
    MEMORYSTATUSEX status{};
    EXPECT_FALSE(GlobalMemoryStatusEx(&status)) << "dwLength must be set";
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_GT(status.ullTotalPhys, 0u);
    EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
    EXPECT_GE(status.ullTotalPageFile, status.ullTotalPhys);
    EXPECT_LT(status.ullAvailVirtual, status.ullTotalVirtual);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    MEMORYSTATUS old{};
    GlobalMemoryStatus(&old);
    EXPECT_EQ(old.dwTotalPhys, status.ullTotalPhys);
}

TEST(WinProcessInfo, TheProcessSizeFollowsItsMappings)
{
    PROCESS_MEMORY_COUNTERS before{};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before));
    EXPECT_GT(before.WorkingSetSize, 0u);
    EXPECT_GE(before.PeakPagefileUsage, before.PagefileUsage);
    constexpr std::size_t kBlock = 64 << 20;
    void* block = mmap(nullptr, kBlock, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(block, MAP_FAILED);
    PROCESS_MEMORY_COUNTERS after{};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after));
    munmap(block, kBlock);
    EXPECT_GE(after.PagefileUsage, before.PagefileUsage + kBlock - (1 << 20));
    int notAProcess = 0;
    EXPECT_FALSE(GetProcessMemoryInfo(&notAProcess, &after, sizeof after));
    EXPECT_FALSE(GetProcessMemoryInfo(GetCurrentProcess(), &after, 8));
}

struct SMulDivCase
{
    int number;
    int numerator;
    int denominator;
    int expected;
};

void PrintTo(const SMulDivCase& c, std::ostream* out)
{
    *out << c.number << "*" << c.numerator << "/" << c.denominator;
}

class WinMulDiv : public testing::TestWithParam<SMulDivCase>
{
};

TEST_P(WinMulDiv, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(GetParam().number, GetParam().numerator, GetParam().denominator),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, WinMulDiv,
                         testing::Values(SMulDivCase{10, 96, 72, 13}, SMulDivCase{9, 96, 72, 12},
                                         SMulDivCase{1, 3, 2, 2}, SMulDivCase{-1, 3, 2, -2},
                                         SMulDivCase{1, -3, 2, -2}, SMulDivCase{-1, -3, -2, -2},
                                         SMulDivCase{5, 1, 0, -1},
                                         SMulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                         SMulDivCase{INT_MAX, 2, 1, -1},
                                         SMulDivCase{INT_MIN, 1, -1, -1}));
} // namespace
