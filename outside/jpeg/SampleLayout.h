// Conversions between the pixel layouts of the entries and the sample images
// of our own codecs.
#pragma once

#include "JpegTypes.h"

namespace quorex
{

// The samples of a decoded image in enLayout; empty when the image does not
// fit it (Grey8 and Rgb take 1 and 3 components of at most 8 bits, Grey12
// and Grey16 one component of any precision).
DecodedImage ToLayout(const SampleImage& image, enSampleLayout enLayout);

// Reads nRows x nColumns pixels in enLayout. The precision is 8 for Grey8
// and Rgb, 12 for Grey12 (larger values are clipped to 4095) and, for Grey16,
// the fewest bits (at least 2) that hold the largest sample.
SampleImage FromLayout(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                       enSampleLayout enLayout);

} // namespace quorex
