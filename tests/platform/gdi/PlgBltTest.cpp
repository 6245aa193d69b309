// PlgBlt against references computed here: quarter turns and mirrors by
// index arithmetic, a free angle by mapping each pixel centre back through
// the parallelogram in floating point.
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace
{
constexpr int kW = 5;
constexpr int kH = 3;
constexpr int kL = 4;
constexpr int kT = 6;
const COLORREF kPaper = RGB(255, 255, 255);

COLORREF Marker(int x, int y)
{
    return RGB(20 + x * 30, 20 + y * 60, 100);
}

void PaintMarkers(GdiTestSurface& s)
{
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            s.Set(x, y, Marker(x, y));
}

struct TurnCase
{
    const char* name;
    POINT points[3];
    // Where the source pixel (u, v) lands.
    POINT (*landing)(int u, int v);
};

class PlgBltTurn : public ::testing::TestWithParam<TurnCase>
{
};

TEST_P(PlgBltTurn, EverySourcePixelLandsOnceAndNothingElseChanges)
{
    const TurnCase& c = GetParam();
    GdiTestSurface src(kW, kH);
    PaintMarkers(src);
    GdiTestSurface dst(20, 20, kPaper);
    ASSERT_TRUE(PlgBlt(dst.Dc(), c.points, src.Dc(), 0, 0, kW, kH, nullptr, 0, 0));
    std::vector<std::vector<COLORREF>> expected(20, std::vector<COLORREF>(20, kPaper));
    for (int v = 0; v < kH; ++v)
        for (int u = 0; u < kW; ++u)
        {
            const POINT at = c.landing(u, v);
            expected[std::size_t(at.y)][std::size_t(at.x)] = Marker(u, v);
        }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(dst.At(x, y), expected[std::size_t(y)][std::size_t(x)]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(PlgBlt, PlgBltTurn,
                         ::testing::Values(TurnCase{"Upright",
                                                    {{kL, kT}, {kL + kW, kT}, {kL, kT + kH}},
                                                    [](int u, int v) {
                                                        return POINT{kL + u, kT + v};
                                                    }},
                                           TurnCase{"QuarterTurnLeft",
                                                    {{kL, kT + kW}, {kL, kT}, {kL + kH, kT + kW}},
                                                    [](int u, int v) {
                                                        return POINT{kL + v, kT + kW - 1 - u};
                                                    }},
                                           TurnCase{
                                               "HalfTurn",
                                               {{kL + kW, kT + kH}, {kL, kT + kH}, {kL + kW, kT}},
                                               [](int u, int v) {
                                                   return POINT{kL + kW - 1 - u, kT + kH - 1 - v};
                                               }},
                                           TurnCase{"QuarterTurnRight",
                                                    {{kL + kH, kT}, {kL + kH, kT + kW}, {kL, kT}},
                                                    [](int u, int v) {
                                                        return POINT{kL + kH - 1 - v, kT + u};
                                                    }},
                                           TurnCase{"Mirrored",
                                                    {{kL + kW, kT}, {kL, kT}, {kL + kW, kT + kH}},
                                                    [](int u, int v) {
                                                        return POINT{kL + kW - 1 - u, kT + v};
                                                    }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlgBlt, DoubledWidthFillsBothPixelsOfEachSourceColumn)
{
    GdiTestSurface src(kW, kH);
    PaintMarkers(src);
    GdiTestSurface dst(20, 20, kPaper);
    const POINT points[3] = {{kL, kT}, {kL + 2 * kW, kT}, {kL, kT + kH}};
    PlgBlt(dst.Dc(), points, src.Dc(), 0, 0, kW, kH, nullptr, 0, 0);
    for (int u = 0; u < kW; ++u)
    {
        EXPECT_EQ(dst.At(kL + 2 * u, kT + 1), Marker(u, 1));
        EXPECT_EQ(dst.At(kL + 2 * u + 1, kT + 1), Marker(u, 1));
    }
    EXPECT_EQ(dst.At(kL + 2 * kW, kT + 1), kPaper);
}

TEST(PlgBlt, FreeAngleMatchesTheCentreMapping)
{
    GdiTestSurface src(12, 7);
    PaintMarkers(src);
    GdiTestSurface dst(40, 40, kPaper);
    const double angle = 0.5; // radians
    const double ox = 8.0;
    const double oy = 10.0;
    const POINT points[3] = {
        {int(ox), int(oy)},
        {int(std::lround(ox + 12 * std::cos(angle))), int(std::lround(oy + 12 * std::sin(angle)))},
        {int(std::lround(ox - 7 * std::sin(angle))), int(std::lround(oy + 7 * std::cos(angle)))}};
    ASSERT_TRUE(PlgBlt(dst.Dc(), points, src.Dc(), 0, 0, 12, 7, nullptr, 0, 0));
    const double e1x = points[1].x - points[0].x;
    const double e1y = points[1].y - points[0].y;
    const double e2x = points[2].x - points[0].x;
    const double e2y = points[2].y - points[0].y;
    const double det = e1x * e2y - e1y * e2x;
    int nCompared = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
        {
            const double cx = x + 0.5 - points[0].x;
            const double cy = y + 0.5 - points[0].y;
            const double a = (cx * e2y - cy * e2x) / det * 12;
            const double b = (cy * e1x - cx * e1y) / det * 7;
            // Centres on a source pixel's edge could go either way.
            const auto nearEdge = [](double t) { return std::fabs(t - std::round(t)) < 1e-9; };
            if (nearEdge(a) || nearEdge(b))
                continue;
            const bool inside = a >= 0 && a < 12 && b >= 0 && b < 7;
            const COLORREF want = inside ? Marker(int(a), int(b)) : kPaper;
            ASSERT_EQ(dst.At(x, y), want) << x << "," << y;
            nCompared += inside ? 1 : 0;
        }
    EXPECT_GT(nCompared, 60);
}

TEST(PlgBlt, MaskLetsOnlyItsSetPixelsThroughAndTheClipHolds)
{
    GdiTestSurface src(kW, kH);
    PaintMarkers(src);
    GdiTestSurface dst(20, 20, kPaper);
    // Monochrome rows are word aligned: one byte of pixels, one of padding.
    const BYTE bits[kH * 2] = {0xA0, 0, 0xF8, 0, 0x00, 0};
    HBITMAP hMask = CreateBitmap(kW, kH, 1, 1, bits);
    const POINT points[3] = {{kL, kT}, {kL + kW, kT}, {kL, kT + kH}};
    ASSERT_TRUE(PlgBlt(dst.Dc(), points, src.Dc(), 0, 0, kW, kH, hMask, 0, 0));
    EXPECT_EQ(dst.At(kL, kT), Marker(0, 0));
    EXPECT_EQ(dst.At(kL + 1, kT), kPaper);
    EXPECT_EQ(dst.At(kL + 2, kT), Marker(2, 0));
    EXPECT_EQ(dst.At(kL + 4, kT + 1), Marker(4, 1));
    EXPECT_EQ(dst.At(kL + 4, kT + 2), kPaper);
    DeleteObject(hMask);

    dst.Fill(kPaper);
    IntersectClipRect(dst.Dc(), 0, 0, kL + 2, 20);
    PlgBlt(dst.Dc(), points, src.Dc(), 0, 0, kW, kH, nullptr, 0, 0);
    EXPECT_EQ(dst.At(kL + 1, kT), Marker(1, 0));
    EXPECT_EQ(dst.At(kL + 2, kT), kPaper);
}

TEST(PlgBlt, CollinearPointsOrAnEmptySourceFail)
{
    GdiTestSurface src(kW, kH);
    GdiTestSurface dst(20, 20, kPaper);
    const POINT line[3] = {{0, 0}, {4, 4}, {8, 8}};
    EXPECT_FALSE(PlgBlt(dst.Dc(), line, src.Dc(), 0, 0, kW, kH, nullptr, 0, 0));
    const POINT points[3] = {{0, 0}, {5, 0}, {0, 3}};
    EXPECT_FALSE(PlgBlt(dst.Dc(), points, src.Dc(), 0, 0, 0, kH, nullptr, 0, 0));
    EXPECT_FALSE(PlgBlt(dst.Dc(), nullptr, src.Dc(), 0, 0, kW, kH, nullptr, 0, 0));
    EXPECT_EQ(dst.At(0, 0), kPaper);
}
} // namespace
