#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
bool IsRectInside(const ResampleRect& rect, int64_t nWidth, int64_t nHeight)
{
    return rect.nWidth > 0 && rect.nHeight > 0 && rect.nX >= 0 && rect.nY >= 0 &&
           rect.nX <= nWidth - rect.nWidth && rect.nY <= nHeight - rect.nHeight;
}

bool IsSizeValid(int64_t nWidth, int64_t nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= kMaxDimension && nHeight <= kMaxDimension;
}

template <typename Sample> Sample RoundToSample(float value)
{
    const auto low = static_cast<float>(std::numeric_limits<Sample>::min());
    const auto high = static_cast<float>(std::numeric_limits<Sample>::max());
    return static_cast<Sample>(std::lround(std::clamp(value, low, high)));
}

// Adds weight x row into the accumulator, nValues values long.
void AccumulateRow(float* pSum, const float* pRow, float weight, size_t nValues)
{
    for (size_t i = 0; i < nValues; ++i)
    {
        pSum[i] += weight * pRow[i];
    }
}
} // namespace

bool ResampleGeometry::IsValid() const
{
    return IsSizeValid(nSrcWidth, nSrcHeight) && IsSizeValid(nDstWidth, nDstHeight) &&
           IsRectInside(src, nSrcWidth, nSrcHeight) && IsRectInside(dst, nDstWidth, nDstHeight);
}

template <typename Sample>
void DoResample(const ResampleGeometry& geometry, const Sample* pSrc, Sample* pDst,
                size_t nChannels, enResampleFilter filter)
{
    const ResampleAxis columns(filter, geometry.src.nX, geometry.src.nWidth, geometry.dst.nWidth);
    const ResampleAxis rows(filter, geometry.src.nY, geometry.src.nHeight, geometry.dst.nHeight);
    const auto nDstColumns = static_cast<size_t>(geometry.dst.nWidth);
    const size_t nRowValues = nDstColumns * nChannels;

    // Pass 1: every source row of the rectangle, scaled to the destination width.
    std::vector<float> scaled(static_cast<size_t>(geometry.src.nHeight) * nRowValues);
    for (size_t r = 0; r < static_cast<size_t>(geometry.src.nHeight); ++r)
    {
        const Sample* pRow = pSrc + (static_cast<size_t>(geometry.src.nY) + r) *
                                        static_cast<size_t>(geometry.nSrcWidth) * nChannels;
        float* pOut = scaled.data() + r * nRowValues;
        for (size_t j = 0; j < nDstColumns; ++j)
        {
            const float* pWeights = columns.GetWeights(j);
            const Sample* pTap = pRow + columns.GetFirst(j) * nChannels;
            for (size_t t = 0; t < columns.GetCount(j); ++t, pTap += nChannels)
            {
                for (size_t c = 0; c < nChannels; ++c)
                {
                    pOut[j * nChannels + c] += pWeights[t] * static_cast<float>(pTap[c]);
                }
            }
        }
    }

    // Pass 2: destination rows from the scaled rows.
    std::vector<float> sum(nRowValues);
    for (size_t i = 0; i < static_cast<size_t>(geometry.dst.nHeight); ++i)
    {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* pWeights = rows.GetWeights(i);
        const size_t nFirst = rows.GetFirst(i) - static_cast<size_t>(geometry.src.nY);
        for (size_t t = 0; t < rows.GetCount(i); ++t)
        {
            AccumulateRow(sum.data(), scaled.data() + (nFirst + t) * nRowValues, pWeights[t],
                          nRowValues);
        }
        Sample* pOut = pDst + ((static_cast<size_t>(geometry.dst.nY) + i) *
                                   static_cast<size_t>(geometry.nDstWidth) +
                               static_cast<size_t>(geometry.dst.nX)) *
                                  nChannels;
        for (size_t v = 0; v < nRowValues; ++v)
        {
            pOut[v] = RoundToSample<Sample>(sum[v]);
        }
    }
}

template void DoResample<uint8_t>(const ResampleGeometry&, const uint8_t*, uint8_t*, size_t,
                                  enResampleFilter);
template void DoResample<int8_t>(const ResampleGeometry&, const int8_t*, int8_t*, size_t,
                                 enResampleFilter);
template void DoResample<uint16_t>(const ResampleGeometry&, const uint16_t*, uint16_t*, size_t,
                                   enResampleFilter);
template void DoResample<int16_t>(const ResampleGeometry&, const int16_t*, int16_t*, size_t,
                                  enResampleFilter);
