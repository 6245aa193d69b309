#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
// Source lines (one channel of one row) filtered side by side: the same tap
// weights apply to all of them, so the sums fill whole vector registers.
constexpr size_t kLanes = 8;

// Eight floats; the compiler splits them into the registers the target has.
using FloatLanes = float __attribute__((vector_size(kLanes * sizeof(float))));

// The lanes at any address: a pointer cast would claim the vector's own
// alignment, which not every compiler lowers for a typedef, and the buffers
// are aligned to a float only. By reference: a vector passed by value would
// change the calling convention between the clones of the filters.
void LoadLanes(FloatLanes& lanes, const float* pValues)
{
    std::memcpy(&lanes, pValues, sizeof lanes);
}

void StoreLanes(float* pValues, const FloatLanes& lanes)
{
    std::memcpy(pValues, &lanes, sizeof lanes);
}

// Working buffers larger than this are given back after the call.
constexpr size_t kKeptFloats = size_t{8} << 20;

bool IsRectInside(const ResampleRect& rect, int64_t nWidth, int64_t nHeight)
{
    return rect.nWidth > 0 && rect.nHeight > 0 && rect.nX >= 0 && rect.nY >= 0 &&
           rect.nX <= nWidth - rect.nWidth && rect.nY <= nHeight - rect.nHeight;
}

bool IsSizeValid(int64_t nWidth, int64_t nHeight)
{
    return nWidth > 0 && nHeight > 0 && nWidth <= kMaxDimension && nHeight <= kMaxDimension;
}

struct WorkBuffers
{
    std::vector<float> tile;
    std::vector<float> scaled;
    std::vector<float> row;

    void DoTrim()
    {
        for (std::vector<float>* pBuffer : {&tile, &scaled, &row})
        {
            if (pBuffer->capacity() > kKeptFloats)
            {
                std::vector<float>().swap(*pBuffer);
            }
        }
    }
};

WorkBuffers& GetWorkBuffers()
{
    thread_local WorkBuffers buffers;
    return buffers;
}

// Pass 1 for one tile: kLanes lines interleaved, position x of lane k at
// pTile[x * kLanes + k], x counted from nSrcStart. Lane k's results go to
// ppOut[k][j * nStep]; lanes without a line write to a scratch line.
__attribute__((target_clones("avx2", "default"))) void
FilterTile(const float* pTile, const ResampleAxis& axis, size_t nSrcStart, size_t nDstLength,
           float* const* ppOut, size_t nStep)
{
    for (size_t j = 0; j < nDstLength; ++j)
    {
        const float* pWeights = axis.GetWeights(j);
        const float* pTap = pTile + (axis.GetFirst(j) - nSrcStart) * kLanes;
        FloatLanes taps;
        LoadLanes(taps, pTap);
        FloatLanes sums = pWeights[0] * taps;
        for (size_t t = 1; t < axis.GetCount(j); ++t)
        {
            LoadLanes(taps, pTap + t * kLanes);
            sums += pWeights[t] * taps;
        }
        for (size_t k = 0; k < kLanes; ++k)
        {
            ppOut[k][j * nStep] = sums[k];
        }
    }
}

// Pass 2 for one destination row: the weighted sum of nCount scaled rows.
__attribute__((target_clones("avx2", "default"))) void FilterColumns(const float* const* ppRows,
                                                                     const float* pWeights,
                                                                     size_t nCount, float* pOut,
                                                                     size_t nValues)
{
    size_t v = 0;
    for (; v + kLanes <= nValues; v += kLanes)
    {
        FloatLanes row;
        LoadLanes(row, ppRows[0] + v);
        FloatLanes sums = pWeights[0] * row;
        for (size_t t = 1; t < nCount; ++t)
        {
            LoadLanes(row, ppRows[t] + v);
            sums += pWeights[t] * row;
        }
        StoreLanes(pOut + v, sums);
    }
    for (; v < nValues; ++v)
    {
        float sum = pWeights[0] * ppRows[0][v];
        for (size_t t = 1; t < nCount; ++t)
        {
            sum += pWeights[t] * ppRows[t][v];
        }
        pOut[v] = sum;
    }
}

// Rounded to the nearest value, halves away from zero, within the range of
// the sample type.
template <typename Sample> void StoreRow(const float* pSum, Sample* pOut, size_t nValues)
{
    constexpr auto kLow = static_cast<float>(std::numeric_limits<Sample>::min());
    constexpr auto kHigh = static_cast<float>(std::numeric_limits<Sample>::max());
    for (size_t i = 0; i < nValues; ++i)
    {
        const float value = std::min(std::max(pSum[i], kLow), kHigh);
        const float half = value < 0.0f ? -0.5f : 0.5f;
        pOut[i] = static_cast<Sample>(static_cast<int32_t>(value + half));
    }
}

