// Encoding of 8-bit grey or RGB images with libjpeg-turbo in the four lossy
// DCT processes.
#pragma once

#include "JpegTypes.h"

namespace quorex
{

class TurboEncoder
{
public:
    // pRaw holds nRows x nColumns samples in enLayout (Grey8 or Rgb). Colour is
    // coded as R, G, B components marked by an Adobe segment, not as YCbCr: the
    // callers keep the image's RGB photometric interpretation, and every
    // decoder then reproduces the colours. nQuality is clamped to 1..100.
    static EncodedStream DoEncode(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                                  enSampleLayout enLayout, enLossyProcess enProcess,
                                  int32_t nQuality);
};

} // namespace quorex
