// LookupTable: the window and its clamped forks, the conversions between
// stored, calibrated and screen values, copying, and the 8-bit tables built
// by the linear VOI function on the window as given.
#include "LookupTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{

using Table = std::unique_ptr<unsigned char[]>;

TEST(LookupTableTest, DefaultIsEmptyIdentityRescale)
{
    const LookupTable table;
    EXPECT_EQ(table.GetSlope(), 1.0f);
    EXPECT_EQ(table.GetIntercept(), 0.0f);
    EXPECT_EQ(table.GetInverted(), 0);
    EXPECT_EQ(table.GetOwner(), nullptr);
    EXPECT_TRUE(table.GetMinForks().empty());
}

TEST(LookupTableTest, InitClampsTheForksAndKeepsTheGivenWindow)
{
    const LookupTable table(0, 4095, 0.0f, 1.0f, 400, 40);
    EXPECT_EQ(table.GetMinSpaceRaw(), 0);
    EXPECT_EQ(table.GetMaxSpaceRaw(), 4095);
    EXPECT_EQ(table.GetMinSpaceCalib(), 0);
    EXPECT_EQ(table.GetMaxSpaceCalib(), 4095);
    EXPECT_EQ(table.GetImageRangeRaw(), 4096);
    EXPECT_EQ(table.GetMinForkCalib(), 0);
    EXPECT_EQ(table.GetMaxForkCalib(), 240);
    EXPECT_EQ(table.GetWindowCenter(), 40.0);
    EXPECT_EQ(table.GetWindowWidth(), 400.0);
}

TEST(LookupTableTest, InitRescalesTheStoredRange)
{
    const LookupTable table(-2000, 3000, -1024.0f, 2.0f, 100, 0);
    EXPECT_EQ(table.GetMinSpaceCalib(), -5024);
    EXPECT_EQ(table.GetMaxSpaceCalib(), 4976);
    EXPECT_EQ(table.GetImageRangeRaw(), 10001);
    EXPECT_EQ(table.GetMinForkCalib(), -50);
    EXPECT_EQ(table.GetMaxForkCalib(), 50);
}

TEST(LookupTableTest, InitTakesAZeroSlopeAsOneWithoutIntercept)
{
    const LookupTable table(0, 100, 50.0f, 0.0f, 10, 20);
    EXPECT_EQ(table.GetSlope(), 1.0f);
    EXPECT_EQ(table.GetIntercept(), 0.0f);
    EXPECT_EQ(table.GetMaxSpaceCalib(), 100);
    EXPECT_EQ(table.FromCalibratedToRaw(30), 30);
}

TEST(LookupTableTest, InitPutsAReversedRangeAndANegativeSlopeInOrder)
{
    const LookupTable table(100, 0, 0.0f, -1.0f, 20, -50);
    EXPECT_EQ(table.GetMinSpaceRaw(), 0);
    EXPECT_EQ(table.GetMaxSpaceRaw(), 100);
    EXPECT_EQ(table.GetMinSpaceCalib(), -100);
    EXPECT_EQ(table.GetMaxSpaceCalib(), 0);
    EXPECT_EQ(table.GetMinForkCalib(), -60);
    EXPECT_EQ(table.GetMaxForkCalib(), -40);
}

TEST(LookupTableTest, InitClearsTheInvertedSetting)
{
    LookupTable table;
    table.SetInverted(1);
    table.Init(0, 255, 0.0f, 1.0f, 255, 127);
    EXPECT_EQ(table.GetInverted(), 0);
}

TEST(LookupTableTest, SetMinMaxForkClampsAndMovesTheWindow)
{
    LookupTable table(0, 1000, 0.0f, 1.0f, 100, 500);
    table.SetMinMaxFork(-200, 300);
    EXPECT_EQ(table.GetMinForkCalib(), 0);
    EXPECT_EQ(table.GetMaxForkCalib(), 300);
    EXPECT_EQ(table.GetWindowCenter(), 50.0);
    EXPECT_EQ(table.GetWindowWidth(), 500.0);

    table.SetMinMaxFork(900, 5000);
    EXPECT_EQ(table.GetMinForkCalib(), 900);
    EXPECT_EQ(table.GetMaxForkCalib(), 1000);

    table.SetMinMaxFork(-50, -10);
    EXPECT_EQ(table.GetMinForkCalib(), 0);
    EXPECT_EQ(table.GetMaxForkCalib(), 0);
}

