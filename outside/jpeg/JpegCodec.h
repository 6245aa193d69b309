// The codec behind every entry: chooses the decoder a stream needs and the
// encoder a process needs.
#pragma once

#include "JpegTypes.h"

namespace quorex
{

class JpegCodec
{
public:
    // Decodes any stream the library reads (8- and 12-bit DCT, lossless of
    // 2 to 16 bits) into enLayout; empty when the stream is damaged, of a kind
    // not supported, or does not fit the layout (components, precision).
    static DecodedImage DoDecode(const uint8_t* pData, size_t nLength, enSampleLayout enLayout);
    // Decodes an 8-bit DCT stream into the 8-bit layouts (Grey8, Rgb, Coded)
    // straight into pTarget, which must hold exactly the image; false for any
    // other stream or layout, a size that differs, or damage.
    static bool DoDecodeInto(const uint8_t* pData, size_t nLength, enSampleLayout enLayout,
                             uint8_t* pTarget, size_t nTargetLength, int32_t& nRows,
                             int32_t& nColumns);

    // pRaw holds nRows x nColumns pixels in enLayout. Grey12 samples above 4095
    // are clipped to 4095.
    static EncodedStream DoEncodeLossy(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                                       enSampleLayout enLayout, enLossyProcess enProcess,
                                       int32_t nQuality);

    // Lossless with predictor selection value 1..7, or 0 to choose the one
    // that codes the image smallest. Grey16 streams take the precision of the
    // largest sample.
    static EncodedStream DoEncodeLossless(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                                          enSampleLayout enLayout, int nPredictor);
};

} // namespace quorex
