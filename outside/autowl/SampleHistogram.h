// The histogram of the samples inside a frame's margin: one counter per
// possible value of the sample type.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

struct SampleHistogram
{
    std::vector<std::uint64_t> counts; // counts[i]: samples of value i + offset
    std::int32_t offset = 0;
    std::uint64_t total = 0;
};

// Counts the samples of rows and columns margin .. size - margin - 1.
template <typename Sample>
SampleHistogram CountInterior(const Sample* pPixels, int nWidth, int nHeight, int nMargin)
{
    SampleHistogram histogram;
    histogram.offset = std::numeric_limits<Sample>::min();
    histogram.counts.assign(
        static_cast<std::size_t>(std::numeric_limits<Sample>::max()) - histogram.offset + 1, 0);
    for (int nRow = nMargin; nRow < nHeight - nMargin; ++nRow)
    {
        const Sample* pRow = pPixels + static_cast<std::size_t>(nRow) * nWidth;
        for (int nColumn = nMargin; nColumn < nWidth - nMargin; ++nColumn)
        {
            ++histogram.counts[static_cast<std::size_t>(pRow[nColumn] - histogram.offset)];
            ++histogram.total;
        }
    }
    return histogram;
}
