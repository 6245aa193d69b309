// Separable resampling of one rectangle of an image onto a rectangle of
// another: rows first into a floating-point buffer, then columns. The filter
// taps are kept between calls and the working buffers belong to the thread,
// so that frame after frame of one size costs only the arithmetic.
#pragma once

#include "ResampleAxis.h"

#include <cstddef>
#include <cstdint>

struct ResampleRect
{
    int64_t nX = 0;
    int64_t nY = 0;
    int64_t nWidth = 0;
    int64_t nHeight = 0;
};

struct ResampleGeometry
{
    int64_t nSrcWidth = 0;
    int64_t nSrcHeight = 0;
    ResampleRect src;
    int64_t nDstWidth = 0;
    int64_t nDstHeight = 0;
    ResampleRect dst;

    // Positive sizes no larger than kMaxDimension, each rectangle inside its image.
    bool IsValid() const;
};

// Larger than any image the suite shows; keeps every size product in range.
constexpr int64_t kMaxDimension = int64_t{1} << 20;

// Sample is uint8_t, int8_t, uint16_t or int16_t; nChannels samples per pixel.
// The geometry must be valid.
template <typename Sample>
void DoResample(const ResampleGeometry& geometry, const Sample* pSrc, Sample* pDst,
                size_t nChannels, enResampleFilter filter);
