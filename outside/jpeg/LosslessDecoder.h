// Decoder of lossless JPEG (process 14, Huffman coded): any of the seven
// predictors, precision 2 to 16 bits, point transform, restart intervals of
// whole lines, one to four components in one interleaved scan or in several.
#pragma once

#include "JpegMarkers.h"
#include "JpegTypes.h"

namespace quorex
{

class LosslessDecoder
{
public:
    // Throws JpegFormatError when the stream is damaged or of a kind not
    // supported (components sampled differently, restarts inside a line).
    static SampleImage DoDecode(ByteSpan stream);
    // The same decoding written line by line straight into the entries'
    // layout; invalid when the stream's components or precision do not fit
    // the layout. Throws as DoDecode does.
    static DecodedImage DoDecode(ByteSpan stream, enSampleLayout enLayout);
};

} // namespace quorex