template <typename Sample> class SeparableResampler
{
public:
    SeparableResampler(const ResampleGeometry& geometry, const Sample* pSrc, size_t nChannels,
                       enResampleFilter filter)
        : m_geometry(geometry), m_pSrc(pSrc), m_nChannels(nChannels),
          m_columns(ResampleAxis::GetShared(filter, geometry.src.nX, geometry.src.nWidth,
                                            geometry.dst.nWidth)),
          m_rows(ResampleAxis::GetShared(filter, geometry.src.nY, geometry.src.nHeight,
                                         geometry.dst.nHeight)),
          m_nSrcColumns(static_cast<size_t>(geometry.src.nWidth)),
          m_nDstColumns(static_cast<size_t>(geometry.dst.nWidth)),
          m_nRowValues(m_nDstColumns * nChannels), m_buffers(GetWorkBuffers())
    {
    }

    // Pass 1: every source row of the rectangle, scaled to the destination
    // width, into the scaled buffer.
    void DoScaleRows()
    {
        const size_t nLines = static_cast<size_t>(m_geometry.src.nHeight) * m_nChannels;
        m_buffers.tile.resize(m_nSrcColumns * kLanes);
        // One more row takes the sums of lanes without a line.
        m_buffers.scaled.resize((static_cast<size_t>(m_geometry.src.nHeight) + 1) * m_nRowValues);
        float* pSpare = m_buffers.scaled.data() + (nLines / m_nChannels) * m_nRowValues;
        for (size_t nLine = 0; nLine < nLines; nLine += kLanes)
        {
            const size_t nTileLines = std::min(kLanes, nLines - nLine);
            DoLoadTile(nLine, nTileLines);
            float* ppOut[kLanes];
            for (size_t k = 0; k < kLanes; ++k)
            {
                const size_t nOwnLine = nLine + k;
                ppOut[k] = k < nTileLines
                               ? m_buffers.scaled.data() + (nOwnLine / m_nChannels) * m_nRowValues +
                                     nOwnLine % m_nChannels
                               : pSpare;
            }
            FilterTile(m_buffers.tile.data(), *m_columns, static_cast<size_t>(m_geometry.src.nX),
                       m_nDstColumns, ppOut, m_nChannels);
        }
    }

    // Pass 2: destination rows from the scaled rows.
    void DoScaleColumns(Sample* pDst)
    {
        m_buffers.row.resize(m_nRowValues);
        std::vector<const float*> rows;
        for (size_t i = 0; i < static_cast<size_t>(m_geometry.dst.nHeight); ++i)
        {
            const size_t nFirst = m_rows->GetFirst(i) - static_cast<size_t>(m_geometry.src.nY);
            rows.clear();
            for (size_t t = 0; t < m_rows->GetCount(i); ++t)
            {
                rows.push_back(m_buffers.scaled.data() + (nFirst + t) * m_nRowValues);
            }
            FilterColumns(rows.data(), m_rows->GetWeights(i), rows.size(), m_buffers.row.data(),
                          m_nRowValues);
            StoreRow(m_buffers.row.data(),
                     pDst + ((static_cast<size_t>(m_geometry.dst.nY) + i) *
                                 static_cast<size_t>(m_geometry.nDstWidth) +
                             static_cast<size_t>(m_geometry.dst.nX)) *
                                m_nChannels,
                     m_nRowValues);
        }
        m_buffers.DoTrim();
    }

private:
    // Line n is channel n % channels of rectangle row n / channels. Lanes
    // beyond the last line repeat it; their sums are not used.
    void DoLoadTile(size_t nLine, size_t nTileLines)
    {
        const Sample* ppIn[kLanes];
        for (size_t k = 0; k < kLanes; ++k)
        {
            ppIn[k] = GetSourceLine(nLine + std::min(k, nTileLines - 1));
        }
        float* pTile = m_buffers.tile.data();
        for (size_t x = 0; x < m_nSrcColumns; ++x)
        {
            for (size_t k = 0; k < kLanes; ++k)
            {
                pTile[x * kLanes + k] = static_cast<float>(ppIn[k][x * m_nChannels]);
            }
        }
    }

    const Sample* GetSourceLine(size_t nLine) const
    {
        const size_t nRow = static_cast<size_t>(m_geometry.src.nY) + nLine / m_nChannels;
        return m_pSrc +
               (nRow * static_cast<size_t>(m_geometry.nSrcWidth) +
                static_cast<size_t>(m_geometry.src.nX)) *
                   m_nChannels +
               nLine % m_nChannels;
    }

    const ResampleGeometry& m_geometry;
    const Sample* m_pSrc;
    size_t m_nChannels;
    std::shared_ptr<const ResampleAxis> m_columns;
    std::shared_ptr<const ResampleAxis> m_rows;
    size_t m_nSrcColumns;
    size_t m_nDstColumns;
    size_t m_nRowValues;
    WorkBuffers& m_buffers;
};
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
    SeparableResampler<Sample> resampler(geometry, pSrc, nChannels, filter);
    resampler.DoScaleRows();
    resampler.DoScaleColumns(pDst);
}

template void DoResample<uint8_t>(const ResampleGeometry&, const uint8_t*, uint8_t*, size_t,
                                  enResampleFilter);
template void DoResample<int8_t>(const ResampleGeometry&, const int8_t*, int8_t*, size_t,
                                 enResampleFilter);
template void DoResample<uint16_t>(const ResampleGeometry&, const uint16_t*, uint16_t*, size_t,
                                   enResampleFilter);
template void DoResample<int16_t>(const ResampleGeometry&, const int16_t*, int16_t*, size_t,
                                  enResampleFilter);
