// Decoding of 8-bit DCT streams (baseline, extended, progressive) with
// libjpeg-turbo into grey or interleaved RGB bytes.
#pragma once

#include "JpegTypes.h"

namespace quorex
{

class TurboDecoder
{
public:
    // enLayout is Grey8 (the stream must have one component) or Rgb (three
    // components, converted from YCbCr when the stream is coded that way).
    // Returns false on any damage; image is then left empty.
    static bool DoDecode(const uint8_t* pData, size_t nLength, enSampleLayout enLayout,
                         DecodedImage& image);
    // The same decoding straight into the caller's buffer, which must hold
    // exactly the decoded image (rows x columns x samples of enLayout);
    // false when it does not or on any damage (the buffer may then be
    // partly written).
    static bool DoDecodeInto(const uint8_t* pData, size_t nLength, enSampleLayout enLayout,
                             uint8_t* pTarget, size_t nTargetLength, int32_t& nRows,
                             int32_t& nColumns);
};

} // namespace quorex
