#include "PaneLayoutFormat.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace
{

struct FormatCase
{
    const char* format;
    int bands;
    std::vector<PaneRect> rects;
};

void PrintTo(const FormatCase& c, std::ostream* out)
{
    *out << c.format;
}

class AcceptedFormat : public testing::TestWithParam<FormatCase>
{
};

TEST_P(AcceptedFormat, GivesItsRectangles)
{
    const FormatCase& c = GetParam();
    PaneLayoutFormat layout;
    ASSERT_EQ(layout.Parse(c.format), PaneLayoutFormat::Accepted) << c.format;
    EXPECT_EQ(layout.GetBandCount(), c.bands) << c.format;
    EXPECT_EQ(layout.GetRects(), c.rects) << c.format;
}

INSTANTIATE_TEST_SUITE_P(
    PaneLayoutFormat, AcceptedFormat,
    testing::Values(
        FormatCase{"STANDARD\\1,1", 1, {{0, 0, 1000, 1000}}},
        // The width is added to the left edge: the last of three ends at 999.
        FormatCase{"STANDARD\\3,2",
                   3,
                   {{0, 0, 333, 500},
                    {333, 0, 666, 500},
                    {666, 0, 999, 500},
                    {0, 500, 333, 1000},
                    {333, 500, 666, 1000},
                    {666, 500, 999, 1000}}},
        FormatCase{"STANDARD\\2x,1y", 2, {{0, 0, 500, 1000}, {500, 0, 1000, 1000}}},
        FormatCase{
            "ROW\\1,2,0,4", 2, {{0, 0, 1000, 500}, {0, 500, 500, 1000}, {500, 500, 1000, 1000}}},
        FormatCase{"ROW\\1,1,1", 3, {{0, 0, 1000, 333}, {0, 333, 1000, 666}, {0, 666, 1000, 1000}}},
        FormatCase{"ROW\\1,1,,1", 2, {{0, 0, 1000, 500}, {0, 500, 1000, 1000}}},
        FormatCase{"ROW\\1,1,1,1,1,1,1,1",
                   7,
                   {{0, 0, 1000, 142},
                    {0, 142, 1000, 285},
                    {0, 285, 1000, 428},
                    {0, 428, 1000, 571},
                    {0, 571, 1000, 714},
                    {0, 714, 1000, 857},
                    {0, 857, 1000, 1000}}},
        FormatCase{"ROW\\1,1,1,1,1,1",
                   6,
                   {{0, 0, 1000, 166},
                    {0, 166, 1000, 333},
                    {0, 333, 1000, 500},
                    {0, 500, 1000, 666},
                    {0, 666, 1000, 833},
                    {0, 833, 1000, 1000}}},
        FormatCase{"COL\\2,1", 2, {{0, 0, 500, 500}, {0, 500, 500, 1000}, {500, 0, 1000, 1000}}},
        FormatCase{"COL\\1,3",
                   2,
                   {{0, 0, 500, 1000},
                    {500, 0, 1000, 333},
                    {500, 333, 1000, 666},
                    {500, 666, 1000, 1000}}},
        FormatCase{"ROWEX\\1:0.7,2:0.9",
                   2,
                   {{0, 0, 1000, 700}, {0, 700, 500, 1000}, {500, 700, 1000, 1000}}},
        // An item without a colon takes the weight of the next that has one.
        FormatCase{
            "ROWEX\\1,1:0.25,1", 3, {{0, 0, 1000, 250}, {0, 250, 1000, 500}, {0, 500, 1000, 1000}}},
        // The weights are not normalised: the last row takes what is left.
        FormatCase{"ROWEX\\1:0.1,1:0.2,1:0.9",
                   3,
                   {{0, 0, 1000, 100}, {0, 100, 1000, 300}, {0, 300, 1000, 1000}}},
        FormatCase{"COLEX\\2:0.25,1:0.75",
                   2,
                   {{0, 0, 250, 500}, {0, 500, 250, 1000}, {250, 0, 1000, 1000}}},
        FormatCase{"CUSTOM\\101",
                   2,
                   {{0, 0, 1000, 500},
                    {0, 500, 333, 750},
                    {333, 500, 666, 750},
                    {666, 500, 1000, 750},
                    {0, 750, 333, 1000},
                    {333, 750, 666, 1000},
                    {666, 750, 1000, 1000}}}));

TEST(PaneLayoutFormat, RowOfTwoAndTwelve)
{
    PaneLayoutFormat layout;
    ASSERT_EQ(layout.Parse("ROW\\2,12"), PaneLayoutFormat::Accepted);
    ASSERT_EQ(layout.GetCount(), 14);
    EXPECT_EQ(layout.GetRects()[2], (PaneRect{0, 500, 83, 1000}));
    EXPECT_EQ(layout.GetRects()[13], (PaneRect{916, 500, 1000, 1000}));
}

TEST(PaneLayoutFormat, CustomLayoutOf102LeavesAGapUnderTheTopRow)
{
    PaneLayoutFormat layout;
    ASSERT_EQ(layout.Parse("CUSTOM\\102"), PaneLayoutFormat::Accepted);
    ASSERT_EQ(layout.GetCount(), 11);
    EXPECT_EQ(layout.GetRects()[1], (PaneRect{500, 0, 1000, 332}));
    EXPECT_EQ(layout.GetRects()[2], (PaneRect{0, 333, 333, 570}));
    EXPECT_EQ(layout.GetRects()[10], (PaneRect{666, 790, 1000, 1000}));
}

struct RejectedCase
{
    const char* format;
    PaneLayoutFormat::enParse result;
};

void PrintTo(const RejectedCase& c, std::ostream* out)
{
    *out << (c.format != nullptr ? c.format : "null");
}

class RejectedFormat : public testing::TestWithParam<RejectedCase>
{
};

TEST_P(RejectedFormat, LeavesNoRectangles)
{
    PaneLayoutFormat layout;
    ASSERT_EQ(layout.Parse("STANDARD\\2,2"), PaneLayoutFormat::Accepted);
    EXPECT_EQ(layout.Parse(GetParam().format), GetParam().result) << GetParam().format;
    EXPECT_EQ(layout.GetCount(), 0);
    EXPECT_EQ(layout.GetBandCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    PaneLayoutFormat, RejectedFormat,
    testing::Values(RejectedCase{nullptr, PaneLayoutFormat::Rejected},
                    RejectedCase{"2,2", PaneLayoutFormat::Rejected},
                    RejectedCase{"STANDARD\\2", PaneLayoutFormat::Rejected},
                    RejectedCase{"STANDARD\\", PaneLayoutFormat::Rejected},
                    RejectedCase{"STANDARD\\0,2", PaneLayoutFormat::Rejected},
                    RejectedCase{"STANDARD\\2,-1", PaneLayoutFormat::Rejected},
                    RejectedCase{"standard\\2,2", PaneLayoutFormat::Rejected},
                    RejectedCase{"GRID\\2,2", PaneLayoutFormat::Rejected},
                    RejectedCase{"ROW\\", PaneLayoutFormat::Rejected},
                    RejectedCase{"ROW\\3", PaneLayoutFormat::Rejected},
                    RejectedCase{"ROW\\3,0,2", PaneLayoutFormat::Rejected},
                    RejectedCase{"ROW\\1,,2", PaneLayoutFormat::Rejected},
                    RejectedCase{"ROW\\1,2,-3", PaneLayoutFormat::Rejected},
                    RejectedCase{"COL\\x,1", PaneLayoutFormat::Rejected},
                    RejectedCase{"CUSTOM\\103", PaneLayoutFormat::Rejected},
                    // Weights that put a band outside the layout.
                    RejectedCase{"ROWEX\\1:0.8,1:0.8,1", PaneLayoutFormat::Rejected},
                    RejectedCase{"ROWEX\\1:-0.2,1", PaneLayoutFormat::Rejected},
                    RejectedCase{"COLEX\\1:nan,1:0.5", PaneLayoutFormat::Rejected},
                    RejectedCase{"COLEX\\1:1e300,1:0.5", PaneLayoutFormat::Rejected},
                    // More panes than a layout holds, overflowing or not.
                    RejectedCase{"STANDARD\\1001,1", PaneLayoutFormat::TooManyPanes},
                    RejectedCase{"STANDARD\\40,30", PaneLayoutFormat::TooManyPanes},
                    RejectedCase{"STANDARD\\65536,65536", PaneLayoutFormat::TooManyPanes},
                    RejectedCase{"STANDARD\\99999999999,2", PaneLayoutFormat::TooManyPanes},
                    RejectedCase{"ROW\\600,500", PaneLayoutFormat::TooManyPanes},
                    RejectedCase{"COL\\2147483647,2147483647", PaneLayoutFormat::TooManyPanes}));

struct ScaleCase
{
    const char* format;
    RECT layout;
    int index;
    RECT expected;
};

void PrintTo(const ScaleCase& c, std::ostream* out)
{
    *out << c.format << " #" << c.index;
}

class PaneRectScaling : public testing::TestWithParam<ScaleCase>
{
};

TEST_P(PaneRectScaling, SitsOnePixelInsideTheGridLines)
{
    const ScaleCase& c = GetParam();
    PaneLayoutFormat layout;
    ASSERT_EQ(layout.Parse(c.format), PaneLayoutFormat::Accepted);
    RECT out{};
    ASSERT_TRUE(layout.GetPaneRect(c.index, c.layout, &out));
    EXPECT_EQ(out.left, c.expected.left);
    EXPECT_EQ(out.top, c.expected.top);
    EXPECT_EQ(out.right, c.expected.right);
    EXPECT_EQ(out.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    PaneLayoutFormat, PaneRectScaling,
    testing::Values(ScaleCase{"STANDARD\\1,1", {0, 0, 1000, 1000}, 0, {1, 1, 999, 999}},
                    ScaleCase{"STANDARD\\2,2", {0, 0, 401, 301}, 3, {201, 151, 400, 300}},
                    ScaleCase{"STANDARD\\3,2", {10, 20, 310, 220}, 2, {210, 21, 308, 119}},
                    ScaleCase{"ROWEX\\1:0.7,2:0.9", {0, 0, 640, 480}, 1, {1, 337, 319, 479}},
                    ScaleCase{"COL\\1,3", {-100, -50, 100, 50}, 3, {1, 17, 99, 49}}));

TEST(PaneLayoutFormat, OutOfRangeIndicesLeaveTheRectangleAlone)
{
    PaneLayoutFormat layout;
    const RECT area{0, 0, 100, 100};
    RECT out{7, 7, 7, 7};
    EXPECT_FALSE(layout.GetPaneRect(0, area, &out)) << "no table";
    ASSERT_EQ(layout.Parse("STANDARD\\2,1"), PaneLayoutFormat::Accepted);
    EXPECT_FALSE(layout.GetPaneRect(-1, area, &out));
    EXPECT_FALSE(layout.GetPaneRect(2, area, &out));
    EXPECT_EQ(out.left, 7);
    EXPECT_EQ(out.bottom, 7);
}
} // namespace
