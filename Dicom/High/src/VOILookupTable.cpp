#include "VOILookupTable.h"

#include "DICOMDataSet.h"
#include "VR.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

namespace
{

constexpr unsigned short VoiGroup = 0x0028;
constexpr unsigned short VoiLutSequence = 0x3010;
constexpr unsigned short LutDescriptor = 0x3002;
constexpr unsigned short LutExplanation = 0x3003;
constexpr unsigned short LutData = 0x3006;
constexpr unsigned short PixelRepresentation = 0x0103;
constexpr std::uint32_t DescriptorLength = 6;

} // namespace

VOILookupTable::VOILookupTable(const DICOMDataSet& set)
{
    if (!Read(set))
    {
        Free();
    }
}

VOILookupTable::~VOILookupTable()
{
    Free();
}

int VOILookupTable::GetFirstInput() const
{
    return m_bSignedInput ? static_cast<std::int16_t>(m_nFirstMapped) : m_nFirstMapped;
}

unsigned short VOILookupTable::GetEntry(int position) const
{
    if (m_pTable == nullptr || position < 0 || position >= TableSize)
    {
        return 0;
    }
    return m_pTable[position];
}

bool VOILookupTable::Read(const DICOMDataSet& set)
{
    const DICOMVRSet* item = set.GetSequence(VoiGroup, VoiLutSequence, 0);
    if (item == nullptr)
    {
        return false;
    }
    const VR* descriptor = item->GetVR(VoiGroup, LutDescriptor);
    if (descriptor == nullptr || descriptor->GetLength() != DescriptorLength)
    {
        _warning("VOILookupTable::Init, LUT Descriptor missing or not %u bytes", DescriptorLength);
        return false;
    }
    std::uint16_t values[3] = {};
    std::memcpy(values, descriptor->GetData(), DescriptorLength);
    // A count of 0 stands for the largest table the descriptor can name.
    int count = values[0] != 0 ? values[0] : 65535;
    m_nFirstMapped = values[1];
    m_nBitsPerEntry = values[2];
    m_bSignedInput = set.GetUINT16(VoiGroup, PixelRepresentation) == 1;

    const VR* data = item->GetVR(VoiGroup, LutData);
    if (data == nullptr || data->GetLength() < static_cast<std::uint32_t>(count) * 2)
    {
        _warning("VOILookupTable::Init, LUT Data shorter than %d entries", count);
        return false;
    }
    if (m_nFirstMapped + count > TableSize)
    {
        _warning("VOILookupTable::Init, %d entries from %u reach past the table, cut", count,
                 m_nFirstMapped);
        count = TableSize - m_nFirstMapped;
    }
    m_nEntryCount = static_cast<unsigned short>(count);

    m_pTable = new (std::nothrow) std::uint16_t[TableSize]();
    if (m_pTable == nullptr)
    {
        _error("VOILookupTable::Init, cannot allocate the table");
        return false;
    }
    const int last = m_nFirstMapped + count - 1;
    std::memcpy(m_pTable + m_nFirstMapped, data->GetData(), static_cast<std::size_t>(count) * 2);
    std::fill(m_pTable + last + 1, m_pTable + TableSize, m_pTable[last]);
    m_nMinValue = m_pTable[m_nFirstMapped];
    m_nMaxValue = m_pTable[last];

    m_strExplanation = item->GetLettra(VoiGroup, LutExplanation);
    m_strExplanation.TrimLeft();
    m_strExplanation.TrimRight();
    if (m_strExplanation.IsEmpty())
    {
        m_strExplanation = "VOI LUT";
    }

    if (m_nMaxValue < m_nMinValue)
    {
        std::swap(m_nMinValue, m_nMaxValue);
    }
    if (m_nMinValue == m_nMaxValue)
    {
        _error("Leave VOILookupTable::Init, m_valMin == m_valMax = %d", m_nMinValue);
        return false;
    }
    return true;
}

void VOILookupTable::Free()
{
    delete[] m_pTable;
    m_pTable = nullptr;
}

std::uint8_t* VOILookupTable::CreateDisplayTable(float intercept, float slope) const
{
    if (m_pTable == nullptr)
    {
        return nullptr;
    }
    auto* table = new (std::nothrow) std::uint8_t[DisplayTableSize];
    if (table == nullptr)
    {
        _error("VOILookupTable::CreateDisplayTable, cannot allocate the table");
        return nullptr;
    }
    if (!std::isfinite(intercept) || !std::isfinite(slope))
    {
        _warning("VOILookupTable::CreateDisplayTable, rescale %f / %f taken as 0 / 1",
                 static_cast<double>(intercept), static_cast<double>(slope));
        intercept = 0.0f;
        slope = 1.0f;
    }
    // Read stands for min < max, so the divisor is at least 1; entries
    // between the ends may still exceed the last one.
    const int first = GetFirstInput();
    for (int index = 0; index < DisplayTableSize; ++index)
    {
        const double input =
            std::floor(static_cast<double>(index - DisplayTableOffset) * slope + intercept);
        const double position = std::clamp(input - first, -1.0, m_nEntryCount - 1.0);
        if (position < 0.0)
        {
            table[index] = 0;
            continue;
        }
        const int entry = m_pTable[m_nFirstMapped + static_cast<int>(position)];
        table[index] = static_cast<std::uint8_t>(std::min(entry * 255 / m_nMaxValue, 255));
    }
    return table;
}
