// Size arithmetic of the matrices: every byte count is worked out in 64 bits
// and must fit the int fields of the shared block.
#pragma once

#include <climits>
#include <cstdint>
#include <initializer_list>

namespace matrix
{

// The product of the factors when none is negative and it fits in an int;
// -1 otherwise.
inline std::int64_t FitProduct(std::initializer_list<std::int64_t> factors)
{
    std::int64_t product = 1;
    for (const std::int64_t factor : factors)
    {
        if (factor < 0 || __builtin_mul_overflow(product, factor, &product) || product > INT_MAX)
            return -1;
    }
    return product;
}

// Whole bytes per stored sample: 12 bits allocated take 2. One bit per pixel
// (binary matrices) is no whole byte and gives 0.
inline std::int64_t SampleBytes(int bitsAllocated)
{
    return bitsAllocated > 1 ? (std::int64_t(bitsAllocated) + 7) / 8 : 0;
}

// Whole bytes that hold one bit for each of the product of the factors (a
// last partial byte counts whole); -1 when the product does not fit.
inline std::int64_t PackedBitBytes(std::initializer_list<std::int64_t> factors)
{
    const std::int64_t bits = FitProduct(factors);
    return bits < 0 ? -1 : (bits + 7) / 8;
}

// Number of halvings (toward zero) that bring value to 0.
inline int BitLength(std::int64_t value)
{
    int bits = 0;
    for (; value != 0; value /= 2)
        ++bits;
    return bits;
}

} // namespace matrix
