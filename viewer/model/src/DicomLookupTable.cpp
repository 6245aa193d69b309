#include "DicomLookupTable.h"

#include "LookupTableSupport.h"
#include "MetaMatrix16.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <typeinfo>

IMPLEMENT_DYNAMIC(DicomLookupTable, CObject)

namespace
{

int s_nLastInstanceNo = 0;

} // namespace

int TruncateToInt(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX))
    {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN))
    {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

DicomLookupTable::DicomLookupTable(std::uint32_t type)
    : m_nType(type), m_nInstanceNo(++s_nLastInstanceNo)
{
}

DicomLookupTable::~DicomLookupTable()
{
    delete[] m_pTable;
}

void DicomLookupTable::FreeTable()
{
    delete[] m_pTable;
    m_pTable = nullptr;
}

std::uint8_t* DicomLookupTable::BuildTable()
{
    if (m_pTable != nullptr && !m_bTableInverted)
    {
        return GetTable();
    }
    FreeTable();
    m_pTable = CreateTable();
    m_bTableInverted = false;
    return GetTable();
}

std::uint8_t* DicomLookupTable::InvertTable()
{
    if (m_pTable != nullptr && m_bTableInverted)
    {
        return GetTable();
    }
    if (BuildTable() == nullptr)
    {
        return nullptr;
    }
    for (int index = 0; index < TableSize; ++index)
    {
        m_pTable[index] = static_cast<std::uint8_t>(255 - m_pTable[index]);
    }
    m_bTableInverted = true;
    return GetTable();
}

MetaMatrix* DicomLookupTable::ApplyToCopy(const MetaMatrix* matrix)
{
    if (matrix == nullptr || matrix->IsEmpty() || !IsValid())
    {
        return nullptr;
    }
    MetaMatrix* copy = matrix->Clone();
    if (auto* samples = dynamic_cast<MetaMatrix16*>(copy))
    {
        Apply(samples);
    }
    return copy;
}

void DicomLookupTable::SetWindowLevel(int, int) {}

double DicomLookupTable::RawToValue(double raw) const
{
    return raw;
}

double DicomLookupTable::ValueToRaw(double value) const
{
    return value;
}

bool DicomLookupTable::IsValid() const
{
    return true;
}

int DicomLookupTable::GetWindowWidth() const
{
    return -1;
}

int DicomLookupTable::GetWindowCenter() const
{
    return -1;
}

bool DicomLookupTable::IsSameClass(const DicomLookupTable* other) const
{
    return other != nullptr && typeid(*other) == typeid(*this);
}

void DicomLookupTable::CopyBaseFrom(const DicomLookupTable& source)
{
    FreeTable();
    m_strDescription = source.m_strDescription;
    m_nType = source.m_nType;
}
