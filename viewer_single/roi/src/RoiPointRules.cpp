#include "RoiPointRules.h"

#include <algorithm>
#include <cstdlib>

namespace pelivo
{

POINT FlipPointVertical(POINT point, SIZE image)
{
    return {point.x, image.cy - point.y};
}

POINT FlipPointHorizontal(POINT point, SIZE image)
{
    return {image.cx - point.x, point.y};
}

POINT RotatePoint(POINT point, SIZE image, int direction)
{
    switch (direction)
    {
    case enRotateRight:
        return {point.y, image.cy - point.x};
    case enRotateHalf:
        return {image.cx - point.x, image.cy - point.y};
    case enRotateLeft:
        return {image.cx - point.y, point.x};
    default:
        return point;
    }
}

RECT NormaliseRect(POINT a, POINT b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool IsSamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

bool IsWithin(POINT point, POINT centre, int tolerance)
{
    return std::abs(point.x - centre.x) <= tolerance && std::abs(point.y - centre.y) <= tolerance;
}

namespace
{

// An axis whose two ends are equal accepts a band of the tolerance about it.
bool IsBetween(long value, long first, long second, int tolerance)
{
    if (first == second)
    {
        return std::abs(value - first) <= tolerance;
    }
    return value >= std::min(first, second) && value <= std::max(first, second);
}

double SquaredLineDistance(POINT point, POINT first, POINT second)
{
    if (first.x == second.x)
    {
        const double dx = double(point.x) - first.x;
        return dx * dx;
    }
    const double m = (double(first.y) - second.y) / (double(first.x) - second.x);
    const double offset = first.y - m * first.x + m * point.x - point.y;
    return offset * offset / (m * m + 1.0);
}

} // namespace

enSegmentTest TestSegment(POINT point, POINT first, POINT second, int tolerance)
{
    const double squared = SquaredLineDistance(point, first, second);
    if (squared > double(tolerance) * tolerance && squared >= 1.0)
    {
        return enSegmentMiss;
    }
    if (IsWithin(point, first, tolerance))
    {
        return enSegmentFirst;
    }
    if (IsWithin(point, second, tolerance))
    {
        return enSegmentSecond;
    }
    if (IsBetween(point.x, first.x, second.x, tolerance) &&
        IsBetween(point.y, first.y, second.y, tolerance))
    {
        return enSegmentInside;
    }
    return enSegmentMiss;
}

int SegmentHitCode(enSegmentTest test)
{
    switch (test)
    {
    case enSegmentInside:
        return enRoiHitBody;
    case enSegmentFirst:
    case enSegmentSecond:
        return enRoiHitHandle;
    default:
        return enRoiHitNone;
    }
}

} // namespace pelivo
