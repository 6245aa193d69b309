// The coefficient order and quantisation tables of the DCT processes.
#pragma once

#include <array>
#include <cstdint>

namespace quorex
{

// Natural (row-major) position of the k-th coefficient in zigzag order.
extern const std::array<uint8_t, 64> kZigzagToNatural;

// The example luminance table of the standard scaled for a quality of 1 to
// 100 (50 leaves it as it is, 100 makes every step 1), in zigzag order.
std::array<uint16_t, 64> MakeQuantTable(int nQuality);

} // namespace quorex
