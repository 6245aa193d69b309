// Geometry helpers of the annotations: vertex angles, distances, points on
// rays, the handle square and the segment hit, each a table of cases.
#include "RoiGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace
{

struct AngleCase
{
    const char* name;
    int x0, y0, x1, y1, x2, y2;
    float degrees;
};

const AngleCase AngleCases[] = {
    {"right angle", 10, 10, 30, 10, 10, -20, 90.0f},
    {"straight", 0, 0, -5, 0, 7, 0, 180.0f},
    {"same ray", 3, 3, 9, 9, 6, 6, 0.0f},
    {"forty-five", 0, 0, 10, 0, 10, 10, 45.0f},
    {"obtuse", 0, 0, 10, 0, -10, 10, 135.0f},
    {"first arm of no length", 4, 4, 4, 4, 9, 1, 0.0f},
    {"second arm of no length", 4, 4, 9, 1, 4, 4, 0.0f},
    {"three coincident points", 7, 7, 7, 7, 7, 7, 0.0f},
};

TEST(RoiGeometryTest, VertexAngles)
{
    for (const AngleCase& c : AngleCases)
    {
        const float angle = VertexAngle(c.x0, c.y0, c.x1, c.y1, c.x2, c.y2);
        EXPECT_FALSE(std::isnan(angle)) << c.name;
        EXPECT_NEAR(angle, c.degrees, 0.01f) << c.name;
    }
}

TEST(RoiGeometryTest, RoundingHalfAwayFromZero)
{
    const struct
    {
        double value;
        int rounded;
    } cases[] = {{2.5, 3}, {-2.5, -3},      {2.49, 2},         {-0.5, -1},       {0.0, 0},
                 {7.0, 7}, {1e12, INT_MAX}, {-1e12, -INT_MAX}, {std::nan(""), 0}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(RoundHalfAway(c.value), c.rounded) << c.value;
    }
}

TEST(RoiGeometryTest, PointsOnRays)
{
    const struct
    {
        POINT from, toward;
        double distance;
        POINT expected;
    } cases[] = {
        {{0, 0}, {100, 0}, 15.0, {15, 0}},
        {{10, 10}, {10, -90}, 20.0, {10, -10}},
        // 3-4-5: 10 along the ray is (6, 8) from the start.
        {{1, 1}, {31, 41}, 10.0, {7, 9}},
        // Offsets of +-2.5 round away from zero.
        {{0, 0}, {-20, 0}, 2.5, {-3, 0}},
        {{0, 0}, {0, 20}, 2.5, {0, 3}},
        {{5, 5}, {5, 5}, 12.0, {5, 5}},
    };
    for (const auto& c : cases)
    {
        const POINT point = PointOnRay(c.from, c.toward, c.distance);
        EXPECT_EQ(point.x, c.expected.x);
        EXPECT_EQ(point.y, c.expected.y);
    }
}

TEST(RoiGeometryTest, HandleSquareIncludesItsLowEdgesOnly)
{
    const POINT centre = {20, 30};
    const struct
    {
        POINT point;
        bool near;
    } cases[] = {{{20, 30}, true},  {{16, 26}, true},  {{23, 33}, true},
                 {{24, 30}, false}, {{20, 34}, false}, {{15, 30}, false}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(IsPointNear(c.point, centre, 4), c.near) << c.point.x << "," << c.point.y;
    }
}

TEST(RoiGeometryTest, SegmentHits)
{
    const POINT a = {0, 0};
    const POINT b = {100, 0};
    const struct
    {
        POINT point;
        enSegmentHit hit;
    } cases[] = {
        {{2, 2}, enSegmentBegin},  {{99, -3}, enSegmentEnd}, {{50, 4}, enSegmentBody},
        {{50, -4}, enSegmentBody}, {{50, 5}, enSegmentMiss}, {{-6, 0}, enSegmentMiss},
        {{105, 0}, enSegmentMiss},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(HitSegment(c.point, a, b, 4.0f), c.hit) << c.point.x << "," << c.point.y;
    }
    // A segment of no length is hit at its end only.
    EXPECT_EQ(HitSegment({1, 1}, a, a, 4.0f), enSegmentBegin);
    EXPECT_EQ(HitSegment({9, 0}, a, a, 4.0f), enSegmentMiss);
}

TEST(RoiGeometryTest, RectanglesAroundPointsAndPointsInRectangles)
{
    const POINT points[] = {{5, 9}, {-2, 4}, {7, 1}};
    const RECT bounds = BoundingRect(points, 3);
    EXPECT_EQ(bounds.left, -2);
    EXPECT_EQ(bounds.top, 1);
    EXPECT_EQ(bounds.right, 7);
    EXPECT_EQ(bounds.bottom, 9);
    const RECT none = BoundingRect(nullptr, 0);
    EXPECT_TRUE(none.left == 0 && none.top == 0 && none.right == 0 && none.bottom == 0);

    const RECT rect = {0, 0, 10, 5};
    EXPECT_TRUE(PointInRect({0, 0}, rect));
    EXPECT_TRUE(PointInRect({9, 4}, rect));
    EXPECT_FALSE(PointInRect({10, 4}, rect));
    EXPECT_FALSE(PointInRect({9, 5}, rect));
    EXPECT_DOUBLE_EQ(PointDistance({1, 1}, {4, 5}), 5.0);
}

} // namespace
