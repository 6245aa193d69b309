// Automatic window and level of 16-bit samples from their histogram.
#pragma once

#include "WinTypes.h"

#include <cstdint>

namespace matrix
{

// Counts the samples inside a border of 1 % of the smaller dimension (and,
// with a shutter rectangle, inside the ellipse inscribed in it), then cuts
// 1 % of all the pixels of the image from each end of the histogram. Signed
// samples are counted from the smallest sample of the image. False when the
// counted pixels do not exceed that 1 % (nothing is written then).
bool EstimateWindow16(const std::uint16_t* samples, int rows, int columns, bool isSigned,
                      const RECT* shutter, int* width, int* center);

} // namespace matrix
