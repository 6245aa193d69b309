// The geometry every annotation of the single-view build shares: how a point
// moves with a flip or turn of the image, the segment hit test and the angle
// at a vertex.
#pragma once

#include "VertexAngle.h"
#include "WinTypes.h"

namespace pelivo
{

enum enRoiHit
{
    enRoiHitNone = 0,
    enRoiHitBody = 2,
    enRoiHitHandle = 6
};

enum enSegmentTest
{
    enSegmentMiss = 0,
    enSegmentFirst = 1,
    enSegmentSecond = 2,
    enSegmentInside = 3
};

enum enRotateDirection
{
    enRotateRight = 1,
    enRotateHalf = 2,
    enRotateLeft = 3
};

// The size is the image's at the moment of the call (already turned).
POINT FlipPointVertical(POINT point, SIZE image);
POINT FlipPointHorizontal(POINT point, SIZE image);
POINT RotatePoint(POINT point, SIZE image, int direction);
// Corners moved by one of the rules above come back ordered.
RECT NormaliseRect(POINT a, POINT b);

bool IsSamePoint(POINT a, POINT b);
bool IsWithin(POINT point, POINT centre, int tolerance);
enSegmentTest TestSegment(POINT point, POINT first, POINT second, int tolerance);
// Segment test answers as hit codes: inside is the body, an end a handle.
int SegmentHitCode(enSegmentTest test);

} // namespace pelivo
