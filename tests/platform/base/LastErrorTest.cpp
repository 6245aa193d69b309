#include "WinError.h"

#include <gtest/gtest.h>

#include <thread>

TEST(LastError, IsKeptPerThread)
{
    SetLastError(ERROR_SHARING_VIOLATION);
    DWORD seenInOtherThread = 1;
    std::thread other([&] {
        seenInOtherThread = GetLastError();
        SetLastError(ERROR_FILE_NOT_FOUND);
    });
    other.join();
    EXPECT_EQ(seenInOtherThread, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}