TEST(LookupTableTest, SetWindowIgnoresValuesThatAreNotNumbers)
{
    LookupTable table(0, 1000, 0.0f, 1.0f, 100, 500);
    table.SetWindow(200.0, 300.0);
    EXPECT_EQ(table.GetMinForkCalib(), 200);
    EXPECT_EQ(table.GetMaxForkCalib(), 400);
    table.SetWindow(std::nan(""), 300.0);
    EXPECT_EQ(table.GetWindowWidth(), 200.0);
    EXPECT_EQ(table.GetWindowCenter(), 300.0);
}

TEST(LookupTableTest, AddMinMaxForkRecordsClampedEdgesAndKeepsTheWindow)
{
    LookupTable table(0, 1000, 0.0f, 1.0f, 100, 500);
    table.AddMinMaxFork(-20, 200);
    table.AddMinMaxFork(800, 1200);
    EXPECT_EQ(table.GetMinForks(), (std::vector<int>{0, 800}));
    EXPECT_EQ(table.GetMaxForks(), (std::vector<int>{200, 1000}));
    EXPECT_EQ(table.GetMinForkCalib(), 450);
    EXPECT_EQ(table.GetMaxForkCalib(), 550);
}

TEST(LookupTableTest, CopyConstructionLeavesTheForkListsEmptyAssignmentCopiesThem)
{
    LookupTable source(0, 1000, 0.0f, 1.0f, 100, 500);
    source.AddMinMaxFork(10, 20);
    source.SetInverted(1);

    const LookupTable copy(source);
    EXPECT_TRUE(copy.GetMinForks().empty());
    EXPECT_TRUE(copy.GetMaxForks().empty());
    EXPECT_EQ(copy.GetMinForkCalib(), 450);
    EXPECT_EQ(copy.GetMaxSpaceRaw(), 1000);
    EXPECT_EQ(copy.GetInverted(), 1);
    EXPECT_EQ(copy.GetWindowWidth(), 100.0);

    LookupTable assigned;
    assigned = source;
    EXPECT_EQ(assigned.GetMinForks(), (std::vector<int>{10}));
    EXPECT_EQ(assigned.GetMaxForks(), (std::vector<int>{20}));
    EXPECT_EQ(assigned.GetMaxForkCalib(), 550);
}

TEST(LookupTableTest, ConvertsBetweenStoredCalibratedAndScreenValues)
{
    const LookupTable table(0, 1000, -1024.0f, 2.0f, 100, 0);
    EXPECT_EQ(table.FromRawToCalibrated(512), 0);
    EXPECT_EQ(table.FromRawToCalibrated(3), -1018);
    EXPECT_EQ(table.FromCalibratedToRaw(0), 512);
    EXPECT_EQ(table.FromCalibratedToRaw(-1017), 3);
    EXPECT_EQ(table.ComputeCalibratedValue(0), -1024);
    EXPECT_EQ(table.ComputeCalibratedValue(255), 976);
    EXPECT_EQ(table.ComputeScreenValue(-1024), 0);
    EXPECT_EQ(table.ComputeScreenValue(976), 254);
}

TEST(LookupTableTest, ScreenValueOfASingleValueRangeIsSafe)
{
    const LookupTable table(7, 7, 0.0f, 1.0f, 1, 7);
    EXPECT_EQ(table.GetImageRangeRaw(), 1);
    EXPECT_EQ(table.ComputeScreenValue(8), 255);
    EXPECT_EQ(table.ComputeCalibratedValue(255), 7);
}

struct DisplayCase
{
    const char* name;
    float intercept;
    float slope;
    int width;
    int center;
    int stored;
    int expected;
};

