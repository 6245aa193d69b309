#include "ResampleAxis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
constexpr double kLanczosLobes = 3.0;

double GetSinc(double x)
{
    if (x == 0.0)
    {
        return 1.0;
    }
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

double GetKernelRadius(enResampleFilter filter)
{
    return filter == enResampleFilter::Lanczos3 ? kLanczosLobes : 1.0;
}

double GetKernelWeight(enResampleFilter filter, double x)
{
    const double distance = std::abs(x);
    if (filter == enResampleFilter::Bilinear)
    {
        return std::max(0.0, 1.0 - distance);
    }
    return distance < kLanczosLobes ? GetSinc(x) * GetSinc(x / kLanczosLobes) : 0.0;
}
} // namespace

ResampleAxis::ResampleAxis(enResampleFilter filter, int64_t nSrcStart, int64_t nSrcLength,
                           int64_t nDstLength)
{
    const double ratio = static_cast<double>(nSrcLength) / static_cast<double>(nDstLength);
    // Bilinear interpolation reads the two nearest positions at any scale; the
    // display filter widens when shrinking so that it averages what it skips.
    const double scale = (filter == enResampleFilter::Lanczos3) ? std::max(1.0, ratio) : 1.0;
    m_first.reserve(static_cast<size_t>(nDstLength));
    m_count.reserve(static_cast<size_t>(nDstLength));
    m_offset.reserve(static_cast<size_t>(nDstLength));
    for (int64_t j = 0; j < nDstLength; ++j)
    {
        const double centre =
            static_cast<double>(nSrcStart) + (static_cast<double>(j) + 0.5) * ratio - 0.5;
        AddTaps(filter, centre, scale, nSrcStart, nSrcStart + nSrcLength - 1);
    }
}

// Taps beyond the source run fold onto its edge positions.
void ResampleAxis::AddTaps(enResampleFilter filter, double centre, double scale, int64_t nLow,
                           int64_t nHigh)
{
    const double radius = GetKernelRadius(filter) * scale;
    const auto nLeft = static_cast<int64_t>(std::ceil(centre - radius));
    const auto nRight = static_cast<int64_t>(std::floor(centre + radius));
    const int64_t nFirst = std::clamp(nLeft, nLow, nHigh);
    const int64_t nLast = std::clamp(nRight, nLow, nHigh);
    const size_t nOffset = m_weights.size();
    m_weights.resize(nOffset + static_cast<size_t>(nLast - nFirst + 1), 0.0f);
    double sum = 0.0;
    for (int64_t k = nLeft; k <= nRight; ++k)
    {
        const double weight = GetKernelWeight(filter, (static_cast<double>(k) - centre) / scale);
        m_weights[nOffset + static_cast<size_t>(std::clamp(k, nLow, nHigh) - nFirst)] +=
            static_cast<float>(weight);
        sum += weight;
    }
    if (sum != 0.0)
    {
        for (size_t i = nOffset; i < m_weights.size(); ++i)
        {
            m_weights[i] = static_cast<float>(m_weights[i] / sum);
        }
    }
    m_first.push_back(static_cast<size_t>(nFirst));
    m_count.push_back(static_cast<size_t>(nLast - nFirst + 1));
    m_offset.push_back(nOffset);
}
