#include "LookupTableSupport.h"

#include "DICOMVRSet.h"
#include "MetaMatrix16.h"
#include "QuillonLog.h"
#include "VR.h"
#include "VRCode.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>

namespace lut
{

namespace
{

// A deep copy takes the place of a block shared with other matrices.
void MakePixelsOwn(MetaMatrix16& matrix)
{
    if (matrix.GetData()->nRefs <= 1)
    {
        return;
    }
    std::unique_ptr<MetaMatrix> copy(matrix.Clone());
    matrix = *static_cast<MetaMatrix16*>(copy.get());
}

template <typename Sample>
void MapSamples(std::uint16_t* samples, std::size_t count, const std::uint16_t* middle, int& min,
                int& max)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::uint16_t level = middle[static_cast<Sample>(samples[i])];
        samples[i] = level;
        const int value = static_cast<Sample>(level);
        min = std::min(min, value);
        max = std::max(max, value);
    }
}

} // namespace

void MapMatrix16(MetaMatrix16& matrix, const std::uint16_t* middle)
{
    if (matrix.IsEmpty() || matrix.GetPixelData() == nullptr)
    {
        return;
    }
    MakePixelsOwn(matrix);
    MetaMatrixData& data = *matrix.GetData();
    const bool isSigned = data.nSigned != 0;
    int min = isSigned ? 32767 : 65535;
    int max = isSigned ? -32768 : 0;
    const std::size_t count = std::min<std::size_t>(
        std::size_t(data.nRows) * std::size_t(data.nColumns), std::size_t(data.nDataLength) / 2);
    auto* samples = reinterpret_cast<std::uint16_t*>(matrix.GetPixelData());
    if (isSigned)
    {
        MapSamples<std::int16_t>(samples, count, middle, min, max);
    }
    else
    {
        MapSamples<std::uint16_t>(samples, count, middle, min, max);
    }
    data.nMin = min;
    data.nMax = max;
}

float ReadRescale(const DICOMVRSet& set, unsigned short element, float absent)
{
    const Lettra text = set.GetLettra(0x0028, element).Trim();
    if (text.IsEmpty())
    {
        return absent;
    }
    const double value = text.Double();
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
    {
        return absent;
    }
    return static_cast<float>(value);
}

float UsableSlope(float slope)
{
    if (slope == 0.0f)
    {
        quillon::_warning("RescaleSlope is 0, set it to 1 now !");
        return 1.0f;
    }
    return slope;
}

void WriteVOILUTItem(DICOMVRSet& set, int entries, int first, int bits, const char* explanation,
                     const std::uint16_t* data)
{
    auto* item = new DICOMVRSet;
    const unsigned short descriptor[3] = {static_cast<unsigned short>(entries),
                                          static_cast<unsigned short>(first),
                                          static_cast<unsigned short>(bits)};
    item->Add(0x0028, 0x3002, descriptor, 3);
    item->Add(0x0028, 0x3003, explanation);
    item->Add(0x0028, 0x3006, data, entries);
    if (2 * entries >= 65536)
    {
        item->GetVR(0x0028, 0x3006)->SetTypeCode(VRCode::OW);
    }
    set.Delete(0x0028, 0x3010);
    set.Push(0x0028, 0x3010, item);
}

} // namespace lut