// Expected values by y = floor(((x - (c - 0.5)) / (w - 1) + 0.5) * 255),
// 0 at or below the window, 255 above it, x = trunc(stored x slope +
// intercept).
const DisplayCase DisplayCases[] = {
    {"below the window", 0.0f, 1.0f, 400, 40, -200, 0},
    {"at the lower edge", 0.0f, 1.0f, 400, 40, -160, 0},
    {"just inside", 0.0f, 1.0f, 400, 40, -159, 0},
    {"zero", 0.0f, 1.0f, 400, 40, 0, 102},
    {"centre", 0.0f, 1.0f, 400, 40, 40, 127},
    {"above the centre", 0.0f, 1.0f, 400, 40, 60, 140},
    {"at the upper edge", 0.0f, 1.0f, 400, 40, 239, 255},
    {"above the window", 0.0f, 1.0f, 400, 40, 240, 255},
    {"half slope", 0.0f, 0.5f, 400, 40, 120, 140},
    {"intercept", -1024.0f, 1.0f, 400, 40, 1064, 127},
    {"intercept at zero", -1024.0f, 1.0f, 400, 40, 1024, 102},
    {"window wider than the values", 0.0f, 1.0f, 1000, 0, 50, 140},
    {"negative values", 0.0f, 1.0f, 50, -100, -100, 130},
    {"calibrated value taken whole", 0.5f, 1.0f, 400, 40, 40, 127},
    {"a whole level stays whole", 0.0f, 1.0f, 800, -500, -336, 180},
    {"threshold below", 0.0f, 1.0f, 1, 100, 99, 0},
    {"threshold above", 0.0f, 1.0f, 1, 100, 100, 255},
    {"width 0 is a threshold", 0.0f, 1.0f, 0, 100, 100, 255},
    {"negative width is a threshold", 0.0f, 1.0f, -30, 100, 99, 0},
};

TEST(LookupTableTest, TablesFollowTheLinearVoiFunctionOfTheGivenWindow)
{
    for (const DisplayCase& item : DisplayCases)
    {
        const LookupTable window(0, 255, item.intercept, item.slope, item.width, item.center);
        const Table signedTable(window.CreateLookupTableEx(16));
        ASSERT_NE(signedTable, nullptr) << item.name;
        EXPECT_EQ(signedTable[LookupTable::SignedTableOffset + item.stored], item.expected)
            << item.name;
        if (item.stored >= 0)
        {
            const Table table(window.CreateLookupTable(16));
            ASSERT_NE(table, nullptr) << item.name;
            EXPECT_EQ(table[item.stored], item.expected) << item.name;
        }
    }
}

TEST(LookupTableTest, TablesRiseMonotonicallyAcrossTheWindow)
{
    const LookupTable window(0, 4095, 0.0f, 1.0f, 400, 40);
    const Table table(window.CreateLookupTable(12));
    ASSERT_NE(table, nullptr);
    for (int stored = 1; stored < 65536; ++stored)
    {
        ASSERT_GE(table[stored], table[stored - 1]) << stored;
    }
    EXPECT_EQ(table[65535], 255);
}

TEST(LookupTableTest, SmallTablesReachTheLargestStoredValue)
{
    const LookupTable window(0, 4095, 0.0f, 1.0f, 4096, 2048);
    const Table table(window.CreateLookupTable(8));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[2048], 127);
    EXPECT_EQ(table[4095], 255);
}

TEST(LookupTableTest, SignedTableCoversBothEnds)
{
    const LookupTable window(-32768, 32767, 0.0f, 1.0f, 100, 0);
    const Table table(window.CreateLookupTableEx(16));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[LookupTable::SignedTableSize - 1], 255);
    EXPECT_EQ(table[LookupTable::SignedTableOffset - 51], 0);
    EXPECT_EQ(table[LookupTable::SignedTableOffset + 50], 255);
}

