// Encoder of 12-bit grey images in the lossy DCT processes, Huffman coded
// with optimal tables: extended sequential, spectral selection, and full
// progression (spectral selection with successive approximation).
#pragma once

#include "JpegTypes.h"

#include <vector>

namespace quorex
{

class Dct12Encoder
{
public:
    // image: one component of 12-bit samples. The baseline process does not
    // exist at 12 bits; it is taken as the extended one.
    static std::vector<uint8_t> DoEncode(const SampleImage& image, enLossyProcess enProcess,
                                         int nQuality);
};

} // namespace quorex
