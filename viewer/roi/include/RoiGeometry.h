// Geometry helpers of the annotations: distances, the tests a hit test is
// made of, the angle at a vertex and points along a ray. Points are integer
// pixels of either space (image or screen); every helper works the same in
// both.
#pragma once

#include "QuillonExport.h"
#include "VertexAngle.h"
#include "WinGeometry.h"

// Results of HitSegment.
enum enSegmentHit
{
    enSegmentMiss = 0,
    enSegmentBegin = 1,
    enSegmentEnd = 2,
    enSegmentBody = 3
};

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3), held within the int
// range: a far-off coordinate never overflows.
QUILLON_API int RoundHalfAway(double value);

QUILLON_API double PointDistance(POINT a, POINT b);

// True when the point lies in the handle square of that half side around
// the centre: centre - half inclusive to centre + half exclusive on both
// axes, as a handle square is hit.
QUILLON_API bool IsPointNear(POINT point, POINT centre, int half);

// Where a point lies against the segment a-b with a tolerance in pixels:
// within the tolerance of an end (a first), else within the tolerance of
// the segment between them, else a miss.
QUILLON_API enSegmentHit HitSegment(POINT point, POINT a, POINT b, float tolerance);

// The point at that distance from `from` towards `toward`, each offset
// rounded half away from zero; `from` itself when the two are equal.
QUILLON_API POINT PointOnRay(POINT from, POINT toward, double distance);

// Right and bottom edges excluded.
QUILLON_API bool PointInRect(POINT point, const RECT& rect);

// The smallest rectangle holding the points (right and bottom being the
// largest coordinates); the empty rectangle at 0, 0 for no point.
QUILLON_API RECT BoundingRect(const POINT* points, int count);
