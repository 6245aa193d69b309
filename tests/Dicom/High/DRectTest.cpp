#include "DRect.h"

#include <gtest/gtest.h>

namespace
{

::testing::AssertionResult Is(const DRect& r, int left, int top, int right, int bottom)
{
    if (r == DRect(left, top, right, bottom))
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

} // namespace

TEST(DRect, SizesAndCentre)
{
    DRect r(2, 3, 12, 23);
    EXPECT_EQ(r.Width(), 10);
    EXPECT_EQ(r.Height(), 20);
    int x = 0;
    int y = 0;
    r.CenterPoint(x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 13);
    DRect(-3, -3, 0, 0).CenterPoint(x, y);
    EXPECT_EQ(x, -1); // integer division rounds toward zero
}

TEST(DRect, InflateDeflateAndOffset)
{
    DRect r(0, 0, 10, 10);
    r.InflateRect(2, 3);
    EXPECT_TRUE(Is(r, -2, -3, 12, 13));
    r.DeflateRect(1, 1);
    EXPECT_TRUE(Is(r, -1, -2, 11, 12));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_TRUE(Is(r, -2, -4, 14, 16));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_TRUE(Is(r, -1, -2, 11, 12));
    r.OffsetRect(1, -1);
    EXPECT_TRUE(Is(r, 0, -3, 12, 11));
}

TEST(DRect, RectangleArguments)
{
    const DRect d(1, 2, 3, 4);
    DRect r(10, 10, 20, 20);
    EXPECT_TRUE(Is(r + &d, 9, 8, 23, 24));
    EXPECT_TRUE(Is(r - &d, 11, 12, 17, 16));
    r += &d;
    EXPECT_TRUE(Is(r, 9, 8, 23, 24));
    r -= &d;
    EXPECT_TRUE(Is(r, 10, 10, 20, 20));
    DRect copy(&r);
    EXPECT_TRUE(copy.EqualRect(&r));
    copy.CopyRect(&d);
    EXPECT_TRUE(copy == d);
    EXPECT_TRUE(copy != r);
}

TEST(DRect, NormalizeAndSwap)
{
    DRect r(10, 10, 0, 0);
    r.NormalizeRect();
    EXPECT_TRUE(Is(r, 0, 0, 10, 10));
    r.SwapLeftRight();
    EXPECT_TRUE(Is(r, 10, 0, 0, 10));
    DRect::SwapLeftRight(&r);
    EXPECT_TRUE(Is(r, 0, 0, 10, 10));
}

TEST(DRect, EmptyNullAndPointTests)
{
    struct Case
    {
        DRect rect;
        int empty;
        int null;
    };
    const Case cases[] = {
        {DRect(0, 0, 0, 0), 1, 1}, {DRect(0, 0, 5, 0), 1, 0}, {DRect(0, 0, 0, 5), 1, 0},
        {DRect(5, 5, 1, 9), 1, 0}, {DRect(0, 0, 1, 1), 0, 0}, {DRect(-5, -5, -1, -1), 0, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.rect.IsRectEmpty(), c.empty);
        EXPECT_EQ(c.rect.IsRectNull(), c.null);
    }
    DRect r(0, 0, 4, 4);
    EXPECT_TRUE(r.PtInRect(0, 0));
    EXPECT_TRUE(r.PtInRect(3, 3));
    EXPECT_FALSE(r.PtInRect(4, 0));
    EXPECT_FALSE(r.PtInRect(0, 4));
    EXPECT_FALSE(r.PtInRect(-1, 2));
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
    r.SetRect(1, 2, 3, 4);
    EXPECT_TRUE(Is(r, 1, 2, 3, 4));
    EXPECT_TRUE(DRect().IsRectNull());
}
