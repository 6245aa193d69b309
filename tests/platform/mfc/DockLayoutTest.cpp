// The arithmetic of docking: bars placed in the rows of a dock bar, the
// side a dragged bar would join, the row a drop joins and the limits of an
// edge drag.
#include "AfxDockLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{
using Rows = std::vector<std::vector<DockSlot>>;

struct RowsCase
{
    const char* name;
    Rows rows;
    bool bHorz;
    int nLength;
    std::vector<std::vector<RECT>> expected;
    SIZE sizeTotal;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const RowsCase kRowsCases[] = {
    {"one bar keeps its place", {{{{100, 30}, 50}}}, true, 400, {{{50, 0, 150, 30}}}, {400, 30}},
    {"neighbours overlap by two",
     {{{{100, 30}, 0}, {{60, 26}, 0}}},
     true,
     400,
     {{{0, 0, 100, 30}, {98, 0, 158, 26}}},
     {400, 30}},
    {"a gap the user left stays",
     {{{{100, 30}, 0}, {{60, 30}, 200}}},
     true,
     400,
     {{{0, 0, 100, 30}, {200, 0, 260, 30}}},
     {400, 30}},
    {"a short row pushes bars back",
     {{{{100, 30}, 0}, {{60, 30}, 380}}},
     true,
     400,
     {{{0, 0, 100, 30}, {340, 0, 400, 30}}},
     {400, 30}},
    {"pushed back no further than packed",
     {{{{100, 30}, 50}, {{100, 30}, 150}}},
     true,
     150,
     {{{0, 0, 100, 30}, {98, 0, 198, 30}}},
     {150, 30}},
    {"rows overlap by two and take the thickest",
     {{{{100, 30}, 0}, {{60, 20}, 0}}, {{{80, 24}, 10}}},
     true,
     400,
     {{{0, 0, 100, 30}, {98, 0, 158, 20}}, {{10, 28, 90, 52}}},
     {400, 52}},
    {"an empty row takes no room",
     {{}, {{{80, 24}, 0}}},
     true,
     400,
     {{}, {{0, 0, 80, 24}}},
     {400, 24}},
    {"a vertical dock bar runs down",
     {{{{40, 100}, 0}, {{32, 50}, 0}}, {{{30, 80}, 20}}},
     false,
     300,
     {{{0, 0, 40, 100}, {0, 98, 32, 148}}, {{38, 20, 68, 100}}},
     {68, 300}},
    {"a stretched bar fills the length",
     {{{{32767, 22}, 0}}},
     true,
     640,
     {{{0, 0, 640, 22}}},
     {640, 22}},
    {"no rows, no room", {}, false, 300, {}, {0, 300}},
};

class DockRowsTest : public ::testing::TestWithParam<RowsCase>
{
};

TEST_P(DockRowsTest, PlacesEveryBar)
{
    const RowsCase& c = GetParam();
    const DockRowsLayout layout = CalcDockRows(c.rows, c.bHorz, c.nLength);
    ASSERT_EQ(layout.rects.size(), c.expected.size());
    for (size_t row = 0; row < c.expected.size(); ++row)
    {
        ASSERT_EQ(layout.rects[row].size(), c.expected[row].size()) << "row " << row;
        for (size_t i = 0; i < c.expected[row].size(); ++i)
        {
            const RECT& got = layout.rects[row][i];
            EXPECT_TRUE(SameRect(got, c.expected[row][i]))
                << "row " << row << " bar " << i << ": " << got.left << "," << got.top << ","
                << got.right << "," << got.bottom;
        }
    }
    EXPECT_EQ(layout.sizeTotal.cx, c.sizeTotal.cx);
    EXPECT_EQ(layout.sizeTotal.cy, c.sizeTotal.cy);
}

INSTANTIATE_TEST_SUITE_P(Table, DockRowsTest, ::testing::ValuesIn(kRowsCases),
                         [](const auto& info)
                         {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// A frame 600 x 400 at (100, 100): top and bottom dock bars empty (grown
// 20 pixels inwards by the caller), left holding a bar, right not allowed.
const std::vector<DockTarget> kSides = {
    {{100, 100, 700, 120}, true, true},
    {{100, 480, 700, 500}, true, true},
    {{100, 120, 140, 480}, false, true},
    {{680, 120, 700, 480}, false, false},
};

struct TargetCase
{
    RECT rcHorz;
    RECT rcVert;
    int nExpected;
};

const TargetCase kTargetCases[] = {
    {{300, 90, 400, 115}, {300, 90, 325, 190}, 0},    // over the top edge
    {{300, 490, 400, 515}, {300, 490, 325, 590}, 1},  // over the bottom edge
    {{120, 300, 220, 325}, {120, 300, 145, 400}, 2},  // left, by its vertical form
    {{690, 300, 790, 325}, {690, 300, 715, 400}, -1}, // right is not allowed
    {{300, 300, 400, 325}, {300, 300, 325, 400}, -1}, // in the middle: floats
    {{150, 300, 250, 325}, {150, 300, 175, 400}, -1}, // horizontal form alone over left
};

TEST(DockTargetTest, FindsTheSideUnderTheDraggedBar)
{
    for (const TargetCase& c : kTargetCases)
        EXPECT_EQ(FindDockTarget(kSides, c.rcHorz, c.rcVert), c.nExpected)
            << c.rcHorz.left << "," << c.rcHorz.top;
}

TEST(DockDropRowTest, JoinsARowOrOpensOne)
{
    const std::vector<int> rows = {30, 26}; // second row spans 28..54
    struct
    {
        int nAcross;
        int nRow;
        bool bNewRow;
    } const cases[] = {
        {-5, 0, true}, {0, 0, true},   {3, 0, true},   {4, 0, false}, {25, 0, false}, {26, 1, true},
        {31, 1, true}, {32, 1, false}, {49, 1, false}, {50, 2, true}, {80, 2, true},
    };
    for (const auto& c : cases)
    {
        const DockDropRow drop = FindDockDropRow(rows, c.nAcross);
        EXPECT_EQ(drop.nRow, c.nRow) << c.nAcross;
        EXPECT_EQ(drop.bNewRow, c.bNewRow) << c.nAcross;
    }
    const DockDropRow none = FindDockDropRow({}, 10);
    EXPECT_EQ(none.nRow, 0);
    EXPECT_TRUE(none.bNewRow);
}

TEST(EdgeDragTest, KeepsBothNeighboursAtTheirMinimum)
{
    struct
    {
        int nFirst, nFirstMin, nSecond, nSecondMin, nDelta, nExpected;
    } const cases[] = {
        {100, 32, 100, 32, 20, 20}, {100, 32, 100, 32, 90, 68}, {100, 32, 100, 32, -90, -68},
        {100, 32, 40, 32, 20, 8},   {32, 32, 100, 32, -1, 0},   {20, 32, 100, 32, -5, 0},
        {100, 32, 20, 32, 5, 0},    {100, 32, 100, 32, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampEdgeDrag(c.nFirst, c.nFirstMin, c.nSecond, c.nSecondMin, c.nDelta),
                  c.nExpected)
            << c.nFirst << " " << c.nSecond << " " << c.nDelta;
}
struct WrapCase
{
    const char* name;
    int nWidth;
    std::vector<bool> wraps;
    SIZE size;
};

// Three buttons 23 wide, a separator 8 wide, two more buttons; rows 22
// high.
const std::vector<ToolbarItem> kToolbar = {
    {23, false, false}, {23, false, false}, {23, false, false},
    {8, true, false},   {23, false, false}, {23, false, false},
};

const WrapCase kWrapCases[] = {
    {"one row", INT_MAX, {false, false, false, false, false, false}, {123, 22}},
    {"one item a row, the separator a band",
     0,
     {true, true, false, true, true, false},
     {23, 22 * 5 + 8}},
    {"wraps at the separator that does not fit",
     75,
     {false, false, false, true, false, false},
     {69, 22 + 8 + 22}},
    {"wraps after a button", 50, {false, true, false, true, false, false}, {46, 22 * 3 + 8}},
    {"a separator that fits stays in its row, and ends it when the next does not",
     80,
     {false, false, false, true, false, false},
     {69, 22 + 8 + 22}},
};

class ToolbarWrapTest : public ::testing::TestWithParam<WrapCase>
{
};

TEST_P(ToolbarWrapTest, WrapsToTheWidth)
{
    const WrapCase& c = GetParam();
    const ToolbarWrap wrap = CalcToolbarWrap(kToolbar, 22, c.nWidth);
    EXPECT_EQ(wrap.wraps, c.wraps);
    EXPECT_EQ(wrap.size.cx, c.size.cx);
    EXPECT_EQ(wrap.size.cy, c.size.cy);
}

INSTANTIATE_TEST_SUITE_P(Table, ToolbarWrapTest, ::testing::ValuesIn(kWrapCases),
                         [](const auto& info)
                         {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(ToolbarWrapTest, HiddenItemsTakeNoRoom)
{
    std::vector<ToolbarItem> items = kToolbar;
    items[1].bHidden = true;
    items[3].bHidden = true;
    const ToolbarWrap wrap = CalcToolbarWrap(items, 22, INT_MAX);
    EXPECT_EQ(wrap.size.cx, 23 * 4);
    EXPECT_EQ(wrap.size.cy, 22);
}
} // namespace
