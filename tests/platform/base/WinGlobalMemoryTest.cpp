#include "WinGlobalMemory.h"

#include "WinError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace
{
TEST(WinGlobalMemory, MovableBlocksCountNestedLocksAndKeepTheirAddress)
{
    HGLOBAL block = GlobalAlloc(GHND, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 100u);
    auto* first = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(static_cast<void*>(first), block) << "a movable handle is not the address";
    EXPECT_EQ(first[0], 0);
    EXPECT_EQ(first[99], 0);
    EXPECT_EQ(GlobalLock(block), first);
    EXPECT_EQ(GlobalHandle(first), block);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalLock(block), first);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(WinGlobalMemory, FixedBlocksAreTheirOwnAddress)
{
    HGLOBAL block = GlobalAlloc(GPTR, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalLock(block), block);
    EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);
    EXPECT_EQ(GlobalSize(block), 16u);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

struct SReAllocCase
{
    UINT allocFlags;
    UINT reallocFlags;
    SIZE_T newSize;
    bool zeroGrowth;
};

void PrintTo(const SReAllocCase& c, std::ostream* out)
{
    *out << std::hex << c.allocFlags << " to " << std::dec << c.newSize << " with " << std::hex
         << c.reallocFlags;
}

class WinGlobalReAlloc : public testing::TestWithParam<SReAllocCase>
{
};

TEST_P(WinGlobalReAlloc, KeepsTheContentsAndZeroesGrowthOnlyWhenAsked)
{
    const SReAllocCase& c = GetParam();
    HGLOBAL block = GlobalAlloc(c.allocFlags, 8);
    std::memcpy(GlobalLock(block), "ABCDEFGH", 8);
    GlobalUnlock(block);
    HGLOBAL grown = GlobalReAlloc(block, c.newSize, c.reallocFlags);
    ASSERT_NE(grown, nullptr);
    if ((c.allocFlags & GMEM_MOVEABLE) != 0)
    {
        EXPECT_EQ(grown, block) << "a movable block keeps its handle";
    }
    EXPECT_EQ(GlobalSize(grown), c.newSize);
    const auto* data = static_cast<const char*>(GlobalLock(grown));
    EXPECT_EQ(std::string(data, std::min<SIZE_T>(8, c.newSize)),
              std::string("ABCDEFGH").substr(0, std::min<SIZE_T>(8, c.newSize)));
    if (c.zeroGrowth)
    {
        for (SIZE_T i = 8; i < c.newSize; ++i)
        {
            EXPECT_EQ(data[i], 0) << i;
        }
    }
    GlobalUnlock(grown);
    EXPECT_EQ(GlobalFree(grown), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinGlobalReAlloc,
    testing::Values(SReAllocCase{GMEM_MOVEABLE, GMEM_MOVEABLE | GMEM_ZEROINIT, 4096, true},
                    SReAllocCase{GMEM_MOVEABLE, 0, 4096, false},
                    SReAllocCase{GMEM_MOVEABLE, GMEM_MOVEABLE, 3, false},
                    SReAllocCase{GMEM_FIXED, GMEM_MOVEABLE | GMEM_ZEROINIT, 100, true},
                    SReAllocCase{GMEM_FIXED, 0, 4, false}));

TEST(WinGlobalMemory, AFixedBlockDoesNotMoveUnlessAllowed)
{
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 8);
    EXPECT_EQ(GlobalReAlloc(block, 64, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalSize(block), 8u) << "the old block is untouched";
    GlobalFree(block);
}

TEST(WinGlobalMemory, BadHandlesFailWithoutHarm)
{
    int notABlock = 0;
    EXPECT_EQ(GlobalLock(&notABlock), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(&notABlock), 0u);
    EXPECT_EQ(GlobalReAlloc(&notABlock, 10, 0), nullptr);
    EXPECT_EQ(GlobalFree(&notABlock), static_cast<HGLOBAL>(&notABlock));
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    HGLOBAL block = GlobalAlloc(GHND, 4);
    GlobalFree(block);
    EXPECT_EQ(GlobalLock(block), nullptr) << "a freed handle is no longer a block";
}

TEST(WinGlobalMemory, ZeroSizedBlocksLockToAnAddress)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_NE(GlobalLock(block), nullptr);
    GlobalUnlock(block);
    GlobalFree(block);
}

TEST(WinGlobalMemory, LocalBlocksFreeWithLocalFree)
{
    HLOCAL block = LocalAlloc(LPTR, 32);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<char*>(block)[31], 0);
    EXPECT_EQ(LocalFree(block), nullptr);
}

} // namespace

// A block whose owner goes at process exit, arranged before the first block
// was ever made (a library's static object holding a bitmap), is freed all
// the same. The test runs in a fresh process, where no block was made yet.
TEST(WinGlobalMemoryDeathTest, ABlockFreedAtExitByAnEarlierOwnerIsFreed)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            struct Owner
            {
                HGLOBAL block = nullptr;
                ~Owner()
                {
                    if (GlobalFree(block) != nullptr)
                    {
                        _exit(3);
                    }
                }
            };
            static Owner owner;
            owner.block = GlobalAlloc(GMEM_MOVEABLE, 16);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}
