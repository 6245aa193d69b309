// Helpers of the real-valued image tests: grey images built from a list of
// sample values, pixels of any class read back as one int a pixel (an RGB
// pixel as R | G << 8 | B << 16), the fixture of the tests every class
// passes and the check of saved bitmaps by an independent reader.
#pragma once

#include "BitmapReaderSupport.h"
#include "RealImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// An RGB pixel of value v: R = v, G = v + 1, B = v + 2.
inline int ColourOf(int value)
{
    return (value & 0xFF) | ((value + 1) & 0xFF) << 8 | ((value + 2) & 0xFF) << 16;
}

inline std::unique_ptr<RealImage16> MakeImage16(int width, int height,
                                                const std::vector<int>& samples, int minImage = 0,
                                                int maxImage = 4095, int minSet = 0,
                                                int maxSet = 4095, float intercept = 0.0f,
                                                float slope = 1.0f)
{
    auto* pixels = new std::uint8_t[samples.size() * 2];
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        const auto sample = static_cast<std::uint16_t>(samples[i]);
        std::memcpy(pixels + 2 * i, &sample, 2);
    }
    return std::make_unique<RealImage16>(reinterpret_cast<std::uint16_t*>(pixels), width, height,
                                         16, minImage, maxImage, minSet, maxSet, intercept, slope);
}

inline std::unique_ptr<RealImage8> MakeImage8(int width, int height,
                                              const std::vector<int>& samples, int minImage = 0,
                                              int maxImage = 255, int minSet = 0, int maxSet = 255,
                                              float intercept = 0.0f, float slope = 1.0f)
{
    auto* pixels = new std::uint8_t[samples.size()];
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        pixels[i] = static_cast<std::uint8_t>(samples[i]);
    }
    return std::make_unique<RealImage8>(pixels, width, height, 8, minImage, maxImage, minSet,
                                        maxSet, intercept, slope);
}

// Bytes a pixel of the image's class.
inline int UnitOf(const RealImage& image)
{
    const std::uint64_t pixels = static_cast<std::uint64_t>(image.GetWidth()) * image.GetHeight();
    return pixels != 0 ? static_cast<int>(image.GetImageLength() / pixels) : 0;
}

inline std::vector<int> PixelsOf(const RealImage& image)
{
    const int unit = UnitOf(image);
    const auto* bytes = static_cast<const std::uint8_t*>(image.GetImage());
    std::vector<int> pixels;
    for (std::uint32_t at = 0; bytes != nullptr && at < image.GetImageLength(); at += unit)
    {
        int value = 0;
        for (int b = 0; b < unit; ++b)
        {
            value |= bytes[at + b] << (8 * b);
        }
        pixels.push_back(value);
    }
    return pixels;
}

// One class of image for the tests every class passes: a maker of images
// of width x height from pixel values, and whether it holds colours.
struct RealImageKind
{
    const char* name;
    std::unique_ptr<RealImage> (*make)(int width, int height, const std::vector<int>& values);
    bool colour;
};

inline std::ostream& operator<<(std::ostream& out, const RealImageKind& kind)
{
    return out << kind.name;
}

// The pixels the kind's maker gives for values.
inline std::vector<int> ExpectedPixels(const RealImageKind& kind, const std::vector<int>& values)
{
    std::vector<int> pixels;
    for (const int value : values)
    {
        pixels.push_back(kind.colour ? ColourOf(value) : value);
    }
    return pixels;
}

class RealImageGeometryTest : public ::testing::TestWithParam<RealImageKind>
{
};

// The linear display function of a window as given (DICOM's VOI function,
// floor-rounded), written here apart from the library's tables.
inline int LinearDisplay(double x, double center, double width)
{
    const double low = center - 0.5 - (width - 1.0) / 2.0;
    const double high = center - 0.5 + (width - 1.0) / 2.0;
    if (x <= low)
    {
        return 0;
    }
    if (x > high)
    {
        return 255;
    }
    return static_cast<int>(((x - (center - 0.5)) / (width - 1.0) + 0.5) * 255.0);
}

// What identify reads from a bitmap file of width x height: 8 bits a
// channel and, pixel by pixel, the colour colourOf gives for each of values.
// Skips the test when identify is not installed.
template <class TColour>
void ExpectBitmapReadsAs(const std::string& path, int width, int height,
                         const std::vector<int>& values, TColour colourOf)
{
    if (!HasBitmapReader())
    {
        GTEST_SKIP() << "identify is not installed";
    }
    EXPECT_EQ(IdentifySize(path), std::to_string(width) + " " + std::to_string(height) + " 8");
    std::vector<int> expected;
    for (const int value : values)
    {
        expected.push_back(colourOf(value));
    }
    EXPECT_EQ(IdentifyPixels(path, width, height), expected);
}
