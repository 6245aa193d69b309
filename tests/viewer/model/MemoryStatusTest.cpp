// The memory figures the viewer logs around closing its views.
#include "MemoryStatus.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(MemoryStatus, ZeroUntilQueriedThenTheFiguresOfThisMachine)
{
    MemoryStatus status;
    EXPECT_EQ(status.GetAvailPhys(), 0u);
    EXPECT_EQ(status.GetAvailVirtual(), 0u);
    EXPECT_EQ(status.GetProcessPagefile(), 0u);
    ASSERT_TRUE(status.Query());
    const std::uint64_t physical =
        std::uint64_t(sysconf(_SC_PHYS_PAGES)) * std::uint64_t(sysconf(_SC_PAGESIZE));
    EXPECT_GT(status.GetAvailPhys(), 0u);
    EXPECT_LE(status.GetAvailPhys(), physical);
    EXPECT_GT(status.GetAvailVirtual(), 0u);
    EXPECT_GT(status.GetProcessPagefile(), 0u);
}
