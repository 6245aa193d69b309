#include "WinBeep.h"

#include <gtest/gtest.h>

TEST(WinBeep, CallsAreCountedAndSucceed)
{
    ResetBeepCount();
    EXPECT_TRUE(Beep(1000, 1000));
    EXPECT_TRUE(Beep(1000, 1000));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    EXPECT_EQ(GetBeepCount(), 3);
    ResetBeepCount();
    EXPECT_EQ(GetBeepCount(), 0);
}
