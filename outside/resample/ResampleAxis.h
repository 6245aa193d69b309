// The filter taps of one axis of a resampling: for each destination position,
// the run of source positions it reads and their normalised weights.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

enum class enResampleFilter
{
    Bilinear,
    Lanczos3
};

class ResampleAxis
{
public:
    // Maps nDstLength positions onto the nSrcLength source positions that
    // start at nSrcStart, pixel centres aligned.
    ResampleAxis(enResampleFilter filter, int64_t nSrcStart, int64_t nSrcLength,
                 int64_t nDstLength);

    // The axis of these arguments, built once and kept for the calls that
    // follow on this thread: a viewer scales frame after frame alike.
    static std::shared_ptr<const ResampleAxis> GetShared(enResampleFilter filter, int64_t nSrcStart,
                                                         int64_t nSrcLength, int64_t nDstLength);

    // Absolute index of the first source position read by destination nDst.
    size_t GetFirst(size_t nDst) const { return m_first[nDst]; }
    size_t GetCount(size_t nDst) const { return m_count[nDst]; }
    const float* GetWeights(size_t nDst) const { return m_weights.data() + nDst * m_nStride; }

private:
    // Fills the taps of destination nDst, reading around source position centre.
    void SetTaps(size_t nDst, enResampleFilter filter, double centre, int64_t nLow, int64_t nHigh);

    double m_ratio;
    double m_scale;
    double m_radius;
    size_t m_nStride;
    std::vector<size_t> m_first;
    std::vector<size_t> m_count;
    std::vector<float> m_weights;
};
