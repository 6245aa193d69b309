#include "SigmoidVOILookupTable.h"

#include "DICOMVRSet.h"
#include "LookupTableSupport.h"
#include "MetaMatrix16.h"
#include "QuillonLog.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(SigmoidVOILookupTable, DicomLookupTable)

namespace
{

// Puts the value ahead of the element's present values.
void PutFirst(DICOMVRSet& set, unsigned short element, int value)
{
    const Lettra present = set.GetLettra(0x0028, element);
    Lettra text;
    if (present.IsEmpty())
    {
        text.Format("%d", value);
    }
    else
    {
        text.Format("%d\\%s", value, present.constBuffer());
    }
    set(0x0028, element) = text;
}

} // namespace

SigmoidVOILookupTable::SigmoidVOILookupTable() : DicomLookupTable(InitialType)
{
    m_strDescription = "SIGMOID";
}

bool SigmoidVOILookupTable::InitFromDataSet(const DICOMVRSet&)
{
    return true;
}

void SigmoidVOILookupTable::SetWindowLevel(int width, int center)
{
    FreeTable();
    m_nWidth = width;
    m_nCenter = center;
}

void SigmoidVOILookupTable::SetDataRange(int min, int max)
{
    m_nRangeMin = min;
    m_nRangeMax = max;
}

void SigmoidVOILookupTable::RaiseWidth()
{
    m_nWidth = std::max(m_nWidth, 1);
}

std::uint8_t* SigmoidVOILookupTable::CreateTable()
{
    RaiseWidth();
    auto* table = new std::uint8_t[TableSize]();
    lut::FillSigmoid(table + TableOffset, m_nCenter, m_nWidth, 255);
    return table;
}

void SigmoidVOILookupTable::Apply(MetaMatrix16* matrix)
{
    if (matrix == nullptr || !IsValid())
    {
        return;
    }
    RaiseWidth();
    lut::Table16 table;
    lut::FillSigmoid(table.Middle(), m_nCenter, m_nWidth, lut::ApplyTop);
    lut::MapMatrix16(*matrix, table.Middle());
}

bool SigmoidVOILookupTable::ToDicomDataSet(DICOMVRSet& set)
{
    if (m_nWidth < 1)
    {
        quillon::_error("Leave SigmoidVOILookupTable::ToDicomDataSet, invalid WW/WL : %d, %d",
                        m_nWidth, m_nCenter);
        return false;
    }
    int first = m_nRangeMin;
    int last = m_nRangeMax;
    if (last < first)
    {
        first = m_nCenter - m_nWidth;
        last = m_nCenter + m_nWidth;
    }
    first = lut::Clamp(first, -32768, 65535);
    last = lut::Clamp(last, first, std::min(first + 65535, 65535));
    const int entries = last - first + 1;
    lut::Table16 table;
    lut::FillSigmoid(table.Middle(), m_nCenter, m_nWidth, (1 << ExplicitBits) - 1);
    std::vector<std::uint16_t> data(table.Middle() + first, table.Middle() + last + 1);
    Lettra explanation;
    explanation.Format("SIGMOID %d,%d of %d", m_nCenter, m_nWidth, entries);
    lut::WriteVOILUTItem(set, entries, first, ExplicitBits, explanation.constBuffer(), data.data());
    set(0x0028, 0x1056) = "SIGMOID";
    PutFirst(set, 0x1051, m_nWidth);
    PutFirst(set, 0x1050, m_nCenter);
    return true;
}

DicomLookupTable* SigmoidVOILookupTable::Clone() const
{
    auto* clone = new SigmoidVOILookupTable;
    clone->CopyFrom(*this);
    clone->m_strDescription = Lettra("Copy Of ") + m_strDescription;
    clone->m_nType = InitialType | 0x800B | (m_nType & enOwnerMark);
    return clone;
}

bool SigmoidVOILookupTable::IsEqual(const DicomLookupTable* other) const
{
    if (!IsSameClass(other))
    {
        return false;
    }
    const auto* same = static_cast<const SigmoidVOILookupTable*>(other);
    return same->m_nCenter == m_nCenter && same->m_nWidth == m_nWidth;
}

bool SigmoidVOILookupTable::CopyFrom(const DicomLookupTable& source)
{
    if (!IsSameClass(&source))
    {
        return false;
    }
    const auto& same = static_cast<const SigmoidVOILookupTable&>(source);
    CopyBaseFrom(same);
    m_nCenter = same.m_nCenter;
    m_nWidth = same.m_nWidth;
    m_nRangeMin = same.m_nRangeMin;
    m_nRangeMax = same.m_nRangeMax;
    return true;
}
