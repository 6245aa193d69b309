#include "ModalityLookupTable.h"

#include "DICOMVRSet.h"
#include "VR.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr unsigned DescriptorLength = 6;
// A descriptor count of 0 stands for the largest table, as the VOI LUT of
// the library reads it.
constexpr std::uint16_t LargestCount = 65535;
constexpr int TopByte = 255;

} // namespace

ModalityLookupTable::ModalityLookupTable(const DICOMVRSet& set)
{
    const DICOMVRSet* item = set.GetSequence(0x0028, 0x3000, 0);
    if (item != nullptr)
    {
        Read(*item);
    }
}

void ModalityLookupTable::Read(const DICOMVRSet& item)
{
    const VR* descriptor = item.GetVR(0x0028, 0x3002);
    const VR* data = item.GetVR(0x0028, 0x3006);
    if (descriptor == nullptr || descriptor->GetLength() != DescriptorLength || data == nullptr)
    {
        _warning("Enter ModalityLookupTable, no usable LUT Descriptor or LUT Data");
        return;
    }
    std::uint16_t values[3];
    std::memcpy(values, descriptor->GetData(), sizeof values);
    m_nEntryCount = values[0] != 0 ? values[0] : LargestCount;
    m_nFirstMapped = values[1];
    m_nBitsPerEntry = values[2];
    const std::size_t bytes = static_cast<std::size_t>(m_nEntryCount) * 2;
    if (data->GetLength() < bytes)
    {
        _warning("Enter ModalityLookupTable, LUT Data of %u bytes for %u entries",
                 data->GetLength(), m_nEntryCount);
        return;
    }
    m_entries.resize(m_nEntryCount);
    std::memcpy(m_entries.data(), data->GetData(), bytes);
    m_nFirstEntry = m_entries.front();
    m_nLastEntry = m_entries.back();
}

std::uint16_t ModalityLookupTable::Map(int value) const
{
    const int offset = value - m_nFirstMapped;
    if (offset <= 0)
    {
        return m_nFirstEntry;
    }
    return offset >= m_nEntryCount ? m_nLastEntry : m_entries[static_cast<std::size_t>(offset)];
}

void ModalityLookupTable::Apply16(std::uint8_t* samples, std::uint32_t length) const
{
    _debug("Enter ApplyModalityLUT16");
    for (std::uint32_t offset = 0; offset + 1 < length; offset += 2)
    {
        std::uint16_t sample;
        std::memcpy(&sample, samples + offset, sizeof sample);
        sample = Map(sample);
        std::memcpy(samples + offset, &sample, sizeof sample);
    }
}

void ModalityLookupTable::Apply8(std::uint8_t* samples, std::uint32_t length) const
{
    _debug("Enter ApplyModalityLUT8");
    // A table whose top maps to 0 cannot be stretched to 255: it is used
    // unscaled.
    const std::uint16_t top = Map(m_nEntryCount - 1);
    const double factor = top != 0 ? static_cast<double>(TopByte) / top : 1.0;
    for (std::uint32_t index = 0; index < length; ++index)
    {
        const auto value = static_cast<int>(Map(samples[index]) * factor);
        samples[index] = static_cast<std::uint8_t>(std::min(value, TopByte));
    }
}
