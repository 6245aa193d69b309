#include "FixArray.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FixArray, KeepsUpToNElementsInside)
{
    FixArray<int, 4> array;
    EXPECT_EQ(array.GetCapacity(), 4);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(array.Add(10 + i), i);
    }
    EXPECT_EQ(array.GetCount(), 4);
    EXPECT_EQ(array[3], 13);
    EXPECT_GE(reinterpret_cast<const char*>(array.GetData()),
              reinterpret_cast<const char*>(&array));
    EXPECT_LT(reinterpret_cast<const char*>(array.GetData()),
              reinterpret_cast<const char*>(&array) + sizeof(array));
}

TEST(FixArray, AddPastTheCapacityThrowsUnlessItMayGrow)
{
    FixArray<int, 2> array;
    array.Add(1);
    array.Add(2);
    try
    {
        array.Add(3);
        FAIL() << "no exception";
    }
    catch (const char* text)
    {
        EXPECT_STREQ(text, "Out of FixArray range in Add");
    }
    EXPECT_EQ(array.GetCount(), 2);

    array.SetGrowable(true);
    EXPECT_EQ(array.Add(3), 2);
    EXPECT_EQ(array.GetCapacity(), 3); // exactly one more element
    EXPECT_EQ(array[0], 1);
    EXPECT_EQ(array[2], 3);
}

TEST(FixArray, GrowingAddAcceptsAnItemOfItsOwnBlock)
{
    FixArray<int, 1> array(1, true);
    array.Add(7);
    array.Add(array[0]);
    EXPECT_EQ(array[1], 7);
}

TEST(FixArray, ALargerCapacityGoesToTheHeap)
{
    FixArray<int, 4> array(100);
    EXPECT_EQ(array.GetCapacity(), 100);
    EXPECT_FALSE(array.IsGrowable());
    for (int i = 0; i < 100; ++i)
    {
        array.Add(i);
    }
    EXPECT_THROW(array.Add(100), const char*);
    EXPECT_EQ(array[99], 99);
}

TEST(FixArray, ReserveGrowsOnlyAndKeepsTheElements)
{
    FixArray<int, 2> array;
    array.Add(5);
    EXPECT_EQ(array.Reserve(1), 2);
    EXPECT_EQ(array.Reserve(8), 8);
    EXPECT_EQ(array[0], 5);
    EXPECT_EQ(array.GetCount(), 1);
    EXPECT_EQ(array.Reserve(3), 8);
}

TEST(FixArray, CopiesAreIndependentAndNest)
{
    using Row = FixArray<int, 2>;
    FixArray<Row, 2> grid(3, true);
    Row row(4);
    row.Add(1);
    row.Add(2);
    row.Add(3);
    grid.Add(row);
    grid.Add(row);
    grid[1][0] = 9;
    EXPECT_EQ(grid[0][0], 1);
    EXPECT_EQ(grid[1][0], 9);
    EXPECT_EQ(grid[1].GetCount(), 3);

    FixArray<Row, 2> copy;
    copy = grid;
    copy[0][2] = 8;
    EXPECT_EQ(grid[0][2], 3);
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_TRUE(copy.IsValidIndex(1));
    EXPECT_FALSE(copy.IsValidIndex(2));
    EXPECT_FALSE(copy.IsValidIndex(-1));
}
