// Number conversions of the pane geometry: rounding half away from zero,
// held within the int range like the truncation toward zero it builds on
// (TruncateToInt), so that a far-off coordinate never overflows.
#pragma once

#include "DicomLookupTable.h"

// The magnitude plus 0.5, truncated, with the sign restored.
inline int RoundHalfAway(double value)
{
    return value < 0.0 ? -TruncateToInt(-value + 0.5) : TruncateToInt(value + 0.5);
}

// Low wins when the range is empty (an image of no size).
inline int ClampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}
