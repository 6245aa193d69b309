#include "TestImages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
// Value in 0..1 at one pixel; nChannel shifts the pattern for colour.
double GetShade(int nRow, int nColumn, int nRows, int nColumns, int nChannel)
{
    const double dRow = nRow + 7.0 * nChannel;
    double dValue = 0.5 + 0.3 * std::sin(dRow * 0.11) * std::cos(nColumn * 0.07 + nChannel);
    const double dRadius = 0.3 * std::min(nRows, nColumns);
    const double dY = nRow - nRows / 2.0;
    const double dX = nColumn - nColumns / 2.0;
    if (dX * dX + dY * dY < dRadius * dRadius)
    {
        dValue += 0.15;
    }
    // Small deterministic noise.
    const uint32_t nHash =
        static_cast<uint32_t>(nRow * 7919 + nColumn * 104729 + nChannel * 31) * 2654435761u;
    dValue += ((nHash >> 24) / 255.0 - 0.5) * 0.04;
    return std::clamp(dValue, 0.0, 1.0);
}

int GetSample(int nRow, int nColumn, int nRows, int nColumns, int nChannel, int nMin, int nMax)
{
    if (nRow == 0 && nColumn == 0)
    {
        return nMin;
    }
    if (nRow == 0 && nColumn == 1)
    {
        return nMax;
    }
    const double dShade = GetShade(nRow, nColumn, nRows, nColumns, nChannel);
    return nMin + static_cast<int>(std::lround(dShade * (nMax - nMin)));
}
} // namespace

ByteVector MakeGreyImage8(int nRows, int nColumns)
{
    ByteVector image;
    for (int r = 0; r < nRows; ++r)
    {
        for (int c = 0; c < nColumns; ++c)
        {
            image.push_back(static_cast<uint8_t>(GetSample(r, c, nRows, nColumns, 0, 0, 255)));
        }
    }
    return image;
}

ByteVector MakeGreyImage16(int nRows, int nColumns, int nBits, bool bSigned)
{
    const int nMin = bSigned ? -(1 << (nBits - 1)) : 0;
    const int nMax = bSigned ? (1 << (nBits - 1)) - 1 : (1 << nBits) - 1;
    ByteVector image;
    for (int r = 0; r < nRows; ++r)
    {
        for (int c = 0; c < nColumns; ++c)
        {
            const auto nWord =
                static_cast<uint16_t>(GetSample(r, c, nRows, nColumns, 0, nMin, nMax));
            image.push_back(static_cast<uint8_t>(nWord & 0xFF));
            image.push_back(static_cast<uint8_t>(nWord >> 8));
        }
    }
    return image;
}

ByteVector MakeRgbImage(int nRows, int nColumns)
{
    ByteVector image;
    for (int r = 0; r < nRows; ++r)
    {
        for (int c = 0; c < nColumns; ++c)
        {
            for (int nChannel = 0; nChannel < 3; ++nChannel)
            {
                image.push_back(
                    static_cast<uint8_t>(GetSample(r, c, nRows, nColumns, nChannel, 0, 255)));
            }
        }
    }
    return image;
}

ImageDifference CompareImages(const uint8_t* pA, const uint8_t* pB, size_t nSamples,
                              int nBytesPerSample)
{
    ImageDifference difference;
    double dSum = 0;
    for (size_t i = 0; i < nSamples; ++i)
    {
        int nA = pA[i * nBytesPerSample];
        int nB = pB[i * nBytesPerSample];
        if (nBytesPerSample == 2)
        {
            nA |= pA[2 * i + 1] << 8;
            nB |= pB[2 * i + 1] << 8;
        }
        const int nDelta = std::abs(nA - nB);
        difference.nMax = std::max(difference.nMax, nDelta);
        dSum += nDelta;
    }
    difference.dMean = nSamples == 0 ? 0 : dSum / static_cast<double>(nSamples);
    return difference;
}
