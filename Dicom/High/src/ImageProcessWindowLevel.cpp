// Automatic window and level of ImageProcess: the statics the viewer calls
// on decoded frames and the member that runs them on the frame's samples.
//
// 8-bit frames take the whole range of their bytes. 16-bit frames count the
// samples inside a border in a histogram of 65536 values (signed samples
// shifted so the smallest is 0), cut the fractions low and high of all
// pixels at either end to find the lower and upper points, then cut the
// same fractions again inside that span to find the window's edges.
#include "ImageProcess.h"

#include "VeltaroLog.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace
{

constexpr float DefaultFraction = 0.01f;
constexpr int HistogramSize = 65536;
constexpr int TopValue = HistogramSize - 1;

// A fraction outside 0..1 (or not a number) would cut more than all pixels
// or make the cut points meaningless.
float ClampFraction(float fraction)
{
    return fraction >= 0.0f && fraction <= 1.0f ? fraction : (fraction > 1.0f ? 1.0f : 0.0f);
}

int ClampValue(double value)
{
    return value <= 0.0 ? 0 : (value >= TopValue ? TopValue : static_cast<int>(value));
}

bool IsFrameUsable(const void* pixels, int width, int height, const int* windowWidth,
                   const int* windowCenter)
{
    return pixels != nullptr && width > 0 && height > 0 && windowWidth != nullptr &&
           windowCenter != nullptr;
}

// Counts value(sample) - offset for the samples of rows and columns m ..
// size - m - 1, m being border x the smaller side. Returns how many were
// counted.
template <typename Sample>
std::uint64_t CountInsideBorder(const Sample* pixels, int width, int height, float border,
                                int offset, std::uint32_t* histogram)
{
    const int margin = static_cast<int>(ClampFraction(border) * std::min(width, height));
    if (margin >= height - margin || margin >= width - margin)
    {
        return 0;
    }
    std::uint64_t counted = 0;
    for (int row = margin; row < height - margin; ++row)
    {
        const Sample* line = pixels + static_cast<std::size_t>(row) * width;
        for (int column = margin; column < width - margin; ++column)
        {
            ++histogram[static_cast<int>(line[column]) - offset];
            ++counted;
        }
    }
    return counted;
}

// The first value from start upward whose running sum exceeds limit, or
// fallback.
int FindRising(const std::uint32_t* histogram, int start, std::int64_t limit, int fallback)
{
    std::int64_t sum = 0;
    for (int value = start; value <= TopValue; ++value)
    {
        sum += histogram[value];
        if (sum > limit)
        {
            return value;
        }
    }
    return fallback;
}

// The first value from start downward whose running sum exceeds limit, or
// fallback.
int FindFalling(const std::uint32_t* histogram, int start, std::int64_t limit, int fallback)
{
    std::int64_t sum = 0;
    for (int value = start; value >= 0; --value)
    {
        sum += histogram[value];
        if (sum > limit)
        {
            return value;
        }
    }
    return fallback;
}

struct WindowEdges
{
    int lower;
    int upper;
};

// Cuts the fractions of all width x height pixels at either end of the
// histogram, then again inside the span found.
WindowEdges FindWindowEdges(const std::uint32_t* histogram, std::int64_t pixelCount, float low,
                            float high)
{
    low = ClampFraction(low);
    high = ClampFraction(high);
    const auto lowCut = static_cast<std::int64_t>(low * static_cast<double>(pixelCount) + 0.5);
    const auto highCut = static_cast<std::int64_t>(high * static_cast<double>(pixelCount) + 0.5);
    const int lowerPoint = FindRising(histogram, 0, lowCut, 0);
    const int upperPoint = FindFalling(histogram, TopValue, highCut, 0);
    const int span = upperPoint - lowerPoint;
    const int lowerStart = ClampValue(lowerPoint + static_cast<double>(low) * span);
    const int upperStart = ClampValue(upperPoint - static_cast<double>(high) * span);
    // The upper count has always started at the mirror of its start point,
    // which lies above it for samples up to 32767. Above that the mirror
    // falls below the lower edge and the window turns over, so the count
    // then starts at the point itself.
    const int upperFrom = std::max(upperStart, TopValue - upperStart);
    return {FindRising(histogram, lowerStart, lowCut, lowerStart),
            FindFalling(histogram, upperFrom, highCut, upperStart)};
}

template <typename Sample>
int RunHistogramWindow(const char* name, float border, float low, float high, const Sample* pixels,
                       int width, int height, int offset, int* windowWidth, int* windowCenter)
{
    std::unique_ptr<std::uint32_t[]> histogram(new (std::nothrow) std::uint32_t[HistogramSize]());
    if (histogram == nullptr)
    {
        _error("Enter ImageProcess::%s, cannot allocate the histogram", name);
        return 0;
    }
    if (CountInsideBorder(pixels, width, height, border, offset, histogram.get()) == 0)
    {
        _debug("Enter ImageProcess::%s, no sample inside the border", name);
        *windowWidth = 0;
        *windowCenter = 0;
        return 0;
    }
    const WindowEdges edges =
        FindWindowEdges(histogram.get(), static_cast<std::int64_t>(width) * height, low, high);
    const int lower = edges.lower + offset;
    const int upper = edges.upper + offset;
    *windowWidth = upper - lower;
    *windowCenter = (upper + lower) / 2;
    return 1;
}

} // namespace

