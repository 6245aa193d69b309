#include "DctTransform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorex
{

namespace
{
constexpr int kConstBits = 13;
constexpr int kPass1Bits = 1;
constexpr int kSampleCentre = 2048;
constexpr int kSampleMax = 4095;

constexpr int64_t Fix(double dValue)
{
    return static_cast<int64_t>(dValue * (1 << kConstBits) + 0.5);
}

// Rotation and butterfly constants of the factorisation (sqrt(2) times the
// cosine sums of its flow graph).
constexpr int64_t kC0298 = Fix(0.298631336);
constexpr int64_t kC0390 = Fix(0.390180644);
constexpr int64_t kC0541 = Fix(0.541196100);
constexpr int64_t kC0765 = Fix(0.765366865);
constexpr int64_t kC0899 = Fix(0.899976223);
constexpr int64_t kC1175 = Fix(1.175875602);
constexpr int64_t kC1501 = Fix(1.501321110);
constexpr int64_t kC1847 = Fix(1.847759065);
constexpr int64_t kC1961 = Fix(1.961570560);
constexpr int64_t kC2053 = Fix(2.053119869);
constexpr int64_t kC2562 = Fix(2.562915447);
constexpr int64_t kC3072 = Fix(3.072711026);

constexpr int64_t RoundShift(int64_t nValue, int nBits)
{
    return (nValue + (int64_t{1} << (nBits - 1))) >> nBits;
}

// One-dimensional inverse transform of in[0..7], scaled by 2^kConstBits
// (sqrt(8) times the orthonormal transform).
void DoInverse8(const std::array<int64_t, 8>& in, std::array<int64_t, 8>& out)
{
    // Even part: in[0], in[2], in[4], in[6].
    const int64_t nRotation = (in[2] + in[6]) * kC0541;
    const int64_t nEven2 = nRotation - in[6] * kC1847;
    const int64_t nEven3 = nRotation + in[2] * kC0765;
    const int64_t nSum = (in[0] + in[4]) * (int64_t{1} << kConstBits);
    const int64_t nDifference = (in[0] - in[4]) * (int64_t{1} << kConstBits);
    const int64_t nE0 = nSum + nEven3;
    const int64_t nE3 = nSum - nEven3;
    const int64_t nE1 = nDifference + nEven2;
    const int64_t nE2 = nDifference - nEven2;

    // Odd part: in[7], in[5], in[3], in[1].
    const int64_t nZ1 = (in[7] + in[1]) * -kC0899;
    const int64_t nZ2 = (in[5] + in[3]) * -kC2562;
    const int64_t nCommon = (in[7] + in[3] + in[5] + in[1]) * kC1175;
    const int64_t nZ3 = (in[7] + in[3]) * -kC1961 + nCommon;
    const int64_t nZ4 = (in[5] + in[1]) * -kC0390 + nCommon;
    const int64_t nO0 = in[7] * kC0298 + nZ1 + nZ3;
    const int64_t nO1 = in[5] * kC2053 + nZ2 + nZ4;
    const int64_t nO2 = in[3] * kC3072 + nZ2 + nZ3;
    const int64_t nO3 = in[1] * kC1501 + nZ1 + nZ4;

    out[0] = nE0 + nO3;
    out[7] = nE0 - nO3;
    out[1] = nE1 + nO2;
    out[6] = nE1 - nO2;
    out[2] = nE2 + nO1;
    out[5] = nE2 - nO1;
    out[3] = nE3 + nO0;
    out[4] = nE3 - nO0;
}
using Basis = std::array<std::array<double, 8>, 8>;

// One pass of a separable 8x8 transform: for each of the 8 lines that start
// nLineStep apart, whose values lie nValueStep apart,
// out[k] = sum over i of basis[k][i] * in[i], along the same line.
void DoTransformLines(const Basis& basis, const double* pIn, size_t nLineStep, size_t nValueStep,
                      double* pOut)
{
    for (size_t nLine = 0; nLine < 8; ++nLine)
    {
        const double* pLine = pIn + nLine * nLineStep;
        for (size_t k = 0; k < 8; ++k)
        {
            double dSum = 0;
            for (size_t i = 0; i < 8; ++i)
            {
                dSum += basis[k][i] * pLine[i * nValueStep];
            }
            pOut[nLine * nLineStep + k * nValueStep] = dSum;
        }
    }
}
} // namespace

void DoInverseDct12(const CoefficientBlock& coefficients, const std::array<uint16_t, 64>& quant,
                    uint16_t* pOut, size_t nStride)
{
    std::array<int64_t, 64> work{};
    std::array<int64_t, 8> in{};
    std::array<int64_t, 8> out{};
    // Columns: keep kPass1Bits more bits than the final scale.
    for (size_t nColumn = 0; nColumn < 8; ++nColumn)
    {
        for (size_t nRow = 0; nRow < 8; ++nRow)
        {
            in[nRow] = int64_t{coefficients[nRow * 8 + nColumn]} * quant[nRow * 8 + nColumn];
        }
        DoInverse8(in, out);
        for (size_t nRow = 0; nRow < 8; ++nRow)
        {
            work[nRow * 8 + nColumn] = RoundShift(out[nRow], kConstBits - kPass1Bits);
        }
    }
    // Rows: remove the remaining scale (the constants, the extra bits and the
    // factor 8 of the two passes), then undo the level shift.
    for (size_t nRow = 0; nRow < 8; ++nRow)
    {
        std::copy_n(work.begin() + static_cast<ptrdiff_t>(nRow * 8), 8, in.begin());
        DoInverse8(in, out);
        for (size_t nColumn = 0; nColumn < 8; ++nColumn)
        {
            const int64_t nSample =
                RoundShift(out[nColumn], kConstBits + kPass1Bits + 3) + kSampleCentre;
            pOut[nRow * nStride + nColumn] =
                static_cast<uint16_t>(std::clamp<int64_t>(nSample, 0, kSampleMax));
        }
    }
}

void DoForwardDct(const std::array<double, 64>& samples, std::array<double, 64>& coefficients)
{
    // basis[u][x] = C(u) / 2 * cos((2x + 1) u pi / 16), C(0) = 1 / sqrt(2).
    static const Basis kBasis = []
    {
        Basis basis{};
        for (size_t u = 0; u < 8; ++u)
        {
            const double dScale = u == 0 ? 0.5 / std::numbers::sqrt2 : 0.5;
            for (size_t x = 0; x < 8; ++x)
            {
                basis[u][x] =
                    dScale * std::cos(static_cast<double>((2 * x + 1) * u) * std::numbers::pi / 16);
            }
        }
        return basis;
    }();
    // Rows first (lines of 8 samples), then columns of the row results.
    std::array<double, 64> rows{};
    DoTransformLines(kBasis, samples.data(), 8, 1, rows.data());
    DoTransformLines(kBasis, rows.data(), 1, 8, coefficients.data());
}

} // namespace quorex
