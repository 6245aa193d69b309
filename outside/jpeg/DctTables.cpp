#include "DctTables.h"

#include <algorithm>

namespace quorex
{

const std::array<uint8_t, 64> kZigzagToNatural = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

namespace
{
// Luminance quantisation table of the standard's annex K, natural order.
constexpr std::array<uint16_t, 64> kLuminance = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
} // namespace

std::array<uint16_t, 64> MakeQuantTable(int nQuality)
{
    nQuality = std::clamp(nQuality, 1, 100);
    const int nScale = nQuality < 50 ? 5000 / nQuality : 200 - 2 * nQuality;
    std::array<uint16_t, 64> table{};
    for (size_t k = 0; k < 64; ++k)
    {
        const int nValue = (kLuminance[kZigzagToNatural[k]] * nScale + 50) / 100;
        table[k] = static_cast<uint16_t>(std::clamp(nValue, 1, 32767));
    }
    return table;
}

} // namespace quorex
