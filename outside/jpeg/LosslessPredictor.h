// The predictors of lossless JPEG. Ra is the sample to the left, Rb the one
// above and Rc the one above left; selection values 1 to 7 combine them.
// Arithmetic is on plain integers with an arithmetic right shift; results
// are taken modulo 2^16 by the callers.
#pragma once

#include <cstdint>

namespace quorex
{

constexpr int kFirstPredictor = 1;
constexpr int kLastPredictor = 7;

inline int32_t Predict(int nSelection, int32_t nRa, int32_t nRb, int32_t nRc)
{
    switch (nSelection)
    {
    case 1:
        return nRa;
    case 2:
        return nRb;
    case 3:
        return nRc;
    case 4:
        return nRa + nRb - nRc;
    case 5:
        return nRa + ((nRb - nRc) >> 1);
    case 6:
        return nRb + ((nRa - nRc) >> 1);
    default:
        return (nRa + nRb) >> 1;
    }
}

// The magnitude category (SSSS) of a difference taken modulo 2^16, and the
// extra bits that follow its code. Category 16 stands for 32768 alone.
struct LosslessDifference
{
    uint8_t nCategory;
    uint16_t nBits;
};

inline LosslessDifference ClassifyDifference(int32_t nDifference)
{
    const auto nModular = static_cast<uint16_t>(nDifference);
    if (nModular == 0x8000)
    {
        return {16, 0};
    }
    const int32_t nSigned = nModular >= 0x8000 ? int32_t{nModular} - 0x10000 : int32_t{nModular};
    const uint32_t nMagnitude = nSigned < 0 ? static_cast<uint32_t>(-nSigned) : nSigned;
    uint8_t nCategory = 0;
    while ((nMagnitude >> nCategory) != 0)
    {
        ++nCategory;
    }
    const int32_t nBits = nSigned < 0 ? nSigned - 1 : nSigned;
    return {nCategory, static_cast<uint16_t>(nBits & ((1 << nCategory) - 1))};
}

} // namespace quorex