int ImageProcess::AutoWindowLevel_UINT8(float /*border*/, float /*low*/, float /*high*/,
                                        const std::uint8_t* pixels, int width, int height,
                                        int /*bits*/, int* windowWidth, int* windowCenter)
{
    if (!IsFrameUsable(pixels, width, height, windowWidth, windowCenter))
    {
        _warning("Enter ImageProcess::AutoWindowLevel_UINT8, no samples");
        return 0;
    }
    const std::size_t count = static_cast<std::size_t>(width) * height;
    const auto [minimum, maximum] = std::minmax_element(pixels, pixels + count);
    *windowWidth = *maximum - *minimum;
    *windowCenter = (*maximum + *minimum) / 2;
    return 1;
}

int ImageProcess::AutoWindowLevel_UINT16(float border, float low, float high,
                                         const std::uint16_t* pixels, int width, int height,
                                         int /*bits*/, int* windowWidth, int* windowCenter)
{
    if (!IsFrameUsable(pixels, width, height, windowWidth, windowCenter))
    {
        _warning("Enter ImageProcess::AutoWindowLevel_UINT16, no samples");
        return 0;
    }
    return RunHistogramWindow("AutoWindowLevel_UINT16", border, low, high, pixels, width, height, 0,
                              windowWidth, windowCenter);
}

int ImageProcess::AutoWindowLevel_INT16(float border, float low, float high,
                                        const std::int16_t* pixels, int width, int height,
                                        int /*bits*/, int* windowWidth, int* windowCenter)
{
    if (!IsFrameUsable(pixels, width, height, windowWidth, windowCenter))
    {
        _warning("Enter ImageProcess::AutoWindowLevel_INT16, no samples");
        return 0;
    }
    const std::size_t count = static_cast<std::size_t>(width) * height;
    const int minimum = *std::min_element(pixels, pixels + count);
    return RunHistogramWindow("AutoWindowLevel_INT16", border, low, high, pixels, width, height,
                              minimum, windowWidth, windowCenter);
}

int ImageProcess::AutoWindowLevel_UINT8(const std::uint8_t* pixels, int width, int height, int bits,
                                        int* windowWidth, int* windowCenter)
{
    return AutoWindowLevel_UINT8(DefaultFraction, DefaultFraction, DefaultFraction, pixels, width,
                                 height, bits, windowWidth, windowCenter);
}

int ImageProcess::AutoWindowLevel_UINT16(const std::uint16_t* pixels, int width, int height,
                                         int bits, int* windowWidth, int* windowCenter)
{
    return AutoWindowLevel_UINT16(DefaultFraction, DefaultFraction, DefaultFraction, pixels, width,
                                  height, bits, windowWidth, windowCenter);
}

int ImageProcess::AutoWindowLevel_INT16(const std::int16_t* pixels, int width, int height, int bits,
                                        int* windowWidth, int* windowCenter)
{
    return AutoWindowLevel_INT16(DefaultFraction, DefaultFraction, DefaultFraction, pixels, width,
                                 height, bits, windowWidth, windowCenter);
}

int ImageProcess::AutoWindowLevel()
{
    if (ConvertToRaw() == 0)
    {
        return 0;
    }
    int width = 0;
    int center = 0;
    if (FindAutoWindow(m_pRawPixelData, m_nRawPixelLength, &width, &center) == 0)
    {
        return 0;
    }
    m_nWindowWidth = width;
    m_nWindowCenter = center;
    return 1;
}

// 8-bit samples when bits allocated is at most 8, else signed when the
// pixel representation is 1, else unsigned.
int ImageProcess::FindAutoWindow(const std::uint8_t* samples, std::uint32_t length, int* width,
                                 int* center) const
{
    const int rows = m_nRows;
    const int columns = m_nColumns;
    const std::size_t pixels = static_cast<std::size_t>(rows) * columns;
    const bool isWide = m_nBitsAllocated > 8;
    if (samples == nullptr || pixels == 0 || length < pixels * (isWide ? 2 : 1))
    {
        _warning("Enter ImageProcess::AutoWindowLevel, %u bytes of samples for %d x %d", length,
                 columns, rows);
        return 0;
    }
    if (!isWide)
    {
        return AutoWindowLevel_UINT8(samples, columns, rows, m_nBitsStored, width, center);
    }
    // Samples inside the image's pixel value need not be aligned.
    std::vector<std::uint16_t> aligned(pixels);
    std::memcpy(aligned.data(), samples, pixels * 2);
    if (m_nPixelRepresentation == 1)
    {
        return AutoWindowLevel_INT16(reinterpret_cast<const std::int16_t*>(aligned.data()), columns,
                                     rows, m_nBitsStored, width, center);
    }
    return AutoWindowLevel_UINT16(aligned.data(), columns, rows, m_nBitsStored, width, center);
}
