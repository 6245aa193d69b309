#include "WinInterlocked.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST(WinInterlocked, IncrementAndDecrementReturnTheNewValue)
{
    LONG volatile count = 5;
    EXPECT_EQ(InterlockedIncrement(&count), 6);
    EXPECT_EQ(InterlockedDecrement(&count), 5);
    EXPECT_EQ(count, 5);
}

TEST(WinInterlocked, CountsStayExactAcrossThreads)
{
    LONG volatile count = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back(
            [&count]
            {
                for (int i = 0; i < 50000; ++i)
                {
                    InterlockedIncrement(&count);
                    InterlockedIncrement(&count);
                    InterlockedDecrement(&count);
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(count, 4 * 50000);
}

TEST(WinInterlocked, CompareExchangeSwapsOnlyOnMatchAndReturnsPrevious)
{
    LONG volatile flag = 0;
    EXPECT_EQ(InterlockedCompareExchange(&flag, 1, 0), 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(InterlockedCompareExchange(&flag, 2, 0), 1);
    EXPECT_EQ(flag, 1);
}

TEST(WinInterlocked, ExchangeReturnsPrevious)
{
    LONG volatile value = -7;
    EXPECT_EQ(InterlockedExchange(&value, 9), -7);
    EXPECT_EQ(value, 9);
}
