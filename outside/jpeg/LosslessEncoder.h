// Encoder of lossless JPEG (process 14, Huffman coded) with optimal tables.
#pragma once

#include "JpegTypes.h"

#include <vector>

namespace quorex
{

class LosslessEncoder
{
public:
    // Predictor selection value 1..7, or 0 to use whichever codes the image
    // in the fewest bytes.
    static std::vector<uint8_t> DoEncode(const SampleImage& image, int nPredictor);
};

} // namespace quorex
