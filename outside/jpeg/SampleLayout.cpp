#include "SampleLayout.h"

#include <algorithm>

namespace quorex
{

DecodedImage ToLayout(const SampleImage& image, enSampleLayout enLayout)
{
    const bool bWide = enLayout == enSampleLayout::Grey12 || enLayout == enSampleLayout::Grey16;
    if (image.nComponents != static_cast<int32_t>(GetComponentCount(enLayout)) ||
        (!bWide && image.nPrecision > 8))
    {
        return {};
    }
    DecodedImage decoded;
    decoded.pixels = AllocateResult(image.samples.size() * (bWide ? 2 : 1));
    if (decoded.pixels == nullptr)
    {
        return {};
    }
    uint8_t* pOut = decoded.pixels.get();
    for (const uint16_t nSample : image.samples)
    {
        *pOut++ = static_cast<uint8_t>(nSample & 0xFF);
        if (bWide)
        {
            *pOut++ = static_cast<uint8_t>(nSample >> 8);
        }
    }
    decoded.nRows = image.nRows;
    decoded.nColumns = image.nColumns;
    return decoded;
}

SampleImage FromLayout(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                       enSampleLayout enLayout)
{
    SampleImage image;
    image.nRows = nRows;
    image.nColumns = nColumns;
    image.nComponents = static_cast<int32_t>(GetComponentCount(enLayout));
    const size_t nSamples = size_t(nRows) * size_t(nColumns) * size_t(image.nComponents);
    image.samples.resize(nSamples);
    if (enLayout == enSampleLayout::Grey8 || enLayout == enSampleLayout::Rgb)
    {
        std::copy(pRaw, pRaw + nSamples, image.samples.begin());
        image.nPrecision = 8;
        return image;
    }
    const uint16_t nLimit = enLayout == enSampleLayout::Grey12 ? 4095 : 65535;
    uint16_t nLargest = 0;
    for (size_t i = 0; i < nSamples; ++i)
    {
        const auto nSample = static_cast<uint16_t>(pRaw[2 * i] | pRaw[2 * i + 1] << 8);
        image.samples[i] = std::min(nSample, nLimit);
        nLargest = std::max(nLargest, image.samples[i]);
    }
    image.nPrecision = 2;
    while (enLayout == enSampleLayout::Grey12 ? image.nPrecision < 12
                                              : (nLargest >> image.nPrecision) != 0)
    {
        ++image.nPrecision;
    }
    return image;
}

} // namespace quorex
