#include "ResampleAxis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <tuple>

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

using AxisKey = std::tuple<enResampleFilter, int64_t, int64_t, int64_t>;

// The few axes used last, the oldest replaced first.
struct AxisCache
{
    static constexpr size_t kSize = 4;
    std::array<AxisKey, kSize> keys{};
    std::array<std::shared_ptr<const ResampleAxis>, kSize> axes{};
    size_t nNext = 0;
};
} // namespace

std::shared_ptr<const ResampleAxis> ResampleAxis::GetShared(enResampleFilter filter,
                                                            int64_t nSrcStart, int64_t nSrcLength,
                                                            int64_t nDstLength)
{
    thread_local AxisCache cache;
    const AxisKey key{filter, nSrcStart, nSrcLength, nDstLength};
    for (size_t i = 0; i < AxisCache::kSize; ++i)
    {
        if (cache.axes[i] != nullptr && cache.keys[i] == key)
        {
            return cache.axes[i];
        }
    }
    auto axis = std::make_shared<const ResampleAxis>(filter, nSrcStart, nSrcLength, nDstLength);
    cache.keys[cache.nNext] = key;
    cache.axes[cache.nNext] = axis;
    cache.nNext = (cache.nNext + 1) % AxisCache::kSize;
    return axis;
}

// Bilinear interpolation reads the two nearest positions at any scale; the
// display filter widens when shrinking so that it averages what it skips.
ResampleAxis::ResampleAxis(enResampleFilter filter, int64_t nSrcStart, int64_t nSrcLength,
                           int64_t nDstLength)
    : m_ratio(static_cast<double>(nSrcLength) / static_cast<double>(nDstLength)),
      m_scale(filter == enResampleFilter::Lanczos3 ? std::max(1.0, m_ratio) : 1.0),
      m_radius(GetKernelRadius(filter) * m_scale),
      m_nStride(static_cast<size_t>(std::floor(2.0 * m_radius)) + 2),
      m_first(static_cast<size_t>(nDstLength)), m_count(static_cast<size_t>(nDstLength)),
      m_weights(static_cast<size_t>(nDstLength) * m_nStride, 0.0f)
{
    for (int64_t j = 0; j < nDstLength; ++j)
    {
        const double centre =
            static_cast<double>(nSrcStart) + (static_cast<double>(j) + 0.5) * m_ratio - 0.5;
        SetTaps(static_cast<size_t>(j), filter, centre, nSrcStart, nSrcStart + nSrcLength - 1);
    }
}

// Taps beyond the source run fold onto its edge positions. The run spans at
// most 2 x radius + 1 positions; the stride of the weight table leaves one
// more for rounding at the ends.
void ResampleAxis::SetTaps(size_t nDst, enResampleFilter filter, double centre, int64_t nLow,
                           int64_t nHigh)
{
    const auto nLeft = static_cast<int64_t>(std::ceil(centre - m_radius));
    const auto nRight = static_cast<int64_t>(std::floor(centre + m_radius));
    const int64_t nFirst = std::clamp(nLeft, nLow, nHigh);
    const int64_t nLast = std::clamp(nRight, nLow, nHigh);
    float* pWeights = m_weights.data() + nDst * m_nStride;
    double sum = 0.0;
    for (int64_t k = nLeft; k <= nRight; ++k)
    {
        const double weight = GetKernelWeight(filter, (static_cast<double>(k) - centre) / m_scale);
        pWeights[std::clamp(k, nLow, nHigh) - nFirst] += static_cast<float>(weight);
        sum += weight;
    }
    m_first[nDst] = static_cast<size_t>(nFirst);
    m_count[nDst] = static_cast<size_t>(nLast - nFirst + 1);
    if (sum != 0.0)
    {
        for (size_t i = 0; i < m_count[nDst]; ++i)
        {
            pWeights[i] = static_cast<float>(pWeights[i] / sum);
        }
    }
}
