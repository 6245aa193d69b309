#include "VertexAngle.h"

#include <cmath>

VIEWER_NAMESPACE_BEGIN

float VertexAngle(int x0, int y0, int x1, int y1, int x2, int y2)
{
    const float ux = float(x1) - float(x0);
    const float uy = float(y1) - float(y0);
    const float vx = float(x2) - float(x0);
    const float vy = float(y2) - float(y0);
    const float lengths = std::sqrt(ux * ux + uy * uy) * std::sqrt(vx * vx + vy * vy);
    // An arm of no length has no direction: no angle rather than NaN.
    if (lengths == 0.0f)
    {
        return 0.0f;
    }
    const float cosine = (ux * vx + uy * vy) / lengths;
    if (cosine > 1.0f)
    {
        return 0.0f;
    }
    if (cosine < -1.0f)
    {
        return 180.0f;
    }
    return static_cast<float>(std::acos(cosine) * 57.29577951308232);
}

VIEWER_NAMESPACE_END
