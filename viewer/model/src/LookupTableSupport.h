// What the lookup tables share: the centred tables of 8-bit display levels
// and of 12-bit levels (the Apply form), the two fills that sigmoid and
// linear tables make of either, and the mapping of a 16-bit matrix through
// a 12-bit table.
#pragma once

#include "DicomLookupTable.h"

#include <cmath>
#include <cstdint>
#include <vector>

class DICOMVRSet;
class MetaMatrix16;

namespace lut
{

constexpr int Offset = DicomLookupTable::TableOffset;
constexpr int Lowest = -Offset + 1; // entry -65536 is never written
constexpr int Highest = Offset - 1;
// The top level of the 16-bit tables that Apply maps matrices through.
constexpr int ApplyTop = 4095;

// A temporary table of TableSize 16-bit levels, indexed from its middle.
class Table16
{
public:
    Table16() : m_levels(DicomLookupTable::TableSize, 0) {}
    std::uint16_t* Middle() { return m_levels.data() + Offset; }

private:
    std::vector<std::uint16_t> m_levels;
};

inline int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// top / (1 + e^(-4 (x - center) / width)) from x = 0 outwards: downwards
// until a level falls below 0.5 (that entry and all below become 0),
// upwards until one reaches top - 0.5 (that entry and all above become top).
template <typename Level> void FillSigmoid(Level* middle, int center, int width, int top)
{
    auto level = [&](int x)
    { return top / (1.0 + std::exp(-4.0 * (static_cast<double>(x) - center) / width)); };
    for (int x = 0; x >= Lowest; --x)
    {
        const double value = level(x);
        if (value < 0.5)
        {
            for (; x >= Lowest; --x)
            {
                middle[x] = 0;
            }
            break;
        }
        middle[x] = static_cast<Level>(value);
    }
    for (int x = 0; x <= Highest; ++x)
    {
        const double value = level(x);
        if (value >= top - 0.5)
        {
            for (; x <= Highest; ++x)
            {
                middle[x] = static_cast<Level>(top);
            }
            break;
        }
        middle[x] = static_cast<Level>(value);
    }
}

// Maps every sample (signed samples by their signed value) through the
// table and records the new range in the matrix. The matrix's pixels are
// made its own first, so that sharers keep theirs.
void MapMatrix16(MetaMatrix16& matrix, const std::uint16_t* middle);

// The first value of a rescale element (0028,element) as a float: absent,
// empty, not finite or beyond the float range give the default.
float ReadRescale(const DICOMVRSet& set, unsigned short element, float absent);
// A rescale slope of 0 is taken as 1, with the warning line of the viewer.
float UsableSlope(float slope);

// Replaces the VOI LUT Sequence (0028,3010) of the set by one item: the
// descriptor (entries, first mapped value, bits; 65536 entries are written
// as 0), the explanation and the entries, given the value representation OW
// from 65536 bytes on.
void WriteVOILUTItem(DICOMVRSet& set, int entries, int first, int bits, const char* explanation,
                     const std::uint16_t* data);

} // namespace lut
