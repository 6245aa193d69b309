// Deterministic test pictures: smooth shading, a sharp-edged disc, fine noise
// and the extreme values of the range in the first two pixels, so that every
// predictor and every DCT band gets work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using ByteVector = std::vector<uint8_t>;

ByteVector MakeGreyImage8(int nRows, int nColumns);

// Two bytes per sample, little endian; nBits of range, sign-extended to 16 bits
// when bSigned.
ByteVector MakeGreyImage16(int nRows, int nColumns, int nBits, bool bSigned);

// R, G, B interleaved.
ByteVector MakeRgbImage(int nRows, int nColumns);

// Largest absolute difference between two images of samples (1 or 2 bytes,
// unsigned little endian), and the mean absolute difference.
struct ImageDifference
{
    int nMax = 0;
    double dMean = 0;
};
ImageDifference CompareImages(const uint8_t* pA, const uint8_t* pB, size_t nSamples,
                              int nBytesPerSample);
