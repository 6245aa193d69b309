#include "WinGeometry.h"

#include <gtest/gtest.h>

TEST(WinGeometry, RightAndBottomEdgesAreExclusive)
{
    const RECT r{1, 2, 5, 6};
    EXPECT_TRUE(PtInRect(&r, POINT{1, 2}));
    EXPECT_TRUE(PtInRect(&r, POINT{4, 5}));
    EXPECT_FALSE(PtInRect(&r, POINT{5, 3}));
    EXPECT_FALSE(PtInRect(&r, POINT{3, 6}));
}

TEST(WinGeometry, EmptyWhenWidthOrHeightIsNotPositive)
{
    const RECT cases[] = {{0, 0, 0, 5}, {0, 0, 5, 0}, {3, 0, 1, 5}, {0, 4, 5, 2}};
    for (const RECT& r : cases)
        EXPECT_TRUE(IsRectEmpty(&r));
    const RECT full{0, 0, 1, 1};
    EXPECT_FALSE(IsRectEmpty(&full));
}

TEST(WinGeometry, IntersectionOfDisjointRectanglesIsEmptyAndFalse)
{
    const RECT a{0, 0, 4, 4};
    const RECT b{4, 0, 8, 4};
    RECT out{9, 9, 9, 9};
    EXPECT_FALSE(IntersectRect(&out, &a, &b));
    EXPECT_EQ(out.left | out.top | out.right | out.bottom, 0);
    const RECT c{2, 1, 6, 3};
    EXPECT_TRUE(IntersectRect(&out, &a, &c));
    const RECT expected{2, 1, 4, 3};
    EXPECT_TRUE(EqualRect(&out, &expected));
}

TEST(WinGeometry, UnionIgnoresEmptyRectangles)
{
    const RECT a{0, 0, 2, 2};
    const RECT empty{10, 10, 10, 20};
    RECT out;
    EXPECT_TRUE(UnionRect(&out, &a, &empty));
    EXPECT_TRUE(EqualRect(&out, &a));
    const RECT b{5, -1, 6, 1};
    UnionRect(&out, &a, &b);
    const RECT expected{0, -1, 6, 2};
    EXPECT_TRUE(EqualRect(&out, &expected));
    EXPECT_FALSE(UnionRect(&out, &empty, &empty));
}

TEST(WinGeometry, CRectMembersAndOperators)
{
    CRect r(10, 20, 40, 60);
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.CenterPoint(), CPoint(25, 40));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    r.TopLeft() = CPoint(0, 0);
    EXPECT_EQ(r, CRect(0, 0, 40, 60));
    r.DeflateRect(1, 2);
    EXPECT_EQ(r, CRect(1, 2, 39, 58));
    r.OffsetRect(CPoint(-1, -2));
    EXPECT_EQ(r.TopLeft(), CPoint(0, 0));
    CRect flipped(5, 5, 1, 1);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(1, 1, 5, 5));
    EXPECT_EQ(CRect(0, 0, 4, 4) & CRect(2, 2, 6, 6), CRect(2, 2, 4, 4));
    EXPECT_EQ(CRect(0, 0, 4, 4) | CRect(2, 2, 6, 6), CRect(0, 0, 6, 6));
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
    EXPECT_EQ(CPoint(5, 7) - CPoint(1, 2), CSize(4, 5));
    EXPECT_EQ(CPoint(MAKELPARAM(-3, 4)), CPoint(-3, 4));
}
