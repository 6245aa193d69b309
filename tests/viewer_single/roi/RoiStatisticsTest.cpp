#include "FakeRoiOwner.h"
#include "ORoiRegion.h"
#include "WinGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace pelivo;

namespace
{

struct Expected
{
    double count = 0;
    double sum = 0;
    int mean = 0;
    int deviation = 0;
};

// The plain sums over the cells the mask holds, as the statistics should
// find them.
Expected SumsOver(const FakeRoiOwner& owner, const RoiMask& mask, const RECT& bounds)
{
    Expected expected;
    std::vector<int> values;
    for (int row = bounds.top; row < bounds.bottom; ++row)
    {
        for (int column = bounds.left; column < bounds.right; ++column)
        {
            if (mask.IsInside(column - bounds.left, row - bounds.top))
            {
                values.push_back(owner.GetPixelValue(column, row));
            }
        }
    }
    expected.count = double(values.size());
    if (values.empty())
    {
        return expected;
    }
    for (int value : values)
    {
        expected.sum += value;
    }
    expected.mean = int(expected.sum / expected.count);
    double squares = 0;
    for (int value : values)
    {
        squares += (double(value) - expected.mean) * (double(value) - expected.mean);
    }
    expected.deviation = int(std::sqrt(squares / expected.count));
    return expected;
}

} // namespace

TEST(RoiStatistics, UniformRegionHasItsValueAndNoDeviation)
{
    // More than 65,535 equal pixels: a 16-bit counter would wrap.
    FakeRoiOwner owner(300, 300);
    owner.Fill([](int, int) { return -1200; });
    ORoiRectangle rectangle(&owner, 0, 0, 300, 300);
    const RoiStatistics* statistics = rectangle.GetStatistics();
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->count, 90000.0);
    EXPECT_EQ(statistics->mean, -1200);
    EXPECT_EQ(statistics->deviation, 0);
}

TEST(RoiStatistics, RandomRegionsMatchPlainSums)
{
    FakeRoiOwner owner(120, 90);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> values(-3000, 4000);
    owner.Fill([&](int, int) { return values(random); });
    for (const RECT& bounds : {RECT{5, 7, 60, 50}, RECT{0, 0, 120, 90}, RECT{30, 20, 31, 80}})
    {
        for (int kind : {enRoiRectangle, enRoiEllipse})
        {
            const RoiMask mask = BuildRoiMask(kind, bounds);
            RoiStatistics statistics;
            ASSERT_TRUE(ComputeRoiStatistics(mask, bounds, &owner, statistics));
            const Expected expected = SumsOver(owner, mask, bounds);
            EXPECT_EQ(statistics.count, expected.count) << kind;
            EXPECT_EQ(statistics.sum, expected.sum) << kind;
            EXPECT_EQ(statistics.mean, expected.mean) << kind;
            EXPECT_EQ(statistics.deviation, expected.deviation) << kind;
        }
    }
}

TEST(RoiStatistics, ValuesOutsideTheHistogramCountInTheMeanOnly)
{
    FakeRoiOwner owner(2, 1);
    owner.SetPixel(0, 0, 100000);
    owner.SetPixel(1, 0, 0);
    RoiStatistics statistics;
    const RECT bounds{0, 0, 2, 1};
    ASSERT_TRUE(
        ComputeRoiStatistics(BuildRoiMask(enRoiRectangle, bounds), bounds, &owner, statistics));
    EXPECT_EQ(statistics.mean, 50000);
    EXPECT_EQ(statistics.deviation, int(std::sqrt(50000.0 * 50000.0 / 2)));
}

TEST(RoiStatistics, EllipseMaskIsSymmetricAndInsideItsBox)
{
    const RoiMask mask = BuildRoiMask(enRoiEllipse, {0, 0, 20, 10});
    ASSERT_EQ(mask.width, 20);
    ASSERT_EQ(mask.height, 10);
    EXPECT_FALSE(mask.IsInside(0, 0));
    EXPECT_FALSE(mask.IsInside(19, 9));
    EXPECT_TRUE(mask.IsInside(10, 5));
    EXPECT_TRUE(mask.IsInside(1, 5));
    for (int column = 0; column < 10; ++column)
    {
        for (int row = 0; row < 5; ++row)
        {
            EXPECT_EQ(mask.IsInside(column, row), mask.IsInside(19 - column, 9 - row))
                << column << "," << row;
        }
    }
}

struct AreaCase
{
    int kind;
    double spacing;
    const char* text;
};

class RegionLabel : public testing::TestWithParam<AreaCase>
{
};

TEST_P(RegionLabel, ShowsStatisticsWithTheArea)
{
    FakeRoiOwner owner(50, 50, GetParam().spacing);
    owner.Fill([](int x, int) { return x; });
    std::unique_ptr<ORoiRegion> region;
    if (GetParam().kind == enRoiEllipse)
    {
        region = std::make_unique<ORoiEllipse>(&owner, 10, 10, 30, 20);
    }
    else
    {
        region = std::make_unique<ORoiRectangle>(&owner, 10, 10, 30, 20);
    }
    region->EnsureStatistics();
    ASSERT_NE(region->GetNote(), nullptr);
    const RECT bounds{10, 10, 30, 20};
    const Expected expected = SumsOver(owner, BuildRoiMask(GetParam().kind, bounds), bounds);
    char text[200];
    std::snprintf(text, sizeof text, GetParam().text, expected.mean, expected.deviation);
    EXPECT_STREQ(region->GetNote()->GetText(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RegionLabel,
    testing::Values(AreaCase{enRoiRectangle, 0.0,
                             "RT1=(10,10)-(30,20)\rMean:%d\rStd.Dev.:%d Area:200 sq.pixel"},
                    AreaCase{enRoiRectangle, 0.5,
                             "RT1=(10,10)-(30,20)\rMean:%d\rStd.Dev.:%d\rArea:50.00 sq.mm"},
                    // 0.785 x 20 x 10 x 0.5 x 0.5
                    AreaCase{enRoiEllipse, 0.5,
                             "EL1=(10,10)-(30,20)\rMean:%d\rStd.Dev.:%d\rArea:39.25 sq.mm"}));

TEST(ORoiRegion, WithoutStatisticsShowsItsCorners)
{
    FakeRoiOwner owner(50, 50);
    owner.m_hasPane = false;
    ORoiEllipse ellipse(&owner, 1, 2, 3, 4);
    ellipse.CreateLabel();
    EXPECT_STREQ(ellipse.GetNote()->GetText(), "EL1=标注 <1,2> <3,4>");
    EXPECT_TRUE(IsSamePoint(ellipse.GetNote()->GetTextPosition(), {1, 9}));
}

TEST(ORoiRegion, RenumberingRenamesAndRecomputes)
{
    FakeRoiOwner owner(50, 50);
    owner.Fill([](int, int) { return 7; });
    ORoiRectangle rectangle(&owner, 0, 0, 10, 10);
    rectangle.EnsureStatistics();
    owner.Fill([](int, int) { return 9; });
    rectangle.SetNumber(3);
    EXPECT_STREQ(rectangle.GetName(), "RT3");
    EXPECT_EQ(rectangle.GetStatistics()->mean, 9);
    EXPECT_STREQ(rectangle.GetNote()->GetText(),
                 "RT3=(0,0)-(10,10)\rMean:9\rStd.Dev.:0 Area:100 sq.pixel");
}