TEST(LookupTableTest, InvertedTablesPresentTheWindowTheOtherWayRound)
{
    LookupTable window(0, 255, 0.0f, 1.0f, 100, 100);
    window.SetInverted(1);
    const Table table(window.CreateLookupTable(8));
    const Table signedTable(window.CreateLookupTableEx(8));
    ASSERT_NE(table, nullptr);
    ASSERT_NE(signedTable, nullptr);
    EXPECT_EQ(table[20], 255);
    EXPECT_EQ(table[50], 255);
    EXPECT_EQ(table[51], 252);
    EXPECT_EQ(table[100], 126);
    EXPECT_EQ(table[149], 0);
    EXPECT_EQ(table[200], 0);
    EXPECT_EQ(signedTable[LookupTable::SignedTableOffset - 20], 255);
    EXPECT_EQ(signedTable[LookupTable::SignedTableOffset + 100], 126);
    EXPECT_EQ(signedTable[LookupTable::SignedTableOffset + 200], 0);
}

TEST(LookupTableTest, TablesFollowAWindowSetByItsEdges)
{
    LookupTable window(0, 1000, 0.0f, 1.0f, 10, 10);
    window.SetMinMaxFork(-160, 240);
    const Table table(window.CreateLookupTable(16));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[0], 102);
    EXPECT_EQ(table[40], 127);
    EXPECT_EQ(table[240], 255);
}

// Windows whose tables are checked entry by entry: falling and fractional
// rescales, inverted presentation, thresholds, windows past either end of
// the table and rescales that saturate the calibrated value.
struct WholeTableCase
{
    const char* name;
    float intercept;
    float slope;
    double width;
    double center;
    int inverted;
};

const WholeTableCase WholeTableCases[] = {
    {"CT window", -1024.0f, 1.0f, 400, 40, 0},
    {"fractional rescale", -1024.3f, 0.7f, 801, -500.5, 0},
    {"falling rescale", 300.0f, -1.5f, 1000, 100, 0},
    {"falling and inverted", 300.0f, -1.5f, 1000, 100, 1},
    {"inverted", 0.0f, 1.0f, 255, 127.5, 1},
    {"threshold", 0.0f, 1.0f, 1, 7, 0},
    {"below the table", 0.0f, 1.0f, 100, -200000, 0},
    {"above the table", 0.0f, 1.0f, 100, 200000, 1},
    {"saturating rescale", 1e9f, 40000.0f, 3e9, 1e9, 0},
};

// The linear VOI function of the header, value by value.
unsigned char GetVoiLevel(const WholeTableCase& item, int stored)
{
    const double x = std::trunc(
        std::clamp(double(stored) * item.slope + item.intercept, -2147483648.0, 2147483647.0));
    const double width = std::max(item.width, 1.0);
    const double lower = item.center - 0.5 - (width - 1.0) / 2.0;
    const double upper = item.center - 0.5 + (width - 1.0) / 2.0;
    if (x <= lower)
        return item.inverted != 0 ? 255 : 0;
    if (x > upper)
        return item.inverted != 0 ? 0 : 255;
    const double distance = item.inverted != 0 ? upper - x : x - lower;
    return static_cast<unsigned char>(
        std::clamp(std::floor(distance * 255.0 / (width - 1.0)), 0.0, 255.0));
}

TEST(LookupTableTest, EveryEntryFollowsTheLinearVoiFunction)
{
    for (const WholeTableCase& item : WholeTableCases)
    {
        LookupTable window(-32768, 65535, item.intercept, item.slope, 1, 0);
        window.SetWindow(item.width, item.center);
        window.SetInverted(item.inverted);
        const Table table(window.CreateLookupTable(16));
        const Table signedTable(window.CreateLookupTableEx(16));
        ASSERT_NE(table, nullptr);
        ASSERT_NE(signedTable, nullptr);
        for (int stored = -LookupTable::SignedTableOffset; stored < LookupTable::SignedTableOffset;
             ++stored)
        {
            const unsigned char expected = GetVoiLevel(item, stored);
            ASSERT_EQ(signedTable[stored + LookupTable::SignedTableOffset], expected)
                << item.name << ", stored value " << stored;
            if (stored >= 0)
            {
                ASSERT_EQ(table[stored], expected) << item.name << ", stored value " << stored;
            }
        }
    }
}

} // namespace
