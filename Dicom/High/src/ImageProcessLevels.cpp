// The display level tables: 0..255 squeezed into the levels 8..243 that
// leave the first and last palette entries free for fixed colours, and the
// way back, where each level gives the largest value that maps to it.
#include "ImageProcess.h"

#include "DisplayLevels.h"

#include <cstdint>

std::uint8_t ImageProcess::LUT256To244[256] = {};
std::uint8_t ImageProcess::LUT244To256[256] = {};

namespace
{

constexpr int LevelCount = 256;
constexpr int FirstLevel = 8;
constexpr int LastLevel = 243;
constexpr double OneOver255 = 0.00392156862745098;

void BuildDisplayLevels()
{
    for (int value = 0; value < LevelCount; ++value)
    {
        const auto level = static_cast<std::uint8_t>((value * 235 + 2040.3) * OneOver255);
        ImageProcess::LUT256To244[value] = level;
        ImageProcess::LUT244To256[level] = static_cast<std::uint8_t>(value);
    }
    for (int level = 0; level < FirstLevel; ++level)
    {
        ImageProcess::LUT244To256[level] = 0;
    }
    for (int level = LastLevel + 1; level < LevelCount; ++level)
    {
        ImageProcess::LUT244To256[level] = 255;
    }
}

} // namespace

void ImageProcess::Init256_244LUT()
{
    BuildDisplayLevels();
}

void EnsureDisplayLevels()
{
    // A built table maps 0 to the first level; an unbuilt one holds zeros.
    if (ImageProcess::LUT256To244[0] != FirstLevel)
    {
        BuildDisplayLevels();
    }
}
