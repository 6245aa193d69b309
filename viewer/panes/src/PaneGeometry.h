// Number conversions of the pane geometry: rounding half away from zero and
// truncation toward zero, both held within the int range.
#pragma once

#include "DicomLookupTable.h"
#include "RoiGeometry.h"

// Low wins when the range is empty (an image of no size).
inline int ClampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}
