#include "TDWLookupTable.h"

#include "DICOMVRSet.h"
#include "LookupTable.h"
#include "LookupTableSupport.h"
#include "MetaMatrix16.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(TDWLookupTable, DicomLookupTable)

namespace
{

// The first value of a window element, or the default when absent.
double ReadNumber(const DICOMVRSet& set, unsigned short element, double absent)
{
    const Lettra text = set.GetLettra(0x0028, element);
    if (text.Trim().IsEmpty())
    {
        return absent;
    }
    return text.Double();
}

static_assert(LookupTable::SignedTableSize == DicomLookupTable::TableSize &&
              LookupTable::SignedTableOffset == DicomLookupTable::TableOffset);

// The linear VOI function of DICOM at top + 1 levels, for a rescaled value
// taken whole.
int WindowLevel(double x, int center, int width, int top)
{
    const double span = width >= 1 ? width : 1.0;
    const double lowerEdge = center - 0.5 - (span - 1.0) / 2.0;
    const double upperEdge = center - 0.5 + (span - 1.0) / 2.0;
    if (x <= lowerEdge)
    {
        return 0;
    }
    if (x > upperEdge)
    {
        return top;
    }
    return std::clamp(static_cast<int>(std::floor((x - lowerEdge) * top / (span - 1.0))), 0, top);
}

} // namespace

TDWLookupTable::TDWLookupTable() : DicomLookupTable(InitialType) {}

void TDWLookupTable::Init(float intercept, float slope, int width, int center)
{
    FreeTable();
    // A rescale that is not finite would carry the fault into every table.
    m_fIntercept = std::isfinite(intercept) ? intercept : 0.0f;
    m_fSlope = std::isfinite(slope) ? lut::UsableSlope(slope) : 1.0f;
    m_nWidth = width;
    m_nCenter = center;
    m_strDescription.Format("W:%d, L:%d", width, center);
}

bool TDWLookupTable::InitFromDataSet(const DICOMVRSet& set)
{
    const float intercept = lut::ReadRescale(set, 0x1052, 0.0f);
    const float slope = lut::ReadRescale(set, 0x1053, 1.0f);
    const int width = TruncateToInt(ReadNumber(set, 0x1051, 0.0));
    const int center = TruncateToInt(ReadNumber(set, 0x1050, 0.0));
    Init(intercept, slope, width, center);
    return true;
}

bool TDWLookupTable::ToDicomDataSet(DICOMVRSet& set)
{
    Lettra text;
    text.Format("%d", m_nWidth);
    set(0x0028, 0x1051) = text;
    text.Format("%d", m_nCenter);
    set(0x0028, 0x1050) = text;
    text.Format("%g", static_cast<double>(m_fSlope));
    set(0x0028, 0x1053) = text;
    text.Format("%g", static_cast<double>(m_fIntercept));
    set(0x0028, 0x1052) = text;
    return true;
}

void TDWLookupTable::SetWindowLevel(int width, int center)
{
    if (width == 1)
    {
        width = 2;
    }
    FreeTable();
    m_strDescription.Format("W:%d, L:%d", width, center);
    m_nWidth = width;
    m_nCenter = center;
}

double TDWLookupTable::RawToValue(double raw) const
{
    return raw * m_fSlope + m_fIntercept;
}

double TDWLookupTable::ValueToRaw(double value) const
{
    return (value - m_fIntercept) / m_fSlope;
}

std::uint8_t* TDWLookupTable::CreateTable()
{
    const LookupTable window(lut::Lowest, lut::Highest, m_fIntercept, m_fSlope, m_nWidth,
                             m_nCenter);
    return window.CreateLookupTableEx(16);
}

void TDWLookupTable::Apply(MetaMatrix16* matrix)
{
    if (matrix == nullptr || !IsValid())
    {
        return;
    }
    lut::Table16 table;
    std::uint16_t* middle = table.Middle();
    for (int raw = -32768; raw <= 65535; ++raw)
    {
        const double value = TruncateToInt(RawToValue(raw));
        middle[raw] =
            static_cast<std::uint16_t>(WindowLevel(value, m_nCenter, m_nWidth, lut::ApplyTop));
    }
    lut::MapMatrix16(*matrix, middle);
}

DicomLookupTable* TDWLookupTable::Clone() const
{
    auto* clone = new TDWLookupTable;
    clone->CopyFrom(*this);
    clone->m_nType = InitialType | 0x000B | (m_nType & enOwnerMark);
    return clone;
}

bool TDWLookupTable::IsEqual(const DicomLookupTable* other) const
{
    if (!IsSameClass(other))
    {
        return false;
    }
    const auto* same = static_cast<const TDWLookupTable*>(other);
    return same->m_fSlope == m_fSlope && same->m_fIntercept == m_fIntercept &&
           same->m_nWidth == m_nWidth && same->m_nCenter == m_nCenter;
}

bool TDWLookupTable::CopyFrom(const DicomLookupTable& source)
{
    if (!IsSameClass(&source))
    {
        return false;
    }
    const auto& same = static_cast<const TDWLookupTable&>(source);
    CopyBaseFrom(same);
    m_nWidth = same.m_nWidth;
    m_nCenter = same.m_nCenter;
    m_fIntercept = same.m_fIntercept;
    m_fSlope = same.m_fSlope;
    return true;
}
