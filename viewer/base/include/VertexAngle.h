// The angle at a vertex, as every measurement of both viewer libraries
// computes it.
#pragma once

#include "ViewerFlavour.h"

VIEWER_NAMESPACE_BEGIN

// The angle in degrees at (x0, y0) between the rays to (x1, y1) and to
// (x2, y2), in [0, 180]; 0 when either ray has zero length.
VIEWER_API float VertexAngle(int x0, int y0, int x1, int y1, int x2, int y2);

VIEWER_NAMESPACE_END
