#include "RoiGeometry.h"

#include "DicomLookupTable.h"

#include <algorithm>
#include <cmath>

int RoundHalfAway(double value)
{
    return value < 0.0 ? -TruncateToInt(-value + 0.5) : TruncateToInt(value + 0.5);
}

double PointDistance(POINT a, POINT b)
{
    return std::hypot(double(b.x) - a.x, double(b.y) - a.y);
}

bool IsPointNear(POINT point, POINT centre, int half)
{
    return point.x >= centre.x - half && point.x < centre.x + half && point.y >= centre.y - half &&
           point.y < centre.y + half;
}

enSegmentHit HitSegment(POINT point, POINT a, POINT b, float tolerance)
{
    if (PointDistance(point, a) <= tolerance)
    {
        return enSegmentBegin;
    }
    if (PointDistance(point, b) <= tolerance)
    {
        return enSegmentEnd;
    }
    const double dx = double(b.x) - a.x;
    const double dy = double(b.y) - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    if (lengthSquared == 0.0)
    {
        return enSegmentMiss;
    }
    // The foot of the perpendicular must fall between the ends.
    const double t = ((double(point.x) - a.x) * dx + (double(point.y) - a.y) * dy) / lengthSquared;
    if (t < 0.0 || t > 1.0)
    {
        return enSegmentMiss;
    }
    const double distance = std::fabs((double(point.x) - a.x) * dy - (double(point.y) - a.y) * dx) /
                            std::sqrt(lengthSquared);
    return distance <= tolerance ? enSegmentBody : enSegmentMiss;
}

POINT PointOnRay(POINT from, POINT toward, double distance)
{
    const double length = PointDistance(from, toward);
    if (length == 0.0)
    {
        return from;
    }
    const double scale = distance / length;
    return {from.x + RoundHalfAway((double(toward.x) - from.x) * scale),
            from.y + RoundHalfAway((double(toward.y) - from.y) * scale)};
}

bool PointInRect(POINT point, const RECT& rect)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

RECT BoundingRect(const POINT* points, int count)
{
    if (points == nullptr || count <= 0)
    {
        return {0, 0, 0, 0};
    }
    RECT bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i)
    {
        bounds.left = std::min(bounds.left, points[i].x);
        bounds.top = std::min(bounds.top, points[i].y);
        bounds.right = std::max(bounds.right, points[i].x);
        bounds.bottom = std::max(bounds.bottom, points[i].y);
    }
    return bounds;
}
