// The 8x8 discrete cosine transforms of the 12-bit DCT processes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorex
{

using CoefficientBlock = std::array<int16_t, 64>;

// Dequantises a block (coefficients and table in natural order) and writes
// its 12-bit samples, level-shifted back and clamped to 0..4095, into an
// 8x8 area of pOut with rows nStride samples apart.
//
// Integer arithmetic on the factorisation of Loeffler, Ligtenberg and
// Moschytz with 13-bit constants, one extra bit of precision between the
// column and the row pass, and rounding at the end of each pass: the
// accurate integer method decoders customarily use, so our output matches
// theirs sample for sample.
void DoInverseDct12(const CoefficientBlock& coefficients, const std::array<uint16_t, 64>& quant,
                    uint16_t* pOut, size_t nStride);

// Forward transform of 64 level-shifted samples (row-major) into coefficients
// in natural order, unscaled (the DC term is 8 times the mean).
void DoForwardDct(const std::array<double, 64>& samples, std::array<double, 64>& coefficients);

} // namespace quorex
