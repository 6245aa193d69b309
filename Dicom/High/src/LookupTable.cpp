#include "LookupTable.h"

#include "VeltaroLog.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace
{

constexpr int SmallTableSize = 256;
constexpr int LargeTableSize = 65536;
constexpr double OneOver255 = 0.00392156862745098;

// trunc(value) held inside the range of int; NaN gives 0.
int TruncateToInt(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    const double lowest = std::numeric_limits<int>::min();
    const double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(value, lowest, highest)));
}

int SaturateToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

} // namespace

LookupTable::LookupTable() = default;

LookupTable::LookupTable(const LookupTable& other)
    : m_nMinForkCalib(other.m_nMinForkCalib), m_nMaxForkCalib(other.m_nMaxForkCalib),
      m_nInverted(other.m_nInverted), m_pOwner(other.m_pOwner),
      m_nMinSpaceRaw(other.m_nMinSpaceRaw), m_nMaxSpaceRaw(other.m_nMaxSpaceRaw),
      m_nMinSpaceCalib(other.m_nMinSpaceCalib), m_nMaxSpaceCalib(other.m_nMaxSpaceCalib),
      m_nImageRangeRaw(other.m_nImageRangeRaw), m_fIntercept(other.m_fIntercept),
      m_fSlope(other.m_fSlope), m_dWindowCenter(other.m_dWindowCenter),
      m_dWindowWidth(other.m_dWindowWidth)
{
}

LookupTable::LookupTable(int minRaw, int maxRaw, float intercept, float slope, int width,
                         int center)
{
    Init(minRaw, maxRaw, intercept, slope, width, center);
}

LookupTable& LookupTable::operator=(const LookupTable& other)
{
    if (this != &other)
    {
        m_minForks = other.m_minForks;
        m_maxForks = other.m_maxForks;
        m_nMinForkCalib = other.m_nMinForkCalib;
        m_nMaxForkCalib = other.m_nMaxForkCalib;
        m_nInverted = other.m_nInverted;
        m_pOwner = other.m_pOwner;
        m_nMinSpaceRaw = other.m_nMinSpaceRaw;
        m_nMaxSpaceRaw = other.m_nMaxSpaceRaw;
        m_nMinSpaceCalib = other.m_nMinSpaceCalib;
        m_nMaxSpaceCalib = other.m_nMaxSpaceCalib;
        m_nImageRangeRaw = other.m_nImageRangeRaw;
        m_fIntercept = other.m_fIntercept;
        m_fSlope = other.m_fSlope;
        m_dWindowCenter = other.m_dWindowCenter;
        m_dWindowWidth = other.m_dWindowWidth;
    }
    return *this;
}

LookupTable::~LookupTable() = default;

void LookupTable::Init(int minRaw, int maxRaw, float intercept, float slope, int width, int center)
{
    m_nInverted = 0;
    if (slope == 0.0f || !std::isfinite(slope) || !std::isfinite(intercept))
    {
        _warning("LookupTable::Init, rescale slope %f intercept %f, taken as 1 and 0",
                 static_cast<double>(slope), static_cast<double>(intercept));
        slope = 1.0f;
        intercept = 0.0f;
    }
    m_nMinSpaceRaw = std::min(minRaw, maxRaw);
    m_nMaxSpaceRaw = std::max(minRaw, maxRaw);
    m_fIntercept = intercept;
    m_fSlope = slope;
    // A negative slope turns the range around; the space is kept in order.
    const int first = FromRawToCalibrated(m_nMinSpaceRaw);
    const int last = FromRawToCalibrated(m_nMaxSpaceRaw);
    m_nMinSpaceCalib = std::min(first, last);
    m_nMaxSpaceCalib = std::max(first, last);
    m_nImageRangeRaw =
        SaturateToInt(static_cast<long long>(m_nMaxSpaceCalib) - m_nMinSpaceCalib + 1);

    m_dWindowCenter = center;
    m_dWindowWidth = width;
    m_nMinForkCalib = SaturateToInt(static_cast<long long>(center) - width / 2);
    m_nMaxForkCalib = SaturateToInt(static_cast<long long>(center) + width / 2);
    ClampForks();
}

void LookupTable::SetMinMaxFork(int min, int max)
{
    m_dWindowCenter = (static_cast<double>(min) + max) / 2.0;
    m_dWindowWidth = static_cast<double>(max) - min;
    m_nMinForkCalib = min;
    m_nMaxForkCalib = max;
    ClampForks();
}

void LookupTable::SetWindow(double width, double center)
{
    if (!std::isfinite(width) || !std::isfinite(center))
    {
        _warning("LookupTable::SetWindow, window %f / %f ignored", width, center);
        return;
    }
    m_dWindowCenter = center;
    m_dWindowWidth = width;
    m_nMinForkCalib = TruncateToInt(center - width / 2.0);
    m_nMaxForkCalib = TruncateToInt(center + width / 2.0);
    ClampForks();
}

