#include "ColorLookupTable.h"

#include "DICOMVRSet.h"
#include "VR.h"

#include <cstring>

IMPLEMENT_DYNCREATE(ColorLookupTable, DicomLookupTable)

namespace
{

constexpr unsigned short DescriptorElements[3] = {0x1101, 0x1102, 0x1103};
constexpr unsigned short DataElements[3] = {0x1201, 0x1202, 0x1203};

// Bits per entry of a 256-entry descriptor, or 0 for any other descriptor.
int ReadBits(const DICOMVRSet& set, unsigned short element)
{
    const VR* descriptor = set.GetVR(0x0028, element);
    if (descriptor == nullptr || descriptor->GetLength() != 6)
    {
        return 0;
    }
    std::uint16_t words[3];
    std::memcpy(words, descriptor->GetData(), sizeof words);
    return words[0] == ColorLookupTable::PaletteSize ? words[2] : 0;
}

// The 256 words of a channel, or null when the data is shorter.
const std::uint8_t* ReadChannel(const DICOMVRSet& set, unsigned short element)
{
    const VR* data = set.GetVR(0x0028, element);
    if (data == nullptr || data->GetData() == nullptr ||
        data->GetLength() < 2u * ColorLookupTable::PaletteSize)
    {
        return nullptr;
    }
    return static_cast<const std::uint8_t*>(data->GetData());
}

} // namespace

ColorLookupTable::ColorLookupTable() : DicomLookupTable(InitialType) {}

bool ColorLookupTable::InitFromDataSet(const DICOMVRSet& set)
{
    m_bValid = false;
    if (set.GetLettra(0x0028, 0x0004).Trim().CompareNoCase("PALETTE COLOR") != 0)
    {
        return false;
    }
    const int bits = ReadBits(set, DescriptorElements[0]);
    if ((bits != 16 && bits != 8) || ReadBits(set, DescriptorElements[1]) != bits ||
        ReadBits(set, DescriptorElements[2]) != bits)
    {
        return false;
    }
    const std::uint8_t* channels[3];
    for (int channel = 0; channel < 3; ++channel)
    {
        channels[channel] = ReadChannel(set, DataElements[channel]);
        if (channels[channel] == nullptr)
        {
            return false;
        }
    }
    // Little-endian words: byte 1 is the high byte, byte 0 the low one.
    const int byte = bits == 16 ? 1 : 0;
    for (int entry = 0; entry < PaletteSize; ++entry)
    {
        m_Palette[entry].rgbRed = channels[0][2 * entry + byte];
        m_Palette[entry].rgbGreen = channels[1][2 * entry + byte];
        m_Palette[entry].rgbBlue = channels[2][2 * entry + byte];
        m_Palette[entry].rgbReserved = 0;
    }
    m_bValid = true;
    return true;
}

bool ColorLookupTable::ToDicomDataSet(DICOMVRSet&)
{
    return true;
}

MetaMatrix* ColorLookupTable::ApplyToCopy(const MetaMatrix*)
{
    return nullptr;
}

void ColorLookupTable::Apply(MetaMatrix16*) {}

DicomLookupTable* ColorLookupTable::Clone() const
{
    auto* clone = new ColorLookupTable;
    clone->CopyFrom(*this);
    return clone;
}

bool ColorLookupTable::IsEqual(const DicomLookupTable* other) const
{
    return IsSameClass(other) && other->GetDescription().Compare(m_strDescription) == 0;
}

bool ColorLookupTable::CopyFrom(const DicomLookupTable& source)
{
    if (!IsSameClass(&source))
    {
        return false;
    }
    const auto& same = static_cast<const ColorLookupTable&>(source);
    CopyBaseFrom(same);
    std::memcpy(m_Palette, same.m_Palette, sizeof m_Palette);
    m_bValid = same.m_bValid;
    return true;
}
