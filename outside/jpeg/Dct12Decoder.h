// Decoder of 12-bit DCT streams, Huffman coded: extended sequential
// (processes 2 and 4) and progressive (processes 6, 8, 10 and 12, spectral
// selection and successive approximation), one component, with restart
// intervals.
#pragma once

#include "JpegMarkers.h"
#include "JpegTypes.h"

namespace quorex
{

class Dct12Decoder
{
public:
    // Throws JpegFormatError when the stream is damaged or of a kind not
    // supported (more than one component).
    static SampleImage DoDecode(ByteSpan stream);
};

} // namespace quorex
