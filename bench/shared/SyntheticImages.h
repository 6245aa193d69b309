// The synthetic frames the benchmarks code, decode and draw, made the same
// way in every program that uses them.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// A round body in air with soft tissue, bone and a little noise: side x side
// samples of 12 bits in two bytes, low byte first, or of 8 bits (the same
// values shifted down) when bitsAllocated is 8.
inline std::vector<std::uint8_t> MakeBodySlice(int side, int bitsAllocated)
{
    std::vector<std::uint8_t> bytes;
    std::uint32_t noise = 12345;
    for (int row = 0; row < side; ++row)
    {
        for (int column = 0; column < side; ++column)
        {
            const double radius = std::hypot(row - side / 2.0, column - side / 2.0) / (side / 2.0);
            int value = radius > 0.9 ? 24 : radius > 0.25 ? 1040 : 1800;
            noise = noise * 1664525u + 1013904223u;
            value += static_cast<int>(noise >> 28);
            if (bitsAllocated == 8)
            {
                bytes.push_back(static_cast<std::uint8_t>(value >> 3));
                continue;
            }
            bytes.push_back(static_cast<std::uint8_t>(value));
            bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
    }
    return bytes;
}

// A CT slice of side x side 12-bit samples: air, a ring of bone and soft
// tissue inside, with noise.
inline std::vector<std::uint16_t> MakeCtSlice(int side)
{
    std::vector<std::uint16_t> samples;
    std::uint32_t noise = 12345;
    for (int row = 0; row < side; ++row)
    {
        for (int column = 0; column < side; ++column)
        {
            const double radius = std::hypot(row - side / 2.0, column - side / 2.0) / (side / 2.0);
            noise = noise * 1103515245u + 12345u;
            const int base = radius > 0.9 ? 0 : (radius > 0.7 ? 2200 : 1040);
            samples.push_back(static_cast<std::uint16_t>(base + (noise >> 16) % 40));
        }
    }
    return samples;
}

// Smooth shading with fine noise, like a medical image: side x side pixels
// of nChannels samples of nBytes bytes (low byte first), nBits of range.
inline std::vector<std::uint8_t> MakeShadedImage(int side, int nChannels, int nBytes, int nBits)
{
    std::vector<std::uint8_t> image;
    const double dMax = (1 << nBits) - 1;
    for (int y = 0; y < side; ++y)
    {
        for (int x = 0; x < side; ++x)
        {
            for (int c = 0; c < nChannels; ++c)
            {
                const uint32_t nHash =
                    static_cast<uint32_t>(y * 7919 + x * 104729 + c) * 2654435761u;
                const double dShade = 0.5 + 0.3 * std::sin(y * 0.02 + c) * std::cos(x * 0.015) +
                                      ((nHash >> 24) / 255.0 - 0.5) * 0.03;
                const auto nValue = static_cast<uint32_t>(std::lround(dShade * dMax));
                image.push_back(static_cast<std::uint8_t>(nValue & 0xFF));
                if (nBytes == 2)
                {
                    image.push_back(static_cast<std::uint8_t>(nValue >> 8));
                }
            }
        }
    }
    return image;
}
