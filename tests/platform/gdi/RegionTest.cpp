#include "Region.h"

#include <gtest/gtest.h>

namespace
{
Region Ellipse(int left, int top, int right, int bottom)
{
    HRGN handle = CreateEllipticRgn(left, top, right, bottom);
    Region region = GdiGetRegion(handle);
    DeleteObject(handle);
    return region;
}

Region TwoRects()
{
    Region region(RECT{0, 0, 10, 4});
    return region.Add(RECT{6, 3, 20, 12});
}
} // namespace

TEST(Region, InPlaceAlgebraHoldsPixelByPixel)
{
    const Region a = TwoRects();
    const Region b = Ellipse(4, 1, 18, 15);
    Region sum = a;
    sum.Add(b);
    Region difference = a;
    difference.Subtract(b);
    Region common = a;
    common.Intersect(b);
    Region clipped = a;
    clipped.Intersect(RECT{5, 2, 12, 9});
    for (int y = -1; y < 17; ++y)
    {
        for (int x = -1; x < 22; ++x)
        {
            const bool inA = a.Contains(x, y);
            const bool inB = b.Contains(POINT{x, y});
            const bool inRect = x >= 5 && x < 12 && y >= 2 && y < 9;
            EXPECT_EQ(sum.Contains(x, y), inA || inB) << x << "," << y;
            EXPECT_EQ(difference.Contains(x, y), inA && !inB) << x << "," << y;
            EXPECT_EQ(common.Contains(x, y), inA && inB) << x << "," << y;
            EXPECT_EQ(clipped.Contains(x, y), inA && inRect) << x << "," << y;
        }
    }
    const RECT bounds = sum.GetBounds();
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.bottom, 15);
    Region empty;
    EXPECT_TRUE(empty.Subtract(a).IsEmpty());
    EXPECT_TRUE(Region(a).Subtract(a).IsEmpty());
    Region cleared = a;
    cleared.Clear();
    EXPECT_TRUE(cleared.IsEmpty());
}

TEST(Region, RegionObjectsCarryTheSamePixels)
{
    const Region region = TwoRects();
    HRGN handle = GdiCreateRegion(region);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(PtInRegion(handle, 15, 10));
    EXPECT_FALSE(PtInRegion(handle, 15, 1));
    EXPECT_EQ(GdiGetRegion(handle), region);
    DeleteObject(handle);
    EXPECT_TRUE(GdiGetRegion(handle).IsEmpty()) << "a deleted object is no region";
}

TEST(Region, BoundaryIsThePixelsWithANeighbourOutside)
{
    Region framed(RECT{0, 0, 12, 10});
    framed.Subtract(RECT{3, 3, 8, 6});
    Region apart(RECT{0, 0, 6, 3});
    apart.Add(RECT{2, 5, 9, 6});
    const struct
    {
        const char* name;
        Region region;
    } cases[] = {
        {"rectangle", Region(RECT{2, 1, 15, 11})},
        {"one row", Region(RECT{0, 4, 9, 5})},
        {"two rows", Region(RECT{0, 4, 9, 6})},
        {"three rows", Region(RECT{0, 4, 9, 7})},
        {"two columns", Region(RECT{3, 0, 5, 8})},
        {"overlapping rectangles", TwoRects()},
        {"ellipse", Ellipse(1, 2, 19, 14)},
        {"frame", framed},
        {"bands apart", apart},
        {"empty", Region()},
    };
    for (const auto& c : cases)
    {
        const Region boundary = c.region.Boundary();
        for (int y = -2; y < 18; ++y)
        {
            for (int x = -2; x < 22; ++x)
            {
                const bool edge = c.region.Contains(x, y) &&
                                  !(c.region.Contains(x - 1, y) && c.region.Contains(x + 1, y) &&
                                    c.region.Contains(x, y - 1) && c.region.Contains(x, y + 1));
                EXPECT_EQ(boundary.Contains(x, y), edge) << c.name << " " << x << "," << y;
            }
        }
    }
}
