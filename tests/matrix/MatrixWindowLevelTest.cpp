// Automatic window and level: the histogram estimate of 16-bit matrices with
// and without an elliptic shutter, and the min/max rule of 8-bit matrices.
#include "MatrixTestSupport.h"

using namespace matrixtest;

namespace
{

// 100 x 100: an outer ring of 60000 (left out by the 1 % border), inside it
// 1000 everywhere except `lowCount` pixels of 10 and `highCount` of 5000.
MetaMatrix16 HundredSquare(int lowCount, int highCount, bool isSigned = false,
                           std::uint16_t fill = 1000)
{
    std::vector<std::uint16_t> samples(100 * 100, 60000);
    int placed = 0;
    for (int y = 1; y < 99; ++y)
        for (int x = 1; x < 99; ++x, ++placed)
        {
            std::uint16_t value = fill;
            if (placed < lowCount)
                value = 10;
            else if (placed < lowCount + highCount)
                value = 5000;
            samples[std::size_t(y * 100 + x)] = value;
        }
    return Make16(100, 100, samples, isSigned);
}

struct WindowCase
{
    int lowCount;
    int highCount;
    int width;
    int center;
};

void PrintTo(const WindowCase& c, std::ostream* out)
{
    *out << c.lowCount << " low, " << c.highCount << " high";
}

class MatrixAutoWindow : public ::testing::TestWithParam<WindowCase>
{
};

TEST_P(MatrixAutoWindow, CutsOnePercentOfTheImageAtEachEnd)
{
    const WindowCase& c = GetParam();
    int width = -1;
    int center = -1;
    ASSERT_TRUE(HundredSquare(c.lowCount, c.highCount).AutoWindowLevel(&width, &center));
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(center, c.center);
}

// One per cent of 10000 pixels is 100: 100 outliers are cut, 101 are not.
INSTANTIATE_TEST_SUITE_P(Outliers, MatrixAutoWindow,
                         ::testing::Values(WindowCase{100, 100, 0, 1000},
                                           WindowCase{101, 100, 990, 505},
                                           WindowCase{100, 101, 4000, 3000},
                                           WindowCase{101, 101, 4990, 2505}));

TEST(MatrixAutoWindowSigned, CountsFromTheSmallestSample)
{
    // -1000 everywhere inside, 101 pixels of 10 and 101 of 5000.
    MetaMatrix16 matrix = HundredSquare(101, 101, true, std::uint16_t(-1000));
    int width = 0;
    int center = 0;
    ASSERT_TRUE(matrix.AutoWindowLevel(&width, &center));
    EXPECT_EQ(width, 6000);
    EXPECT_EQ(center, 2000);
}

TEST(MatrixAutoWindowEllipse, CountsOnlyPixelsInsideTheEllipse)
{
    // 1000 inside a centred circle, 60000 and 10 outside it.
    std::vector<std::uint16_t> samples(100 * 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
        {
            const int dx = x - 50;
            const int dy = y - 50;
            samples[std::size_t(y * 100 + x)] =
                dx * dx + dy * dy <= 30 * 30 ? 1000 + x : (x % 2 == 0 ? 60000 : 10);
        }
    const MetaMatrix16 matrix = Make16(100, 100, samples);
    RECT shutter = {20, 20, 81, 81};
    int width = 0;
    int center = 0;
    ASSERT_TRUE(matrix.AutoWindowLevelEllipseShutter(&width, &center, &shutter));
    EXPECT_GE(center - width / 2, 1000);
    EXPECT_LE(center + width / 2, 1100);
    EXPECT_GT(width, 0);
    // A flat ellipse of a few pixels holds too few to cut 1 % from.
    RECT sliver = {40, 50, 43, 51};
    EXPECT_FALSE(matrix.AutoWindowLevelEllipseShutter(&width, &center, &sliver));
    EXPECT_FALSE(matrix.AutoWindowLevelEllipseShutter(&width, &center, nullptr));
}

TEST(MatrixAutoWindowOthers, EightBitUsesMinAndMaxOthersRefuse)
{
    const MetaMatrix8 bytes = Make8(1, 4, {30, 200, 90, 31});
    int width = 0;
    int center = 0;
    ASSERT_TRUE(bytes.AutoWindowLevel(&width, &center));
    EXPECT_EQ(width, 170);
    EXPECT_EQ(center, 115);
    RECT rect = {0, 0, 4, 1};
    EXPECT_FALSE(bytes.AutoWindowLevelEllipseShutter(&width, &center, &rect));
    EXPECT_FALSE(MakeRgb(2, 2).AutoWindowLevel(&width, &center));
    EXPECT_FALSE(MetaMatrixBinary().AutoWindowLevel(&width, &center));
    EXPECT_FALSE(MetaMatrix16().AutoWindowLevel(&width, &center));
    EXPECT_FALSE(MetaMatrix8().AutoWindowLevel(&width, &center));
}

} // namespace