void LookupTable::AddMinMaxFork(int min, int max)
{
    m_minForks.push_back(ClampToSpace(min));
    m_maxForks.push_back(ClampToSpace(max));
}

int LookupTable::FromRawToCalibrated(int raw) const
{
    return TruncateToInt(static_cast<double>(raw) * m_fSlope + m_fIntercept);
}

int LookupTable::FromCalibratedToRaw(int value) const
{
    return TruncateToInt((static_cast<double>(value) - m_fIntercept) / m_fSlope);
}

int LookupTable::ComputeCalibratedValue(int screen) const
{
    const double span = static_cast<double>(m_nMaxSpaceRaw) - m_nMinSpaceRaw;
    return TruncateToInt((span * screen * OneOver255 + m_nMinSpaceRaw) * m_fSlope + m_fIntercept);
}

int LookupTable::ComputeScreenValue(int value) const
{
    // Init keeps the range in order, so the divisor is at least 1.
    const double span = static_cast<double>(m_nMaxSpaceRaw) - m_nMinSpaceRaw + 1.0;
    const double raw = (static_cast<double>(value) - m_fIntercept) / m_fSlope;
    return TruncateToInt((raw - m_nMinSpaceRaw) * 255.0 / span);
}

unsigned char* LookupTable::CreateLookupTable(int bits) const
{
    int size = bits < 9 ? SmallTableSize : LargeTableSize;
    size = std::max(size, std::min(m_nMaxSpaceRaw, LargeTableSize - 1) + 1);
    auto* table = new (std::nothrow) unsigned char[static_cast<unsigned>(size)];
    if (table == nullptr)
    {
        _error("LookupTable::CreateLookupTable, cannot allocate %d entries", size);
        return nullptr;
    }
    FillDisplayValues(table, 0, size);
    return table;
}

unsigned char* LookupTable::CreateLookupTableEx(int /*bits*/) const
{
    auto* table = new (std::nothrow) unsigned char[SignedTableSize];
    if (table == nullptr)
    {
        _error("LookupTable::CreateLookupTableEx, cannot allocate %d entries", SignedTableSize);
        return nullptr;
    }
    FillDisplayValues(table, -SignedTableOffset, SignedTableSize);
    return table;
}

// The display value only ever rises or only ever falls with the stored
// value (rescale, truncation and the window are all monotonic), so the table
// is its two flat ends, found by bisection, and the ramp between them.
void LookupTable::FillDisplayValues(unsigned char* table, int firstStored, int count) const
{
    const int lastStored = firstStored + count - 1;
    const unsigned char low = ComputeDisplayValue(firstStored);
    const unsigned char high = ComputeDisplayValue(lastStored);
    // The first stored value whose level differs from the low end's.
    int rampStart = firstStored + 1;
    for (int end = lastStored; rampStart < end;)
    {
        const int middle = rampStart + (end - rampStart) / 2;
        if (ComputeDisplayValue(middle) == low)
            rampStart = middle + 1;
        else
            end = middle;
    }
    // The first stored value from which on the level is the high end's.
    int rampEnd = rampStart;
    for (int end = lastStored; rampEnd < end;)
    {
        const int middle = rampEnd + (end - rampEnd) / 2;
        if (ComputeDisplayValue(middle) == high)
            end = middle;
        else
            rampEnd = middle + 1;
    }
    std::fill(table, table + (rampStart - firstStored), low);
    for (int stored = rampStart; stored < rampEnd; ++stored)
        table[stored - firstStored] = ComputeDisplayValue(stored);
    std::fill(table + (rampEnd - firstStored), table + count, high);
}

void LookupTable::ClampForks()
{
    m_nMinForkCalib = ClampToSpace(m_nMinForkCalib);
    m_nMaxForkCalib = ClampToSpace(m_nMaxForkCalib);
}

int LookupTable::ClampToSpace(int value) const
{
    return std::clamp(value, m_nMinSpaceCalib, m_nMaxSpaceCalib);
}

unsigned char LookupTable::ComputeDisplayValue(int stored) const
{
    // The calibrated value is taken whole, as the calibrated space is.
    const double x = FromRawToCalibrated(stored);
    const double width = m_dWindowWidth >= 1.0 ? m_dWindowWidth : 1.0;
    const double lowerEdge = m_dWindowCenter - 0.5 - (width - 1.0) / 2.0;
    const double upperEdge = m_dWindowCenter - 0.5 + (width - 1.0) / 2.0;
    const bool isInverted = m_nInverted != 0;
    if (x <= lowerEdge)
    {
        return isInverted ? 255 : 0;
    }
    if (x > upperEdge)
    {
        return isInverted ? 0 : 255;
    }
    // The distance from the edge times 255 is exact in halves, so a level
    // that is a whole number comes out whole before the floor.
    const double distance = isInverted ? upperEdge - x : x - lowerEdge;
    const double y = std::floor(distance * 255.0 / (width - 1.0));
    return static_cast<unsigned char>(std::clamp(y, 0.0, 255.0));
}
