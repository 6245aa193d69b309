#include "VOILookupTable.h"

#include "DICOMVRSet.h"
#include "LookupTableSupport.h"
#include "MetaMatrix16.h"
#include "QuillonLog.h"
#include "VR.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace quillon
{

IMPLEMENT_DYNCREATE(VOILookupTable, DicomLookupTable)

namespace
{

constexpr double TrimShare = 0.12;

} // namespace

VOILookupTable::VOILookupTable() : DicomLookupTable(InitialType) {}

VOILookupTable::VOILookupTable(const DICOMVRSet& item) : VOILookupTable()
{
    Init(item);
}

void VOILookupTable::Free()
{
    FreeTable();
    m_data.clear();
    m_nFirstInput = m_nBits = m_nDataMin = m_nDataMax = 0;
    m_bTrimmed = false;
    m_nTrimLow = m_nTrimHigh = -1;
}

bool VOILookupTable::InitFromDataSet(const DICOMVRSet& set)
{
    Free();
    const DICOMVRSet* item = set.GetSequence(0x0028, 0x3010, 0);
    if (item == nullptr)
    {
        return false;
    }
    if (!Init(*item, set.GetUINT16(0x0028, 0x0103) == 1))
    {
        return false;
    }
    m_fIntercept = lut::ReadRescale(set, 0x1052, 0.0f);
    m_fSlope = lut::UsableSlope(lut::ReadRescale(set, 0x1053, 1.0f));
    return true;
}

bool VOILookupTable::Init(const DICOMVRSet& item, bool signedInput)
{
    Free();
    const VR* descriptor = item.GetVR(0x0028, 0x3002);
    if (descriptor == nullptr || descriptor->GetLength() != 6)
    {
        return false;
    }
    std::uint16_t words[3];
    std::memcpy(words, descriptor->GetData(), sizeof words);
    const int entries = words[0] == 0 ? 65536 : words[0];
    const VR* values = item.GetVR(0x0028, 0x3006);
    if (values == nullptr || values->GetData() == nullptr ||
        values->GetLength() < 2u * static_cast<unsigned>(entries))
    {
        return false;
    }
    m_data.resize(static_cast<std::size_t>(entries));
    std::memcpy(m_data.data(), values->GetData(), 2 * m_data.size());
    m_nFirstInput = signedInput ? static_cast<std::int16_t>(words[1]) : words[1];
    m_nBits = words[2];
    m_nDataMin = m_data.front();
    m_nDataMax = m_data.back();
    if (m_nDataMin > m_nDataMax)
    {
        std::swap(m_nDataMin, m_nDataMax);
    }
    Lettra explanation = item.GetLettra(0x0028, 0x3003).Trim();
    m_strDescription = explanation.IsEmpty() ? Lettra("VOI LUT") : explanation;
    if (m_nDataMin == m_nDataMax)
    {
        quillon::_error("Leave VOILookupTable::Init, m_valMin == m_valMax = %d", m_nDataMin);
        Free();
        return false;
    }
    quillon::_debug("Leave VOILookupTable::Init <%d>, m_Description : %s", m_nInstanceNo,
                    m_strDescription.constBuffer());
    return true;
}

std::uint16_t VOILookupTable::Lookup(int input) const
{
    const long long position = static_cast<long long>(input) - m_nFirstInput;
    const long long last = static_cast<long long>(m_data.size()) - 1;
    return m_data[static_cast<std::size_t>(std::clamp(position, 0LL, last))];
}

double VOILookupTable::RawToValue(double raw) const
{
    return raw * m_fSlope + m_fIntercept;
}

double VOILookupTable::ValueToRaw(double value) const
{
    return (value - m_fIntercept) / m_fSlope;
}

std::uint16_t VOILookupTable::LookupRaw(int raw) const
{
    return Lookup(TruncateToInt(RawToValue(raw)));
}

std::uint8_t* VOILookupTable::CreateTable()
{
    if (!IsValid())
    {
        return nullptr;
    }
    auto* table = new std::uint8_t[TableSize];
    std::uint8_t* middle = table + TableOffset;
    middle[-TableOffset] = 0;
    for (int raw = lut::Lowest; raw <= lut::Highest; ++raw)
    {
        middle[raw] = static_cast<std::uint8_t>(std::min(LookupRaw(raw) * 255 / m_nDataMax, 255));
    }
    return table;
}

void VOILookupTable::Apply(MetaMatrix16* matrix)
{
    if (matrix == nullptr || !IsValid())
    {
        return;
    }
    lut::Table16 table;
    std::uint16_t* middle = table.Middle();
    for (int raw = -32768; raw <= 65535; ++raw)
    {
        middle[raw] = LookupRaw(raw);
    }
    lut::MapMatrix16(*matrix, middle);
}

void VOILookupTable::ComputeTrimmedWindow() const
{
    if (m_bTrimmed || !IsValid())
    {
        return;
    }
    const double share = (m_nDataMax - m_nDataMin) * TrimShare;
    const int lowValue = TruncateToInt(m_nDataMin + share);
    const int highValue = TruncateToInt(m_nDataMax - share);
    const int last = static_cast<int>(m_data.size()) - 1;
    int low = 0;
    int high = last;
    for (int i = 1; i <= last; ++i)
    {
        if (m_data[i] >= lowValue && m_data[i - 1] <= lowValue)
        {
            low = i;
            break;
        }
    }
    for (int i = last; i > 0; --i)
    {
        if (m_data[i] >= highValue && m_data[i - 1] <= highValue)
        {
            high = i;
            break;
        }
    }
    if (high <= low)
    {
        high = low + 1;
    }
    m_nTrimLow = m_nFirstInput + low;
    m_nTrimHigh = m_nFirstInput + high;
    m_bTrimmed = true;
}

int VOILookupTable::GetWindowWidth() const
{
    ComputeTrimmedWindow();
    return m_bTrimmed ? m_nTrimHigh - m_nTrimLow : -1;
}

int VOILookupTable::GetWindowCenter() const
{
    ComputeTrimmedWindow();
    return m_bTrimmed ? (m_nTrimHigh + m_nTrimLow) / 2 : -1;
}

bool VOILookupTable::ToDicomDataSet(DICOMVRSet& set)
{
    if (!IsValid())
    {
        return false;
    }
    lut::WriteVOILUTItem(set, GetEntryCount(), m_nFirstInput, m_nBits,
                         m_strDescription.constBuffer(), m_data.data());
    return true;
}

DicomLookupTable* VOILookupTable::Clone() const
{
    auto* clone = new VOILookupTable;
    clone->CopyFrom(*this);
    clone->m_nType = m_nType | 0x8001;
    return clone;
}

bool VOILookupTable::IsEqual(const DicomLookupTable* other) const
{
    if (!IsSameClass(other))
    {
        return false;
    }
    const auto* same = static_cast<const VOILookupTable*>(other);
    return same->GetWindowCenter() == GetWindowCenter() &&
           same->GetWindowWidth() == GetWindowWidth();
}

bool VOILookupTable::CopyFrom(const DicomLookupTable& source)
{
    if (!IsSameClass(&source))
    {
        return false;
    }
    const auto& same = static_cast<const VOILookupTable&>(source);
    CopyBaseFrom(same);
    m_data = same.m_data;
    m_nFirstInput = same.m_nFirstInput;
    m_nBits = same.m_nBits;
    m_nDataMin = same.m_nDataMin;
    m_nDataMax = same.m_nDataMax;
    m_fIntercept = same.m_fIntercept;
    m_fSlope = same.m_fSlope;
    m_bTrimmed = same.m_bTrimmed;
    m_nTrimLow = same.m_nTrimLow;
    m_nTrimHigh = same.m_nTrimHigh;
    return true;
}

} // namespace quillon
